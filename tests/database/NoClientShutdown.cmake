# Fails when the archive ARCHIVE defines a function that shuts the Firebird client down.
# Run as: cmake -D NM=... -D ARCHIVE=... -P NoClientShutdown.cmake
execute_process(COMMAND ${NM} --defined-only --demangle ${ARCHIVE}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} cannot read ${ARCHIVE}")
endif()
string(REGEX MATCH "[^\n]*(ShutdownClient|fb_shutdown|IProvider::shutdown)[^\n]*" found "${symbols}")
if(found)
  message(FATAL_ERROR "${ARCHIVE} defines a client shutdown: ${found}")
endif()
if(NOT symbols MATCHES "brontelx::db::Provider")
  message(FATAL_ERROR "${ARCHIVE} is not the database layer")
endif()
