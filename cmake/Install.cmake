# `cmake --install`: the programs and their data in one program directory (definitions are looked
# up beside the executable), commands on the PATH that point there, and the desktop's menu entry,
# icon and the ".qvr" file type.
#
#   <prefix>/lib/korvath/              korvath, korvath-cli, korvath-sim, PID<n>/<fw>/..., maps, rules
#   <prefix>/bin/korvath -> ../lib/korvath/korvath   (and korvath-cli, korvath-sim)
#   <prefix>/share/applications/korvath.desktop
#   <prefix>/share/mime/packages/korvath-calibration.xml
#   <prefix>/share/icons/hicolor/{scalable,48x48,256x256}/apps/korvath.{svg,png}
#   <prefix>/lib/udev/rules.d/70-korvath-usb.rules   (read by udev when the prefix is /usr)
#
# `cpack -G DEB` in the build folder packages the same tree under /usr (see the end).

include(GNUInstallDirs)

set(KORVATH_INSTALL_PROGRAM_DIR "lib/korvath" CACHE STRING "Program directory, relative to the install prefix")

set(_korvath_programs "")
foreach(_program korvath korvath-cli korvath-sim)
  if(TARGET ${_program})
    list(APPEND _korvath_programs ${_program})
  endif()
endforeach()
if(_korvath_programs)
  install(TARGETS ${_korvath_programs} RUNTIME DESTINATION ${KORVATH_INSTALL_PROGRAM_DIR})
endif()

# Everything under data/ except the desktop files goes beside the programs.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${KORVATH_INSTALL_PROGRAM_DIR}
        PATTERN "desktop" EXCLUDE PATTERN "*.rules" EXCLUDE)
# The USB Direct rule where udev looks for the rules of packages.
install(FILES ${CMAKE_SOURCE_DIR}/data/70-korvath-usb.rules DESTINATION lib/udev/rules.d)
# The launcher that the program writes on the desktop shows this icon when it is beside the
# program (as in the build folder).
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korvath.svg DESTINATION ${KORVATH_INSTALL_PROGRAM_DIR}/desktop)

# The commands, as relative links so that the installed tree can be moved (DESTDIR included).
foreach(_program ${_korvath_programs})
  install(CODE "
    set(_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${_program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${_link}\")
    file(RELATIVE_PATH _target \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
         \"\${CMAKE_INSTALL_PREFIX}/${KORVATH_INSTALL_PROGRAM_DIR}/${_program}\")
    message(STATUS \"Linking: \${_link} -> \${_target}\")
    file(CREATE_LINK \"\${_target}\" \"\${_link}\" SYMBOLIC)
  ")
endforeach()

set(_desktop ${CMAKE_SOURCE_DIR}/data/desktop)
install(FILES ${_desktop}/korvath.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_desktop}/korvath-calibration.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${_desktop}/korvath.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_desktop}/korvath-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME korvath.png)
install(FILES ${_desktop}/korvath-256.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME korvath.png)

# Into a live system (no DESTDIR): let the desktop know about the new type, entry and icon.
# Packagers leave this to their triggers; missing tools are not an error.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(_share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    find_program(_update_mime update-mime-database)
    if(_update_mime)
      execute_process(COMMAND \${_update_mime} \"\${_share}/mime\" RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    endif()
    find_program(_update_desktop update-desktop-database)
    if(_update_desktop)
      execute_process(COMMAND \${_update_desktop} -q \"\${_share}/applications\" OUTPUT_QUIET ERROR_QUIET)
    endif()
    find_program(_update_icons gtk-update-icon-cache)
    if(_update_icons)
      execute_process(COMMAND \${_update_icons} -q -t \"\${_share}/icons/hicolor\" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
")

# The Debian package: the tree above under /usr, its dependencies computed by dpkg-shlibdeps
# from the programs' shared libraries. The desktop, MIME and icon caches are refreshed by the
# triggers of the packages that own them; the udev rule takes effect by the postinst.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvath)
set(CPACK_PACKAGE_VENDOR "Ardexco")
set(CPACK_PACKAGE_CONTACT "Ardexco Tech Support <techsupport@ardexco.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tuning tool for aftermarket transmission controllers")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads a transmission controller's calibration over a serial port or USB HID, edits shift curves and settings, writes the calibration back and shows live data. With korvath-cli for workshop automation and the controller simulator korvath-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The support mail goes through xdg-email.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
