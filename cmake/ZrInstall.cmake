# Install helpers shared by the folders. Every installed file names the Debian
# package it goes into: "panel" (zr-k880tm-control) or "sim"
# (zr-k880tm-control-sim, the simulated camera, never on a production machine
# by accident).

# Debian wants manual pages and changelogs compressed, without a time stamp so
# two builds of one tree give the same bytes.
function(zr_gzip_file source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9nc ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

# zr_install_man(<page.1> <component>)
function(zr_install_man page component)
  get_filename_component(name ${page} NAME)
  set(gz ${CMAKE_BINARY_DIR}/man/${name}.gz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
  zr_gzip_file(${page} ${gz})
  add_custom_target(man_${name} ALL DEPENDS ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()
