# cmake -DSOURCE_DIR=<root> -P check_layers.cmake
# Fails when a folder of the Qt-free core, or the command line, includes from a folder above its own
# layer, or includes a Qt header. Each folder lists the folders it may include from.
# Fails too when Korean text stands in the code of a front end or the engine, outside a comment: the
# words the user sees belong in the string tables of res/.
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

# Korean that is no text for the user: a font's family name, and the words before a version number
# that the redaction recognises in logs.
set(korean_names "맑은 고딕" "버전" "빌드")
# A Hangul syllable (U+AC00 to U+D7A3) in UTF-8 begins with a byte from EA to ED.
string(ASCII 234 first_lead)
string(ASCII 237 last_lead)
string(ASCII 128 first_tail)
string(ASCII 191 last_tail)
set(tail "[${first_tail}-${last_tail}]")
set(korean_text "")
foreach(folder engine report cli app)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
    file(STRINGS ${source} lines ENCODING UTF-8 REGEX "[${first_lead}-${last_lead}]${tail}${tail}")
    foreach(line ${lines})
      string(REGEX REPLACE "(^|[ \t])//.*$" "" code "${line}")
      foreach(korean_name ${korean_names})
        string(REPLACE "${korean_name}" "" code "${code}")
      endforeach()
      if(code MATCHES "[${first_lead}-${last_lead}]${tail}${tail}")
        string(STRIP "${line}" line)
        string(APPEND korean_text "\n  ${name}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes across the layers (docs/architecture.md):${violations}")
endif()
if(korean_text)
  message(FATAL_ERROR "texts for the user belong in res/ (res/string_table.h):${korean_text}")
endif()
