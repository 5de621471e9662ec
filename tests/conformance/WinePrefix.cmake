# Makes a fresh Wine prefix for the conformance run: Wine's start-up files, and a 240 x 320 virtual desktop
# that every program of the prefix opens its windows in (the screen size of the device).
# Run under xvfb-run with -D WINE=<wine64> -D WINEPREFIX=<folder>.
get_filename_component(bin ${WINE} DIRECTORY)
set(ENV{WINEPREFIX} ${WINEPREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
file(REMOVE_RECURSE ${WINEPREFIX})
foreach(step "wineboot;-i"
             "reg;add;HKCU\\Software\\Wine\\Explorer;/v;Desktop;/d;Default;/f"
             "reg;add;HKCU\\Software\\Wine\\Explorer\\Desktops;/v;Default;/d;240x320;/f")
  # Output goes to a file: the server Wine starts outlives the call and must not hold a pipe of ours open.
  execute_process(COMMAND ${WINE} ${step} RESULT_VARIABLE rc OUTPUT_FILE ${WINEPREFIX}.log ERROR_FILE ${WINEPREFIX}.log
                  TIMEOUT 240)
  if(NOT rc EQUAL 0)
    file(READ ${WINEPREFIX}.log out)
    message(FATAL_ERROR "Wine prefix: `wine ${step}` failed (${rc}):\n${out}")
  endif()
endforeach()
# The registry reaches its files when the server ends.
execute_process(COMMAND ${bin}/wineserver -w)
message(STATUS "Wine prefix ready: ${WINEPREFIX}")
