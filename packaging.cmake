# Installation (bin/wordhash, the man page, Debian's doc files) and the Debian package.
include(GNUInstallDirs)

# The man page carries the project's version, and is installed gzipped as Debian does.
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
install(FILES ${PROJECT_BINARY_DIR}/wordhash.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES doc/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/wordhash)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordhash)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
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
