# The desktop side of Lumoretta: the start helper of the menu entry, installation into
# the usual places, the Debian package, and the tests that check them.
include(GNUInstallDirs)

# The desktop entry, the software centre's metainfo and the window's desktop file name
# (src/app/main.cpp) share this id.
set(LUMO_APP_ID org.lumoretta.Lumoretta)
set(LUMO_HOMEPAGE "https://lumoretta.org/" CACHE STRING "The program's home page")
set(LUMO_SCREENSHOTS "${LUMO_HOMEPAGE}screenshots" CACHE STRING
    "Where the pictures of docs/screenshots are published")

set(LUMO_TEMPLATE_DIR ${CMAKE_INSTALL_DATADIR}/lumoretta/vorlage)
file(RELATIVE_PATH LUMO_TEMPLATE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/lumoretta/vorlage)
# The tray menu's "Internet" entry opens the user guide installed below in the browser.
file(RELATIVE_PATH LUMO_GUIDE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/doc/lumoretta/lumoretta.html)
set_property(SOURCE src/services/TrayIcon.cpp APPEND
             PROPERTY COMPILE_DEFINITIONS LUMO_GUIDE_FROM_BIN="${LUMO_GUIDE_FROM_BIN}")
set(LUMO_START_SOURCES src/platform/LastArchive.cpp src/platform/StartArchive.cpp)

if(LUMO_GUI)
  # The text viewer prints and exports PDF.
  target_sources(lumo_textview PRIVATE src/tools/TextPrint.cpp src/tools/TextPrint.h)

  # Started by the menu entry: changes into the archive and starts the program.
  add_executable(lumoretta-start src/app/StartHelper.cpp)
  target_link_libraries(lumoretta-start PRIVATE lumo_gui lumo_cli)
  target_compile_definitions(lumoretta-start PRIVATE
                             LUMO_TEMPLATE_FROM_BIN="${LUMO_TEMPLATE_FROM_BIN}")
  add_dependencies(lumoretta lumoretta-start)

  install(TARGETS lumoretta lumo_textview lumoretta-start RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/desktop/${LUMO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/icons/lumoretta.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES data/icons/hicolor/${size}x${size}/apps/lumoretta.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()

  # The template of a new archive: empty archive files, help, sounds, tips, pictures.
  install(DIRECTORY data/template/ DESTINATION ${LUMO_TEMPLATE_DIR})
  install(FILES data/DIA.HLP data/dia.bmp DESTINATION ${LUMO_TEMPLATE_DIR})
  install(FILES data/bilder/autor.bmp DESTINATION ${LUMO_TEMPLATE_DIR}/bilder)
  install(DIRECTORY data/sounds data/tips DESTINATION ${LUMO_TEMPLATE_DIR})
  install(DIRECTORY DESTINATION ${LUMO_TEMPLATE_DIR}/memo)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumoretta)

  # The user guide as a web page: README.md with its tables, beside the screenshots and the
  # reliability notes it links to. Made with Debian's python3-markdown, so the system's
  # python3 is asked first.
  find_program(LUMO_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(LUMO_PYTHON3 python3)
  execute_process(COMMAND ${LUMO_PYTHON3} -c "import markdown" RESULT_VARIABLE lumo_markdown_missing
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT LUMO_PYTHON3 OR lumo_markdown_missing)
    message(FATAL_ERROR "The user guide needs python3 with the markdown module "
                        "(${LUMO_PYTHON3}): install python3-markdown (scripts/install-deps.sh)")
  endif()
  set(LUMO_GUIDE_HTML ${CMAKE_BINARY_DIR}/guide/lumoretta.html)
  add_custom_command(OUTPUT ${LUMO_GUIDE_HTML}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/guide
                     COMMAND ${LUMO_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/readme_to_html.py
                             ${CMAKE_SOURCE_DIR}/README.md ${LUMO_GUIDE_HTML}
                     DEPENDS README.md scripts/readme_to_html.py VERBATIM)
  add_custom_target(lumo_user_guide ALL DEPENDS ${LUMO_GUIDE_HTML})
  add_dependencies(lumoretta lumo_user_guide)
  install(FILES ${LUMO_GUIDE_HTML} docs/reliability.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumoretta)
  install(DIRECTORY docs/screenshots DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumoretta)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME lumoretta)
  set(CPACK_PACKAGE_VENDOR "Lumoretta")
  set(CPACK_PACKAGE_CONTACT "Lumoretta <lumoretta@lumoretta.org>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of a private collection of photographic slides")
  # Lines of at most 80 characters, as the package tools show them.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
         "Lumoretta catalogues the slides of a private collection with box, place in\n"
         "the magazine, information text and keywords, searches the archive and writes\n"
         "reports. Its user interface is German.\n"
         "\n"
         "Lumoretta erfasst die Dias einer privaten Sammlung mit Kasten,\n"
         "Magazinposition, Informationstext und Schlüsselwörtern, durchsucht das Archiv\n"
         "und schreibt Listen.")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LUMO_HOMEPAGE})
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # The shared libraries come from dpkg-shlibdeps; what Qt loads at run time does not:
  # the X11 platform plugin, the fonts the window layout is measured in, the German
  # texts of Qt's own dialogs and the TIFF and WebP readers for scans.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, qt6-image-formats-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-user-dirs")
  include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
  include(CPack)
