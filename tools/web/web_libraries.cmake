# The browser build's libraries, under the names the native build gets from pkg-config: SDL2, and SDL2_ttf with
# FreeType, all static from the web dependency prefix (tools/cross/deps.sh web), which also holds the Timidity
# music renderer; GoogleTest built from Debian's sources. Threads are not used in the browser build; the name stays so the folders link as they do natively.
set(TAVO_WEB_PREFIX "" CACHE PATH "The prefix tools/cross/deps.sh web printed")
if(NOT EXISTS "${TAVO_WEB_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "TAVO_WEB_PREFIX must name the web dependency prefix (tools/cross/deps.sh web prints it)")
endif()

add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL2 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${TAVO_WEB_PREFIX}/include/SDL2"
  INTERFACE_LINK_LIBRARIES "${TAVO_WEB_PREFIX}/lib/libSDL2.a")
add_library(PkgConfig::SDL2_TTF INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL2_TTF PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${TAVO_WEB_PREFIX}/include/SDL2"
  INTERFACE_LINK_LIBRARIES "${TAVO_WEB_PREFIX}/lib/libSDL2_ttf.a;${TAVO_WEB_PREFIX}/lib/libfreetype.a;PkgConfig::SDL2")
add_library(Threads::Threads INTERFACE IMPORTED)
# The song is played by the Timidity renderer, built into the same prefix.
set(TAVO_MUSIC timidity CACHE STRING "The music renderer: fluidsynth or timidity" FORCE)
set(TAVO_TIMIDITY_PREFIX ${TAVO_WEB_PREFIX} CACHE PATH "The prefix that holds lib/libsdl2_timidity.a" FORCE)

# Header-only PNG writing from Debian's libstb-dev, seen through a folder of its own so that no other host header
# reaches the browser build.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host_headers)
file(CREATE_LINK /usr/include/stb ${CMAKE_BINARY_DIR}/host_headers/stb SYMBOLIC)
include_directories(SYSTEM ${CMAKE_BINARY_DIR}/host_headers)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The test folders whose programs run under Node.js: the rules, the graphics library and the parsers.
set(TAVO_WEB_TEST_FOLDERS game gfx app)
# Those that read the host's files instead of their own in-memory ones: the graphics extras count the process's open
# files in /proc. (The others catch standard error, which works only in memory.)
set(TAVO_WEB_TESTS_ON_HOST_FILES gfx_extras_tests)

# The font the game draws its text with, at the path it looks in; the page and the unit tests carry it.
set(TAVO_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
