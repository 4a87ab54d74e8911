# Cross toolchain: 32-bit Windows with mingw-w64 (posix threads); programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run in the project's Wine session (its own prefix and display, never the
# user's ~/.wine), also when ctest is started by hand.
find_program(WINE_PROGRAM NAMES wine)
get_filename_component(QUORREL_WITH_WINE ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-wine ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORREL_WITH_WINE} ${WINE_PROGRAM})
