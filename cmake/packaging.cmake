# The Debian package, made by CPack from the same install as `cmake --install`
# (scripts/package runs it). Its dependencies are the libraries the program links, as
# dpkg-shlibdeps finds them, and the IPA Gothic fonts the dialogs are laid out for.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintaro-le)
set(CPACK_PACKAGE_VENDOR "Tintaro LE")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen colour picker that writes colours as code")
set(CPACK_PACKAGE_DESCRIPTION
"Tintaro LE is a small, fast screen colour picker for X11. A compact window
shows the colour of the pixel under the mouse pointer; Space takes it and
writes it as RGB(r, g, b), Color(r, g, b), &H00BBGGRR& or #RRGGBB, ready to
copy, and the arrow keys move the pointer by one pixel. A zoom, RGB sliders
and a palette dock beside it. The user interface is in Japanese.")
set(TINTARO_PACKAGE_MAINTAINER "Tintaro LE developers <tintaro-le@users.noreply.invalid>"
    CACHE STRING "The Debian package's Maintainer field")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TINTARO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Whatever the umask of the machine that builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
