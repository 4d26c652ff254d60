# One test executable per folder holding sources: tests/<a>/<b>/*.cpp ->
# <prefix><a>_<b> (lower case). Wine starts cost about a second, so one ctest
# entry per executable.
function(tarrow_test_folder dir name prefix)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(target ${prefix}${name})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE tarrow_test_support GTest::gtest_main ${ARGN})
  add_test(NAME ${prefix}${name} COMMAND ${target})
  set_tests_properties(${prefix}${name} PROPERTIES TIMEOUT 600)
endfunction()
