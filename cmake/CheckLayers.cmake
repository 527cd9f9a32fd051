# Fails when a file in src/ includes a file of a higher layer. The layers run one way:
#   model -> platform -> render -> charts -> io -> widgets -> forms -> app
# mapimport (users' geodata, GDAL) stands on io beside widgets and forms: only app includes it.
# A file may include its own layer and any lower one.
#   cmake -DSRC=<repository>/src -P cmake/CheckLayers.cmake
# Exceptions: none.
set(layers model platform render charts io mapimport widgets forms app)
file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp ${SRC}/*.inc)
set(wrong "")
foreach(file IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${file}")
  list(FIND layers "${layer}" rank)
  if(rank LESS 0)
    list(APPEND wrong "${file}: in no layer")
    continue()
  endif()
  file(STRINGS "${SRC}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z]+)/.*$" "\\1" used "${line}")
    list(FIND layers "${used}" usedRank)
    if(usedRank LESS 0)
      continue() # not a folder of src/ (a library's header)
    endif()
    if(usedRank GREATER rank OR (used STREQUAL "mapimport" AND NOT layer MATCHES "^(mapimport|app)$"))
      list(APPEND wrong "${file} (${layer}) includes ${used}: ${line}")
    endif()
  endforeach()
endforeach()
if(wrong)
  list(JOIN wrong "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of src/ include only their own or lower layers")
