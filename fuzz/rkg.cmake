# Rankings files. Its seeds are written by the records' own save code.
add_executable(fuzz_rkg_seeds "${CMAKE_CURRENT_LIST_DIR}/rkg_seeds.cpp")
target_link_libraries(fuzz_rkg_seeds PRIVATE runtime)
rt_add_fuzzer(rkg "${CMAKE_CURRENT_LIST_DIR}/rkg.cpp" SEED_COMMAND fuzz_rkg_seeds)
add_dependencies(fuzz_rkg fuzz_rkg_seeds)
