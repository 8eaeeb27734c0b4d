# The embedded product archive (resource "ZIP" 212): the stand-in programs are
# built here, put together with product/files into a folder that is checked
# and packed as a maker's product is, into a deterministic ZIP, and the ZIP
# goes into a generated .rc that the setup program and the unit tests compile.
set(PHOTARIUM_PRODUCT_DIR "" CACHE PATH
    "Folder packed as the product instead of the built stand-ins (empty: stand-ins)")
set(PHOTARIUM_RELEASE_NOTES "" CACHE FILEPATH
    "Release notes (UTF-16LE with byte-order mark) instead of resources/whatsnew.utf16")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(PRODUCT_SOURCE_DIR ${CMAKE_SOURCE_DIR}/product)
set(PAYLOAD_ZIP ${CMAKE_BINARY_DIR}/payload/product.zip)
set(PAYLOAD_RC ${CMAKE_BINARY_DIR}/payload/payload.rc)
# size of the shipped icon plug-in: the size a reinstall of the same version overwrites
set(PHOTARIUM_ICON_LIBRARY_SIZE 226816)

# Packs a product folder into zip after checking it against the rules the
# installation applies: the build stops with a message naming the file that
# breaks one. Further arguments are what the packing depends on.
function(photarium_pack_product zip folder)
  add_custom_command(OUTPUT ${zip}
    COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/check_product.py ${folder}
    COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/pack_payload.py ${zip} ${folder}
    DEPENDS ${PRODUCT_SOURCE_DIR}/pack_payload.py ${PRODUCT_SOURCE_DIR}/check_product.py
            ${PRODUCT_FACTS} ${ARGN}
    COMMENT "Checking and packing ${folder}" VERBATIM)
endfunction()

