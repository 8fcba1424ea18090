rt_add_fuzzer(midi_file "${CMAKE_CURRENT_LIST_DIR}/midi_file.cpp" SEED_COMMAND sound_seeds midi)
