# The layout check: every #include "folder/..." in a library's sources and headers names its own
# folder or one the library uses (directly or through a library it uses), as RULES declares
# them; Qt is included only in gui/ and preview/; a message is named, never given by number.
#   cmake -DSOURCE_DIR=<src> -DRULES=<layout-rules.txt> -P check-layout.cmake
# RULES has one line per library: "folder: used folders | its source files".

cmake_minimum_required(VERSION 3.25)

file(STRINGS "${RULES}" lines)
set(folders "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([a-z_]+): *([^|]*)\\| *(.*)$")
    message(FATAL_ERROR "${RULES}: cannot read the line \"${line}\"")
  endif()
  set(folder "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_2}" uses)
  string(STRIP "${CMAKE_MATCH_3}" sources)
  separate_arguments(uses_${folder} UNIX_COMMAND "${uses}")
  separate_arguments(sources_${folder} UNIX_COMMAND "${sources}")
  list(APPEND folders ${folder})
endforeach()

# What a folder may include: itself and every folder its uses reach.
foreach(folder IN LISTS folders)
  set(reach ${folder})
  set(todo ${uses_${folder}})
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST reach)
      list(APPEND reach ${next})
      list(APPEND todo ${uses_${next}})
    endif()
  endwhile()
  set(reach_${folder} ${reach})
endforeach()

set(problems "")
foreach(folder IN LISTS folders)
  file(GLOB headers RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h")
  foreach(file IN LISTS sources_${folder} headers)
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^#include [\"<]")
    foreach(include IN LISTS includes)
      if(include MATCHES "^#include \"([a-z_]+)/" AND NOT CMAKE_MATCH_1 IN_LIST reach_${folder})
        list(APPEND problems "${file}: ${include}: ${folder}/ does not use ${CMAKE_MATCH_1}/")
      endif()
      if(include MATCHES "^#include <Q" AND NOT folder MATCHES "^(gui|preview)$")
        list(APPEND problems "${file}: ${include}: only gui/ and preview/ include Qt")
      endif()
    endforeach()
    file(STRINGS "${SOURCE_DIR}/${file}" numbered
         REGEX "(ShowMessage|ShowStatus)\\([^,]*, *[0-9]|LoadString\\([0-9]|\\.(fail|refuse|finish)\\([1-9]")
    foreach(line IN LISTS numbered)
      string(STRIP "${line}" line)
      list(APPEND problems "${file}: ${line}: name the message (resources/messages.h)")
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The layout rules are broken:\n  ${text}")
endif()
list(LENGTH folders count)
message(STATUS "layout: ${count} libraries keep to the folders they use")
