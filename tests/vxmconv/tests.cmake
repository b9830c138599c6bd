# The converter's tests call its library and run the tool itself.
target_link_libraries(vexel_tests PRIVATE vxmconv_core)
target_compile_definitions(vexel_tests PRIVATE VEXEL_VXMCONV_PATH="$<TARGET_FILE:vxmconv>")
add_dependencies(vexel_tests vxmconv)
