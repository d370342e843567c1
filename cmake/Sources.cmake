# Each layer is a library of its own folders, and sees only its own headers and
# those of the layers it links. Its headers are offered to the layers above
# through an include root of its own in the build tree, holding one forwarding
# header per header of its folders: a file that includes a header of a layer
# above it finds no such file and does not compile.
#
#   nb_layer(<target> FOLDERS <folder>... [LINKS <target>...])
#
# A folder's .cpp files directly inside it (not below) are the library's
# sources, so that back-end subfolders (sim/, win32/, headless/) stay out of it.
function(nb_layer target)
  cmake_parse_arguments(LAYER "" "" "FOLDERS;LINKS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  set(sources)
  set(forwarders)
  foreach(folder IN LISTS LAYER_FOLDERS)
    file(GLOB cpp CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${cpp})
    foreach(header IN LISTS headers)
      file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR} ${header})
      # Written only when its text changes, so that a new configure rebuilds nothing.
      file(CONFIGURE OUTPUT ${root}/${name} CONTENT "#include \"${header}\"\n")
      list(APPEND forwarders ${root}/${name})
    endforeach()
  endforeach()
  # A header moved or removed since the last configure leaves no forwarder behind.
  file(GLOB_RECURSE existing ${root}/*.h)
  foreach(old IN LISTS existing)
    if(NOT old IN_LIST forwarders)
      file(REMOVE ${old})
    endif()
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
endfunction()
