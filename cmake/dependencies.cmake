# zlib and minizip, compiled here from Debian's zlib source package that
# scripts/fetch-minizip unpacks into the build's cache folder.
set(PHOTARIUM_DEPS_DIR "${CMAKE_BINARY_DIR}/deps" CACHE PATH
    "Cache folder of scripts/fetch-minizip (holds zlib/contrib/minizip)")
set(MINIZIP_SOURCE_DIR ${PHOTARIUM_DEPS_DIR}/zlib/contrib/minizip)
if(NOT EXISTS ${MINIZIP_SOURCE_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_SOURCE_DIR}: "
                      "run scripts/fetch-minizip ${PHOTARIUM_DEPS_DIR}")
endif()

# Built here rather than taken from libz-mingw-w64-dev's libz.a: for size,
# as the setup program is (-Os), and with the CRC tables computed at first
# use instead of 9 KB of constants carried in the program.
set(ZLIB_SOURCE_DIR ${PHOTARIUM_DEPS_DIR}/zlib)
add_library(zlib STATIC
  ${ZLIB_SOURCE_DIR}/adler32.c ${ZLIB_SOURCE_DIR}/compress.c ${ZLIB_SOURCE_DIR}/crc32.c
  ${ZLIB_SOURCE_DIR}/deflate.c ${ZLIB_SOURCE_DIR}/inffast.c ${ZLIB_SOURCE_DIR}/inflate.c
  ${ZLIB_SOURCE_DIR}/inftrees.c ${ZLIB_SOURCE_DIR}/trees.c ${ZLIB_SOURCE_DIR}/uncompr.c
  ${ZLIB_SOURCE_DIR}/zutil.c)
target_include_directories(zlib SYSTEM PUBLIC ${ZLIB_SOURCE_DIR})
# the tables are made once, guarded by C11 atomics
target_compile_definitions(zlib PRIVATE DYNAMIC_CRC_TABLE)
# With -fdata-sections mingw-w64's gcc puts zero-filled variables into .data
# sections, so the 25 KB of tables would be carried in the file after all.
target_compile_options(zlib PRIVATE -w -fno-data-sections)

# zip.c is only pulled in by the tests that craft archives
add_library(minizip STATIC
  ${MINIZIP_SOURCE_DIR}/ioapi.c ${MINIZIP_SOURCE_DIR}/unzip.c
  ${MINIZIP_SOURCE_DIR}/iowin32.c ${MINIZIP_SOURCE_DIR}/zip.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_SOURCE_DIR})
# not our code: keep its warnings out of our build output
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC zlib)

# Compiled for link-time optimisation as well, so that the setup program keeps
# only the functions it calls: a plain object's functions all stay, held by
# their unwind entries. The machine code stays in the objects for the other
# links (tests, tools).
set_target_properties(zlib minizip PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
target_compile_options(zlib PRIVATE -ffat-lto-objects)
target_compile_options(minizip PRIVATE -ffat-lto-objects)

set(PHOTARIUM_EXTRA_LIBS minizip)
