# The program installed as a Linux desktop program: the executable under
# bin/, its desktop entry, its icon in the hicolor theme at the sizes of
# kProgramIconSizes (platform/resource/ProgramIcon.h), drawn by tools/zelicon
# from the glyph strips when the program is built, and its AppStream
# metadata; a Debian package of the same files through CPack.

# The program knows itself installed by its desktop entry's name
# (kDesktopEntryName in shell/LayoutFile.h).
set(ZEL_APP_ID org.zel.zeldemo)
set(ZEL_ICON_SIZES 16 22 24 32 48 64 128)

function(zel_install)
  if(NOT TARGET zeldemo OR NOT TARGET zelicon)
    return()
  endif()
  include(GNUInstallDirs)
  set(theme ${CMAKE_BINARY_DIR}/icons/hicolor)
  set(icons "")
  foreach(size ${ZEL_ICON_SIZES})
    list(APPEND icons ${theme}/${size}x${size}/apps/${ZEL_APP_ID}.png)
  endforeach()
  add_custom_command(OUTPUT ${icons}
    COMMAND zelicon ${theme} ${ZEL_APP_ID}
    DEPENDS zelicon
    COMMENT "Drawing the program's icon from its glyph strips")
  add_custom_target(zel_icons ALL DEPENDS ${icons})

  set(desktop ${CMAKE_SOURCE_DIR}/resources/desktop)
  install(TARGETS zeldemo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${desktop}/${ZEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop}/${ZEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${theme} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endfunction()

# `cpack -G DEB` in a build folder makes the Debian package; the libraries
# it needs are read off the executable by dpkg-shlibdeps, not listed here.
macro(zel_package)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME zeldemo)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_VENDOR "Zel demo team")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "Demo of gradient menu and tool bars, colour maps and docking windows")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zel demo team <zel@localhost>")
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  include(CPack)
endmacro()

# The installed program, checked from a scratch DESTDIR (tests/install/).
function(zel_install_tests)
  if(NOT TARGET zel_icons)
    return()
  endif()
  string(REPLACE ";" " " sizes "${ZEL_ICON_SIZES}")
  add_test(NAME zel_install
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/installed-program ${CMAKE_BINARY_DIR}
            ${ZEL_APP_ID} "${sizes}")
  set_tests_properties(zel_install PROPERTIES TIMEOUT 120)
endfunction()
