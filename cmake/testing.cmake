# Test helpers shared by every CMakeLists under tests/.
#
# zured16_test(NAME SOURCES... [LIBS libs...] [RESOURCES files...])
#   A GoogleTest program. Native tests are listed case by case; in the Windows
#   builds each program is one ctest entry, run under wine64 through the
#   cross-compiling emulator that the x86_64 preset sets (scripts/wine-run),
#   because every Wine start costs about a second.
function(zured16_test name)
  cmake_parse_arguments(T "" "" "LIBS;RESOURCES" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS} ${T_RESOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -static)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
