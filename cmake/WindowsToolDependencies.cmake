# The tools' dependencies in the MinGW cross build. Debian ships no MinGW builds of them,
# but CLI11, nlohmann/json and stb are header-only: their headers are taken from the build
# machine's Debian packages (libcli11-dev, nlohmann-json3-dev, libstb-dev) and copied into
# the build tree, so that the cross compiler never sees the rest of /usr/include.
# OpenImageIO has no such form; solvane-render.exe reads and writes images through stb
# instead (PNG, and more; see tools/render).
include_guard(GLOBAL)

set(SOLVANE_CROSS_HEADERS ${CMAKE_BINARY_DIR}/cross-headers)

function(solvane_copy_build_machine_headers name file)
  find_path(found ${file} PATHS /usr/include PATH_SUFFIXES ${ARGN}
            NO_CACHE NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT found)
    message(FATAL_ERROR "${name} headers not found on the build machine (${file})")
  endif()
  get_filename_component(folder ${file} DIRECTORY)
  if(folder)
    file(COPY ${found}/${folder} DESTINATION ${SOLVANE_CROSS_HEADERS})
  else()
    file(COPY ${found}/${file} DESTINATION ${SOLVANE_CROSS_HEADERS})
  endif()
endfunction()

solvane_copy_build_machine_headers(CLI11 CLI/CLI.hpp)
solvane_copy_build_machine_headers(nlohmann_json nlohmann/json.hpp)
solvane_copy_build_machine_headers(stb stb_image.h stb)
solvane_copy_build_machine_headers(stb stb_image_write.h stb)

add_library(CLI11::CLI11 INTERFACE IMPORTED)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
add_library(solvane::stb INTERFACE IMPORTED)
foreach(target CLI11::CLI11 nlohmann_json::nlohmann_json solvane::stb)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${SOLVANE_CROSS_HEADERS})
endforeach()