endif()

if(LUMO_TESTS)
  add_executable(test_platform tests/platform/StartArchiveTest.cpp ${LUMO_START_SOURCES}
                               tests/TestArchive.cpp)
  target_include_directories(test_platform PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_platform PRIVATE lumo_core GTest::gtest GTest::gtest_main)
  gtest_discover_tests(test_platform DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT ${LUMO_TEST_TIMEOUT})

  if(LUMO_GUI)
    add_test(NAME command_line_without_display
             COMMAND ${CMAKE_SOURCE_DIR}/tests/app/no_display.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(command_line_without_display PROPERTIES TIMEOUT ${LUMO_TEST_TIMEOUT})
  endif()

  find_program(LUMO_PDFTOTEXT pdftotext)
  if(LUMO_GUI AND LUMO_PDFTOTEXT)
    add_test(NAME textview_pdf_keeps_columns
             COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/textview_pdf.sh $<TARGET_FILE:lumo_textview>
                     ${CMAKE_SOURCE_DIR}/tests/data/reports)
    set_tests_properties(textview_pdf_keeps_columns PROPERTIES TIMEOUT ${LUMO_TEST_TIMEOUT})
  endif()

  # The end-to-end test: the real program in a virtual X server, driven by input events.
  find_program(LUMO_XDOTOOL xdotool)
  find_program(LUMO_XVFB Xvfb)
  find_package(Qt6 QUIET COMPONENTS DBus)
  if(LUMO_GUI AND LUMO_XDOTOOL AND LUMO_XVFB AND Qt6DBus_FOUND)
    add_executable(lumo_e2e_screen tests/e2e/ScreenProbe.cpp tests/e2e/AccessibleTree.cpp)
    target_link_libraries(lumo_e2e_screen PRIVATE lumo_flags Qt6::Gui Qt6::DBus)
    add_test(NAME e2e_user_day
             COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/user_day.sh ${CMAKE_BINARY_DIR}
                     ${CMAKE_SOURCE_DIR}/data)
    set_tests_properties(e2e_user_day PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)
  else()
    message(STATUS "xdotool, Xvfb or Qt D-Bus not found: the end-to-end test is not registered")
  endif()

  find_program(LUMO_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(LUMO_DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_valid
             COMMAND ${LUMO_DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/data/desktop/${LUMO_APP_ID}.desktop)
    set_tests_properties(desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning"
                                                         TIMEOUT ${LUMO_TEST_TIMEOUT})
  endif()
endif()

# The benchmark of the user's actions shows slide pictures from the demo data.
if(TARGET lumo_bench)
  target_compile_definitions(lumo_bench PRIVATE LUMO_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
endif()
