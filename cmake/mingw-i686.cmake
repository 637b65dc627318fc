# Cross build for the host's real platform: 32-bit Windows, MinGW-w64 (i686).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZEP_MINGW_PREFIX i686-w64-mingw32)
# Debian ships two thread models; the win32 one needs no winpthread DLL.
find_program(CMAKE_C_COMPILER NAMES ${ZEP_MINGW_PREFIX}-gcc-win32 ${ZEP_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZEP_MINGW_PREFIX}-g++-win32 ${ZEP_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZEP_MINGW_PREFIX}-windres)
find_program(ZEP_MINGW_OBJDUMP NAMES ${ZEP_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEP_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
