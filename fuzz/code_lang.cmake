# The code language and the status conditions and operations. Its seeds are
# typical texts of authors and a few condition and operation records.
add_executable(code_lang_seeds "${CMAKE_CURRENT_LIST_DIR}/code_lang_seeds.cpp")
rt_add_fuzzer(code_lang "${CMAKE_CURRENT_LIST_DIR}/code_lang.cpp"
              SEED_COMMAND $<TARGET_FILE:code_lang_seeds>)
add_dependencies(fuzz_code_lang code_lang_seeds)
