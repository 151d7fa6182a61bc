# Install rules and the Debian package. The player gets the game alone: the
# simulator, the solver and the content tools stay developer tools.
#
#   cmake --install build [--prefix /usr/local]
#   scripts/package.sh                              (ossmire_VERSION_amd64.deb)
#
# The game looks for its data at ../share/games/ossmire beside its own
# directory, so these two destinations move together.
set(OSSMIRE_INSTALL_BINDIR games)
set(OSSMIRE_INSTALL_DATADIR share/games/ossmire)
set(OSSMIRE_APP_ID org.ossmire.Ossmire)
set(OSSMIRE_RELEASE_DATE 2026-12-06)
set(OSSMIRE_HOMEPAGE "https://ossmire.example" CACHE STRING "Home page named by the package and the metainfo")
set(OSSMIRE_MAINTAINER "Ossmire developers <ossmire@ossmire.example>" CACHE STRING "Maintainer of the package")
set(OSSMIRE_ICON_SIZES 16 22 24 32 48 64 128 256)

set(DIST_SOURCE_DIR ${CMAKE_SOURCE_DIR}/dist)
set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)

install(TARGETS ossmire RUNTIME DESTINATION ${OSSMIRE_INSTALL_BINDIR})
# Only what the content build makes: never a save or a map left in build/game
# by a test run.
install(DIRECTORY ${GAME_DIR}/bitmap ${GAME_DIR}/wave ${GAME_DIR}/midi DESTINATION ${OSSMIRE_INSTALL_DATADIR})
install(FILES ${GAME_DIR}/data.vrk DESTINATION ${OSSMIRE_INSTALL_DATADIR})
install(DIRECTORY DESTINATION ${OSSMIRE_INSTALL_DATADIR}/EditMap)

# The icon: one SVG, and the PNG sizes rendered from it.
set(ICON_SVG ${DIST_SOURCE_DIR}/icons/ossmire.svg)
set(ICON_PNGS)
foreach(size ${OSSMIRE_ICON_SIZES})
  set(png ${DIST_DIR}/icons/${size}x${size}/ossmire.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${ICON_SVG} -o ${png}
    DEPENDS ${ICON_SVG}
    VERBATIM)
  list(APPEND ICON_PNGS ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)

# Pages and the changelog are installed compressed, as Debian wants them.
configure_file(${DIST_SOURCE_DIR}/ossmire.6.in ${DIST_DIR}/ossmire.6 @ONLY)
configure_file(${DIST_SOURCE_DIR}/changelog.in ${DIST_DIR}/changelog @ONLY)
configure_file(${DIST_SOURCE_DIR}/ossmire.metainfo.xml.in ${DIST_DIR}/${OSSMIRE_APP_ID}.metainfo.xml @ONLY)
foreach(doc ossmire.6 changelog)
  add_custom_command(OUTPUT ${DIST_DIR}/${doc}.gz
    COMMAND gzip -9nf -k ${DIST_DIR}/${doc}
    DEPENDS ${DIST_DIR}/${doc}
    VERBATIM)
endforeach()
add_custom_target(dist ALL DEPENDS ${ICON_PNGS} ${DIST_DIR}/ossmire.6.gz ${DIST_DIR}/changelog.gz)

install(FILES ${DIST_DIR}/ossmire.6.gz DESTINATION share/man/man6)
install(FILES ${DIST_DIR}/changelog.gz ${DIST_SOURCE_DIR}/copyright DESTINATION share/doc/ossmire)
install(FILES ${DIST_DIR}/${OSSMIRE_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The desktop entry names the game by its installed path, known only when
# installing (cmake --install --prefix, or CPack's /usr).
install(CODE "
  file(READ \"${DIST_SOURCE_DIR}/ossmire.desktop.in\" entry)
  string(REPLACE \"@OSSMIRE_INSTALL_EXEC@\" \"\${CMAKE_INSTALL_PREFIX}/${OSSMIRE_INSTALL_BINDIR}/ossmire\" entry \"\${entry}\")
  file(WRITE \"${DIST_DIR}/install/${OSSMIRE_APP_ID}.desktop\" \"\${entry}\")
  file(INSTALL \"${DIST_DIR}/install/${OSSMIRE_APP_ID}.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")

# The Debian package (cpack -G DEB, or scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ossmire)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${OSSMIRE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-stroke puzzle game with a story")
set(CPACK_PACKAGE_DESCRIPTION "Walk an 8x8 board of floating slabs in one stroke - every slab you leave
sinks - and take the four keys in order, the closing key last, before the
60-second clock runs out. Time stones trade places, a switch lowers the
fences, crossing stones carry you across the board.

Between the stages a story told in Japanese; a course of 30 stages, an
underground course of 50, a free mode and a map editor.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${OSSMIRE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the text renderer asks fontconfig for first: IPAMincho for the
# story, Reggae One for the display words, Noto Sans CJK JP for the rest.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-mincho, fonts-reggae, fonts-noto-cjk")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
