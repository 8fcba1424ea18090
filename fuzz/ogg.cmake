# Seeds: the Ogg tones that the build writes for the tests, and streams
# damaged out of them.
add_executable(ogg_seeds "${CMAKE_CURRENT_LIST_DIR}/ogg_seeds.cpp")
target_include_directories(ogg_seeds PRIVATE "${PROJECT_SOURCE_DIR}/tests")
rt_add_fuzzer(ogg "${CMAKE_CURRENT_LIST_DIR}/ogg.cpp"
  SEED_COMMAND $<TARGET_FILE:ogg_seeds> "${RT_TEST_DATA_DIR}")
add_dependencies(fuzz_ogg ogg_tones ogg_seeds)
