# The external-function tests load a small shared library of their own, by path and by its bare
# name (found through the test program's run path).
add_library(vexel_external_fixture SHARED ${CMAKE_CURRENT_LIST_DIR}/fixture/external_fixture.cpp)
add_dependencies(vexel_tests vexel_external_fixture)
set_property(TARGET vexel_tests APPEND PROPERTY BUILD_RPATH
  "$<TARGET_FILE_DIR:vexel_external_fixture>")
target_compile_definitions(vexel_tests PRIVATE
  VEXEL_EXTERNAL_FIXTURE="$<TARGET_FILE:vexel_external_fixture>")
