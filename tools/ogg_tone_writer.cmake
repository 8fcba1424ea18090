# Ogg Vorbis tones for the tests and the fuzz seeds of the Ogg player, written
# with libvorbisenc (part of libvorbis, which the runtime already needs).
if(RT_TESTS OR RT_FUZZ)
  pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
  add_executable(ogg_tone_writer "${CMAKE_CURRENT_LIST_DIR}/ogg_tone_writer.cpp")
  target_link_libraries(ogg_tone_writer PRIVATE PkgConfig::VORBISENC)

  set(RT_TEST_DATA_DIR "${PROJECT_BINARY_DIR}/test_data" CACHE INTERNAL "")
  set(tones
    "tone_mono_22050.ogg 22050 1 22050 441"
    "tone_stereo_44100.ogg 44100 2 44100 441"
    "tone_stereo_44100_10s.ogg 44100 2 441000 441")
  set(outputs)
  foreach(tone ${tones})
    separate_arguments(args UNIX_COMMAND "${tone}")
    list(GET args 0 file)
    list(REMOVE_AT args 0)
    add_custom_command(OUTPUT "${RT_TEST_DATA_DIR}/${file}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${RT_TEST_DATA_DIR}"
      COMMAND ogg_tone_writer "${RT_TEST_DATA_DIR}/${file}" ${args}
      DEPENDS ogg_tone_writer VERBATIM)
    list(APPEND outputs "${RT_TEST_DATA_DIR}/${file}")
  endforeach()
  add_custom_target(ogg_tones ALL DEPENDS ${outputs})

  # The platform tests read the tones; make sure they exist whenever those are built.
  cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}" CALL
    cmake_language EVAL CODE "if(TARGET test_platform)\n add_dependencies(test_platform ogg_tones)\nendif()")
endif()
