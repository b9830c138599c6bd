# The scene's logic and media generator are libraries of the game; the media test also reads the
# files the build made next to the game.
target_link_libraries(vexel_tests PRIVATE tile_scene_logic tile_media_shapes)
target_compile_definitions(vexel_tests PRIVATE
  VEXEL_TILE_SCENE_DIR="${PROJECT_BINARY_DIR}/games/tile_scene")
add_dependencies(vexel_tests tile_scene_media)

# The end-to-end run copies the game's executable from beside its media.
add_dependencies(vexel_tests tile_scene)
