# The Debian package: what `cmake --install` installs (the program, its menu
# entry and icons; no tests or benchmarks), under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvelo)
set(CPACK_PACKAGE_VENDOR "Corvelo")
set(CPACK_PACKAGE_CONTACT "Equipe Corvelo <corvelo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maintenance of the tables of Firebird databases")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvelo connects to a Firebird database on a server, opens one table and\n"
    "browses, filters, edits and changes its rows in bulk, runs SQL scripts and\n"
    "exports rows to .xlsx spreadsheets. Its user interface is in Portuguese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
# The shared libraries the program links, as dpkg-shlibdeps finds them, plus
# the client library it opens at run time, which that tool cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2")
# Without these it still runs: Qt's dialogs in English, another font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-extra")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
