# Shared part of the MinGW-w64 toolchain files (Debian packages g++-mingw-w64-*-posix: GCC with
# POSIX threads, so std::thread and std::mutex work). The including file sets BRONTELX_MINGW_TRIPLET
# and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BRONTELX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRONTELX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRONTELX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRONTELX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs and DLLs need no DLL beyond the system's: the GCC and C++ runtimes are linked in, and
# -static also links in the POSIX threads library that the C++ runtime of the -posix compilers uses.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
