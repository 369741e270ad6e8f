# The engine: one static library per layer folder, bottom up. Each library
# links only the layers below it and sees only their headers, so an include
# that reaches upwards fails to compile instead of tangling the layers.
#
#   raster    rectangles, pixel buffers, picture codecs, byte/file/random helpers
#   platform  the interfaces the desktop implements
#   ui        interface texts and language files (on platform; used from play up)
#   jigsaw    parameter block, piece table, groups and stacking (on platform)
#   cut       level table, cuts, masks, piece effects
#   play      the play field (on cut and ui)
#   files     jigsaw packs, saved games, the state journal
#   app       folders, settings, menus as data, the open/save flows
#
# Engine files sit directly in src/<layer>/; Qt files of a layer live in its
# qt/ subfolder (and src/browser is Qt only), so a glob keeps the two apart.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(Threads REQUIRED)

# Each layer publishes its headers through an include root of its own that
# holds just that folder (src/<layer> is reached as "<layer>/..."), rather
# than the whole of src/, which would let any layer see any other.
function(varlo_engine_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LINKS")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.cpp)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  add_library(varlo_${layer} STATIC ${sources})
  target_include_directories(varlo_${layer} PUBLIC ${root})
  target_link_libraries(varlo_${layer} PUBLIC ${arg_LINKS})
endfunction()

varlo_engine_layer(raster LINKS JPEG::JPEG PNG::PNG ZLIB::ZLIB Threads::Threads)
target_compile_definitions(varlo_raster PUBLIC VARLO_VERSION="${PROJECT_VERSION}")
varlo_engine_layer(platform LINKS varlo_raster)
varlo_engine_layer(ui LINKS varlo_platform)
varlo_engine_layer(jigsaw LINKS varlo_platform)
varlo_engine_layer(cut LINKS varlo_jigsaw)
# The field is the first layer that speaks to the player in words; the
# model and the cuts below it take their few texts from their callers.
varlo_engine_layer(play LINKS varlo_cut varlo_ui)
varlo_engine_layer(files LINKS varlo_play OpenSSL::Crypto)
varlo_engine_layer(app LINKS varlo_files)

set(VARLO_ENGINE_LAYERS raster platform ui jigsaw cut play files app)

# The whole engine under its one name, for the game, the tools and the tests.
add_library(varlo_engine INTERFACE)
target_link_libraries(varlo_engine INTERFACE varlo_app)
