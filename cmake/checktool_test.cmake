# The lab is a Linux program; a Windows build's tests run the one of the Linux build beside it (under
# Wine, as a Unix process).
if(WIN32)
  set(default_lab ${CMAKE_SOURCE_DIR}/build/default/tools/lab/product-lab)
else()
  set(default_lab ${CMAKE_BINARY_DIR}/tools/lab/product-lab)
endif()
set(CHECKTOOL_LAB_EXECUTABLE ${default_lab} CACHE FILEPATH "The product lab the tests start (a Linux executable)")

# Every tests/<area>/*_test.cpp is a GoogleTest binary named <area>_<stem>; every test case in it
# becomes a ctest test. An area's *_support.cpp (and *_support_posix.cpp or *_support_win.cpp)
# files are compiled once and linked into each of its binaries. The area gives the label: gui, e2e and integration keep their
# name, app tests are gui tests, the rest are unit tests. GUI tests link the control library and run
# offscreen.
# Fonts for the window's tests on Windows, where Qt's offscreen platform reads them from one folder.
set(CHECKTOOL_TEST_FONT_DIR /usr/share/fonts/truetype/nanum CACHE PATH
  "Folder of TrueType fonts with Korean glyphs for the window's tests under Wine")

function(checktool_area_tests dir)
  get_filename_component(area ${dir} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  # A *_win_test.cpp (or *_posix_test.cpp) tests one platform's half only.
  list(FILTER tests EXCLUDE REGEX "_${checktool_other_platform}_test\\.cpp$")
  # The window's pictures are compared with ones drawn on Linux by a program the Windows build lacks.
  if(WIN32 AND area STREQUAL "app")
    list(FILTER tests EXCLUDE REGEX "/pictures_test\\.cpp$")
  endif()
  file(GLOB helpers CONFIGURE_DEPENDS ${dir}/*_support.cpp ${dir}/*_support_${checktool_platform}.cpp)
  # End-to-end and window tests drive the product lab through the integration tests' helper.
  set(uses_lab OFF)
  if(area STREQUAL "e2e" OR area STREQUAL "app" OR area STREQUAL "integration")
    set(uses_lab ON)
  endif()
  if(uses_lab AND NOT area STREQUAL "integration")
    file(GLOB lab_helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/integration/*_support.cpp
      ${CMAKE_SOURCE_DIR}/tests/integration/*_support_${checktool_platform}.cpp)
    list(APPEND helpers ${lab_helpers})
  endif()
  if(area STREQUAL "gui" OR area STREQUAL "e2e" OR area STREQUAL "integration")
    set(label ${area})
  elseif(area STREQUAL "app")
    set(label gui)
  else()
    set(label unit)
  endif()

  # What every binary of the area links: a core folder's tests only that folder's library (and what
  # it needs), so that they build while other folders are mid-change; the rest the whole core.
  set(area_libs ${area}_test_deps)
  add_library(${area_libs} INTERFACE)
  if(TARGET checktool_${area})
    target_link_libraries(${area_libs} INTERFACE checktool_${area})
  else()
    target_link_libraries(${area_libs} INTERFACE checktool_core)
  endif()
  if(area STREQUAL "gui" OR area STREQUAL "app")
    target_link_libraries(${area_libs} INTERFACE checktool_ui Qt6::Test)
    if(WIN32)
      # The tests run under Wine on the build machine, which shows that machine's files on drive Z:.
      target_compile_definitions(${area_libs} INTERFACE CHECKTOOL_TEST_FONT_DIR="Z:${CHECKTOOL_TEST_FONT_DIR}")
    endif()
  endif()
  target_link_libraries(${area_libs} INTERFACE GTest::gtest_main GTest::gmock)
  target_compile_definitions(${area_libs} INTERFACE
    CHECKTOOL_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    CHECKTOOL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    CHECKTOOL_LAB_EXECUTABLE="${CHECKTOOL_LAB_EXECUTABLE}")
  if(helpers)
    # Object files reach only the targets that link the object library directly.
    add_library(${area}_test_support OBJECT ${helpers})
    target_link_libraries(${area}_test_support PUBLIC ${area_libs})
    set(area_libs ${area}_test_support)
  endif()

  # Processes of one test binary append to the same daily log file; end-to-end tests read it back, so
  # they take turns.
  set(lock "")
  if(area STREQUAL "e2e")
    set(lock RESOURCE_LOCK tool_log_${area})
  endif()

  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(name ${area}_${stem})
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${area_libs})
    if(WIN32)
      # Tests read the version the programs carry from their own executable.
      checktool_windows_resources(${name} "Check Tool test")
      # A static Qt links only the platform plugin of the desktop unless told otherwise.
      if(area STREQUAL "gui" OR area STREQUAL "app")
        qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
      endif()
    endif()
    if(uses_lab AND TARGET product-lab)
      add_dependencies(${name} product-lab)
    endif()
    # A korean_pc test runs as on a Korean user's PC: in a Wine prefix of its own in code page 949, for
    # a Hangul user (scripts/wine-run --korean). Such tests take turns with each other, not with the
    # rest: their bundles are collected in that user's one collection folder, their programs log beside
    # copies of their own.
    set(test_lock ${lock})
    if(WIN32 AND stem MATCHES "^korean_pc")
      set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run;--korean")
      set(test_lock RESOURCE_LOCK korean_pc_collection)
    endif()
    gtest_discover_tests(${name}
      TEST_PREFIX "${name}."
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS ${label} ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 ${test_lock})
  endforeach()
endfunction()
