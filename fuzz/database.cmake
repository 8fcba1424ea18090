# The author's data files: database tables, system data and world map.
add_executable(database_seeds ${CMAKE_CURRENT_SOURCE_DIR}/database_seeds.cpp)
target_link_libraries(database_seeds PRIVATE runtime)
rt_add_fuzzer(database ${CMAKE_CURRENT_SOURCE_DIR}/database.cpp
              SEED_COMMAND $<TARGET_FILE:database_seeds>)
add_dependencies(fuzz_database database_seeds)
