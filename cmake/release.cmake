# After the setup program is linked: signing (when a certificate is given) and
# the package manager's manifests beside it, which carry the final bytes' hash.
set(PHOTARIUM_SIGN_CERT "" CACHE FILEPATH "PKCS#12 code-signing certificate (empty: unsigned)")
set(PHOTARIUM_SIGN_PASS "" CACHE FILEPATH "File holding the certificate's password")
set(PHOTARIUM_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signature (optional)")
set(PHOTARIUM_SIGN_CA "" CACHE FILEPATH "Roots the verification of the signature trusts (empty: the system's)")
set(PHOTARIUM_INSTALLER_URL "https://www.photarium.example/photar64_setup.exe" CACHE STRING
    "Download address of the setup program, for the manifests")

set(WRITE_MANIFESTS ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/release/write_manifests.py
    $<TARGET_FILE:photar64_setup> ${PHOTARIUM_VERSION} ${PHOTARIUM_INSTALLER_URL})
if(PHOTARIUM_SIGN_CERT)
  if(NOT PHOTARIUM_SIGN_PASS)
    message(FATAL_ERROR "PHOTARIUM_SIGN_CERT needs PHOTARIUM_SIGN_PASS, the file with its password")
  endif()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  # The linked program is kept unsigned, and every build signs it afresh:
  # a renewed certificate or password at the same path is always the one used.
  set(UNSIGNED_PROGRAM ${CMAKE_BINARY_DIR}/release/photar64_setup.unsigned.exe)
  add_custom_command(TARGET photar64_setup POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:photar64_setup> ${UNSIGNED_PROGRAM}
    VERBATIM)
  add_custom_target(photar64_setup_signed ALL
    COMMAND ${CMAKE_COMMAND} -E copy ${UNSIGNED_PROGRAM} $<TARGET_FILE:photar64_setup>
    COMMAND ${CMAKE_SOURCE_DIR}/release/sign_program.sh $<TARGET_FILE:photar64_setup>
            ${PHOTARIUM_SIGN_CERT} ${PHOTARIUM_SIGN_PASS} "${PHOTARIUM_TIMESTAMP_URL}"
            "${PHOTARIUM_SIGN_CA}"
    COMMAND ${WRITE_MANIFESTS}
    COMMENT "Signing photar64_setup.exe" VERBATIM)
  add_dependencies(photar64_setup_signed photar64_setup)
else()
  add_custom_command(TARGET photar64_setup POST_BUILD COMMAND ${WRITE_MANIFESTS} VERBATIM)
endif()

# a change of these settings links (and so signs and describes) the program again
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/release_settings.txt CONTENT
"${PHOTARIUM_SIGN_CERT}|${PHOTARIUM_SIGN_PASS}|${PHOTARIUM_TIMESTAMP_URL}|${PHOTARIUM_SIGN_CA}|${PHOTARIUM_INSTALLER_URL}
")
set_property(TARGET photar64_setup APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_BINARY_DIR}/generated/release_settings.txt)

# The default-associations files administrators import, beside the program:
# written from the format rows of the facts, again whenever they change.
set(DEFAULT_ASSOCIATIONS
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Photarium_DefaultAssociations_Images.xml
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Photarium_DefaultAssociations_All.xml)
add_custom_command(OUTPUT ${DEFAULT_ASSOCIATIONS}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/release/write_default_associations.py
          ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  DEPENDS ${CMAKE_SOURCE_DIR}/release/write_default_associations.py ${PRODUCT_FACTS}
  VERBATIM)
add_custom_target(default_associations ALL DEPENDS ${DEFAULT_ASSOCIATIONS})
