include(GNUInstallDirs)

# Desktops find the entry, the icon and the AppStream data by this one name.
set(KAMORIN_APP_ID io.github.kamorin.Kamorin)
# Users know the version as major.minor.tweak; the patch number is shown nowhere.
set(KAMORIN_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
# AppStream lists each release with its date: change this with project(VERSION).
set(KAMORIN_RELEASE_DATE 2026-12-07)

set(KAMORIN_DATA_DIR "${PROJECT_SOURCE_DIR}/data")

install(TARGETS kamorin kamorin-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
# A stripped install (the package, cmake --install --strip) also drops the
# .comment section, where each compiler notes its version: Debian's packages
# leave it out, and strip alone keeps it.
if(CMAKE_OBJCOPY)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(installed_bindir "${CMAKE_INSTALL_BINDIR}")
  else()
    set(installed_bindir "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
  endif()
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program IN ITEMS \"$<TARGET_FILE_NAME:kamorin>\" \"$<TARGET_FILE_NAME:kamorin-cli>\")
        execute_process(
          COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                  \"\$ENV{DESTDIR}${installed_bindir}/\${program}\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
endif()

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

# The JSON Schemas of kamorin-cli --json and of the results file, for
# whoever reads them with a typed decoder or validates them.
install(FILES "${KAMORIN_DATA_DIR}/schema/kamorin-cli.schema.json"
              "${KAMORIN_DATA_DIR}/schema/kamorin-results.schema.json"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/kamorin/schema")

# Manual pages and the changelog are installed compressed, as Debian wants
# them. -n keeps the file name and time out of the gzip header, so the same
# sources always give the same package.
find_program(KAMORIN_GZIP gzip REQUIRED)
set(compressed_docs)
function(kamorin_compress source compressed)
  cmake_path(REMOVE_EXTENSION compressed LAST_ONLY OUTPUT_VARIABLE copy)
  cmake_path(GET compressed PARENT_PATH folder)
  file(MAKE_DIRECTORY "${folder}")
  add_custom_command(
    OUTPUT "${compressed}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${copy}"
    COMMAND "${KAMORIN_GZIP}" -9nf "${copy}"
    DEPENDS "${source}"
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(compressed_docs ${compressed_docs} "${compressed}" PARENT_SCOPE)
endfunction()

set(KAMORIN_MAN_PAGES kamorin.1 kamorin-cli.1)
foreach(language IN ITEMS "" ja)
  if(language)
    set(man_folder "man/${language}")
    set(man_destination "${CMAKE_INSTALL_MANDIR}/${language}/man1")
  else()
    set(man_folder man)
    set(man_destination "${CMAKE_INSTALL_MANDIR}/man1")
  endif()
  foreach(page IN LISTS KAMORIN_MAN_PAGES)
    set(compressed "${PROJECT_BINARY_DIR}/data/${man_folder}/${page}.gz")
    kamorin_compress("${KAMORIN_DATA_DIR}/${man_folder}/${page}" "${compressed}")
    install(FILES "${compressed}" DESTINATION "${man_destination}")
  endforeach()
endforeach()

# A package versioned without a Debian revision is a native one: its
# changelog is changelog.gz, not changelog.Debian.gz.
kamorin_compress("${KAMORIN_DATA_DIR}/changelog" "${PROJECT_BINARY_DIR}/data/changelog.gz")
install(FILES "${PROJECT_BINARY_DIR}/data/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/kamorin")

add_custom_target(kamorin_compressed_docs ALL DEPENDS ${compressed_docs})

# Debian looks for the licence here, and it serves a plain prefix install as well.
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/kamorin"
        RENAME copyright)
