# checktool_test(NAME n LABEL l SOURCES ... [LIBS ...])
# One GoogleTest binary; every test case becomes a ctest test carrying the label.
function(checktool_test)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE checktool_core ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE
    CHECKTOOL_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata"
    CHECKTOOL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
