# The bundled default game. Its generator writes the whole game folder (the
# author's data in default\, the pictures, sounds and music, System.ini)
# through the runtime's own record code; every build runs it into
# ${PROJECT_BINARY_DIR}/game, the folder that scripts/play.sh plays and the
# tests load.
file(GLOB default_game_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/default_game/*.cpp")
list(REMOVE_ITEM default_game_sources "${CMAKE_CURRENT_LIST_DIR}/default_game/main.cpp")
# Everything but the entry is a library, so that the tools' tests can reach it.
add_library(default_game_parts STATIC ${default_game_sources})
target_link_libraries(default_game_parts PUBLIC runtime)
add_executable(default_game "${CMAKE_CURRENT_LIST_DIR}/default_game/main.cpp")
target_link_libraries(default_game PRIVATE default_game_parts)

set(RT_GAME_DIR "${PROJECT_BINARY_DIR}/game")
set(default_game_stamp "${PROJECT_BINARY_DIR}/default_game.stamp")
add_custom_command(OUTPUT "${default_game_stamp}"
  COMMAND default_game "${RT_GAME_DIR}"
  COMMAND ${CMAKE_COMMAND} -E touch "${default_game_stamp}"
  DEPENDS default_game
  COMMENT "Writing the default game into ${RT_GAME_DIR}"
  VERBATIM)
add_custom_target(default_game_folder ALL DEPENDS "${default_game_stamp}")

# The tools', the shell's and the scenes' tests play the generated game; the
# tools' tests also test the generator's parts.
cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}" CALL
  cmake_language EVAL CODE "
foreach(tests test_tools test_shell test_scenes)
  if(TARGET \${tests})
    add_dependencies(\${tests} default_game_folder)
  endif()
endforeach()
if(TARGET test_tools)
  target_link_libraries(test_tools PRIVATE default_game_parts)
endif()")
