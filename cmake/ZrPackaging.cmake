# Debian packages with cpack, from a configured build:
#   cpack -G DEB --config <build>/CPackConfig.cmake   (scripts/package.sh runs it)
# gives zr-k880tm-control_<version>_<arch>.deb (panel, zrk880ctl, desktop entry,
# icon, metainfo) and zr-k880tm-control-sim_<version>_<arch>.deb (the simulated
# camera and its Camera Link library). Dependencies come from the binaries
# (dpkg-shlibdeps), not from a hand-written list.

set(ZR_DEB_MAINTAINER "ZR-K880TM Control maintainers <maintainers@users.noreply.c-seed-3bd4e797.example>")

# Each package carries its copyright and changelog in /usr/share/doc/<package>.
set(ZR_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
zr_gzip_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${ZR_CHANGELOG_GZ})
add_custom_target(package_changelog ALL DEPENDS ${ZR_CHANGELOG_GZ})
foreach(pair "panel;zr-k880tm-control" "sim;zr-k880tm-control-sim")
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${ZR_CHANGELOG_GZ}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zr-k880tm-control)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZR-K880TM Control maintainers")
set(CPACK_PACKAGE_CONTACT ${ZR_DEB_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL panel sim)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZR_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Descriptions: the first line is the summary; cpack indents the rest and
# turns an empty line into the " ." paragraph break.

set(CPACK_DEBIAN_PANEL_PACKAGE_NAME zr-k880tm-control)
set(CPACK_DEBIAN_PANEL_PACKAGE_SECTION graphics)
# The adjustment window's messages are Japanese: without a font that has the
# glyphs they show as empty boxes.
set(CPACK_DEBIAN_PANEL_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont-gothic")
set(CPACK_DEBIAN_PANEL_DESCRIPTION
   "control panel for the ZR-K880TM colour industrial camera
Reads and changes every setting of a ZR-K880TM three-sensor colour camera
over its serial control channel: a serial port, or the serial channel of a
Camera Link frame grabber through the Camera Link serial API. It loads and
saves the setting memories, edits the look-up table, runs white spot
detection and carries the factory adjustment window with its data log.

zrk880ctl does the same from the command line, for scripts and diagnostics.")

set(CPACK_DEBIAN_SIM_PACKAGE_NAME zr-k880tm-control-sim)
set(CPACK_DEBIAN_SIM_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_SIM_DESCRIPTION
   "simulated ZR-K880TM camera for tests and demonstrations
zrk880_camsim serves a simulated ZR-K880TM camera on a pseudo-terminal,
with faults on demand; libclallserial.so, in /usr/lib/zrk880/sim off the
loader's path, offers it as a Camera Link serial library.

Not for production machines: the panel would talk to the simulation.")

include(CPack)
