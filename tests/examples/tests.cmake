# The example games run from copies of what the build put in their folders.
target_compile_definitions(vexel_tests PRIVATE VEXEL_EXAMPLES_DIR="${PROJECT_BINARY_DIR}/examples")
add_dependencies(vexel_tests coin_catch coin_catch_assets orbit_pick)
