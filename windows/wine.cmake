# Running the Windows build's tests under Wine: each test program, and GoogleTest's listing of the
# tests in it, is started through windows/wine-run.sh, in a Wine prefix of this build folder.
find_program(FRUSTUM_WINE wine)
find_program(FRUSTUM_WINEBOOT wineboot)
if(NOT FRUSTUM_WINE OR NOT FRUSTUM_WINEBOOT)
  message(FATAL_ERROR "Wine is needed to run the Windows tests (Debian: wine wine64)")
endif()

# Qt's offscreen platform on Windows takes its fonts from one folder only: Liberation Serif there
# stands in for Times New Roman, with the same metrics.
file(GLOB frustum_serif_fonts /usr/share/fonts/truetype/liberation2/LiberationSerif-*.ttf)
if(NOT frustum_serif_fonts)
  message(FATAL_ERROR "Liberation Serif is needed for the tests (Debian: fonts-liberation2)")
endif()
set(frustum_test_fonts ${CMAKE_BINARY_DIR}/wine/fonts)
file(REMOVE_RECURSE ${frustum_test_fonts})
file(COPY ${frustum_serif_fonts} DESTINATION ${frustum_test_fonts})

# The Wine prefix is set up now rather than by the first test, which would spend its time limit on
# it.
set(frustum_wine_prefix ${CMAKE_BINARY_DIR}/wine/prefix)
if(NOT EXISTS ${frustum_wine_prefix}/system.reg)
  message(STATUS "Setting up the Wine prefix ${frustum_wine_prefix}")
  execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX=${frustum_wine_prefix}
                          WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${FRUSTUM_WINEBOOT} --init
                  OUTPUT_QUIET ERROR_QUIET)
endif()

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${PROJECT_SOURCE_DIR}/windows/wine-run.sh ${frustum_wine_prefix} ${frustum_test_fonts})
endif()

# The test programs cannot run while the project builds (that needs Wine for each); GoogleTest
# lists their tests when CTest runs them.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
