# The Windows packages (`scripts/package-windows` makes them, in build/windows/packages/):
#   checktool-<version>-win64.zip        both programs and a read-me, to run from any folder
#   checktool-<version>-win64-setup.exe  an installer (NSIS) with a Start-menu entry and an uninstaller
find_program(MAKENSIS_PROGRAM makensis REQUIRED)
find_program(MINGW_STRIP_PROGRAM x86_64-w64-mingw32-strip REQUIRED)

set(windows_packages ${CMAKE_BINARY_DIR}/packages)
set(windows_portable checktool-${PROJECT_VERSION}-win64)
set(windows_stage ${windows_packages}/stage/${windows_portable})
set(windows_zip ${windows_packages}/${windows_portable}.zip)
set(windows_setup ${windows_packages}/${windows_portable}-setup.exe)

# Windows' Notepad reads the read-me as UTF-8 (Korean text) only with a byte-order mark, and older
# ones break lines only at CR LF.
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${windows_packages}/README.lf.txt @ONLY)
file(READ ${windows_packages}/README.lf.txt readme)
string(REPLACE "\n" "\r\n" readme "${readme}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${windows_packages}/README.txt "${byte_order_mark}${readme}")

add_custom_command(OUTPUT ${windows_zip} ${windows_setup}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${windows_packages}/stage
  COMMAND ${CMAKE_COMMAND} -E make_directory ${windows_stage}
  COMMAND ${MINGW_STRIP_PROGRAM} -o ${windows_stage}/checktool.exe $<TARGET_FILE:checktool>
  COMMAND ${MINGW_STRIP_PROGRAM} -o ${windows_stage}/checktool-cli.exe $<TARGET_FILE:checktool-cli>
  COMMAND ${CMAKE_COMMAND} -E copy ${windows_packages}/README.txt ${windows_stage}/README.txt
  COMMAND ${CMAKE_COMMAND} -E rm -f ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${windows_packages}/stage
    ${CMAKE_COMMAND} -E tar cf ${windows_zip} --format=zip ${windows_portable}
  COMMAND ${MAKENSIS_PROGRAM} -V2 -DVERSION=${PROJECT_VERSION} -DPROGRAMS=${windows_stage}
    -DREADME=${windows_stage}/README.txt -DOUTFILE=${windows_setup}
    ${CMAKE_SOURCE_DIR}/packaging/windows/checktool.nsi
  DEPENDS checktool checktool-cli ${windows_packages}/README.txt ${CMAKE_SOURCE_DIR}/packaging/windows/checktool.nsi
  COMMENT "Packing ${windows_portable}.zip and its installer"
  VERBATIM)
add_custom_target(windows_packages DEPENDS ${windows_zip} ${windows_setup})

# The package test installs the installer silently under Wine, runs the installed CLI (against the
# Linux lab when one is at hand) and uninstalls it.
set(lab_argument "")
if(CHECKTOOL_LAB_EXECUTABLE)
  set(lab_argument --lab ${CHECKTOOL_LAB_EXECUTABLE})
endif()
add_test(NAME windows_package
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/windows_package_test.py
    --build-dir ${CMAKE_BINARY_DIR} --version ${PROJECT_VERSION}
    --wine-run ${CMAKE_SOURCE_DIR}/scripts/wine-run ${lab_argument})
set_tests_properties(windows_package PROPERTIES LABELS package TIMEOUT 300)
