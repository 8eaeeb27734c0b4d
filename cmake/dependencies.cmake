# Libraries that come from Debian packages: zlib from libz-mingw-w64-dev, and
# minizip compiled here from the zlib source package that scripts/fetch-minizip
# unpacks into the build's cache folder.
set(PHOTARIUM_DEPS_DIR "${CMAKE_BINARY_DIR}/deps" CACHE PATH
    "Cache folder of scripts/fetch-minizip (holds zlib/contrib/minizip)")
set(MINIZIP_SOURCE_DIR ${PHOTARIUM_DEPS_DIR}/zlib/contrib/minizip)
if(NOT EXISTS ${MINIZIP_SOURCE_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_SOURCE_DIR}: "
                      "run scripts/fetch-minizip ${PHOTARIUM_DEPS_DIR}")
endif()

find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE NAMES zlib.h REQUIRED)

# zip.c is only pulled in by the tests that craft archives
add_library(minizip STATIC
  ${MINIZIP_SOURCE_DIR}/ioapi.c ${MINIZIP_SOURCE_DIR}/unzip.c
  ${MINIZIP_SOURCE_DIR}/iowin32.c ${MINIZIP_SOURCE_DIR}/zip.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_SOURCE_DIR} ${ZLIB_INCLUDE})
# not our code: keep its warnings out of our build output
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ${ZLIB_STATIC})

set(PHOTARIUM_EXTRA_LIBS minizip)
