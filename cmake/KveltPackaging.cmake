# The Debian package, made by `cpack -G DEB` from a configured build tree after the program and
# the kvelt-packaging target are built (tools/package.sh, or the "package" workflow preset).

# Packaging builds only what it installs, not the tests and benchmarks of `all`.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvelt-pc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KVELT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop program for the KVELT four-channel encoder counter")
set(CPACK_PACKAGE_DESCRIPTION
    "KVELT - PC finds the KVELT encoder counter (a USB HID device), follows it
across plug and unplug and shows the position and speed of its four channels
live. It records chosen values to a semicolon-separated text file and reads
and writes the counter's configuration: encoder resolution, coefficient and
zero marker, the switching rules of the five transistor outputs, gate time,
MODBUS address and baud rate.

The command-line program kvelt does the same from a terminal or a script, for
test benches and machines without a screen: list the devices, watch or record
the values, get and set the counter's settings. kvelt-gadget makes a Linux
machine with a USB device port a simulated counter (a USB HID gadget), for
test benches without the real one.

The package installs a udev rule that lets the user at the local seat use the
counter without root. The program speaks Polish and English.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KVELT_PROJECT_URL}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KVELT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's font (Tahoma) comes from Wine's fonts when the system has none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm
    ${PROJECT_SOURCE_DIR}/packaging/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
