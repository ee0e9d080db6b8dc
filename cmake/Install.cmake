include(GNUInstallDirs)

# Desktops find the entry, the icon and the AppStream data by this one name.
set(KAMORIN_APP_ID io.github.kamorin.Kamorin)
# Users know the version as major.minor.tweak; the patch number is shown nowhere.
set(KAMORIN_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
# AppStream lists each release with its date: change this with project(VERSION).
set(KAMORIN_RELEASE_DATE 2026-12-07)

set(KAMORIN_DATA_DIR "${PROJECT_SOURCE_DIR}/data")

install(TARGETS kamorin kamorin-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(FILES "${KAMORIN_DATA_DIR}/${KAMORIN_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")

configure_file("${KAMORIN_DATA_DIR}/${KAMORIN_APP_ID}.metainfo.xml.in"
               "${PROJECT_BINARY_DIR}/data/${KAMORIN_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/data/${KAMORIN_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

foreach(size IN ITEMS 16 32 48 64 128 256)
  install(FILES "${KAMORIN_DATA_DIR}/icons/hicolor/${size}x${size}/kamorin.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME "${KAMORIN_APP_ID}.png")
endforeach()
install(FILES "${KAMORIN_DATA_DIR}/icons/kamorin.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${KAMORIN_APP_ID}.svg")

install(FILES "${KAMORIN_DATA_DIR}/man/kamorin-cli.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${KAMORIN_DATA_DIR}/man/ja/kamorin-cli.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/ja/man1")

# Debian looks for the licence here, and it serves a plain prefix install as well.
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/kamorin"
        RENAME copyright)
