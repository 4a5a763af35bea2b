# Desktop integration on Linux (desktop entry, icons, AppStream metainfo, man page) for
# `cmake --install`, and the .deb that CPack makes from the same install. The Windows
# build without the window makes the installer.
if(WIN32 AND NOT QUILLBROOK_GUI)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackaging.cmake)
endif()
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()
include(GNUInstallDirs)

set(QB_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)
set(QB_PACKAGING_BINARY ${PROJECT_BINARY_DIR}/packaging)

# The man page, gzipped as Debian keeps man pages.
configure_file(${QB_PACKAGING_SOURCE}/quillbrook-export.1.in ${QB_PACKAGING_BINARY}/man/quillbrook-export.1 @ONLY)
find_program(QB_GZIP gzip)
if(QB_GZIP)
  set(QB_MAN_PAGE ${QB_PACKAGING_BINARY}/quillbrook-export.1.gz)
  add_custom_command(OUTPUT ${QB_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${QB_PACKAGING_BINARY}/man/quillbrook-export.1 ${QB_PACKAGING_BINARY}/quillbrook-export.1
    COMMAND ${QB_GZIP} -9nf ${QB_PACKAGING_BINARY}/quillbrook-export.1
    DEPENDS ${QB_PACKAGING_BINARY}/man/quillbrook-export.1
    COMMENT "Compressing the man page")
else()
  set(QB_MAN_PAGE ${QB_PACKAGING_BINARY}/man/quillbrook-export.1)
endif()
install(FILES ${QB_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(QB_DESKTOP_FILES ${QB_MAN_PAGE})

if(QUILLBROOK_GUI AND NOT CMAKE_CROSSCOMPILING)
  install(FILES ${QB_PACKAGING_SOURCE}/${QUILLBROOK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${QB_PACKAGING_SOURCE}/${QUILLBROOK_APP_ID}.metainfo.xml.in
                 ${QB_PACKAGING_BINARY}/${QUILLBROOK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${QB_PACKAGING_BINARY}/${QUILLBROOK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon theme's sizes, drawn by the window's own icon code.
  set(QB_ICON_SIZES 16 32 48 256)
  set(QB_ICON_PNGS)
  foreach(size IN LISTS QB_ICON_SIZES)
    list(APPEND QB_ICON_PNGS ${QB_PACKAGING_BINARY}/icons/${size}x${size}.png)
    install(FILES ${QB_PACKAGING_BINARY}/icons/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUILLBROOK_APP_ID}.png)
  endforeach()
  add_custom_command(OUTPUT ${QB_ICON_PNGS}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:quillbrook-render-icon> ${QB_PACKAGING_BINARY}/icons ${QB_ICON_SIZES}
    DEPENDS quillbrook-render-icon
    COMMENT "Drawing the icon at ${QB_ICON_SIZES} px")
  list(APPEND QB_DESKTOP_FILES ${QB_ICON_PNGS})
endif()
add_custom_target(quillbrook-desktop-files ALL DEPENDS ${QB_DESKTOP_FILES})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbrook)
set(CPACK_PACKAGE_VENDOR Quillbrook)
set(CPACK_PACKAGE_CONTACT "Quillbrook <support@quillbrook.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "makes one blog import file out of plain-text articles")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillbrook turns Japanese articles, plain text files with one article per file, into one
import file in the MovableType import format, in Shift_JIS, EUC-JP or UTF-8. The window
program quillbrook is in Japanese; quillbrook-export makes the same file from the command
line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.quillbrook.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's "ＭＳ Ｐゴシック" stands in with one of these faces.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
