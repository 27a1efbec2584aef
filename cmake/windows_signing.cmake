# Authenticode signing of the Windows programs, the installer and its uninstaller
# (packaging/windows/sign-programs). The certificate is the builder's, named in the environment of the
# configure run (scripts/build-windows configures on every run):
#   CHECKTOOL_SIGN_PKCS12, CHECKTOOL_SIGN_PASSWORD_FILE, optionally CHECKTOOL_SIGN_TIMESTAMP_URL.
# Without them a throwaway, self-signed test certificate is made in the build folder, so that signing
# runs in every build. Sets:
#   windows_sign_environment     a command prefix that runs what follows with the certificate named
#   windows_signer               the signing program (arguments: --name, --url, programs)
#   windows_signing_depends      what a signed file depends on: the certificate and its settings
#   windows_signing_certificate  the certificates of the .pfx file (PEM, no key), to verify against
find_program(OSSLSIGNCODE_PROGRAM osslsigncode REQUIRED)
find_program(OPENSSL_PROGRAM openssl REQUIRED)

set(windows_signing ${CMAKE_BINARY_DIR}/signing)
set(windows_signer ${CMAKE_SOURCE_DIR}/packaging/windows/sign-programs)
set(windows_signing_certificate ${windows_signing}/certificate.pem)
set(sign_pkcs12 "$ENV{CHECKTOOL_SIGN_PKCS12}")
set(sign_password_file "$ENV{CHECKTOOL_SIGN_PASSWORD_FILE}")
set(sign_timestamp_url "$ENV{CHECKTOOL_SIGN_TIMESTAMP_URL}")
if(sign_pkcs12)
  if(NOT EXISTS "${sign_pkcs12}" OR NOT EXISTS "${sign_password_file}")
    message(FATAL_ERROR "CHECKTOOL_SIGN_PKCS12 must name a .pfx file and CHECKTOOL_SIGN_PASSWORD_FILE the file "
      "that holds its password")
  endif()
  set(signing_comment "Signing with ${sign_pkcs12}")
else()
  set(sign_pkcs12 ${windows_signing}/test-signing.pfx)
  set(sign_password_file ${windows_signing}/test-signing.password)
  add_custom_command(OUTPUT ${sign_pkcs12} ${sign_password_file}
    COMMAND ${CMAKE_SOURCE_DIR}/packaging/windows/make-test-certificate ${windows_signing}
    COMMENT "Making a throwaway test certificate to sign the Windows programs with"
    VERBATIM)
  set(signing_comment "Signing with a throwaway TEST certificate that Windows does not trust (set CHECKTOOL_SIGN_PKCS12 for a release)")
endif()

# Another certificate or time-stamping service signs everything again.
set(signing_settings ${windows_signing}/settings.txt)
file(CONFIGURE OUTPUT ${signing_settings}
  CONTENT "pkcs12 ${sign_pkcs12}\npassword file ${sign_password_file}\ntime stamps ${sign_timestamp_url}\n")
set(windows_signing_depends ${sign_pkcs12} ${signing_settings} ${windows_signer})
set(windows_sign_environment ${CMAKE_COMMAND} -E env CHECKTOOL_SIGN_PKCS12=${sign_pkcs12}
  CHECKTOOL_SIGN_PASSWORD_FILE=${sign_password_file} CHECKTOOL_SIGN_TIMESTAMP_URL=${sign_timestamp_url})

add_custom_command(OUTPUT ${windows_signing_certificate}
  COMMAND ${OPENSSL_PROGRAM} pkcs12 -in ${sign_pkcs12} -passin file:${sign_password_file} -nokeys
    -out ${windows_signing_certificate}
  DEPENDS ${windows_signing_depends}
  COMMENT "${signing_comment}"
  VERBATIM)
