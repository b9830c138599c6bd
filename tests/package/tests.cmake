# Examples built against the installed package, so that the package config cannot rot.
function(vexel_add_installed_example_test example expected headless)
  add_test(NAME InstalledPackage.${example}
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/installed-${example} -DEXAMPLE=${example}
            "-DEXPECTED=${expected}" -DHEADLESS=${headless}
            -P ${CMAKE_CURRENT_LIST_DIR}/check_installed_example.cmake)
  set_tests_properties(InstalledPackage.${example} PROPERTIES TIMEOUT 300)
endfunction()

vexel_add_installed_example_test(installed_app "half is 0.5, a twentieth is 5.e-002" OFF)
vexel_add_installed_example_test(clear_screen "^exit\n$" ON)
vexel_add_installed_example_test(coin_catch "^exit\n$" ON)
vexel_add_installed_example_test(orbit_pick "^exit\n$" ON)
