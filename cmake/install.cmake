# What `cmake --install` puts in place: both programs, and what a desktop and a shell expect of them
# (menu entry, icons, AppStream metainfo, manual pages, bash completion, the package's documents).
# Paths follow GNUInstallDirs, so CMAKE_INSTALL_PREFIX and DESTDIR apply. The product lab, the
# screenshot maker and the tests are not installed.
include(GNUInstallDirs)

set(CHECKTOOL_APP_ID com.tarvo.CheckTool)
set(CHECKTOOL_PACKAGE_NAME checktool)
set(CHECKTOOL_PACKAGE_MAINTAINER "Tarvo Check Tool Team <checktool@tarvo.invalid>"
  CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)

# The newest release of the metainfo names the version and the date of the package's changelog.
file(STRINGS ${packaging}/${CHECKTOOL_APP_ID}.metainfo.xml newest_release REGEX "<release " LIMIT_COUNT 1)
if(NOT newest_release MATCHES "version=\"([^\"]+)\" date=\"([0-9-]+)\"")
  message(FATAL_ERROR "packaging/${CHECKTOOL_APP_ID}.metainfo.xml names no release")
endif()
set(CHECKTOOL_RELEASE_VERSION ${CMAKE_MATCH_1})
set(CHECKTOOL_RELEASE_DATE ${CMAKE_MATCH_2})
if(NOT CHECKTOOL_RELEASE_VERSION STREQUAL PROJECT_VERSION)
  message(WARNING "The newest release in packaging/${CHECKTOOL_APP_ID}.metainfo.xml is "
    "${CHECKTOOL_RELEASE_VERSION}, the project is ${PROJECT_VERSION}: add a <release> for it.")
endif()
execute_process(COMMAND date -u -R -d "${CHECKTOOL_RELEASE_DATE} 00:00:00"
  OUTPUT_VARIABLE CHECKTOOL_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${packaging}/debian/changelog.in ${packaging_out}/changelog @ONLY)

# Debian keeps manual pages and changelogs compressed, without a time stamp (gzip -n).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
foreach(source ${packaging}/man/checktool.1 ${packaging}/man/checktool-cli.1 ${packaging_out}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${packaging_out}/${name}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${source} > ${packaging_out}/${name}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${packaging_out}/${name}.gz)
endforeach()
add_custom_target(checktool_packaging_files ALL DEPENDS ${compressed})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The shipped programs resolve every symbol at start and keep their relocations read-only.
foreach(program checktool checktool-cli)
  target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
endforeach()
install(TARGETS checktool checktool-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/${CHECKTOOL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${CHECKTOOL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${packaging}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${packaging_out}/checktool.1.gz ${packaging_out}/checktool-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/bash-completion/checktool-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${packaging}/debian/copyright ${packaging_out}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CHECKTOOL_PACKAGE_NAME})
