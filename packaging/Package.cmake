# The Debian package: velmor and velmor-cli in /usr/bin with their desktop entry, icon, AppStream
# data, manual pages, copyright and changelog. ./scripts/package.sh builds it.
include(GNUInstallDirs)
set(VELMOR_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(VELMOR_GENERATED ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${VELMOR_GENERATED})

# Manual pages and changelog, compressed as Debian wants them.
add_custom_command(
  OUTPUT ${VELMOR_GENERATED}/velmor-cli.1.gz
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:velmor-cli> -DVERSION=${PROJECT_VERSION}
          -DOUT=${VELMOR_GENERATED}/velmor-cli.1.gz -P ${VELMOR_PACKAGING}/ManPage.cmake
  DEPENDS velmor-cli ${VELMOR_PACKAGING}/ManPage.cmake
  COMMENT "Manual page of velmor-cli")
configure_file(${VELMOR_PACKAGING}/velmor.1 ${VELMOR_GENERATED}/velmor.1 @ONLY)
add_custom_command(
  OUTPUT ${VELMOR_GENERATED}/velmor.1.gz ${VELMOR_GENERATED}/changelog.gz
  COMMAND gzip -9nc ${VELMOR_GENERATED}/velmor.1 > ${VELMOR_GENERATED}/velmor.1.gz
  COMMAND gzip -9nc ${VELMOR_PACKAGING}/changelog > ${VELMOR_GENERATED}/changelog.gz
  DEPENDS ${VELMOR_GENERATED}/velmor.1 ${VELMOR_PACKAGING}/changelog
  COMMENT "Manual page of velmor and the changelog")
add_custom_target(velmor_package_files ALL
  DEPENDS ${VELMOR_GENERATED}/velmor-cli.1.gz ${VELMOR_GENERATED}/velmor.1.gz ${VELMOR_GENERATED}/changelog.gz)

install(TARGETS velmor velmor-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELMOR_PACKAGING}/velmor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VELMOR_PACKAGING}/org.velmor.Velmor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES ${VELMOR_PACKAGING}/icons/velmor-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME velmor.png)
endforeach()
install(FILES ${VELMOR_PACKAGING}/icons/velmor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${VELMOR_GENERATED}/velmor.1.gz ${VELMOR_GENERATED}/velmor-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VELMOR_PACKAGING}/copyright ${VELMOR_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmor)
install(FILES ${VELMOR_PACKAGING}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME velmor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmor <velmor@localhost>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmor <velmor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household agricultural register of a rural council")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmor keeps the household agricultural register of a Romanian rural council:
 households, members, the chapters of land, crops, animals, machines and
 buildings, plots, and from them certificates, statistics files and reports,
 the year take-over, backup and restore. It reads and writes the council's
 dBase tables. velmor-cli does the same from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
include(CPack)
