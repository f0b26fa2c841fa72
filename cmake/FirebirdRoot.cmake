# The project's own Firebird root folder, "firebird" beside the programs and libraries that load
# the Firebird client: firebird.conf (cmake/firebird.conf) and intl/libfbintl.so, the character
# sets (a copy: the engine does not load a linked module). The client loader finds it beside the
# module that holds it (see database/ClientLibrary.h), so a folder with the programs and this
# subfolder can be copied anywhere.

find_file(BRONTELX_FBINTL_LIBRARY libfbintl.so
  PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/firebird/3.0/intl /usr/lib/firebird/3.0/intl
  NO_DEFAULT_PATH REQUIRED)
set(BRONTELX_FIREBIRD_CONF ${CMAKE_CURRENT_LIST_DIR}/firebird.conf)

# brontelx_stage_firebird_root(FOLDER [TARGET...])
# Writes FOLDER/firebird at build time, before each TARGET builds. Call it for the output folder
# of programs or libraries that are run from there; calling it again for the same folder only adds
# targets.
function(brontelx_stage_firebird_root folder)
  set(root ${folder}/firebird)
  string(MAKE_C_IDENTIFIER "${root}" id)
  if(NOT TARGET stage_${id})
    add_custom_command(
      OUTPUT ${root}/firebird.conf ${root}/intl/libfbintl.so
      COMMAND ${CMAKE_COMMAND} -E make_directory ${root}/intl
      COMMAND ${CMAKE_COMMAND} -E copy ${BRONTELX_FIREBIRD_CONF} ${root}/firebird.conf
      COMMAND ${CMAKE_COMMAND} -E copy ${BRONTELX_FBINTL_LIBRARY} ${root}/intl/libfbintl.so
      DEPENDS ${BRONTELX_FIREBIRD_CONF} ${BRONTELX_FBINTL_LIBRARY}
      COMMENT "Staging the Firebird root ${root}"
      VERBATIM)
    add_custom_target(stage_${id} DEPENDS ${root}/firebird.conf ${root}/intl/libfbintl.so)
  endif()
  foreach(target IN LISTS ARGN)
    add_dependencies(${target} stage_${id})
  endforeach()
endfunction()

# brontelx_install_firebird_root(DESTINATION)
# Installs the same folder as DESTINATION/firebird; DESTINATION is the install folder of the
# programs and libraries (bin, for example).
function(brontelx_install_firebird_root destination)
  install(FILES ${BRONTELX_FIREBIRD_CONF} DESTINATION ${destination}/firebird)
  install(FILES ${BRONTELX_FBINTL_LIBRARY} DESTINATION ${destination}/firebird/intl)
endfunction()
