add_executable(bmp_seeds "${CMAKE_CURRENT_LIST_DIR}/bmp_seeds.cpp")
target_include_directories(bmp_seeds PRIVATE "${PROJECT_SOURCE_DIR}")
rt_add_fuzzer(bmp_decoder "${CMAKE_CURRENT_LIST_DIR}/bmp_decoder.cpp"
  SEED_COMMAND $<TARGET_FILE:bmp_seeds>)
