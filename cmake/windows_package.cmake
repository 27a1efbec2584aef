# The Windows packages (`scripts/package-windows` makes them, in build/windows/packages/):
#   checktool-<version>-win64.zip        both programs and a read-me, to run from any folder
#   checktool-<version>-win64-setup.exe  an installer (NSIS) with a Start-menu entry and an uninstaller,
#                                        for every user or for the current one
#   winget/                              the winget manifests of that installer
# Both programs, the installer and its uninstaller are signed (cmake/windows_signing.cmake).
find_program(MAKENSIS_PROGRAM makensis REQUIRED)
find_program(MINGW_STRIP_PROGRAM x86_64-w64-mingw32-strip REQUIRED)
include(cmake/windows_signing.cmake)
set(CHECKTOOL_RELEASE_URL "https://tarvo.invalid/checktool/download" CACHE STRING
  "Where the Windows installers are published; the winget manifests fetch them from there")

set(windows_product "Tarvo Check Tool")
set(windows_product_url "https://tarvo.invalid/checktool/")
set(windows_packages ${CMAKE_BINARY_DIR}/packages)
set(windows_portable checktool-${PROJECT_VERSION}-win64)
set(windows_stage ${windows_packages}/stage/${windows_portable})
set(windows_programs ${windows_stage}/checktool.exe ${windows_stage}/checktool-cli.exe)
set(windows_zip ${windows_packages}/${windows_portable}.zip)
set(windows_setup ${windows_packages}/${windows_portable}-setup.exe)

# Windows' Notepad reads the read-me as UTF-8 (Korean text) only with a byte-order mark, and older
# ones break lines only at CR LF.
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${windows_packages}/README.lf.txt @ONLY)
file(READ ${windows_packages}/README.lf.txt readme)
string(REPLACE "\n" "\r\n" readme "${readme}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${windows_packages}/README.txt "${byte_order_mark}${readme}")

add_custom_command(OUTPUT ${windows_programs} ${windows_stage}/README.txt
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${windows_packages}/stage
  COMMAND ${CMAKE_COMMAND} -E make_directory ${windows_stage}
  COMMAND ${MINGW_STRIP_PROGRAM} -o ${windows_stage}/checktool.exe $<TARGET_FILE:checktool>
  COMMAND ${MINGW_STRIP_PROGRAM} -o ${windows_stage}/checktool-cli.exe $<TARGET_FILE:checktool-cli>
  COMMAND ${windows_sign_environment} ${windows_signer} --name ${windows_product} --url ${windows_product_url}
    ${windows_programs}
  COMMAND ${CMAKE_COMMAND} -E copy ${windows_packages}/README.txt ${windows_stage}/README.txt
  DEPENDS checktool checktool-cli ${windows_packages}/README.txt ${windows_signing_depends}
  COMMENT "Signing checktool.exe and checktool-cli.exe"
  VERBATIM)

add_custom_command(OUTPUT ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${windows_packages}/stage
    ${CMAKE_COMMAND} -E tar cf ${windows_zip} --format=zip ${windows_portable}
  DEPENDS ${windows_programs} ${windows_stage}/README.txt
  COMMENT "Packing ${windows_portable}.zip"
  VERBATIM)

# checktool_windows_installer(OUTPUT VERSION [MAKENSIS_OPTION...]): the installer of the staged
# programs, calling itself VERSION; makensis signs the uninstaller it holds and then the installer.
function(checktool_windows_installer output version)
  set(script ${CMAKE_SOURCE_DIR}/packaging/windows/checktool.nsi)
  add_custom_command(OUTPUT ${output}
    COMMAND ${windows_sign_environment} ${MAKENSIS_PROGRAM} -V2 -DVERSION=${version} -DPRODUCT=${windows_product}
      -DURL=${windows_product_url} -DPROGRAMS=${windows_stage} -DREADME=${windows_stage}/README.txt
      -DSIGN=${windows_signer} -DOUTFILE=${output} ${ARGN} ${script}
    DEPENDS ${windows_programs} ${windows_stage}/README.txt ${windows_signing_depends} ${script}
    COMMENT "Making the installer ${output}"
    VERBATIM)
endfunction()
checktool_windows_installer(${windows_setup} ${PROJECT_VERSION})

set(winget_templates_folder ${CMAKE_SOURCE_DIR}/packaging/windows/winget)
file(GLOB winget_templates ${winget_templates_folder}/*.yaml.in)
list(TRANSFORM winget_templates REPLACE "^.*/(.*)\\.in$" "${windows_packages}/winget/\\1" OUTPUT_VARIABLE winget_manifests)
add_custom_command(OUTPUT ${winget_manifests}
  COMMAND ${CMAKE_COMMAND} -DINSTALLER=${windows_setup} -DVERSION=${PROJECT_VERSION}
    -DINSTALLER_URL=${CHECKTOOL_RELEASE_URL}/${windows_portable}-setup.exe -DHOME_PAGE=${windows_product_url}
    -DTEMPLATES=${winget_templates_folder} -DOUTPUT=${windows_packages}/winget
    -P ${CMAKE_SOURCE_DIR}/cmake/winget_manifests.cmake
  DEPENDS ${windows_setup} ${winget_templates} ${CMAKE_SOURCE_DIR}/cmake/winget_manifests.cmake
  COMMENT "Writing the winget manifests"
  VERBATIM)

add_custom_target(windows_packages DEPENDS ${windows_zip} ${windows_setup} ${winget_manifests}
  ${windows_signing_certificate})

# The package test upgrades from this: the same installer, calling itself an earlier version; quickly
# compressed (zlib instead of the release's solid LZMA: seconds instead of a minute).
set(windows_older_setup ${CMAKE_BINARY_DIR}/package-test/checktool-0.0.0.1-win64-setup.exe)
checktool_windows_installer(${windows_older_setup} 0.0.0.1 -V1 "-XSetCompressor /FINAL zlib")
add_custom_target(windows_older_installer DEPENDS ${windows_older_setup})

# The package test installs the installer silently under Wine, for every user and for one, runs the
# installed CLI (against the Linux lab when one is at hand), upgrades an earlier version, uninstalls, and
# checks every signature against the certificate used. It makes the packages first.
set(lab_argument "")
if(CHECKTOOL_LAB_EXECUTABLE)
  set(lab_argument --lab ${CHECKTOOL_LAB_EXECUTABLE})
endif()
add_test(NAME windows_package
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/windows_package_test.py
    --build-dir ${CMAKE_BINARY_DIR} --version ${PROJECT_VERSION}
    --wine-run ${CMAKE_SOURCE_DIR}/scripts/wine-run --older-installer ${windows_older_setup}
    --signing-certificate ${windows_signing_certificate} ${lab_argument})
set_tests_properties(windows_package PROPERTIES LABELS package TIMEOUT 600)
