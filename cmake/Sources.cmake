# Collects the .cpp files directly inside each named folder (not below it), so
# that back-end subfolders (sim/, win32/, headless/) stay out of the logic.
function(nb_glob out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()
