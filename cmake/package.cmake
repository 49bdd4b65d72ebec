# The Debian package: cpack -G DEB in the build folder (scripts/package does the whole run).
# Its dependencies come from the libraries the installed programs link (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME pulvitra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pulvitra")
set(CPACK_PACKAGE_CONTACT "Pulvitra developers <developers@pulvitra.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Evaluation program for the Kordamat ECG recorder")
# Lines of the long description stay within 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Reads a Kordamat recorder over a serial port, shows the ECG, the heart-rate
histogram, trend and Lorenz plot, and prints the reports. With pulvitra-cli,
the same functions without a window, and recorder-sim, a simulated recorder.
License: GPL-3.0-or-later.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # pulvitra_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The offscreen and X platforms are plugins, which no linker line names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
