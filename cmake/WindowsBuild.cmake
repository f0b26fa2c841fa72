# The Windows build (MinGW-w64; presets windows-x86 and windows-x64), included by the top-level
# CMakeLists.txt in place of the Linux build. It builds the library from the same sources as the
# Linux one (the core, the forms, the entry points) with the Win32 backend of the windowing layer,
# as BrontelX.dll; the command-line tool brontelx.exe from the Linux one's sources; the tests of the
# Windows parts; the Windows test host with a DLL that opens the windows for it; and (32-bit) the
# check that Windows code reaches a Firebird server through a client DLL.

# Wide-character Windows API; windows.h without its min/max macros and rarely used parts;
# Windows 7 and later.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

# The Firebird headers from the Linux package firebird-dev, copied so that the MinGW compiler sees
# them without the Linux system's include folder.
set(firebird_headers ${CMAKE_BINARY_DIR}/firebird-include)
if(NOT EXISTS /usr/include/firebird/Interface.h)
  message(FATAL_ERROR "The Firebird headers are missing (package firebird-dev)")
endif()
file(COPY /usr/include/firebird DESTINATION ${firebird_headers})
file(COPY /usr/include/ibase.h /usr/include/iberror.h DESTINATION ${firebird_headers})
add_library(FirebirdHeaders INTERFACE)
target_include_directories(FirebirdHeaders SYSTEM INTERFACE ${firebird_headers})
add_library(Firebird::Headers ALIAS FirebirdHeaders)

# The version resource of BrontelX.dll (windres).
enable_language(RC)

foreach(layer IN LISTS BRONTELX_LAYERS)
  add_subdirectory(${layer})
endforeach()
# brontelx.exe, and host/win32: the Windows test host.
add_subdirectory(host)

# GoogleTest from Debian's sources (package googletest), built with the MinGW compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

enable_testing()
# Registers the GoogleTest program `target` in CTest. CTest runs it through
# CMAKE_CROSSCOMPILING_EMULATOR (Wine), from the program's folder, in a UTF-8 locale (Wine turns
# this machine's file names into Windows ones in the locale's character set), for at most 180 s.
# It fails on a non-zero exit status and on a test reported failed, whatever status Wine ends with.
# Further arguments are NAME=VALUE settings of the test's environment.
function(brontelx_add_windows_test target)
  add_test(NAME ${target} COMMAND ${target} WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)
  set(environment LC_ALL=C.UTF-8 ${ARGN})
  set_tests_properties(${target} PROPERTIES
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    TIMEOUT 180
    ENVIRONMENT "${environment}")
endfunction()
add_subdirectory(tests/win32)
add_subdirectory(tests/win32core)
add_subdirectory(tests/winprograms)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The databases of the end-to-end run, created on a Firebird server through fbclient.dll.
  add_subdirectory(schema)
  add_subdirectory(tests/wine)
endif()
