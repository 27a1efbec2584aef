# checktool_part(target folder [DEPS ...] [PRIVATE_DEPS ...])
# A static library of every .cpp in the folder and in its posix/ subfolder. Files ending in _win.cpp
# belong to the Windows build and are left out here.
function(checktool_part target folder)
  cmake_parse_arguments(P "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/posix/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  add_library(${target} STATIC ${CMAKE_SOURCE_DIR}/cmake/core_anchor.cpp ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${target} PUBLIC Threads::Threads ${P_DEPS} PRIVATE ${P_PRIVATE_DEPS})
endfunction()
