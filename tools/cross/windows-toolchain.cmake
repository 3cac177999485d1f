# CMake toolchain for 64-bit Windows with Debian's MinGW-w64 cross compilers (the -posix ones: their C++ library
# has std::thread and std::mutex). The prefix of tools/cross/deps.sh windows comes as TAVO_DEPS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVO_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TAVO_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TAVO_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# The prefix is read from the cache or the environment, and handed on to CMake's trial compiles.
if(NOT TAVO_DEPS_PREFIX AND DEFINED ENV{TAVO_DEPS_PREFIX})
  set(TAVO_DEPS_PREFIX $ENV{TAVO_DEPS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVO_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVO_MINGW_TRIPLE} ${TAVO_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the prefix's .pc files, never the machine's own.
if(TAVO_DEPS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${TAVO_DEPS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Programs built here run under Wine (test discovery, the asset generator at build time).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
