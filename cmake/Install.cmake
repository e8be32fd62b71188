# Installing the program: the two executables, the desktop entry, the icon and the MIME type
# of project files, so that a ".rcf" file opens in Java Reelcraft from the file manager.
# Everything the programs need is the "reelcraft" component, which the Debian package holds
# (cmake/Package.cmake); refreshing the desktop's caches is a component of its own.
include(GNUInstallDirs)

set(REELCRAFT_DESKTOP_FILE ${PROJECT_SOURCE_DIR}/resources/desktop/reelcraft.desktop)
set(REELCRAFT_MIME_FILE ${PROJECT_SOURCE_DIR}/resources/desktop/reelcraft-mime.xml)
set(REELCRAFT_ICON_FILE ${PROJECT_SOURCE_DIR}/resources/icons/reelcraft.svg)

install(TARGETS reelcraft reelcraft-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT reelcraft)
install(FILES ${REELCRAFT_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT reelcraft)
install(FILES ${REELCRAFT_ICON_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT reelcraft)
# The project files' icon is looked up by the MIME type's name.
install(FILES ${REELCRAFT_ICON_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-reelcraft-project.svg
        COMPONENT reelcraft)
install(FILES ${REELCRAFT_MIME_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME reelcraft.xml
        COMPONENT reelcraft)
# The manual pages, installed compressed as man-db expects; the command-line tool's --help and
# its page describe the same commands. gzip -n keeps the name and time stamp out.
set(man_pages_dir ${PROJECT_BINARY_DIR}/man)
set(man_pages_gz)
foreach(page reelcraft reelcraft-cli)
    add_custom_command(
        OUTPUT ${man_pages_dir}/${page}.1.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${man_pages_dir}/${page}.1
        COMMAND gzip -9 -n -f ${man_pages_dir}/${page}.1
        DEPENDS ${PROJECT_SOURCE_DIR}/resources/man/${page}.1
        VERBATIM)
    list(APPEND man_pages_gz ${man_pages_dir}/${page}.1.gz)
endforeach()
add_custom_target(reelcraft_man_pages ALL DEPENDS ${man_pages_gz})
install(FILES ${man_pages_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT reelcraft)

# A direct install (no DESTDIR) refreshes the desktop's caches; a missing tool is passed over.
install(CODE [[
    if(NOT "$ENV{DESTDIR}" STREQUAL "")
        return()
    endif()
    set(data "${CMAKE_INSTALL_PREFIX}/share")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    find_program(update_icons gtk-update-icon-cache)
    if(update_mime)
        execute_process(COMMAND ${update_mime} "${data}/mime")
    endif()
    if(update_desktop)
        execute_process(COMMAND ${update_desktop} -q "${data}/applications")
    endif()
    if(update_icons)
        execute_process(COMMAND ${update_icons} -q -t "${data}/icons/hicolor")
    endif()
]] COMPONENT desktop-caches)

if(REELCRAFT_TESTS)
    find_program(REELCRAFT_DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
    add_test(NAME desktop_file_validate COMMAND ${REELCRAFT_DESKTOP_FILE_VALIDATE} ${REELCRAFT_DESKTOP_FILE})
    # desktop-file-validate reports hints and warnings with a zero exit status: any output fails.
    set_tests_properties(desktop_file_validate PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning|hint")

    find_program(REELCRAFT_UPDATE_MIME update-mime-database REQUIRED)
    add_test(NAME mime_type_project_files
             COMMAND ${CMAKE_COMMAND} -DUPDATE_MIME=${REELCRAFT_UPDATE_MIME} -DMIME_FILE=${REELCRAFT_MIME_FILE}
                     -DDESKTOP_FILE=${REELCRAFT_DESKTOP_FILE} -DWORK=${PROJECT_BINARY_DIR}/mime-test
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckMimeType.cmake)

    # The manual pages format without a warning from groff.
    find_program(REELCRAFT_GROFF groff REQUIRED)
    foreach(page reelcraft reelcraft-cli)
        string(REPLACE "-" "_" test_name "man_page_${page}")
        add_test(NAME ${test_name}
                 COMMAND ${REELCRAFT_GROFF} -man -ww -z ${PROJECT_SOURCE_DIR}/resources/man/${page}.1)
        set_tests_properties(${test_name} PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")
    endforeach()
endif()
