# The player's files: options, progress records, replay logs and replay
# files. Its seeds are written by the records' own save code.
add_executable(fuzz_player_seeds "${CMAKE_CURRENT_LIST_DIR}/player_seeds.cpp")
target_link_libraries(fuzz_player_seeds PRIVATE runtime)
rt_add_fuzzer(player "${CMAKE_CURRENT_LIST_DIR}/player.cpp" SEED_COMMAND fuzz_player_seeds)
add_dependencies(fuzz_player fuzz_player_seeds)
