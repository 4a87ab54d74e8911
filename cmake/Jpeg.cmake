# libjpeg-turbo, static, built inside this build tree from Debian's source package (the
# bootstrap unpacks it; Debian has no mingw build of it), with its SIMD code assembled by nasm:
# about twice as fast a decode. REQUIRE_SIMD makes a missing assembler an error instead of a
# quiet slow build. Also gives cjpeg.exe/djpeg.exe (deps/jpeg/bin) for tests and benchmarks.
include(ExternalProject)

set(QUORREL_JPEG_SOURCE ${CMAKE_SOURCE_DIR}/build/sources/libjpeg-turbo CACHE PATH
  "libjpeg-turbo's source (Debian's source package, unpacked by scripts/bootstrap)")
if(NOT EXISTS ${QUORREL_JPEG_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No libjpeg-turbo source in ${QUORREL_JPEG_SOURCE}: run scripts/bootstrap")
endif()

set(jpeg_root ${QUORREL_DEPS}/jpeg)
ExternalProject_Add(jpeg_build
  SOURCE_DIR ${QUORREL_JPEG_SOURCE}
  BINARY_DIR ${QUORREL_DEPS}/jpeg-build
  INSTALL_DIR ${jpeg_root}
  PREFIX ${QUORREL_DEPS}/jpeg-stamps
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=1 -DREQUIRE_SIMD=1 -DENABLE_SHARED=0 -DENABLE_STATIC=1
    -DWITH_TURBOJPEG=0 -DCMAKE_EXE_LINKER_FLAGS=-static
  # The tools as statically linked programs, under their plain names.
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/cjpeg-static.exe <INSTALL_DIR>/bin/cjpeg.exe
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/djpeg-static.exe <INSTALL_DIR>/bin/djpeg.exe
  BUILD_BYPRODUCTS ${jpeg_root}/lib/libjpeg.a
  LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)

# The headers' folder must exist when the build is generated.
file(MAKE_DIRECTORY ${jpeg_root}/include)
add_library(jpeg STATIC IMPORTED)
set_target_properties(jpeg PROPERTIES
  IMPORTED_LOCATION ${jpeg_root}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${jpeg_root}/include)
add_dependencies(jpeg jpeg_build)
