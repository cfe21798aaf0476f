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

# Each platform plugin that Qt offers, kept from hardware (linuxfb and eglfs are given devices that
# do not exist, minimalegl draws in software); vnc, which would listen on a network port, is left
# out. On offscreen and minimal the window can be shown: there the program must run until ended.
refuse(xcb "[^\n]*X display \":987\"" QT_QPA_PLATFORM=xcb DISPLAY=:987)
file(WRITE kms.json "{\"device\": \"/nonexistent/card0\"}")
foreach(plugin wayland wayland-egl linuxfb:fb=/nonexistent/fb0 minimalegl vkkhrdisplay eglfs)
  refuse(${plugin} "[^\n]*(\"${plugin}\"|Wayland display \"gone\")" QT_QPA_PLATFORM=${plugin}
         WAYLAND_DISPLAY=gone XDG_RUNTIME_DIR=${CMAKE_CURRENT_LIST_DIR} EGL_PLATFORM=surfaceless
         LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_EGLFS_INTEGRATION=eglfs_kms
         QT_QPA_EGLFS_KMS_CONFIG=${CMAKE_CURRENT_BINARY_DIR}/kms.json)
endforeach()
foreach(plugin offscreen minimal)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          QT_QPA_PLATFORM=${plugin} ${CMAKE_CURRENT_LIST_DIR}/end_when_shown.sh
                          ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE out TIMEOUT 120)
  if(NOT result EQUAL 0)
    message(SEND_ERROR "${plugin}: ${out}")
  endif()
endforeach()

# Qt without its platform plugins: a qt.conf beside a copy of the program points them at an empty
# folder. The line names the plugin that is missing, as the user named it or as the display asks.
file(MAKE_DIRECTORY no-plugins/plugins)
file(COPY ${PROGRAM} DESTINATION no-plugins)
file(WRITE no-plugins/qt.conf "[Paths]\nPlugins = ${CMAKE_CURRENT_BINARY_DIR}/no-plugins/plugins\n")
set(PROGRAM ${CMAKE_CURRENT_BINARY_DIR}/no-plugins/frustum)
refuse("xcb named, plugin missing"
       "Qt has no platform plugin \"xcb\" \\(named by QT_QPA_PLATFORM\\)" QT_QPA_PLATFORM=xcb
       DISPLAY=:987)
refuse("X display, plugin missing"
       "[^\n]*X display \":987\": Qt's X11 platform plugin is not installed" DISPLAY=:987)
