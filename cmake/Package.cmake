# What a packager and a software centre expect beside the program: manual pages made from
# the programs' own --help, the AppStream metainfo, the package's copyright and changelog,
# and the tests that hold them to the validators (appstreamcli, lintian).
include(${CMAKE_CURRENT_LIST_DIR}/ReleaseHistory.cmake)

set(LUMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lumoretta)
set(LUMO_GEN ${CMAKE_BINARY_DIR}/package)

lumo_release_history(${CMAKE_SOURCE_DIR}/data/gen/history_de.txt "${CPACK_PACKAGE_CONTACT}"
                     LUMO_RELEASES LUMO_CHANGELOG LUMO_RELEASE_COUNT)
if(LUMO_RELEASE_COUNT EQUAL 0)
  message(FATAL_ERROR "data/gen/history_de.txt names no dated version")
endif()
set(LUMO_METAINFO ${LUMO_GEN}/${LUMO_APP_ID}.metainfo.xml)
configure_file(data/desktop/${LUMO_APP_ID}.metainfo.xml.in ${LUMO_METAINFO} @ONLY)
configure_file(data/package/copyright ${LUMO_GEN}/copyright @ONLY)
file(WRITE ${LUMO_GEN}/changelog.in "${LUMO_CHANGELOG}")
configure_file(${LUMO_GEN}/changelog.in ${LUMO_GEN}/changelog COPYONLY) # touched only on change

# gzip -n: no name and time stamp in the file, so the package is the same on every build.
add_custom_command(OUTPUT ${LUMO_GEN}/changelog.gz
                   COMMAND gzip -9nc changelog > changelog.gz
                   DEPENDS ${LUMO_GEN}/changelog WORKING_DIRECTORY ${LUMO_GEN} VERBATIM)
set(LUMO_PACKAGE_FILES ${LUMO_GEN}/changelog.gz)

# The manual pages: help2man runs each program's --help and --version (English) and adds
# the sections of data/man/<program>.h2m (files, environment, exit status). The options
# are described once, in the programs' own help texts.
find_program(LUMO_HELP2MAN help2man)
if(LUMO_HELP2MAN AND NOT LUMO_SANITIZE)
  set(man_names
      "lumoretta=catalogue a private collection of photographic slides"
      "lumo_textview=Lumoretta's text editor for files in code page 1252"
      "lumoretta-start=start Lumoretta in the archive used last")
  foreach(entry IN LISTS man_names)
    string(REGEX REPLACE "=.*" "" tool "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" name "${entry}")
    # help2man leaves an empty line after a usage line without arguments: dropped.
    add_custom_command(
      OUTPUT ${LUMO_GEN}/${tool}.1.gz
      COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANG=C ${LUMO_HELP2MAN} --no-info
              --name=${name} --include=${CMAKE_SOURCE_DIR}/data/man/${tool}.h2m
              --output=${tool}.1 $<TARGET_FILE:${tool}>
      COMMAND sed -i -e "/^$/d" ${tool}.1
      COMMAND gzip -9nf ${tool}.1
      DEPENDS ${tool} ${CMAKE_SOURCE_DIR}/data/man/${tool}.h2m
      WORKING_DIRECTORY ${LUMO_GEN} VERBATIM)
    list(APPEND LUMO_PACKAGE_FILES ${LUMO_GEN}/${tool}.1.gz)
    install(FILES ${LUMO_GEN}/${tool}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
elseif(NOT LUMO_SANITIZE)
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()
add_custom_target(lumo_package_files ALL DEPENDS ${LUMO_PACKAGE_FILES})
# The installed programs resolve their symbols at start ("bind now"), so the relocation
# table can be read-only all the time.
foreach(tool lumoretta lumo_textview lumoretta-start)
  target_link_options(${tool} PRIVATE LINKER:-z,now)
endforeach()

install(FILES ${LUMO_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${LUMO_GEN}/copyright ${LUMO_GEN}/changelog.gz DESTINATION ${LUMO_DOC_DIR})
# The HTML user guide, registered with the system's documentation index.
set(LUMO_GUIDE_DIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${LUMO_DOC_DIR})
configure_file(data/package/doc-base.in ${LUMO_GEN}/doc-base @ONLY)
install(FILES ${LUMO_GEN}/doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME lumoretta)
install(FILES data/package/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME lumoretta)

if(LUMO_TESTS)
  find_program(LUMO_APPSTREAMCLI appstreamcli)
  if(LUMO_APPSTREAMCLI)
    add_test(NAME metainfo_valid
             COMMAND ${LUMO_APPSTREAMCLI} validate --no-net --explain ${LUMO_METAINFO})
    set_tests_properties(metainfo_valid PROPERTIES FAIL_REGULAR_EXPRESSION "^[EW]:|\n[EW]:"
                                                   TIMEOUT ${LUMO_TEST_TIMEOUT})
  endif()
  # The metainfo shows the README's tour and names the releases of the update history.
  add_test(NAME metainfo_matches_readme_and_history
           COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DMETAINFO=${LUMO_METAINFO} -DVERSION=${PROJECT_VERSION}
                   -P ${CMAKE_SOURCE_DIR}/tests/package/check_metainfo.cmake)
  set_tests_properties(metainfo_matches_readme_and_history PROPERTIES TIMEOUT ${LUMO_TEST_TIMEOUT})
  # The Debian package as CPack builds it, checked by lintian. Not for the sanitizer
  # build, whose binaries are no package.
  find_program(LUMO_LINTIAN lintian)
  if(LUMO_LINTIAN AND LUMO_HELP2MAN AND NOT LUMO_SANITIZE)
    add_test(NAME package_lintian_clean
             COMMAND ${CMAKE_SOURCE_DIR}/tests/package/lintian.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(package_lintian_clean PROPERTIES TIMEOUT 300)
  endif()
endif()
