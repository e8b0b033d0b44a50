# Shared by the check scripts: fail the test when a freshly made file differs
# from the committed one, naming both so the difference can be looked at.
function(compare_with_committed made committed)
  if(NOT EXISTS "${committed}")
    message(SEND_ERROR "${committed} is not committed (made: ${made})")
    return()
  endif()
  if(NOT EXISTS "${made}")
    message(SEND_ERROR "${made} was not made")
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${made}" "${committed}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(SEND_ERROR "${made} differs from the committed ${committed}")
  endif()
endfunction()

# Runs a command and fails the test unless it exits with 0 and prints nothing
# on standard error (vxa build warns there about ids outside the tables).
function(run_quietly)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
    string(REPLACE ";" " " line "${ARGN}")
    message(SEND_ERROR "${line}\n  exited with ${status}: ${errors}")
  endif()
endfunction()
