# Writes OUTPUT from SchemaScripts.cpp.in with each schema script as a raw string literal.
# Run as: cmake -D SOURCE_DIR=... -D OUTPUT=... -P EmbedScripts.cmake
foreach(name UserDirectory Archive DeliveryNotes)
  file(READ ${SOURCE_DIR}/${name}.sql script)
  string(FIND "${script}" ")sql\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${name}.sql contains the literal's closing delimiter )sql\"")
  endif()
  set(SCRIPT_${name} "${script}")
endforeach()
configure_file(${SOURCE_DIR}/SchemaScripts.cpp.in ${OUTPUT} @ONLY)
