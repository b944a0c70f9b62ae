# Install layout (cmake --install, and the .deb through CPack):
#   bin/                         wavetrap and its command-line tools
#   share/wavetrap/              the help page (read-only data; the program finds it there)
#   share/applications/          wavetrap.desktop
#   share/metainfo/              the AppStream metainfo
#   share/icons/hicolor/         scalable SVG, 48 and 256 pixel PNGs
#   share/man/man1/              manual pages of the program and the tools
#   share/doc/wavetrap/          copyright and changelog
include(GNUInstallDirs)

# An install takes what is built; it does not build the whole tree (tests, benchmarks) first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(WAVETRAP_APP_ID io.github.wavetrap.Wavetrap)
set(data ${CMAKE_SOURCE_DIR}/data)

if(TARGET wavetrap)
  install(TARGETS wavetrap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/app/help/Help.html DESTINATION ${CMAKE_INSTALL_DATADIR}/wavetrap)
  install(FILES ${data}/wavetrap.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${data}/${WAVETRAP_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${data}/icons/wavetrap.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 48 256)
    install(FILES ${data}/icons/wavetrap-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME wavetrap.png)
  endforeach()
endif()
install(TARGETS wavetrap-settings wavetrap-catalogue wavetrap-rip RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages and the changelog are installed compressed, as Debian wants them.
set(compressed)
foreach(page wavetrap wavetrap-settings wavetrap-catalogue wavetrap-rip)
  set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${data}/man/${page}.1 > ${out}
    DEPENDS ${data}/man/${page}.1 VERBATIM)
  list(APPEND compressed ${out})
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND gzip -9n -c ${data}/changelog > ${changelog}
  DEPENDS ${data}/changelog VERBATIM)
add_custom_target(wavetrap_docs ALL DEPENDS ${compressed} ${changelog})
install(FILES ${changelog} ${data}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wavetrap)

# cpack -G DEB (scripts/package.sh): dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wavetrap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Wavetrap developers")
set(CPACK_PACKAGE_CONTACT "Wavetrap developers <wavetrap@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.wavetrap.example/")
# CPack indents the lines after the first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "record internet radio stations, one file per song
Wavetrap keeps a catalogue of internet radio stations, browses it by genre or
by favourite groups, plays a station, and records up to 198 stations at once:
every song a station announces is saved in a file of its own, named after the
song, in a folder per genre. A wish list finds stations playing the songs
wanted. Command-line tools read and change the settings and the catalogue.")
include(CPack)
