# lx_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# One GoogleTest executable; every test case runs in its own process (the platform and the library keep
# process-wide state that some cases need fresh).
find_package(GTest REQUIRED)
include(GoogleTest)

function(lx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # Each property value must be a single list element: the discovery script splits lists apart.
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LX_TEST_TMPDIR=${CMAKE_BINARY_DIR}/test-tmp"
               ENVIRONMENT_MODIFICATION "CEHOST_HEADLESS=set:1"
               TIMEOUT 120)
endfunction()
