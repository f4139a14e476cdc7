# The Debian package tender-gamble_VERSION_amd64.deb, made by CPack from this
# build's install tree, laid out as Debian lays out a game:
#   /usr/games/tender-gamble                       the game, stripped
#   /usr/share/man/man6/tender-gamble.6.gz         its manual page
#   /usr/share/applications/tender-gamble.desktop  a menu entry that opens a terminal,
#   /usr/share/icons/hicolor/scalable/apps/        with its icon
#   /usr/share/doc/tender-gamble/                  README.md.gz, copyright and
#                                                  changelog.gz (Debian's format)
# Compressed files are made with gzip -9n: best compression, and neither name
# nor time stamp inside, so the same sources give the same files.
# scripts/release configures with -DTENDER_DEBIAN_PACKAGE=ON, builds, and runs
# cpack on the build.

if(WIN32)
  message(FATAL_ERROR "TENDER_DEBIAN_PACKAGE makes a Debian package: configure it for Linux")
endif()
find_package(Python3 COMPONENTS Interpreter REQUIRED)
find_program(TENDER_GZIP gzip REQUIRED)

set(TENDER_PACKAGE_MAINTAINER "The Tender Gamble! developers <tender-gamble@example.org>"
    CACHE STRING "The package's maintainer, as 'Name <address>'")
set(TENDER_DEBIAN_STAGING ${PROJECT_BINARY_DIR}/debian)
set(TENDER_DEBIAN_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tender-gamble)
file(MAKE_DIRECTORY ${TENDER_DEBIAN_STAGING})
# Folders the install creates are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Copies `input` into the staging folder as `name` and compresses it there.
function(tender_debian_gzip input name)
  set(copy ${TENDER_DEBIAN_STAGING}/${name})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${input} ${copy}
                     COMMAND ${TENDER_GZIP} -9nf ${copy}
                     DEPENDS ${input} VERBATIM)
endfunction()

tender_debian_gzip(${PROJECT_BINARY_DIR}/man/tender-gamble.6 tender-gamble.6)
tender_debian_gzip(${PROJECT_SOURCE_DIR}/README.md README.md)
# The Debian changelog, written from CHANGELOG.md.
add_custom_command(OUTPUT ${TENDER_DEBIAN_STAGING}/changelog.gz
                   COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/debian-changelog
                           ${PROJECT_SOURCE_DIR}/CHANGELOG.md tender-gamble ${PROJECT_VERSION}
                           ${TENDER_PACKAGE_MAINTAINER} --output ${TENDER_DEBIAN_STAGING}/changelog
                   COMMAND ${TENDER_GZIP} -9nf ${TENDER_DEBIAN_STAGING}/changelog
                   DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/scripts/debian-changelog
                   VERBATIM)
add_custom_target(tender_debian_files ALL DEPENDS
                  ${TENDER_DEBIAN_STAGING}/tender-gamble.6.gz
                  ${TENDER_DEBIAN_STAGING}/README.md.gz
                  ${TENDER_DEBIAN_STAGING}/changelog.gz)

# The machine-readable copyright file, with the licence text of LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE TENDER_LICENSE)
if(NOT TENDER_LICENSE MATCHES "Copyright \\(c\\) ([^\n]+)\n+(Permission is hereby granted.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE is not the MIT licence with its copyright line")
endif()
set(TENDER_COPYRIGHT_HOLDERS ${CMAKE_MATCH_1})
# In a field's text an empty line is written as " ." and every line is indented.
string(REPLACE "\n\n" "\n.\n" TENDER_LICENSE_TEXT "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " TENDER_LICENSE_TEXT " ${TENDER_LICENSE_TEXT}")
file(CONFIGURE OUTPUT ${TENDER_DEBIAN_STAGING}/copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tender Gamble!
Upstream-Contact: @TENDER_PACKAGE_MAINTAINER@

Files: *
Copyright: @TENDER_COPYRIGHT_HOLDERS@
License: Expat
@TENDER_LICENSE_TEXT@
")

set(TENDER_DESKTOP_EXEC /usr/games/tender-gamble)
configure_file(packaging/tender-gamble.desktop.in ${TENDER_DEBIAN_STAGING}/tender-gamble.desktop @ONLY)

install(TARGETS tender-gamble RUNTIME DESTINATION games)
# Stripped as dh_strip does: no symbols, and no .comment or .note section
# (compiler identification that nothing reads).
find_program(TENDER_STRIP NAMES ${CMAKE_STRIP} strip REQUIRED)
install(CODE "execute_process(COMMAND ${TENDER_STRIP} --remove-section=.comment --remove-section=.note
                                      --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/tender-gamble\"
                              COMMAND_ERROR_IS_FATAL ANY)")
install(FILES packaging/tender-gamble.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES packaging/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME tender-gamble)
install(FILES ${TENDER_DEBIAN_STAGING}/tender-gamble.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${TENDER_DEBIAN_STAGING}/tender-gamble.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${TENDER_DEBIAN_STAGING}/README.md.gz ${TENDER_DEBIAN_STAGING}/changelog.gz
              ${TENDER_DEBIAN_STAGING}/copyright
        DESTINATION ${TENDER_DEBIAN_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tender-gamble)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tender Gamble! developers")
set(CPACK_PACKAGE_CONTACT ${TENDER_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text-mode dating game for the terminal")
set(CPACK_PACKAGE_DESCRIPTION [[
Tender Gamble! is a single-player dating game played in a text terminal.
Create a character, go out to six places, meet strangers and talk with them
turn by turn, get their numbers, call and date the people in your book, and
train your stats against an in-game clock that sleeps through the nights.

In Trophy Mode your class reunion is a month away and your old friends
expect you to bring someone who has fallen for you; FreePlay Mode has no
deadline and shows how every answer moves the other person's interest.
Every menu answers to a single key press.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: computed by dpkg-shlibdeps from the libraries the game links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
