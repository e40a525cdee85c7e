# What the Windows programs need beside them, so that the installed folder runs where it
# is unpacked: the DLLs they import (read from the programs, not listed by hand), the
# platform plugin, Qt's German texts, a qt.conf that points Qt at them, and Qt's licence.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin_dir ${qt_core_dll} DIRECTORY)
# Where the DLLs the programs import are found: Qt's and MinGW's runtime.
set(runtime_dirs ${qt_bin_dir} ${VESK_MINGW_RUNTIME_DIRS})
get_target_property(platform_plugin Qt6::QWindowsIntegrationPlugin IMPORTED_LOCATION_RELEASE)
install(CODE "
    set(programs $<TARGET_FILE:vesk-adressen> $<TARGET_FILE:vesk-dipp>)
    set(platform_plugins ${platform_plugin})
    set(shipped_dirs ${runtime_dirs})
    set(system_dirs ${VESK_WINDOWS_SYSTEM_DIRS})
    set(strip ${CMAKE_STRIP})
    set(lower_case_dir ${CMAKE_BINARY_DIR}/runtime-dlls)
    include(${CMAKE_CURRENT_LIST_DIR}/InstallRuntime.cmake)
")

# Qt's German translations are the same files on every platform; Debian's host Qt has them.
find_file(VESK_QT_GERMAN qtbase_de.qm PATHS ${QT_HOST_PATH}/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${VESK_QT_GERMAN} DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/data/windows/qt.conf DESTINATION .)
find_file(VESK_LGPL LGPL-3 PATHS /usr/share/common-licenses NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${PROJECT_SOURCE_DIR}/data/windows/Qt-Lizenz.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/data/label-templates-license.txt DESTINATION . RENAME Etiketten-Lizenz.txt)
install(FILES ${VESK_LGPL} DESTINATION . RENAME LGPL-3.txt)

# German hyphenation: the patterns beside the programs (libhyphen is compiled into them), and
# the licence both ship under, cited from Debian's copyright files.
install(FILES ${VESK_HYPHEN_PATTERNS} DESTINATION hyphen)
find_file(VESK_HYPHEN_DE_COPYRIGHT copyright PATHS /usr/share/doc/hyphen-de NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
find_file(VESK_LGPL21 LGPL-2.1 PATHS /usr/share/common-licenses NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(hyphen_licence ${CMAKE_BINARY_DIR}/Silbentrennung-Lizenz.txt)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/hyphenlicence.py
                        ${VESK_HYPHEN_SOURCE}/debian/copyright ${VESK_HYPHEN_DE_COPYRIGHT} ${hyphen_licence}
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${hyphen_licence} DESTINATION .)
install(FILES ${VESK_LGPL21} DESTINATION . RENAME LGPL-2.1.txt)
# The programs and tests in the build tree (the toolchain puts them all in its top folder)
# find the patterns beside them, as installed.
file(COPY ${VESK_HYPHEN_PATTERNS} DESTINATION ${CMAKE_BINARY_DIR}/hyphen)

# The programs and tests in the build tree find Qt's plugins in its prefix, and the German
# texts where Debian keeps them.
get_filename_component(qt_prefix ${qt_bin_dir} DIRECTORY)
get_filename_component(qt_german_dir ${VESK_QT_GERMAN} DIRECTORY)
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = Z:${qt_prefix}\nTranslations = Z:${qt_german_dir}\n")

# The tests run under Wine.
find_program(VESK_WINE wine REQUIRED)
find_program(VESK_WINESERVER wineserver REQUIRED)
list(TRANSFORM runtime_dirs PREPEND "Z:" OUTPUT_VARIABLE wine_path)
list(JOIN wine_path ";" wine_path)
set(VESK_TEST_FONT_DIR /usr/share/fonts/truetype/liberation2)
configure_file(cmake/wine-run.in wine-run @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
