# The Debian package (`cpack -G DEB` from a release build): the installed tree under /usr, its
# dependencies read from the programs' shared libraries, so they name runtime packages only.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.example")
# CPack puts the summary first and indents the rest as a Debian description wants it.
set(CPACK_PACKAGE_DESCRIPTION
    "The add-in half of the Velmora groupware client on an in-memory mail host: it links mails, \
notes and appointments to contacts and events in a local relational link store (SQLite, or ODBC), \
which the companion synchronisation program carries to the server.

velmora-host runs the add-in by script or as a demo; velmora-store and velmora-reg set up the link \
store and the per-user registry file; Tidewell stands in for the companion program.")
# dpkg-shlibdeps (dpkg-dev) maps each linked library to the package that ships it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Time zones for TZ; the ODBC road to the store needs the driver manager and the SQLite driver.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tzdata")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "unixodbc, odbcinst, libsqliteodbc")

include(CPack)
