# cehost_add_script_tests(TARGET <app> SCRIPTS <script.keys>... [GOLDENS <dir>] [TIME_LIMIT <ms>])
#
# Adds each key script as a ctest test named <app>.<script name>. The test runs the application headless with
# cehost-test, in fresh state folders of its own (registry and record database), so scripts never see each
# other's notes or settings and may run in parallel (ctest -j). A script passes when every `expect` line holds
# and the application ends with exit code 0. `expect screenshot NAME` compares with NAME.png in GOLDENS
# (default: the script's own folder); screenshots, dumps and what a failure leaves behind (failure-LINE.png and
# .json, NAME.actual.png and NAME.diff.png) go to <build folder>/script-tests/<app>/<script name>/, with the
# application's output in output.log. TIME_LIMIT bounds each run in virtual milliseconds (default 600000).
# Relative paths are taken from the current source folder.

function(cehost_add_script_tests)
  cmake_parse_arguments(ST "" "TARGET;GOLDENS;TIME_LIMIT" "SCRIPTS" ${ARGN})
  if(ST_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "cehost_add_script_tests: unexpected arguments ${ST_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ST_TARGET OR NOT TARGET ${ST_TARGET})
    message(FATAL_ERROR "cehost_add_script_tests: TARGET must name the application's target")
  endif()
  if(NOT ST_SCRIPTS)
    message(FATAL_ERROR "cehost_add_script_tests: SCRIPTS names no key script")
  endif()
  # The runner of this build tree, or the one of the installed package.
  if(TARGET cehost-test)
    set(runner $<TARGET_FILE:cehost-test>)
  elseif(TARGET LxLibrary::cehost-test)
    set(runner $<TARGET_FILE:LxLibrary::cehost-test>)
  else()
    message(FATAL_ERROR "cehost_add_script_tests: cehost-test is not known; find_package(LxLibrary) first")
  endif()
  set(options --app $<TARGET_FILE:${ST_TARGET}> --shots ${CMAKE_CURRENT_BINARY_DIR}/script-tests/${ST_TARGET}
              --jobs 1)
  if(ST_GOLDENS)
    get_filename_component(goldens "${ST_GOLDENS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND options --goldens ${goldens})
  endif()
  if(ST_TIME_LIMIT)
    list(APPEND options --time-limit ${ST_TIME_LIMIT})
  endif()
  foreach(script ${ST_SCRIPTS})
    get_filename_component(path "${script}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "cehost_add_script_tests: no key script ${path}")
    endif()
    get_filename_component(name "${path}" NAME_WE)
    add_test(NAME ${ST_TARGET}.${name} COMMAND ${runner} ${options} ${path})
  endforeach()
endfunction()
