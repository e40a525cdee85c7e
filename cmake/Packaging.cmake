# The Debian package, built by "cpack -G DEB" (scripts/check-package), and for Windows the
# portable zip and the NSIS setup (scripts/windows).
set(CPACK_PACKAGE_NAME vesk-adressen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VESK Adressen Rechner")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DIP switch addresses of the VESK 2-D BUS")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vesk-adressen)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VESK Adressen Rechner <entwicklung@vesk-adressen.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The table is set in Arial's metric twin; Qt's own dialogs read German; long words break
# after the German hyphenation patterns (libhyphen0 comes from the program's links).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n, hyphen-de")
# The extended description; CPack puts the summary above it.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Modules of the VESK 2-D BUS take their bus address from five three-position"
       "DIP switches. VESK Adressen Rechner converts an address such as 7C into the"
       "five switch positions and back, draws the switches, keeps a name for each of"
       "the 96 addresses A-H x 1-12 and prints a one-page table of them with their"
       "switch settings. The command-line tool vesk-dipp does the same without a"
       "window. The user interface is German.")

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY vesk-adressen)
    set(CPACK_NSIS_PACKAGE_NAME "VESK Adressen Rechner")
    set(CPACK_NSIS_INSTALLED_ICON_NAME vesk-adressen.exe)
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/icons/de.vesk.adressen.ico)
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake)
    # The setup's script is cmake/NSIS.template.in, found on the module path.
    list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
include(CPack)
