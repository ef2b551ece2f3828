# zr_layer_headers(<target> <folder>...): the target's headers, and only
# those, become visible to whoever links it. Each library gets an include root
# of its own in the build tree holding links to its folders, so a file that
# includes a header of a layer it does not link (a core file a window header,
# a tool window the panel) does not compile.
function(zr_layer_headers target)
  set(root ${CMAKE_BINARY_DIR}/layer-include/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
