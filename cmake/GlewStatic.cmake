# GLEW for the Windows build, compiled from Debian's glew source package by our own
# compiler and linked into the module statically (GLEW_STATIC), so the module needs no
# glew32.dll beside it. scripts/build-windows.sh fetches the source with
#   apt-get source glew
# into build/glew-src; another unpacked copy can be named with SOLVANE_GLEW_SOURCE_DIR.
# An MSVC build takes GLEW from vcpkg instead (vcpkg.json; the x64-windows-static-md
# triplet gives a static library that already defines GLEW_STATIC for its users).
if(MSVC)
  find_package(GLEW REQUIRED)
  return()
endif()

set(SOLVANE_GLEW_SOURCE_DIR "" CACHE PATH "unpacked GLEW source (the folder holding src/glew.c)")

if(NOT SOLVANE_GLEW_SOURCE_DIR)
  file(GLOB solvane_glew_candidates LIST_DIRECTORIES true
       ${PROJECT_SOURCE_DIR}/build/glew-src/glew-*)
  foreach(candidate IN LISTS solvane_glew_candidates)
    if(EXISTS ${candidate}/src/glew.c)
      set(SOLVANE_GLEW_SOURCE_DIR ${candidate} CACHE PATH "" FORCE)
    endif()
  endforeach()
endif()
if(NOT EXISTS "${SOLVANE_GLEW_SOURCE_DIR}/src/glew.c")
  message(FATAL_ERROR
    "GLEW source not found. Run scripts/build-windows.sh (it runs 'apt-get source glew' into "
    "build/glew-src) or pass -DSOLVANE_GLEW_SOURCE_DIR=<unpacked glew source>.")
endif()

add_library(solvane_glew_static STATIC ${SOLVANE_GLEW_SOURCE_DIR}/src/glew.c)
target_include_directories(solvane_glew_static SYSTEM PUBLIC ${SOLVANE_GLEW_SOURCE_DIR}/include)
# GLEW_STATIC keeps glew.h's declarations free of dllimport/dllexport, so none of GLEW's
# symbols lands in the module's export table. GLEW_NO_GLU: nothing here uses GLU.
target_compile_definitions(solvane_glew_static PUBLIC GLEW_STATIC GLEW_NO_GLU)
target_compile_options(solvane_glew_static PRIVATE -w)  # not our code: no warnings
target_link_libraries(solvane_glew_static PUBLIC OpenGL::GL)
set_target_properties(solvane_glew_static PROPERTIES OUTPUT_NAME glew_s
                      C_VISIBILITY_PRESET default POSITION_INDEPENDENT_CODE OFF)

add_library(GLEW::glew_s ALIAS solvane_glew_static)
# The Linux build links the system package's GLEW::GLEW; the same name works here.
add_library(GLEW::GLEW ALIAS solvane_glew_static)
