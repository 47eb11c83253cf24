# SPDX-License-Identifier: MIT
# Installation (bin/wordhash, the man page, Debian's doc files) and the Debian package.
include(GNUInstallDirs)

# The man page carries the project's version and the build's date (SOURCE_DATE_EPOCH where it
# is set, for a reproducible build), and is installed gzipped as Debian does.
string(TIMESTAMP WORDHASH_DATE "%Y-%m-%d" UTC)
configure_file(doc/wordhash.1.in ${PROJECT_BINARY_DIR}/wordhash.1 @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/wordhash.1.gz ${PROJECT_BINARY_DIR}/changelog.gz
  COMMAND ${GZIP} -9nc ${PROJECT_BINARY_DIR}/wordhash.1 > ${PROJECT_BINARY_DIR}/wordhash.1.gz
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/doc/changelog > ${PROJECT_BINARY_DIR}/changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/wordhash.1 ${PROJECT_SOURCE_DIR}/doc/changelog)
add_custom_target(documentation ALL DEPENDS ${PROJECT_BINARY_DIR}/wordhash.1.gz
                                            ${PROJECT_BINARY_DIR}/changelog.gz)

install(TARGETS wordhash RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The compilers' version strings are of no use in an installed program.
install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/wordhash\" COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${PROJECT_BINARY_DIR}/wordhash.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES doc/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Lintian's overrides mean something only inside the Debian package.
option(WORDHASH_DEBIAN_PACKAGE "Install what only the Debian package ships (make package)" OFF)
if(WORDHASH_DEBIAN_PACKAGE)
  install(FILES doc/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
          RENAME wordhash)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordhash)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The packaged program is stripped. A build of the same commit gives the same program with its
# debug information, for addr2line to resolve a failure report's position.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The wordhash developers <wordhash@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive twelve-slot hash table of words")
set(CPACK_PACKAGE_DESCRIPTION
    "wordhash keeps words in a twelve-slot hash table with an additive hash
and linear probing, and prints how many comparisons every add and search
took. Its console dialogue is byte-exact and repeatable, for use at a
terminal or from scripts.")
include(CPack)
