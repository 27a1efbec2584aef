# The Debian package (`scripts/package` makes it): everything cmake/install.cmake installs, under
# /usr, with its dependencies computed from the programs' shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${CHECKTOOL_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarvo)
set(CPACK_PACKAGE_CONTACT ${CHECKTOOL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diagnose the connection to remote-support product servers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "The Check Tool finds out whether this computer can use the servers of a Tarvo
remote-support product and, if not, why. It downloads the product's check
list, checks every listed server ten times (encrypted relay handshake, plain
TCP connection or HTTP request) and shows every result in a Korean window
(checktool) or on a terminal (checktool-cli, text or JSON).

For the support engineer it packs a result report, inventories of the
product's installed files, system information and the product's own logs
into one ZIP archive.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Korean texts need a Korean font; the support bundle runs ip, ps and the like.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum, iproute2, procps")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The package test builds the package from this build, so it runs against release-like builds only
# (a sanitized program is no program to ship).
if(TARGET product-lab AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_test(NAME package
    COMMAND ${CMAKE_SOURCE_DIR}/tests/package/package_test.py
      --build-dir ${CMAKE_BINARY_DIR} --version ${PROJECT_VERSION}
      --lab $<TARGET_FILE:product-lab>)
  set_tests_properties(package PROPERTIES LABELS package TIMEOUT 300)
endif()
