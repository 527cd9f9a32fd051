# What an installed Tolvane carries and how it is packed: the binaries, the shipped data and
# help, the desktop entry, icons, AppStream metainfo, manual pages, and the Debian package.

set(PKG ${CMAKE_SOURCE_DIR}/packaging)
set(GEN ${CMAKE_BINARY_DIR}/packaging)
set(TOLVANE_DESKTOP_FILE ${GEN}/${TOLVANE_APP_ID}.desktop)
set(TOLVANE_METAINFO_FILE ${GEN}/${TOLVANE_APP_ID}.metainfo.xml)

configure_file(${PKG}/tolvane.desktop ${TOLVANE_DESKTOP_FILE} COPYONLY)
if(TOLVANE_WEB_ADDRESS)
  set(TOLVANE_METAINFO_URL "  <url type=\"homepage\">${TOLVANE_WEB_ADDRESS}</url>\n")
endif()
configure_file(${PKG}/tolvane.metainfo.xml.in ${TOLVANE_METAINFO_FILE} @ONLY)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE TOLVANE_LICENSE_TEXT)
configure_file(${PKG}/copyright.in ${GEN}/copyright @ONLY)

# Manual pages, compressed as Debian ships them.
set(MAN_PAGES)
foreach(page tolvane tolvane-render tolvane-addmap)
  configure_file(${PKG}/${page}.1.in ${GEN}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${GEN}/${page}.1.gz
    COMMAND gzip -9n -c ${GEN}/${page}.1 > ${GEN}/${page}.1.gz
    DEPENDS ${GEN}/${page}.1 VERBATIM)
  list(APPEND MAN_PAGES ${GEN}/${page}.1.gz)
endforeach()
add_custom_target(manpages ALL DEPENDS ${MAN_PAGES})

install(TARGETS tolvane tolvane-render tolvane-addmap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY data help DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvane)
install(FILES ${TOLVANE_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TOLVANE_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PKG}/icons/tolvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${TOLVANE_ICON_SIZES})
  install(FILES ${PKG}/icons/tolvane-${size}.png RENAME tolvane.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${GEN}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane)

# The Debian package (cpack -G DEB, or scripts/package.sh). Library dependencies are computed
# by dpkg-shlibdeps; the fonts the charts are drawn in and the opener of help pages and
# links are named here.
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VENDOR "The Tolvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make thematic map charts of regions and cities")
# The summary becomes the first line of the package's description, this its body.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tolvane is a desktop program for making thematic map charts: pick a map of
the world, a continent, a country's regions or a set of major cities, enter
one value per region or city, colour the regions, set up a legend and save
the chart as a BMP, PNG, SVG or PDF picture. tolvane-render draws the same
charts from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(TOLVANE_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TOLVANE_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, xdg-utils")
# Wayland sessions, and the GNOME desktop's own file dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-gtk-platformtheme")
if(TOLVANE_MAIL_ADDRESS)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_VENDOR} <${TOLVANE_MAIL_ADDRESS}>")
else()
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_VENDOR}")
endif()
if(TOLVANE_WEB_ADDRESS)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOLVANE_WEB_ADDRESS})
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

# The install tree, and the desktop entry and metainfo as the desktop's own validators see
# them (skipped when those tools are missing).
add_test(NAME install_tree
  COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DSRC=${CMAKE_SOURCE_DIR}
          -DAPP_ID=${TOLVANE_APP_ID} "-DICON_SIZES=${TOLVANE_ICON_SIZES}"
          -P ${CMAKE_SOURCE_DIR}/tests/package/CheckInstallTree.cmake)
add_test(NAME desktop_file_valid
  COMMAND sh -c "command -v desktop-file-validate >/dev/null || exit 77; out=$(desktop-file-validate \"$0\") || exit 1; [ -z \"$out\" ] || { echo \"$out\"; exit 1; }"
          ${TOLVANE_DESKTOP_FILE})
add_test(NAME metainfo_valid
  COMMAND sh -c "command -v appstreamcli >/dev/null || exit 77; appstreamcli validate --no-net \"$0\""
          ${TOLVANE_METAINFO_FILE})
set_tests_properties(desktop_file_valid metainfo_valid PROPERTIES SKIP_RETURN_CODE 77)
