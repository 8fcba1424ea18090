rt_add_fuzzer(wave "${CMAKE_CURRENT_LIST_DIR}/wave.cpp" SEED_COMMAND sound_seeds wave)
