# Stage files and the common palette.
add_executable(stage_seeds ${CMAKE_CURRENT_SOURCE_DIR}/stage_seeds.cpp)
target_link_libraries(stage_seeds PRIVATE runtime)
rt_add_fuzzer(stage ${CMAKE_CURRENT_SOURCE_DIR}/stage.cpp
              SEED_COMMAND $<TARGET_FILE:stage_seeds>)
add_dependencies(fuzz_stage stage_seeds)