if(PHOTARIUM_PRODUCT_DIR)
  # checked before make sees the files too: a dangling link among them would
  # stop it without a word on which rule is broken
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/check_product.py
                          ${PHOTARIUM_PRODUCT_DIR} RESULT_VARIABLE product_result)
  if(NOT product_result EQUAL 0)
    message(FATAL_ERROR "${PHOTARIUM_PRODUCT_DIR}: nothing packed, see the lines above")
  endif()
  file(GLOB_RECURSE PRODUCT_FILES CONFIGURE_DEPENDS ${PHOTARIUM_PRODUCT_DIR}/*)
  photarium_pack_product(${PAYLOAD_ZIP} ${PHOTARIUM_PRODUCT_DIR} ${PRODUCT_FILES})
else()
  set(STANDIN_DIR ${CMAKE_BINARY_DIR}/standin)

  add_executable(standin_viewer WIN32 ${PRODUCT_SOURCE_DIR}/src/photar64.cpp
                 ${PRODUCT_SOURCE_DIR}/src/photar64.rc)
  add_executable(standin_uninstall WIN32 ${PRODUCT_SOURCE_DIR}/src/pt_uninstall.cpp
                 ${PRODUCT_SOURCE_DIR}/src/pt_uninstall.rc)
  target_link_options(standin_viewer PRIVATE -municode -mwindows)
  target_link_options(standin_uninstall PRIVATE -municode -mwindows)
  set_target_properties(standin_viewer PROPERTIES OUTPUT_NAME photar64)
  set_target_properties(standin_uninstall PROPERTIES OUTPUT_NAME pt_uninstall)

  add_library(standin_icons SHARED ${PRODUCT_SOURCE_DIR}/src/resource_dll.c
              ${PRODUCT_SOURCE_DIR}/src/icons_dll.rc)
  set_target_properties(standin_icons PROPERTIES OUTPUT_NAME Icons PREFIX "")
  add_custom_command(TARGET standin_icons POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/pad_file.py
            $<TARGET_FILE:standin_icons> ${PHOTARIUM_ICON_LIBRARY_SIZE} VERBATIM)
  add_library(standin_deutsch SHARED ${PRODUCT_SOURCE_DIR}/src/resource_dll.c
              ${PRODUCT_SOURCE_DIR}/src/deutsch_dll.rc)
  set_target_properties(standin_deutsch PROPERTIES OUTPUT_NAME DEUTSCH SUFFIX ".DLL" PREFIX "")

  set(STANDIN_TARGETS standin_viewer standin_uninstall standin_icons standin_deutsch)
  foreach(target ${STANDIN_TARGETS})
    target_include_directories(${target} PRIVATE ${PRODUCT_SOURCE_DIR}/src)
    # no link time in the headers: the same sources give the same archive
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
    set_target_properties(${target} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${STANDIN_DIR} LIBRARY_OUTPUT_DIRECTORY ${STANDIN_DIR})
  endforeach()

  file(GLOB_RECURSE PRODUCT_FILES CONFIGURE_DEPENDS ${PRODUCT_SOURCE_DIR}/files/*)
  set(STANDIN_PRODUCT_DIR ${CMAKE_BINARY_DIR}/standin-product)
  add_custom_command(OUTPUT ${STANDIN_PRODUCT_DIR}/photar64.exe
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${STANDIN_PRODUCT_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PRODUCT_SOURCE_DIR}/files ${STANDIN_PRODUCT_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STANDIN_PRODUCT_DIR}/Plugins
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:standin_viewer>
            $<TARGET_FILE:standin_uninstall> ${STANDIN_PRODUCT_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:standin_icons> ${STANDIN_PRODUCT_DIR}/Plugins
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:standin_deutsch> ${STANDIN_PRODUCT_DIR}/Languages
    DEPENDS ${PRODUCT_FILES} ${STANDIN_TARGETS}
    COMMENT "Putting the stand-in product together" VERBATIM)
  photarium_pack_product(${PAYLOAD_ZIP} ${STANDIN_PRODUCT_DIR} ${STANDIN_PRODUCT_DIR}/photar64.exe)
endif()

add_custom_target(payload_zip DEPENDS ${PAYLOAD_ZIP})

# The program accepts only target folders below which every file and folder of
# this product fits a Windows path: it is told the product's longest paths.
if(PHOTARIUM_PRODUCT_DIR)
  set(MEASURED ${PHOTARIUM_PRODUCT_DIR})
else()
  set(MEASURED ${PRODUCT_SOURCE_DIR}/files photar64.exe pt_uninstall.exe Plugins/Icons.dll
      Languages/DEUTSCH.DLL)
endif()
execute_process(COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/check_product.py --measure
                        ${MEASURED}
                OUTPUT_VARIABLE LONGEST_PATHS OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE measure_result)
if(NOT measure_result EQUAL 0)
  message(FATAL_ERROR "cannot measure the product's paths in ${MEASURED}")
endif()
list(GET LONGEST_PATHS 0 PHOTARIUM_LONGEST_FILE_PATH)
list(GET LONGEST_PATHS 1 PHOTARIUM_LONGEST_FOLDER_PATH)
add_compile_definitions(PHOTARIUM_LONGEST_FILE_PATH=${PHOTARIUM_LONGEST_FILE_PATH}
                        PHOTARIUM_LONGEST_FOLDER_PATH=${PHOTARIUM_LONGEST_FOLDER_PATH})

# A resource script rc carrying zip as the archive and, measured from it at
# build time, the size the product takes installed (the uninstall entry's).
function(photarium_archive_rc rc zip)
  file(CONFIGURE OUTPUT ${rc} CONTENT
"// Generated by cmake/payload.cmake: the product archive and its installed size.
212 ZIP \"${zip}\"
#include \"${rc}.size\"
")
  add_custom_command(OUTPUT ${rc}.size
    COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/measure_size.py ${zip} ${rc}.size
    DEPENDS ${zip} ${PRODUCT_SOURCE_DIR}/measure_size.py VERBATIM)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${zip};${rc}.size")
endfunction()
photarium_archive_rc(${PAYLOAD_RC} ${PAYLOAD_ZIP})
add_custom_target(payload_size DEPENDS ${PAYLOAD_RC}.size)
add_dependencies(payload_zip payload_size)

# The release notes (resource "TXT" 128) reach windres as release_notes.utf16
# on the include path: the generated stand-in, or the maker's checked file.
set(RELEASE_NOTES ${CMAKE_SOURCE_DIR}/resources/whatsnew.utf16)
if(PHOTARIUM_RELEASE_NOTES)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PRODUCT_SOURCE_DIR}/check_product.py
                          --notes ${PHOTARIUM_RELEASE_NOTES}
                  RESULT_VARIABLE notes_result ERROR_VARIABLE notes_error)
  if(NOT notes_result EQUAL 0)
    message(FATAL_ERROR "${notes_error}")
  endif()
  set(RELEASE_NOTES ${PHOTARIUM_RELEASE_NOTES})
endif()
configure_file(${RELEASE_NOTES} ${CMAKE_BINARY_DIR}/generated/release_notes.utf16 COPYONLY)
