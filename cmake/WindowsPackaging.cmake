# The Windows installer build-windows/quillbrook-<version>-setup.exe (NSIS, Japanese pages;
# packaging/windows/quillbrook.nsi) and quillbrook-<version>-win64.zip holding the same
# files in a folder Quillbrook: the window with the DLLs, plugins and licence texts it
# loads, as put into the window's build folder, and this build's quillbrook-export.exe,
# stripped. `cpack --preset windows` makes both once the window's folder is there.
set(QUILLBROOK_WINDOW_FOLDER ${PROJECT_SOURCE_DIR}/build-windows-gui/quillbrook-win64 CACHE PATH
    "The window for Windows with what it loads, put into the installer")
install(DIRECTORY ${QUILLBROOK_WINDOW_FOLDER}/ DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME quillbrook)
set(CPACK_PACKAGE_VENDOR Quillbrook)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -V2 -INPUTCHARSET UTF8)
# The installer's own name and the zip's folder are set per generator there.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackageNames.cmake)
# CPack's NSIS generator takes its script from NSIS.template.in in the module path.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/quillbrook.nsi ${PROJECT_BINARY_DIR}/nsis/NSIS.template.in COPYONLY)
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis)
include(CPack)
