# Test helpers shared by every CMakeLists under tests/.
#
# zured16_test(NAME SOURCES... [LIBS libs...] [RESOURCES files...])
#   A GoogleTest program. Native tests are listed case by case; in the Windows
#   builds each program is one ctest entry, run under Wine through the
#   cross-compiling emulator that the preset sets (scripts/wine-run, with
#   --i686 for the i686 build),
#   because every Wine start costs about a second.

# What scripts/vxaplay needs to play with this build's own vxaplay and
# module: the i686 build's run under Wine's WoW64 mode.
set(ZURED16_VXAPLAY_OPTIONS)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ZURED16_VXAPLAY_OPTIONS --i686)
endif()

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
