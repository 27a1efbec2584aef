# cmake -DSOURCE_DIR=<root> -P check_layers.cmake
# Fails when a folder of the Qt-free core, or the command line, includes from a folder above its own
# layer, or includes a Qt header. Each folder lists the folders it may include from.
cmake_minimum_required(VERSION 3.25)
set(layers
  "res:"
  "sys:res"
  "log:sys res"
  "json:log sys res"
  "net:log sys res"
  "report:net json log sys res"
  "engine:report net json log sys res"
  "cli:engine report net json log sys res")

set(violations "")
foreach(layer ${layers})
  string(REGEX MATCH "^([a-z]+):(.*)$" layer "${layer}")
  set(folder ${CMAKE_MATCH_1})
  string(REPLACE " " ";" allowed "${CMAKE_MATCH_2}")
  list(APPEND allowed ${folder})
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "<(Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>]*|q[a-z0-9_]*\\.h)>")
        string(APPEND violations "\n  ${name}: Qt header ${CMAKE_MATCH_1}")
      elseif(line MATCHES "\"([a-z_]+)/[^\"]*\"")
        list(FIND allowed ${CMAKE_MATCH_1} at)
        if(at LESS 0)
          string(APPEND violations "\n  ${name}: ${CMAKE_MATCH_0} is above ${folder}/")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes across the layers (docs/architecture.md):${violations}")
endif()
