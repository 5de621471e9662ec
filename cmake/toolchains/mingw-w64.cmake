# Cross-compiling for desktop Win32 with Debian's mingw-w64 (posix threads flavour). The toolchain file of
# each target sets CMAKE_SYSTEM_PROCESSOR and LX_MINGW_TRIPLE, then includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
