rt_add_fuzzer(game_path "${CMAKE_CURRENT_LIST_DIR}/game_path.cpp")
