# Packaging: the program and its two symbol images go into one folder, where the
# program finds the images beside itself. scripts/package.sh builds the
# package with TAVLIN_DEBIAN_PACKAGE on, which adds what Debian asks of every
# package under /usr/share.
option(TAVLIN_DEBIAN_PACKAGE
    "Install the Debian package's own files (copyright, changelog, manual pages) under /usr/share"
    OFF)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavlin")
set(CPACK_PACKAGE_VENDOR "The Tavlin developers")
set(CPACK_PACKAGE_CONTACT "The Tavlin developers <developers@tavlin.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "context help overlay for machine visualisation operator panels")
set(CPACK_PACKAGE_DESCRIPTION
    "When the operator of a machine asks its visualisation for help, the\n"
    "visualisation saves a screenshot and a description of the controls on the\n"
    "screen and starts Tavlin. Tavlin covers the screen with the screenshot,\n"
    "fades it darker and puts a help symbol beside every control with a help\n"
    "page. A touch on a symbol opens that control's page in the operator's\n"
    "language, in a small window locked to the visualisation's help folder.\n"
    "\n"
    "The package is for the integrator who installs the overlay on a panel, in\n"
    "/opt/tavlin where the visualisation starts it. It also holds tavlin-check,\n"
    "with which a help author checks a help set before it goes onto a panel.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/opt/tavlin")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavlin.org/")
# Libraries come from dpkg-shlibdeps, which reads the program and the browser
# engine plugin beside it (the engine's helper process comes with the engine's
# own dependencies); what Qt loads at run time without linking it is named
# here: the X11 platform plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The binaries' debug information goes to tavlin-dbgsym, as files named by
# build ID under /usr/lib/debug/.build-id; CPack strips the binaries as it
# takes it out (stripped before, there would be nothing to take).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)

if(TAVLIN_DEBIAN_PACKAGE)
    # Compressed as Debian wants them: gzip -9, without a name or time stamp.
    set(debian_dir ${CMAKE_CURRENT_BINARY_DIR}/debian)
    set(compressed)
    foreach(source packaging/debian/changelog docs/man/tavlin.1 docs/man/tavlin-check.1)
        get_filename_component(name ${source} NAME)
        add_custom_command(OUTPUT ${debian_dir}/${name}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${debian_dir}
            COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${source} > ${debian_dir}/${name}.gz
            DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} VERBATIM)
        list(APPEND compressed ${debian_dir}/${name}.gz)
    endforeach()
    add_custom_target(tavlin_debian_files ALL DEPENDS ${compressed})
    install(FILES packaging/debian/copyright ${debian_dir}/changelog.gz
        DESTINATION /usr/share/doc/tavlin)
    install(FILES ${debian_dir}/tavlin.1.gz ${debian_dir}/tavlin-check.1.gz
        DESTINATION /usr/share/man/man1)
    install(FILES packaging/debian/lintian-overrides DESTINATION /usr/share/lintian/overrides
        RENAME tavlin)
    # The files above go under /usr, the rest under the prefix, which
    # scripts/package.sh sets to /opt/tavlin.
    set(CPACK_SET_DESTDIR ON)
endif()

include(CPack)
