# Installation and the Debian package.
#
# make install puts the program, its pulse data file, its icons, its desktop
# entry and its AppStream metainfo under CMAKE_INSTALL_PREFIX; make package
# turns the same files (prefix /usr) into a .deb with CPack. The version is
# the project's, set once by project() in the top-level CMakeLists.txt.

set(KESTOR_APP_ID org.kestor.Kestor)

# The program, and the data file where its search looks: beside the program
# in ../share/kestor, which is also the compiled-in data directory.
install(TARGETS kestor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/KESTOR_11.KSQ
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kestor)

# The logo at every size drawn by tools/mkbitmaps (logo.png is the 32 x 32).
foreach(size 32 48 128 256)
  if(size EQUAL 32)
    set(icon ${CMAKE_SOURCE_DIR}/resources/logo.png)
  else()
    set(icon ${CMAKE_SOURCE_DIR}/resources/logo_${size}.png)
  endif()
  install(FILES ${icon}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME kestor.png)
endforeach()

# Desktop entry and metainfo; the metainfo carries the project version.
set(KESTOR_DESKTOP_FILE ${CMAKE_SOURCE_DIR}/data/${KESTOR_APP_ID}.desktop)
set(KESTOR_METAINFO_FILE ${CMAKE_BINARY_DIR}/${KESTOR_APP_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/data/${KESTOR_APP_ID}.metainfo.xml.in
  ${KESTOR_METAINFO_FILE} @ONLY)
install(FILES ${KESTOR_DESKTOP_FILE}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KESTOR_METAINFO_FILE}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# ------------------------------------------------------------ Debian package

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Atelier Didactique Ombrelune")
set(CPACK_PACKAGE_CONTACT "KESTOR developers <dev@kestor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "simulateur de comptage radioactif / radiation counting simulator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME kestor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KESTOR developers <dev@kestor.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kestor.example/")
# Run-time needs: the C and C++ libraries and the Qt 6 libraries the program
# links (Qt at least the version it was built with), fontconfig, the X11
# platform plugin, and the Liberation fonts its texts are set in. The event dispatcher reaches
# the platform through Qt's private interface, which holds for the exact Qt
# build only: Debian's Qt packages provide qt6-base-abi for that.
set(qt_min "(>= ${Qt6Core_VERSION_MAJOR}.${Qt6Core_VERSION_MINOR})")
set(KESTOR_DEB_DEPENDS
  libc6 libgcc-s1 libstdc++6
  "libqt6core6 ${qt_min}" "libqt6gui6 ${qt_min}" "libqt6widgets6 ${qt_min}"
  "qt6-base-abi (= ${Qt6Core_VERSION})"
  libfontconfig1 qt6-qpa-plugins fonts-liberation2)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${KESTOR_DEB_DEPENDS}")
# The long description, under the summary line (CPack indents it; an empty
# line separates the paragraphs).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"KESTOR montre, en classe, la statistique du comptage des impulsions d'un
détecteur placé près d'une source radioactive : comptages d'une seconde,
histogramme, moyenne et écart quadratique moyen (loi de Poisson).

KESTOR is a teaching simulator (French interface) for the statistics of
counting the pulses of a radiation detector: one-second counts, their
histogram, mean and variance (Poisson distribution).")
include(CPack)

# ------------------------------------------------------------------- tests

if(KESTOR_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(APPSTREAMCLI appstreamcli)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_valid
      COMMAND ${DESKTOP_FILE_VALIDATE} ${KESTOR_DESKTOP_FILE})
  endif()
  if(APPSTREAMCLI)
    add_test(NAME metainfo_valid
      COMMAND ${APPSTREAMCLI} validate --no-net ${KESTOR_METAINFO_FILE})
  endif()
  # The package built by make package (the Makefile's test target builds it
  # and passes its folder as KESTOR_PACKAGE_DIR): unpacked and clicked under
  # Xvfb.
  set(KESTOR_PACKAGE_DIR "" CACHE PATH "Folder of the .deb that the package test checks")
  find_program(DPKG_DEB dpkg-deb)
  find_program(XVFB Xvfb)
  find_program(XDOTOOL xdotool)
  if(KESTOR_PACKAGE_DIR AND DPKG_DEB AND XVFB AND XDOTOOL)
    add_test(NAME package
      COMMAND ${CMAKE_SOURCE_DIR}/tests/package_test.sh
        ${KESTOR_PACKAGE_DIR} ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}/KESTOR_11.KSQ
        $<TARGET_FILE:kestor_x11_probe>)
    set_tests_properties(package PROPERTIES TIMEOUT 400)
  endif()
endif()
