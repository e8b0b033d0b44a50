# The showcase's source is generated: running the generator again must give
# the committed showcase.json, so nobody edits one and forgets the other.
include(${CMAKE_CURRENT_LIST_DIR}/compare_files.cmake)

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
run_quietly("${PYTHON}" -B "${EXAMPLES}/make_showcase.py" "${OUT}/showcase.json")
compare_with_committed("${OUT}/showcase.json" "${EXAMPLES}/showcase.json")
