# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model), e.g.
#   cmake --preset windows
# The module and the tools link libgcc, libstdc++ and winpthreads statically, so what they
# import is Windows' own DLLs and nothing that would have to be installed beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SOLVANE_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${SOLVANE_MINGW_PREFIX}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${SOLVANE_MINGW_PREFIX}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${SOLVANE_MINGW_PREFIX}-windres REQUIRED)

# Look for libraries and headers in the MinGW sysroot only; build tools come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${SOLVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(SOLVANE_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${SOLVANE_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${SOLVANE_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${SOLVANE_STATIC_RUNTIME}")
# Release modules ship without a symbol table (a third of their size).
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_RELEASE_INIT "-s")
endforeach()
