# The game's layers, lowest first (the engine below them all is src/engine,
# with its own include folder). Each layer is a library made of whole folders
# under src/ and sees only the headers of its own layer and of the layers
# below it: every layer gets its own header tree in the build folder (symbolic
# links to the sources, at their path from src/), and only that tree is on
# its include path. An include of a higher layer's header then fails to
# compile. A file added to a folder joins that folder's layer; a folder's
# main.cpp is a program's entry and goes to the executable, not the library.
# The README's layout table says the same in words.

set(TESMORA_SRC ${CMAKE_SOURCE_DIR}/src)
set(TESMORA_LAYER_TREES ${CMAKE_BINARY_DIR}/layers)
# Rebuilt on every configure, so a file that moved layer leaves no link behind.
file(REMOVE_RECURSE ${TESMORA_LAYER_TREES})

# tesmora_layer(name FOLDERS folders... DEPENDS libraries...): a static library
# of the .cpp files below the folders, with a header tree of their .h files.
function(tesmora_layer name)
  cmake_parse_arguments(LAYER "" "" "FOLDERS;DEPENDS" ${ARGN})
  set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  set(tree ${TESMORA_LAYER_TREES}/${name})
  file(MAKE_DIRECTORY ${tree})
  foreach(folder ${LAYER_FOLDERS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${TESMORA_SRC}
         ${TESMORA_SRC}/${folder}/*.cpp ${TESMORA_SRC}/${folder}/*.h)
    foreach(f ${found})
      get_filename_component(file_name ${f} NAME)
      if(file_name STREQUAL "main.cpp")
        continue()
      elseif(f MATCHES "\\.cpp$")
        list(APPEND sources ${TESMORA_SRC}/${f})
      else()
        get_filename_component(dir ${tree}/${f} DIRECTORY)
        file(MAKE_DIRECTORY ${dir})
        file(CREATE_LINK ${TESMORA_SRC}/${f} ${tree}/${f} SYMBOLIC)
      endif()
    endforeach()
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${tree})
  target_link_libraries(${name} PUBLIC ${LAYER_DEPENDS})
endfunction()

tesmora_layer(platform
  FOLDERS platform
  DEPENDS engine)
target_link_libraries(platform PRIVATE SDL2::SDL2 Threads::Threads)

tesmora_layer(tesmora_base
  FOLDERS base
  DEPENDS platform engine Threads::Threads PkgConfig::YAJL ZLIB::ZLIB)

tesmora_layer(tesmora_world
  FOLDERS world elements profile
  DEPENDS tesmora_base)

tesmora_layer(tesmora_online
  FOLDERS online
  DEPENDS tesmora_world CURL::libcurl)

# The world-sharing server: a program beside the game that shares only base
# and world (the blob reader that checks uploads).
tesmora_layer(tesmora_server
  FOLDERS server
  DEPENDS tesmora_world SQLite::SQLite3 PkgConfig::CPP_HTTPLIB)

# The game itself, six layers lowest first. A lower one reaches a higher one
# only through a small interface of its own that the higher one answers
# (installGameHost in screens/GameWiring.h installs them all).
#   gui        the widget toolkit
#   goals      missions and the goals' manager (GoalsUi answers upward)
#   campaigns  the story and the campaigns: goals and worlds of each mode
#   scene      the game layer and its world host (SceneHud answers upward)
#   hud        the in-game interface over the scene (FrontEnd answers upward)
#   screens    the front end, the online gallery, the wiring of every seam
tesmora_layer(tesmora_gui
  FOLDERS gui
  DEPENDS tesmora_online)

tesmora_layer(tesmora_goals
  FOLDERS goals
  DEPENDS tesmora_gui)

tesmora_layer(tesmora_campaigns
  FOLDERS campaigns
  DEPENDS tesmora_goals)
# The pattern tables drawn as pixel maps, written by tools/tablegen.
add_dependencies(tesmora_campaigns pattern_tables)
target_include_directories(tesmora_campaigns PRIVATE ${TESMORA_GENERATED_DIR})

tesmora_layer(tesmora_scene
  FOLDERS scene
  DEPENDS tesmora_campaigns)

tesmora_layer(tesmora_hud
  FOLDERS hud
  DEPENDS tesmora_scene)

tesmora_layer(tesmora_screens
  FOLDERS screens
  DEPENDS tesmora_hud)

# The whole game, for the entry, tools, tests and benchmarks that use it.
add_library(tesmora_game INTERFACE)
target_link_libraries(tesmora_game INTERFACE tesmora_screens)

tesmora_layer(tesmora_app
  FOLDERS app
  DEPENDS tesmora_game)

set(TESMORA_GAME_LAYERS tesmora_base tesmora_world tesmora_online tesmora_gui tesmora_goals tesmora_campaigns
    tesmora_scene tesmora_hud tesmora_screens tesmora_app)
