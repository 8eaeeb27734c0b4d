# After the setup program is linked: signing (when a certificate is given) and
# the package manager's manifests beside it, which carry the final bytes' hash.
set(PHOTARIUM_SIGN_CERT "" CACHE FILEPATH "PKCS#12 code-signing certificate (empty: unsigned)")
set(PHOTARIUM_SIGN_PASS "" CACHE FILEPATH "File holding the certificate's password")
set(PHOTARIUM_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signature (optional)")
set(PHOTARIUM_SIGN_CA "" CACHE FILEPATH "Roots the verification of the signature trusts (empty: the system's)")
set(PHOTARIUM_INSTALLER_URL "https://www.photarium.example/photar64_setup.exe" CACHE STRING
    "Download address of the setup program, for the manifests")

if(PHOTARIUM_SIGN_CERT)
  if(NOT PHOTARIUM_SIGN_PASS)
    message(FATAL_ERROR "PHOTARIUM_SIGN_CERT needs PHOTARIUM_SIGN_PASS, the file with its password")
  endif()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  add_custom_command(TARGET photar64_setup POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/release/sign_program.sh $<TARGET_FILE:photar64_setup>
            ${PHOTARIUM_SIGN_CERT} ${PHOTARIUM_SIGN_PASS} "${PHOTARIUM_TIMESTAMP_URL}"
            "${PHOTARIUM_SIGN_CA}"
    COMMENT "Signing photar64_setup.exe" VERBATIM)
endif()
add_custom_command(TARGET photar64_setup POST_BUILD
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/release/write_manifests.py
          $<TARGET_FILE:photar64_setup> ${PHOTARIUM_VERSION} ${PHOTARIUM_INSTALLER_URL}
  VERBATIM)

# a change of these settings links (and so signs and describes) the program again
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/release_settings.txt CONTENT
"${PHOTARIUM_SIGN_CERT}|${PHOTARIUM_SIGN_PASS}|${PHOTARIUM_TIMESTAMP_URL}|${PHOTARIUM_SIGN_CA}|${PHOTARIUM_INSTALLER_URL}
")
set_property(TARGET photar64_setup APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_BINARY_DIR}/generated/release_settings.txt)
