# Checks that the folders of the library depend one way only: a file may
# include headers of its own folder and of the folders below it, never of one
# above. Run with -DSOURCE_DIR=<the src folder>.
#
# From the bottom up:
#   base   Vec3 and boxes, triangles' corners, record allocation, work buffers, intrusive lists
#   index  the box tree and the triangle index, over boxes and triangles' corners
#   world  the records: objects, bodies, shapes, meshes (each with its index), rules, contacts
#   sweep  the mesh sweep, corner and edge tests, reach, the sweep cache
#   pass   the pass, the broad phase, the solver
#   character  the character rules: a character's move as legs of the solver, and the pass with characters
#   api    the commands, errors, the entry point (the only users of the public header)
set(layers base index world sweep pass character api)
# The public header counts as part of the command layer.
set(public_header zepcollide.h)

if(NOT SOURCE_DIR OR NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "set SOURCE_DIR to the folder to check")
endif()

set(problems "")
set(checked 0)
file(GLOB folders RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
foreach(folder ${folders})
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${folder}")
    continue()
  endif()
  list(FIND layers ${folder} rank)
  if(rank EQUAL -1)
    list(APPEND problems "${folder}/ has no place in the layer order (${layers}); add it to ${CMAKE_CURRENT_LIST_FILE}")
    continue()
  endif()
  file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file ${files})
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" header "${line}")
      if(header STREQUAL public_header)
        set(target api)
      elseif(header MATCHES "^([A-Za-z_]+)/")
        set(target ${CMAKE_MATCH_1})
      else()
        continue()  # a system header
      endif()
      list(FIND layers ${target} target_rank)
      if(target_rank EQUAL -1)
        continue()  # a system header with a folder, such as <sys/types.h>
      endif()
      math(EXPR checked "${checked} + 1")
      if(target_rank GREATER rank)
        list(APPEND problems "${file}: ${folder}/ includes ${header}, a header of ${target}/ above it")
      endif()
    endforeach()
  endforeach()
endforeach()

string(REPLACE ";" " < " order "${layers}")
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "folders must include only their own headers and those of folders below them "
                      "(${order}):\n  ${text}")
endif()
message(STATUS "layers ok: ${checked} includes of library headers, all downward or within a folder (${order})")
