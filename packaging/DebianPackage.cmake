# The Debian package: `cpack -G DEB` in a configured build tree (which is
# what scripts/package does) packs everything the install rules install,
# under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ringvakt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tornholt)
set(CPACK_PACKAGE_CONTACT "Tornholt <ringvakt@tornholt.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "caller-ID monitor for ISDN and router telephone lines")
# The extended description as Debian shows it: lines of at most 80
# characters, an empty line between paragraphs.
set(CPACK_PACKAGE_DESCRIPTION
"Ringvakt shows who is calling before you pick up. It watches a telephone
line and never answers a call itself: an ISDN card or a router that offers
CAPI 2.0 over TCP (through libcapi20), or a router's call monitor.

For every incoming call it logs the caller's number, names the caller from
a local phone book, and, as set up, beeps, shows a popup and a desktop
notification, and plays the caller's own sound. It lives in the system
tray; its texts are Norwegian.

The package also holds ringvakt-recorder, which records the personal
sounds, and ringvakt-exchange, a simulated line for trying Ringvakt out.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comms)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the programs link are found by dpkg-shlibdeps (dpkg-dev),
# which computes Depends from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Listed by hand, as dpkg-shlibdeps sees only the libraries the programs
# link: Qt loads its SVG image and icon plugins at run time, and without them
# the tray and the windows show no pictures. On Debian 12 the plugins are in
# libqt6svg6; later releases move them into qt6-svg-plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# Qt's own English and German texts (the file dialog, the buttons of message
# boxes) come from qt6-translations-l10n; without it they are English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-svg-plugins, qt6-translations-l10n")

include(CPack)
