# Installing Quillo like any desktop program, and its Debian package.
#
#   cmake --install build --prefix <prefix>     the layout below
#   cpack -G DEB  (in the build folder)         quillo_<version>_<arch>.deb
#
# <prefix>/bin/quillo                           the program
# <prefix>/lib/quillo/                          its web browser part (src/system/browser/)
# <prefix>/share/quillo/help/                   the help (resources/help)
# <prefix>/share/applications/<id>.desktop      the desktop menu entry
# <prefix>/share/icons/hicolor/<n>x<n>/apps/    the icon at every size the pictures provide
# <prefix>/share/metainfo/<id>.metainfo.xml     what software centres show
# <prefix>/share/doc/quillo/copyright           the licence
#
# The program finds everything relative to its own folder, so any prefix works.
# Its fonts and pictures, and the home page, are compiled into it.
include(GNUInstallDirs)

# The desktop id: reverse-DNS of the project's name, used for the desktop entry,
# the icon and the AppStream component alike.
set(QUILLO_APP_ID "org.quillo.Quillo")

# Quillo links no shared library of its own, so the installed program needs no
# run-time search path (qt_standard_project_setup would give it one).
set_target_properties(quillo PROPERTIES INSTALL_RPATH "")
install(TARGETS quillo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(${PROJECT_SOURCE_DIR}/packaging/quillo.desktop.in
               ${PROJECT_BINARY_DIR}/packaging/${QUILLO_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/quillo.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${QUILLO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUILLO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUILLO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(QUILLO_ICON_SIZES 16 32 48 64 128 256)
foreach(size IN LISTS QUILLO_ICON_SIZES)
    # The 32-pixel icon is the window icon and carries no size in its name.
    if(size EQUAL 32)
        set(picture quillo-icon.png)
    else()
        set(picture quillo-icon-${size}.png)
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/${picture}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUILLO_APP_ID}.png)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillo RENAME copyright)

# The Debian package. Its Depends are worked out by dpkg-shlibdeps from the
# libraries the program and its browser part really link, plus the fonts the
# program asks for by name ("Liberation Sans Narrow" stands in for the dialog
# font, "Liberation Sans" for the printed text) and what the draft register
# loads at run time: Qt's SQLite driver and the Secret Service library that
# QtKeychain opens. A keyring to answer it is recommended.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillo")
set(CPACK_PACKAGE_VENDOR "The Quillo developers")
set(CPACK_PACKAGE_CONTACT "The Quillo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print bank drafts for cheques taken by phone, fax or e-mail")
set(CPACK_PACKAGE_DESCRIPTION [[
Quillo is for merchants who take payment by cheque over the telephone, by
fax or by e-mail. Type the customer's cheque into a window laid out like a
cheque, and Quillo prints a bank draft on an ordinary printer, with the
routing, account and cheque numbers in MICR characters.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quillo developers")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's PostgreSQL driver: a seat reaches the office's shared register through it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6sql6-sqlite, libqt6sql6-psql, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring")
include(CPack)
