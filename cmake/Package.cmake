# A Debian package of what cmake --install puts under /usr, programs stripped:
#   cmake --build build --target package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kamorin)
set(CPACK_PACKAGE_VERSION "${KAMORIN_DISPLAY_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Kamorin developers")
set(CPACK_PACKAGE_CONTACT "Kamorin developers <kamorin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CPU benchmark with a Japanese window")
set(CPACK_PACKAGE_DESCRIPTION "\
Kamorin sums the Leibniz series for pi with tagged-value arithmetic, times
the run and shows the value reached, how many decimals agree with pi and the
elapsed time. The time can be compared with 268 reference processors.
kamorin-cli runs the same calculation without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships stripped programs; the debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)

# name_version_architecture.deb, the architecture as dpkg reports it.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kamorin.github.io/")
# dpkg-shlibdeps names the Qt 6, C++ and C libraries the programs really link,
# with the versions they need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window asks for ＭＳ Ｐゴシック and is laid out for its substitute IPAPGothic,
# which has its metrics. Noto Sans CJK JP is no alternative: its taller lines
# cut 速度 under 表示 to a sliver and push the captions down.
# kamorin-cli keeps its results through Qt's SQLite driver, a plugin that
# dpkg-shlibdeps cannot see because nothing links it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, libqt6sql6-sqlite")
# Qt's Wayland platform: a GNOME or KDE Wayland session then shows the window
# natively, sharp at fractional scales, instead of through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

# Reproducible: the modes are the install rules', never the builder's umask,
# which would otherwise decide the folders' and the archive members'; the times are set by
# cmake/PackageDate.cmake; cpack itself makes every owner root:root and keeps
# the members in name order.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/PackageDate.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/PackageModes.cmake")
set(CPACK_KAMORIN_SOURCE_DIR "${PROJECT_SOURCE_DIR}")

include(CPack)
