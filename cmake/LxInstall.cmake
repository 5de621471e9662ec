# Installation of the library and its platform, for host applications built outside this tree: headers,
# shared libraries, the simulator's main(), the CMake package LxLibrary and the pkg-config files. Included at
# the end of the top-level CMakeLists.txt, once every target exists. Examples, tests, benchmarks and the
# bitmap generator are not installed.
#
# Layout under the prefix:
#   include/LxLibrary/           windows.h, commctrl.h, imm.h, aygshell.h, cehost/..., Lx*.h, swtempl.h
#   bin/                         cehost-test (runs key scripts as tests)
#   lib/                         libcehost.so, libLxLibrary.so, libLxMenuBar.so, libLxEDB.so, libcehost_main.a
#   lib/cmake/LxLibrary/         LxLibraryConfig.cmake, version file, targets, CehostResources.cmake
#   lib/pkgconfig/               lxlibrary.pc (the libraries), lxlibrary-main.pc (adds the simulator's main())
#
# The headers get a folder of their own: a windows.h directly in <prefix>/include would be found by every
# compiler run on the machine that uses that prefix, and would pass itself off as the real one.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(LX_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/LxLibrary")
set(LX_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/LxLibrary")

set(lx_shared_targets cehost)
foreach(sibling LxMenuBar LxEDB)
  if(TARGET ${sibling})
    list(APPEND lx_shared_targets ${sibling})
  endif()
endforeach()
list(APPEND lx_shared_targets LxLibrary)

# The targets name their include folders in the source tree; an installed consumer finds all of them in the
# one include folder. Wrapping here keeps the CMakeLists.txt that define the targets free of install concerns.
foreach(target ${lx_shared_targets})
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  if(NOT dirs)
    set(dirs "")
  endif()
  set(wrapped "")
  foreach(dir ${dirs})
    if(dir MATCHES "^\\$<")
      list(APPEND wrapped "${dir}")
    else()
      list(APPEND wrapped "$<BUILD_INTERFACE:${dir}>")
    endif()
  endforeach()
  list(APPEND wrapped "$<INSTALL_INTERFACE:${LX_INSTALL_INCLUDEDIR}>")
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${wrapped}")

  # All four libraries sit in one folder, so each finds the others beside itself wherever the prefix is moved.
  # The version gives them a soname, so that a later incompatible library can be installed beside them.
  set_target_properties(${target} PROPERTIES
    INSTALL_RPATH "$ORIGIN"
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
endforeach()

# The public headers need C++17 (SwArray's type traits); a consumer that asks for less gets it raised. The
# package test compiles them at exactly this level, so raising what they need shows up there.
target_compile_features(LxLibrary INTERFACE cxx_std_17)

install(TARGETS ${lx_shared_targets} cehost_main cehost-test
  EXPORT LxLibraryTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The platform's headers keep their tree (cehost/win/..., cehost/sim/...).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/include/
  DESTINATION ${LX_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

# The library's public headers are the .h files at the top of its folders (folders below them, such as the
# bitmap generator, are private); the siblings' are beside their sources or in their include folder.
set(lx_public_headers "")
foreach(dir strings framework controls persistence siblings/menubar)
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  list(APPEND lx_public_headers ${headers})
endforeach()
install(FILES ${lx_public_headers} DESTINATION ${LX_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/siblings/edb/include/
  DESTINATION ${LX_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

# The CMake package.
install(EXPORT LxLibraryTargets
  NAMESPACE LxLibrary::
  DESTINATION ${LX_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/LxLibraryConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/LxLibraryConfig.cmake
  INSTALL_DESTINATION ${LX_INSTALL_CMAKEDIR}
  NO_SET_AND_CHECK_MACRO)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/LxLibraryConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/package/LxLibraryConfig.cmake
  ${PROJECT_BINARY_DIR}/package/LxLibraryConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/cmake/CehostResources.cmake
  ${PROJECT_SOURCE_DIR}/cmake/CehostScriptTests.cmake
  DESTINATION ${LX_INSTALL_CMAKEDIR})

# pkg-config files. The prefix is found from the file's own place, so the tree may be installed with
# `cmake --install --prefix` anywhere and moved afterwards.
file(RELATIVE_PATH LX_PC_PREFIX_FROM_PCFILEDIR
  "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" LX_PC_PREFIX_FROM_PCFILEDIR "${LX_PC_PREFIX_FROM_PCFILEDIR}")
set(LX_PC_SIBLING_LIBS "")
foreach(sibling LxMenuBar LxEDB)
  if(TARGET ${sibling})
    string(APPEND LX_PC_SIBLING_LIBS " -l${sibling}")
  endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/lxlibrary.pc.in ${PROJECT_BINARY_DIR}/package/lxlibrary.pc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/lxlibrary-main.pc.in ${PROJECT_BINARY_DIR}/package/lxlibrary-main.pc
  @ONLY)
install(FILES
  ${PROJECT_BINARY_DIR}/package/lxlibrary.pc
  ${PROJECT_BINARY_DIR}/package/lxlibrary-main.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
