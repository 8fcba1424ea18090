# The seed writer of the sound fuzz targets, from the tests' byte-level
# writers of WAV and MIDI files.
add_executable(sound_seeds "${CMAKE_CURRENT_LIST_DIR}/sound_seeds.cpp")
target_include_directories(sound_seeds PRIVATE "${PROJECT_SOURCE_DIR}/tests")
