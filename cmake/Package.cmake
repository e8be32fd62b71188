# The Debian package. In a release build,
#     cpack -G DEB
# makes reelcraft_<version>_<arch>.deb from the "reelcraft" install component: the two programs
# and their data. Tests, benchmarks and the stand-in host editor install nothing, and the desktop
# caches are refreshed by dpkg's triggers on the target machine, not by the install step.

set(REELCRAFT_PACKAGE_MAINTAINER "Java Reelcraft team <reelcraft@tarnwick.example>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")
option(REELCRAFT_PACKAGE_TEST "Test the Debian package: build, install, start and purge it (as root)" OFF)

# ---- Texts made from the project's own values ---------------------------------------------
# The homepage is the download page; its host, reversed and without "www", prefixes the
# AppStream id (https://www.tarnwick.example/... gives example.tarnwick.reelcraft).
if(NOT REELCRAFT_DOWNLOAD_URL MATCHES "^https?://([A-Za-z0-9.-]+)")
    message(FATAL_ERROR "REELCRAFT_DOWNLOAD_URL must be an http or https address: ${REELCRAFT_DOWNLOAD_URL}")
endif()
string(TOLOWER "${CMAKE_MATCH_1}" homepage_host)
string(REGEX REPLACE "^www\\." "" homepage_host "${homepage_host}")
string(REPLACE "." ";" host_labels "${homepage_host}")
list(REVERSE host_labels)
list(JOIN host_labels "." homepage_rdns)
set(REELCRAFT_APPSTREAM_ID "${homepage_rdns}.reelcraft")

set(homepage "${REELCRAFT_DOWNLOAD_URL}")
if(NOT homepage MATCHES "/$")
    string(APPEND homepage "/")
endif()
set(REELCRAFT_SCREENSHOT_URL "${homepage}screenshots/main-window.png")

# The changelog's date in the form Debian changelogs use.
execute_process(COMMAND date -u -R -d "${REELCRAFT_RELEASE_DATE} 12:00:00"
                OUTPUT_VARIABLE REELCRAFT_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

# The copyright file carries the licence as LICENSE words it: the permission notice and the
# disclaimer, indented, with "." for an empty line.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)")
    message(FATAL_ERROR "LICENSE names no copyright holder")
endif()
set(REELCRAFT_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${license}" "Permission is hereby" notice_start)
string(SUBSTRING "${license}" ${notice_start} -1 license)
string(STRIP "${license}" license)
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " license "${license}")
set(REELCRAFT_LICENSE_TEXT " ${license}")

set(package_dir ${PROJECT_BINARY_DIR}/package)
set(REELCRAFT_METAINFO_FILE ${package_dir}/${REELCRAFT_APPSTREAM_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/package/reelcraft.metainfo.xml.in ${REELCRAFT_METAINFO_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/package/copyright.in ${package_dir}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/package/changelog.in ${package_dir}/changelog @ONLY)
# gzip -n leaves out the name and time stamp, so the same changelog packs the same bytes.
execute_process(COMMAND gzip -9 -n -f -k ${package_dir}/changelog COMMAND_ERROR_IS_FATAL ANY)

install(FILES ${REELCRAFT_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT reelcraft)
install(FILES ${package_dir}/copyright ${package_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/reelcraft COMPONENT reelcraft)

# ---- CPack --------------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelcraft)
set(CPACK_PACKAGE_VENDOR Tarnwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build picture slideshows for web pages")
set(CPACK_PACKAGE_DESCRIPTION [[
Java Reelcraft gathers GIF and JPEG pictures as frames, captions them, and sets
the display size, timing, repeat count, movement, background colour,
background picture and soundtrack of a slideshow. It writes one HTML applet
element, with the two class files it carries, that plays the show.

It previews the show in a browser, saves and reopens project files, reads an
animation back out of any HTML page, and works as a plug-in beside a host HTML
editor. Its own web player, one small script, plays the same element in
browsers without Java. The command-line tool reelcraft-cli makes a show from
pictures and folders in one step.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};reelcraft;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${REELCRAFT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${REELCRAFT_DOWNLOAD_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

if(REELCRAFT_TESTS)
    # Software centres list the program from this file; --no-net leaves the screenshot unfetched.
    find_program(REELCRAFT_APPSTREAMCLI appstreamcli REQUIRED)
    add_test(NAME appstream_metainfo_validate
             COMMAND ${REELCRAFT_APPSTREAMCLI} validate --no-net --pedantic ${REELCRAFT_METAINFO_FILE})
endif()

# Builds the package from this tree, installs, starts and purges it: as root only.
if(REELCRAFT_TESTS AND REELCRAFT_PACKAGE_TEST)
    add_test(NAME debian_package
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/package/debian-package.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(debian_package PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
