# The game's layers, lowest first (the engine below them all has its own
# include folder). Each layer is a library that sees only the
# headers of its own layer and of the layers below it: every layer gets its own
# header tree in the build folder (symbolic links to the sources), and only
# that tree is on its include path. An include of a higher layer's header then
# fails to compile. The README's layout table says the same in words.
#
#   platform platform/
#   base    app/ services (logger, utilities, NSData, localisation, platform
#           wrappers, analytics events), online/json/
#   world   world/, elements/, the profile (app/Profile*)
#   online  online/ (the server client)
#   game    game layer and host (world/GameLayer*, world/GameHost*), gui/,
#           goals/, hud/, campaigns/, screens/, app/ScreenUtils, app/BackButton
#   app     the application entry (app/AppDelegate, app/GameMain, app/main)
#
# Folders go to a layer as a whole, so a new file lands in its folder's layer.
# app/ and world/ hold files of several layers; the lists below name the files
# that are not in the folder's own layer (app/: base, world/: world).

set(TESMORA_APP_WORLD_FILES Profile ProfileFile ShopItem)
set(TESMORA_APP_GAME_FILES ScreenUtils ScreenUtilsPictures BackButton SaveLoadUtils)
set(TESMORA_APP_ENTRY_FILES AppDelegate GameMain main)
set(TESMORA_WORLD_GAME_FILES GameLayer GameLayerInput GameLayerWindows GameHost)

set(TESMORA_LAYER_TREES ${CMAKE_BINARY_DIR}/layers)
# Rebuilt on every configure, so a file that moved layer leaves no link behind.
file(REMOVE_RECURSE ${TESMORA_LAYER_TREES})

# tesmora_files(out folder pattern): the files below <folder> matching pattern,
# as paths relative to the source root.
function(tesmora_files out folder)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# tesmora_pick(out files names...): the files whose base name is one of names.
function(tesmora_pick out files)
  set(picked)
  foreach(f ${files})
    get_filename_component(stem ${f} NAME_WE)
    if(stem IN_LIST ARGN)
      list(APPEND picked ${f})
    endif()
  endforeach()
  set(${out} ${picked} PARENT_SCOPE)
endfunction()

# tesmora_layer(name files...): a static library of the .cpp files with a
# header tree of the .h files. Its dependencies are added by the caller.
function(tesmora_layer name)
  set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  set(tree ${TESMORA_LAYER_TREES}/${name})
  file(MAKE_DIRECTORY ${tree})
  foreach(f ${ARGN})
    if(f MATCHES "\\.cpp$")
      list(APPEND sources ${CMAKE_SOURCE_DIR}/${f})
    else()
      get_filename_component(dir ${tree}/${f} DIRECTORY)
      file(MAKE_DIRECTORY ${dir})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${f} ${tree}/${f} SYMBOLIC)
    endif()
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${tree})
endfunction()

tesmora_files(platform_files platform)
list(FILTER platform_files EXCLUDE REGEX "CMakeLists")
tesmora_layer(platform ${platform_files})
target_link_libraries(platform PUBLIC engine PRIVATE SDL2::SDL2 Threads::Threads)

tesmora_files(app_files app)
tesmora_pick(app_world "${app_files}" ${TESMORA_APP_WORLD_FILES})
tesmora_pick(app_game "${app_files}" ${TESMORA_APP_GAME_FILES})
tesmora_pick(app_entry "${app_files}" ${TESMORA_APP_ENTRY_FILES})
set(app_base ${app_files})
list(REMOVE_ITEM app_base ${app_world} ${app_game} ${app_entry})

tesmora_files(world_files world)
tesmora_pick(world_game "${world_files}" ${TESMORA_WORLD_GAME_FILES})
set(world_world ${world_files})
list(REMOVE_ITEM world_world ${world_game})

tesmora_files(online_files online)
tesmora_files(json_files online/json)
list(REMOVE_ITEM online_files ${json_files})

set(game_files ${world_game} ${app_game})
foreach(dir gui goals hud campaigns screens)
  tesmora_files(found ${dir})
  list(APPEND game_files ${found})
endforeach()
tesmora_files(elements_files elements)

tesmora_layer(tesmora_base ${app_base} ${json_files})
target_link_libraries(tesmora_base PUBLIC platform engine Threads::Threads PkgConfig::YAJL ZLIB::ZLIB)

tesmora_layer(tesmora_world ${world_world} ${elements_files} ${app_world})
target_link_libraries(tesmora_world PUBLIC tesmora_base)

tesmora_layer(tesmora_online ${online_files})
target_link_libraries(tesmora_online PUBLIC tesmora_world CURL::libcurl)

tesmora_layer(tesmora_game ${game_files})
target_link_libraries(tesmora_game PUBLIC tesmora_online)

list(REMOVE_ITEM app_entry app/main.cpp)
tesmora_layer(tesmora_app ${app_entry})
target_link_libraries(tesmora_app PUBLIC tesmora_game)

set(TESMORA_GAME_LAYERS tesmora_base tesmora_world tesmora_online tesmora_game tesmora_app)
