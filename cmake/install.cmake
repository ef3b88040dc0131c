# Installation: the module, the two stand-in libraries with their public
# headers, the harness with its headers, the resource store and qzhost, with a
# CMake package (find_package(QZControls)) and pkg-config files.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QZ_INSTALL_INCLUDE ${CMAKE_INSTALL_INCLUDEDIR}/qzcontrols)
set(QZ_INSTALL_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/QZControls)
set(QZ_INSTALL_MODULE ${CMAKE_INSTALL_LIBDIR}/libqzcontrols.so)
set(QZ_INSTALL_RESOURCES ${CMAKE_INSTALL_DATADIR}/qzcontrols/resources)

set_target_properties(qzplatform PROPERTIES EXPORT_NAME platform INSTALL_RPATH "$ORIGIN")
set_target_properties(qzsystem PROPERTIES EXPORT_NAME system INSTALL_RPATH "$ORIGIN")
set_target_properties(qzharness PROPERTIES EXPORT_NAME harness)
set_target_properties(qzcontrols PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(qzhost PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS qzplatform qzsystem qzharness
        EXPORT QZControlsTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS qzcontrols LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS qzhost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/platform/include/ DESTINATION ${QZ_INSTALL_INCLUDE}/platform)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/qzsystem/include/qzsystem DESTINATION ${QZ_INSTALL_INCLUDE})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/host/harness/ DESTINATION ${QZ_INSTALL_INCLUDE}/harness
        FILES_MATCHING PATTERN "*.h")
install(FILES ${QZ_VERSION_HEADER} DESTINATION ${QZ_INSTALL_INCLUDE})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/ DESTINATION ${QZ_INSTALL_RESOURCES})

install(EXPORT QZControlsTargets NAMESPACE QZControls:: DESTINATION ${QZ_INSTALL_CMAKE})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/QZControlsConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/QZControlsConfig.cmake
                              INSTALL_DESTINATION ${QZ_INSTALL_CMAKE}
                              PATH_VARS QZ_INSTALL_MODULE QZ_INSTALL_RESOURCES)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QZControlsConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QZControlsConfig.cmake ${CMAKE_BINARY_DIR}/QZControlsConfigVersion.cmake
        DESTINATION ${QZ_INSTALL_CMAKE})

foreach(pc platform system harness)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/qzcontrols-${pc}.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/qzcontrols-${pc}.pc
                 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/qzcontrols-${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
