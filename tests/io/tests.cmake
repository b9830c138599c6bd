# The archive tests pack with the writer of tools/vxpack and run the tool itself.
target_link_libraries(vexel_tests PRIVATE vxpack_writer)
target_compile_definitions(vexel_tests PRIVATE VEXEL_VXPACK_PATH="$<TARGET_FILE:vxpack>")
add_dependencies(vexel_tests vxpack)
