# checktool_part(target folder [DEPS ...] [PRIVATE_DEPS ...] [EXCLUDE file ...])
# A static library of every .cpp in the folder and in its platform subfolder (posix/ or win/). Files
# ending in the other platform's suffix (_win.cpp or _posix.cpp) are left out.
if(WIN32)
  set(checktool_platform win)
  set(checktool_other_platform posix)
else()
  set(checktool_platform posix)
  set(checktool_other_platform win)
endif()

function(checktool_part target folder)
  cmake_parse_arguments(P "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/${checktool_platform}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_${checktool_other_platform}\\.cpp$")
  foreach(file ${P_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${folder}/${file})
  endforeach()
  add_library(${target} STATIC ${CMAKE_SOURCE_DIR}/cmake/core_anchor.cpp ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${target} PUBLIC Threads::Threads ${P_DEPS} PRIVATE ${P_PRIVATE_DEPS})
endfunction()
