# The view on the test root, with the substitute engine and the recording
# context of the tests' support folder.
find_package(GTest REQUIRED)
file(GLOB VIEW_BENCH_SUPPORT ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
target_sources(${BENCH_TARGET} PRIVATE ${VIEW_BENCH_SUPPORT})
target_include_directories(${BENCH_TARGET} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/engine)
target_compile_definitions(${BENCH_TARGET} PRIVATE TARROW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(${BENCH_TARGET} PRIVATE tarrow_engine GTest::gtest GTest::gmock)
