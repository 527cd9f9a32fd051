# Installs the build into a fresh prefix and checks what an installed Tolvane holds, then
# runs the installed binaries from there: they must find the installed data by themselves
# and seed a user's folder from it.
#   cmake -DBUILD=<build dir> -DSRC=<source dir> -DAPP_ID=<id> -DICON_SIZES=<list> -P this
set(ROOT ${BUILD}/install-tree-test)
set(PREFIX ${ROOT}/prefix)
file(REMOVE_RECURSE ${ROOT})

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV} failed (${rc}):\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX})

set(expected
  bin/tolvane bin/tolvane-render bin/tolvane-addmap
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/tolvane.svg
  share/man/man1/tolvane.1.gz share/man/man1/tolvane-render.1.gz
  share/man/man1/tolvane-addmap.1.gz
  share/doc/tolvane/copyright)
foreach(size ${ICON_SIZES})
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tolvane.png)
endforeach()
# The shipped data and help exactly, with none of a build tree's own charts or staged files.
foreach(dir data help)
  file(GLOB_RECURSE shipped RELATIVE ${SRC} ${SRC}/${dir}/*)
  foreach(f ${shipped})
    list(APPEND expected share/tolvane/${f})
  endforeach()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  message(FATAL_ERROR "install tree differs:\nmissing: ${missing}\nunexpected: ${extra}")
endif()

run(${PREFIX}/bin/tolvane --version)
if(NOT OUT MATCHES "^Tolvane [0-9]+\\.[0-9]+")
  message(FATAL_ERROR "tolvane --version printed: ${OUT}")
endif()
run(gzip -dc ${PREFIX}/share/man/man1/tolvane-render.1.gz)
if(NOT OUT MATCHES "\\.TH TOLVANE-RENDER 1")
  message(FATAL_ERROR "tolvane-render.1.gz is no manual page")
endif()

# The installed renderer draws from a user's folder it seeds from the installed copy.
set(ENV{XDG_DATA_HOME} ${ROOT}/home-data)
set(ENV{QT_QPA_PLATFORM} offscreen)
run(${PREFIX}/bin/tolvane-render Germany --size 500x350 -o ${ROOT}/germany.png)
foreach(f ${ROOT}/germany.png ${ROOT}/home-data/tolvane/data/Germany.xml
          ${ROOT}/home-data/tolvane/help/help.htm)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "missing after the installed renderer ran: ${f}")
  endif()
endforeach()
file(REMOVE_RECURSE ${ROOT})
