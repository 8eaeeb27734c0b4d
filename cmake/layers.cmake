# The program's folders are layers, lowest first. Each builds into a static
# library of its own that links only the one below it, so a layer's code sees
# no symbol of a higher layer.
set(PHOTARIUM_LAYERS platform framework register install wizard app)
set(PHOTARIUM_SYSTEM_LIBS comctl32 shell32 ole32 oleaut32 oleacc uuid advapi32 user32 gdi32 ntdll)

# photar_<layer><suffix> for each layer, compiled with the program's options
# and those given after the suffix. the_app.cpp and allocation.cpp go into each
# build of the setup program itself (add_setup_program).
function(photarium_layer_libraries suffix)
  set(below "")
  foreach(layer ${PHOTARIUM_LAYERS})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/app/the_app.cpp ${CMAKE_SOURCE_DIR}/app/allocation.cpp)
    set(library photar_${layer}${suffix})
    add_library(${library} STATIC ${sources})
    target_include_directories(${library} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${library} PRIVATE ${PROGRAM_COMPILE_OPTIONS} ${ARGN})
    if(suffix STREQUAL "_program")
      set_target_properties(${library} PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
      # the delay-load libraries come before the system's own, so they win
      target_link_libraries(${library} PUBLIC ${below} ${DELAY_IMPORT_LIBS} ${PHOTARIUM_SYSTEM_LIBS})
    else()
      target_link_libraries(${library} PUBLIC ${below} ${PHOTARIUM_SYSTEM_LIBS})
    endif()
    set(below ${library})
  endforeach()
  # the archive functions are the unpacking's
  target_link_libraries(photar_install${suffix} PUBLIC ${PHOTARIUM_EXTRA_LIBS})
endfunction()

# An archive keeps an unresolved symbol to itself; a DLL cannot. So each
# layer's objects, all of them, are linked into a DLL with only the layers
# below it and the system's libraries, as part of the default build: a call
# into a higher layer fails to link there ("undefined reference").
function(photarium_layer_checks)
  set(source ${CMAKE_BINARY_DIR}/generated/layer_check.c)
  file(CONFIGURE OUTPUT ${source} CONTENT "/* the objects come from the layer's archive */\n")
  foreach(layer ${PHOTARIUM_LAYERS})
    add_library(layer_check_${layer} MODULE ${source})
    target_link_libraries(layer_check_${layer} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,photar_${layer}>")
    # every function exported stays in the link, and so do its references
    target_link_options(layer_check_${layer} PRIVATE -Wl,--no-undefined -Wl,--export-all-symbols
      -Wl,--no-gc-sections)
    set_target_properties(layer_check_${layer} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/layer-checks)
  endforeach()
endfunction()
