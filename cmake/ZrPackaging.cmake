# Debian packages with cpack, from a configured build:
#   cpack -G DEB --config <build>/CPackConfig.cmake   (scripts/package.sh runs it)
# gives zr-k880tm-control_<version>_<arch>.deb (panel, zrk880ctl, desktop entry,
# icon, metainfo) and zr-k880tm-control-sim_<version>_<arch>.deb (the simulated
# camera and its Camera Link library); with the library built, also
# libzrk880-1 (the C library), libzrk880-dev (its header, link, pkg-config and
# CMake files) and python3-zrk880 (the Python module). Dependencies come from
# the binaries (dpkg-shlibdeps), not from a hand-written list, except the
# packages' dependencies on each other.

set(ZR_DEB_MAINTAINER "ZR-K880TM Control maintainers <maintainers@users.noreply.c-seed-3bd4e797.example>")

# Each package carries its copyright and changelog in /usr/share/doc/<package>.
set(ZR_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
zr_gzip_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${ZR_CHANGELOG_GZ})
add_custom_target(package_changelog ALL DEPENDS ${ZR_CHANGELOG_GZ})
# Component and package name, side by side.
set(ZR_DEB_COMPONENTS panel sim)
set(ZR_DEB_NAMES zr-k880tm-control zr-k880tm-control-sim)
if(TARGET zrk880)
  list(APPEND ZR_DEB_COMPONENTS lib dev)
  list(APPEND ZR_DEB_NAMES libzrk880-${ZRK880_SOVERSION} libzrk880-dev)
endif()
if(TARGET _zrk880)
  list(APPEND ZR_DEB_COMPONENTS python)
  list(APPEND ZR_DEB_NAMES python3-zrk880)
endif()
foreach(component package IN ZIP_LISTS ZR_DEB_COMPONENTS ZR_DEB_NAMES)
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
set(CPACK_COMPONENTS_ALL ${ZR_DEB_COMPONENTS})
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

# The Python module links the library of this build; dpkg-shlibdeps finds it here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(ZR_DEB_EXACT "(= ${PROJECT_VERSION})")
# zrk880ctl reaches the camera through the C library.
set(CPACK_DEBIAN_PANEL_PACKAGE_DEPENDS "libzrk880-${ZRK880_SOVERSION} ${ZR_DEB_EXACT}")

set(CPACK_DEBIAN_LIB_PACKAGE_NAME libzrk880-${ZRK880_SOVERSION})
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
# The shlibs file for the packages that link the library; the ldconfig
# trigger (cpack also adds ldconfig calls of its own to the scripts).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/libzrk880/triggers)
set(CPACK_DEBIAN_LIB_DESCRIPTION
   "C library to drive the ZR-K880TM colour industrial camera
libzrk880 reads and changes the settings of a ZR-K880TM camera from any
program with a C foreign-function interface: settings by name with the
panel's range checks, snapshots in the settings file format of the panel and
zrk880ctl, the look-up tables, setting memories and the link trace.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzrk880-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libzrk880-${ZRK880_SOVERSION} ${ZR_DEB_EXACT}")
set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEV_DESCRIPTION
   "C library to drive the ZR-K880TM camera (development files)
The header zrk880.h, documented in place, the link library, a pkg-config
file (zrk880) and a CMake package: find_package(zrk880) gives the target
zrk880::zrk880.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-zrk880)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
    "libzrk880-${ZRK880_SOVERSION} ${ZR_DEB_EXACT}, python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${ZR_PYTHON_NEXT_MINOR})")
set(CPACK_DEBIAN_PYTHON_DESCRIPTION
   "Python 3 module to drive the ZR-K880TM colour industrial camera
zrk880 reads and changes the settings of a ZR-K880TM camera from Python:
cam[gain_level] = 120, snapshots as dicts, restore and diff against
the settings files of the panel and zrk880ctl, look-up tables as lists, with
one exception class per kind of failure carrying the panel's message.")

include(CPack)
