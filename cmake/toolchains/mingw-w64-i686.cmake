# Desktop Win32, 32-bit: the device's pointer size.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
