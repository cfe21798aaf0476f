# Runs PROGRAM with no display in its environment and expects a non-zero exit with one plain line
# that names the cause, not the toolkit's abort.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(result EQUAL 0)
  message(FATAL_ERROR "started without a display and exited with status 0")
endif()
if(NOT err MATCHES "^frustum: a graphical session is needed[^\n]*\n$")
  message(FATAL_ERROR "expected one line about the graphical session, got: '${out}${err}'")
endif()
