# Installing the game as a Linux desktop game: `cmake --install` (prefix /usr/local by default, /usr for the
# Debian package that `make deb` builds with CPack).
#
#   games/pebblecraft, bin/pebblecraft (a link) the program; it finds ../share/pebblecraft/Data itself
#   share/pebblecraft/Data/                     the data the builder made
#   share/applications/, share/metainfo/        the desktop entry and the AppStream data
#   share/icons/hicolor/*/apps/pebblecraft.*    icons at 48, 64, 128 and 256 pixels and as a drawing
#   share/man/man6/pebblecraft.6.gz             the manual page
#   share/doc/pebblecraft/                      copyright and changelog
#   share/lintian/overrides/pebblecraft         why a game has a command in bin/
#
# Everything here needs the data builder, so it exists only with PC_TOOLS.
if(NOT PC_TOOLS)
    return()
endif()

set(PC_VERSION 1.0.0)
set(PC_RELEASE_DATE 2026-12-08)
set(PC_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 12:00:00 +0000")
set(PC_APP_ID com.orvanta.pebblecraft)
set(PC_MAINTAINER "Pebblecraft developers <games@orvanta.example>")
# The AppStream screenshot is the game's own: dist/screenshot-main.png, the main page at 1920 x 1080 as the
# look flows show it. AppStream wants it on the web; a packager who publishes it there sets its address.
# Without one the AppStream data names no screenshot, rather than an address that leads nowhere.
set(PC_SCREENSHOT_WEB_URL "" CACHE STRING "Web address of dist/screenshot-main.png for the AppStream data")
set(PC_DIST ${CMAKE_SOURCE_DIR}/dist)
set(PC_DIST_OUT ${CMAKE_BINARY_DIR}/dist)

# Files and folders of the installation are readable by everyone, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
# `make deb` builds only what the package holds; installing must not build the tests and benchmarks too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# The desktop's icons, drawn by the data builder; the manual page and the changelog compressed without a
# time stamp (gzip -n), so that two builds give the same package.
set(PC_ICON_SIZES 48 64 128 256)
set(PC_ICON_DIR ${PC_DIST_OUT}/icons)
set(PC_ICON_FILES)
foreach(size ${PC_ICON_SIZES})
    list(APPEND PC_ICON_FILES ${PC_ICON_DIR}/${size}x${size}/apps/pebblecraft.png)
endforeach()
add_custom_command(
    OUTPUT ${PC_ICON_FILES}
    COMMAND databuild --icons ${PC_ICON_DIR}
    DEPENDS databuild
    COMMENT "Drawing the desktop icons"
    VERBATIM)

configure_file(${PC_DIST}/pebblecraft.6 ${PC_DIST_OUT}/pebblecraft.6 @ONLY)
configure_file(${PC_DIST}/changelog ${PC_DIST_OUT}/changelog @ONLY)
file(READ ${PC_DIST}/${PC_APP_ID}.metainfo.xml.in PC_METAINFO)
if(PC_SCREENSHOT_WEB_URL STREQUAL "")
    string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" PC_METAINFO "${PC_METAINFO}")
endif()
file(CONFIGURE OUTPUT ${PC_DIST_OUT}/english/${PC_APP_ID}.metainfo.xml CONTENT "${PC_METAINFO}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PC_DIST}/${PC_APP_ID}.metainfo.xml.in)
foreach(name pebblecraft.6 changelog)
    add_custom_command(
        OUTPUT ${PC_DIST_OUT}/${name}.gz
        COMMAND sh -c "gzip -9 -n -c '${PC_DIST_OUT}/${name}' > '${PC_DIST_OUT}/${name}.gz'"
        DEPENDS ${PC_DIST_OUT}/${name}
        VERBATIM)
endforeach()
# The desktop entry and the AppStream data with their texts in every language of the translators'
# catalogues (po/LINGUAS).
find_program(MSGFMT msgfmt REQUIRED)
file(GLOB PC_DESKTOP_CATALOGUES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
add_custom_command(
    OUTPUT ${PC_DIST_OUT}/${PC_APP_ID}.desktop
    COMMAND ${MSGFMT} --desktop --template=${PC_DIST}/${PC_APP_ID}.desktop -d ${CMAKE_SOURCE_DIR}/po
            -o ${PC_DIST_OUT}/${PC_APP_ID}.desktop
    DEPENDS ${PC_DIST}/${PC_APP_ID}.desktop ${PC_DESKTOP_CATALOGUES} ${CMAKE_SOURCE_DIR}/po/LINGUAS
    VERBATIM)
add_custom_command(
    OUTPUT ${PC_DIST_OUT}/${PC_APP_ID}.metainfo.xml
    COMMAND ${MSGFMT} --xml --template=${PC_DIST_OUT}/english/${PC_APP_ID}.metainfo.xml -d ${CMAKE_SOURCE_DIR}/po
            -o ${PC_DIST_OUT}/${PC_APP_ID}.metainfo.xml
    DEPENDS ${PC_DIST_OUT}/english/${PC_APP_ID}.metainfo.xml ${PC_DESKTOP_CATALOGUES} ${CMAKE_SOURCE_DIR}/po/LINGUAS
    VERBATIM)
add_custom_target(desktop_files ALL DEPENDS ${PC_ICON_FILES} ${PC_DIST_OUT}/pebblecraft.6.gz
                                            ${PC_DIST_OUT}/changelog.gz ${PC_DIST_OUT}/${PC_APP_ID}.desktop
                                            ${PC_DIST_OUT}/${PC_APP_ID}.metainfo.xml)

# The program in games/, as Debian keeps games; bin/pebblecraft links to it, because the PATH of root, of
# services and of many sessions lacks /usr/games and `pebblecraft` must start the game from any shell.
install(TARGETS pebblecraft RUNTIME DESTINATION games)
file(CREATE_LINK ../games/pebblecraft ${PC_DIST_OUT}/pebblecraft SYMBOLIC)
install(FILES ${PC_DIST_OUT}/pebblecraft DESTINATION bin)
# Debian's checker is told why a game has a command in bin/ (dist/lintian-overrides says it).
install(FILES ${PC_DIST}/lintian-overrides DESTINATION share/lintian/overrides RENAME pebblecraft)
install(DIRECTORY ${CMAKE_BINARY_DIR}/Data/ DESTINATION share/pebblecraft/Data)
install(FILES ${PC_DIST_OUT}/${PC_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${PC_DIST_OUT}/${PC_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${PC_ICON_SIZES})
    install(FILES ${PC_ICON_DIR}/${size}x${size}/apps/pebblecraft.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PC_DIST}/pebblecraft.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PC_DIST_OUT}/pebblecraft.6.gz DESTINATION share/man/man6)
install(FILES ${PC_DIST}/copyright ${PC_DIST_OUT}/changelog.gz DESTINATION share/doc/pebblecraft)

# The installed files pass the desktop's own validators (installed into a temporary prefix).
add_test(NAME installed_files_valid COMMAND ${PC_DIST}/check-installed.sh ${CMAKE_BINARY_DIR} ${PC_APP_ID})

# The Debian package. Its dependencies come from the libraries the program links (dpkg-shlibdeps), plus
# the OpenGL library that SDL and libepoxy open at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pebblecraft)
set(CPACK_PACKAGE_VERSION ${PC_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvanta Games")
set(CPACK_PACKAGE_CONTACT "${PC_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual puzzle game of lines of coloured balls")
set(CPACK_PACKAGE_DESCRIPTION
    "Select a ball and send it along a free path to an empty cell of the board;\n\
three or more balls of one colour in a row, a column or a diagonal are\n\
removed and score. Jokers, bombs, diamonds, chained balls, busy squares and a\n\
hammer add to it. Three modes of seventy levels each lie along a winding path\n\
on the level map, and up to eight players keep their progress and records.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
