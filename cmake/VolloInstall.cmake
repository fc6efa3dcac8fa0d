# Installing the library for other programs: the public header (with the INI
# document's class headers, for C++ users who want kzr::Ini itself), the static
# library libvollo.a and the shared one libvollo.so.1 (with its libvollo.so link),
# a CMake package (find_package(vollo) -> vollo::vollo, static with SFML, or
# vollo::shared) and pkg-config files (vollo.pc: shared; vollo-static.pc: static).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VOLLO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/vollo)
set(VOLLO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vollo)

install(TARGETS vollo vollo_shared EXPORT volloTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
set_target_properties(vollo PROPERTIES EXPORT_NAME vollo)
install(FILES lib/vollo.h lib/vollo_namespace.h DESTINATION ${VOLLO_INSTALL_INCLUDEDIR})
install(FILES lib/ini/Ini.hpp DESTINATION ${VOLLO_INSTALL_INCLUDEDIR}/ini)
install(FILES lib/parsing/ParsingTools.hpp DESTINATION ${VOLLO_INSTALL_INCLUDEDIR}/parsing)

install(EXPORT volloTargets NAMESPACE vollo:: DESTINATION ${VOLLO_INSTALL_CMAKEDIR})
configure_package_config_file(cmake/volloConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/volloConfig.cmake
  INSTALL_DESTINATION ${VOLLO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/volloConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/volloConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/volloConfigVersion.cmake
  DESTINATION ${VOLLO_INSTALL_CMAKEDIR})

# The .pc file finds the prefix from its own place, so that the installed tree can
# be moved or installed with `cmake --install --prefix`.
set(VOLLO_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VOLLO_PC_TO_PREFIX /${VOLLO_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" VOLLO_PC_TO_PREFIX "${VOLLO_PC_TO_PREFIX}")
configure_file(cmake/vollo.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vollo.pc @ONLY)
configure_file(cmake/vollo-static.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vollo-static.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vollo.pc ${CMAKE_CURRENT_BINARY_DIR}/vollo-static.pc
  DESTINATION ${VOLLO_PKGCONFIG_DIR})
