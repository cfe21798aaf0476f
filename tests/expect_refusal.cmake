# Runs PROGRAM where it cannot show its window and expects exit status 1 with one plain line that
# names the cause, not the toolkit's abort (status 134, a core and four lines of advice).
#   refuse(WHAT EXPECTED_LINE_REGEX ENVIRONMENT...)
function(refuse what pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          --unset=QT_QPA_PLATFORM --unset=XDG_SESSION_TYPE ${ARGN} ${PROGRAM}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
  if(NOT result STREQUAL "1")
    message(SEND_ERROR "${what}: exit status '${result}', not 1; output: '${out}${err}'")
  elseif(NOT err MATCHES "^frustum: ${pattern}[^\n]*\n$" OR NOT out STREQUAL "")
    message(SEND_ERROR "${what}: expected one line matching 'frustum: ${pattern}', got: '${out}${err}'")
  endif()
endfunction()

refuse("no display" "a graphical session is needed")
# A display number no X server listens on.
refuse("X display without a server" "[^\n]*X display \":987\"" DISPLAY=:987)
# A Wayland session whose compositor has gone: whether or not Qt's Wayland plugin is installed,
# the line names the display.
refuse("stale Wayland display" "[^\n]*Wayland display \"frustum-gone\"" WAYLAND_DISPLAY=frustum-gone
       XDG_SESSION_TYPE=wayland XDG_RUNTIME_DIR=${CMAKE_CURRENT_LIST_DIR})
refuse("unknown platform" "[^\n]*\"nonsense\" \\(named by QT_QPA_PLATFORM\\)" QT_QPA_PLATFORM=nonsense)
