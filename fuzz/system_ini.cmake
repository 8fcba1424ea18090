rt_add_fuzzer(system_ini "${CMAKE_CURRENT_LIST_DIR}/system_ini.cpp")
