# checktool_windows_resources(target description)
# Gives a Windows program the tool's version resource, icons and manifest (res/win/checktool.rc.in,
# res/win/checktool.manifest.in).
function(checktool_windows_resources target description)
  set(CHECKTOOL_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/res)
  set(CHECKTOOL_RESOURCE_NAME ${target})
  set(CHECKTOOL_RESOURCE_DESCRIPTION ${description})
  set(CHECKTOOL_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${CMAKE_SOURCE_DIR}/res/win/checktool.manifest.in ${CHECKTOOL_MANIFEST} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${CMAKE_SOURCE_DIR}/res/win/checktool.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # windres reads the icon and manifest files; a changed one rebuilds the resource.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${CHECKTOOL_RESOURCE_DIR}/app/icon_163.ico;${CHECKTOOL_RESOURCE_DIR}/app/icon_164.ico;${CHECKTOOL_RESOURCE_DIR}/app/icon_166.ico;${CHECKTOOL_MANIFEST}")
endfunction()
