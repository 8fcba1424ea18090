# Seeds: the Ogg tones that the build writes for the tests.
rt_add_fuzzer(ogg "${CMAKE_CURRENT_LIST_DIR}/ogg.cpp"
  SEED_COMMAND ${CMAKE_COMMAND} -E copy "${RT_TEST_DATA_DIR}/tone_mono_22050.ogg"
               "${RT_TEST_DATA_DIR}/tone_stereo_44100.ogg")
add_dependencies(fuzz_ogg ogg_tones)
