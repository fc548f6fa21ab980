# Cross-compiling for Windows with Debian's MinGW-w64. The shipped exe is the
# 32-bit one (VERONDEL_ARCH i686, the default); an x86_64 build of the same
# sources runs the Windows-side tests on hosts that cannot execute 32-bit code.
if(NOT VERONDEL_ARCH)
    set(VERONDEL_ARCH i686)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VERONDEL_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VERONDEL_ARCH})
set(CMAKE_C_COMPILER ${VERONDEL_ARCH}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${VERONDEL_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${VERONDEL_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VERONDEL_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
