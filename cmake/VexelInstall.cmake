include(CMakePackageConfigHelpers)

install(TARGETS vexel EXPORT VexelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/vexel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT VexelTargets NAMESPACE Vexel:: FILE VexelTargets.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vexel)

configure_package_config_file(cmake/VexelConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VexelConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vexel)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VexelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VexelConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/VexelConfigVersion.cmake
              cmake/VexelDependencies.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vexel)
