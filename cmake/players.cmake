# Adds every folder of players/. Each makes players that GAME_PLAYERS names,
# and GAME_PLAYERS names only players that a folder makes: a player left out
# of the list, or listed without a program, stops the configuration here
# instead of being missed by match, the tests and the benchmarks.
file(GLOB player_folders LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/players/*)
foreach(folder IN LISTS player_folders)
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
    continue()
  endif()
  add_subdirectory(${folder})
  get_directory_property(targets DIRECTORY ${folder} BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" AND NOT target IN_LIST GAME_PLAYERS)
      message(FATAL_ERROR "${folder} makes ${target}, which GAME_PLAYERS (CMakeLists.txt) does not name")
    endif()
  endforeach()
endforeach()
foreach(player IN LISTS GAME_PLAYERS)
  if(NOT TARGET ${player})
    message(FATAL_ERROR "GAME_PLAYERS names ${player}, which no folder of players/ makes")
  endif()
endforeach()
