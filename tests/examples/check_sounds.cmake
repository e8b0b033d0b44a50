# The example sounds are synthesised: the committed WAV files must be what the
# synthesiser writes, and it must write no sound that is not committed.
include(${CMAKE_CURRENT_LIST_DIR}/compare_files.cmake)

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
run_quietly("${PYTHON}" -B "${MAKER}" "${OUT}")
file(GLOB made RELATIVE "${OUT}" "${OUT}/*")
file(GLOB committed RELATIVE "${EXAMPLES}/sounds" "${EXAMPLES}/sounds/*")
if(NOT made STREQUAL committed)
  message(SEND_ERROR "made sounds (${made}) are not the committed ones (${committed})")
endif()
foreach(name IN LISTS made)
  compare_with_committed("${OUT}/${name}" "${EXAMPLES}/sounds/${name}")
endforeach()
