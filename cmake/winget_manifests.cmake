# Fills in the winget manifests (packaging/windows/winget/) of one installer; cmake/windows_package.cmake
# runs it once the installer is signed, since the manifests carry its SHA-256:
#   cmake -DINSTALLER=setup.exe -DVERSION=1.0.0.1 -DINSTALLER_URL=https://… -DHOME_PAGE=https://…
#         -DTEMPLATES=packaging/windows/winget -DOUTPUT=folder -P winget_manifests.cmake
file(SHA256 ${INSTALLER} INSTALLER_SHA256)
string(TOUPPER ${INSTALLER_SHA256} INSTALLER_SHA256)
file(GLOB templates ${TEMPLATES}/*.yaml.in)
foreach(template ${templates})
  get_filename_component(manifest ${template} NAME)
  string(REGEX REPLACE "\\.in$" "" manifest ${manifest})
  configure_file(${template} ${OUTPUT}/${manifest} @ONLY)
endforeach()
