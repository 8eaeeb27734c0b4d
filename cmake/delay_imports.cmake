# Delay-load import libraries for the setup program.
#
# A library imported at load time is found before any code of ours runs, and
# a system library's own imports are then searched for beside the program as
# well (Wine's user32, for one, imports version.dll). So the setup program
# imports only kernel32 and msvcrt at load time; every other system library
# is loaded at its first call, after HardenDllSearchPath has limited the
# search to the system folder.
set(DELAY_LOADED_DLLS user32 gdi32 comctl32 advapi32 shell32 ole32 oleaut32 oleacc ntdll)
set(DELAY_IMPORT_LIBS "")
find_program(MINGW_NM ${TOOLCHAIN_PREFIX}-nm REQUIRED)
find_program(MINGW_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
foreach(dll ${DELAY_LOADED_DLLS})
  set(import_lib /usr/${TOOLCHAIN_PREFIX}/lib/lib${dll}.a)
  set(def ${CMAKE_BINARY_DIR}/delay/${dll}.def)
  set(delay_lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${delay_lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
    # the paths go in as the shell's arguments: any folder name stays one word
    COMMAND sh -c "{ echo \"LIBRARY $1.dll\"; echo EXPORTS; \"$2\" \"$3\" | awk '$2==\"T\"{print $3}' | sort -u; } > \"$4\""
            sh ${dll} ${MINGW_NM} ${import_lib} ${def}
    COMMAND ${MINGW_DLLTOOL} --def ${def} --output-delaylib ${delay_lib} --dllname ${dll}.dll
    DEPENDS ${import_lib}
    COMMENT "Delay-load import library for ${dll}.dll"
    VERBATIM)
  list(APPEND DELAY_IMPORT_LIBS ${delay_lib})
endforeach()
add_custom_target(delay_import_libs DEPENDS ${DELAY_IMPORT_LIBS})
