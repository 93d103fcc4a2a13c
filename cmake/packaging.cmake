# SPDX-License-Identifier: GPL-3.0-or-later
# What a Debian installation carries beside the programs, and the package
# itself (cpack -G DEB, run by scripts/package).
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
set(appstream_id org.example.veldrano)

# Debian keeps manual pages and changelogs compressed, without a timestamp.
function(veldrano_gzipped source output)
  configure_file(${packaging_dir}/${source} ${CMAKE_BINARY_DIR}/packaging/${source} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${output}
                     COMMAND gzip -9nc ${source} > ${output}
                     DEPENDS ${CMAKE_BINARY_DIR}/packaging/${source}
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
endfunction()
veldrano_gzipped(veldrano.1 veldrano.1.gz)
veldrano_gzipped(veldrano-phone.1 veldrano-phone.1.gz)
veldrano_gzipped(changelog changelog.gz)
add_custom_target(packaging_files ALL DEPENDS
  ${CMAKE_BINARY_DIR}/packaging/veldrano.1.gz
  ${CMAKE_BINARY_DIR}/packaging/veldrano-phone.1.gz
  ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
configure_file(${packaging_dir}/${appstream_id}.metainfo.xml
               ${CMAKE_BINARY_DIR}/packaging/${appstream_id}.metainfo.xml @ONLY)

install(FILES ${CMAKE_BINARY_DIR}/packaging/veldrano.1.gz ${CMAKE_BINARY_DIR}/packaging/veldrano-phone.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${appstream_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${packaging_dir}/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_CONTACT "The VELDRANO developers <veldrano@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sorts the phonebook of a GSM phone on a serial port")
set(CPACK_PACKAGE_DESCRIPTION "VELDRANO reads the SIM or the phone-memory phonebook of a GSM mobile phone
over a serial port with AT commands, sorts the entries by name and writes
them back in that order, reading every position back to check what the
phone keeps. It also changes or deletes single entries, and saves and loads
the sorted list.

The package carries veldrano-phone too, a phone simulated behind a
pseudo-terminal, to try the program without a phone.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://veldrano.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
