# Copies data/ and help/ from the source tree beside the binaries. A file is copied when it
# is missing or the source is newer, so charts a user made in the build tree survive a
# rebuild while updated shipped files still arrive.
foreach(dir data help)
  file(GLOB_RECURSE files RELATIVE ${SRC}/${dir} ${SRC}/${dir}/*)
  foreach(f ${files})
    set(from ${SRC}/${dir}/${f})
    set(to ${DST}/${dir}/${f})
    if(NOT EXISTS ${to} OR ${from} IS_NEWER_THAN ${to})
      get_filename_component(todir ${to} DIRECTORY)
      file(MAKE_DIRECTORY ${todir})
      file(COPY_FILE ${from} ${to} ONLY_IF_DIFFERENT)
    endif()
  endforeach()
endforeach()
