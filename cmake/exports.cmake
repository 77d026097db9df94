# The .def files of our libraries, made at configure time from their export
# tables (contract/exports.h describes the form): the undecorated name of each
# export with its stdcall suffix, four bytes an argument.

# stf_write_def(<table> <library file> <output> <kinds...>): the exports of
# the given kinds (OP, OWN, BYNAME), in the table's order.
function(stf_write_def table library output)
  set(kinds ${ARGN})
  file(STRINGS ${table} lines REGEX "^[ \t]*STF_[A-Z]+\\(")
  set(text "; Made by CMake from ${table}: edit the table, not this file.\n")
  string(APPEND text "LIBRARY ${library}\nEXPORTS\n")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES
       "^[ \t]*STF_([A-Z]+)\\([^,]+,[ \t]*([A-Za-z0-9_]+),[ \t]*\\(([^)]*)\\),[ \t]*\\(([^)]*)\\)")
      message(FATAL_ERROR "${table}: an export line of an unknown form: ${line}")
    endif()
    set(kind ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    set(parameters "${CMAKE_MATCH_3}")
    if(NOT kind MATCHES "^(OP|OWN|BYNAME)$")
      message(FATAL_ERROR "${table}: ${name}: unknown kind STF_${kind}")
    endif()
    if(NOT kind IN_LIST kinds)
      continue()
    endif()
    string(STRIP "${parameters}" parameters)
    set(bytes 0)
    if(NOT parameters STREQUAL "void")
      string(REGEX MATCHALL "," commas "${parameters}")
      list(LENGTH commas count)
      math(EXPR bytes "4 * (${count} + 1)")
    endif()
    string(APPEND text "  ${name}@${bytes}\n")
  endforeach()
  # Written only when it changes, so that nothing is linked again for nothing.
  file(WRITE ${output}.new "${text}")
  configure_file(${output}.new ${output} COPYONLY)
  file(REMOVE ${output}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
endfunction()
