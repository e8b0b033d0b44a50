# Builds every examples/*.json with vxa and compares the stream with the
# committed examples/*.vxa of the same name.
include(${CMAKE_CURRENT_LIST_DIR}/compare_files.cmake)

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
file(GLOB sources "${EXAMPLES}/*.json")
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no example sources in ${EXAMPLES}")
endif()
foreach(source IN LISTS sources)
  get_filename_component(name "${source}" NAME_WE)
  run_quietly("${VXA}" build "${source}" -o "${OUT}/${name}.vxa")
  compare_with_committed("${OUT}/${name}.vxa" "${EXAMPLES}/${name}.vxa")
endforeach()

# A stream without a source could no longer be rebuilt.
file(GLOB streams "${EXAMPLES}/*.vxa")
foreach(stream IN LISTS streams)
  get_filename_component(name "${stream}" NAME_WE)
  if(NOT EXISTS "${EXAMPLES}/${name}.json")
    message(SEND_ERROR "${stream} has no source ${name}.json")
  endif()
endforeach()
