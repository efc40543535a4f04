# The warnings the code is kept clean under, for every target of ours (third-party code
# compiled here, such as GLEW for Windows, turns them off for itself). CI makes them
# errors with SOLVANE_WERROR=ON; a local build only shows them.
option(SOLVANE_WERROR "Treat compiler warnings as errors" OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wcast-qual -Wformat=2 -Wimplicit-fallthrough
                      $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wshadow=local)
  endif()
  if(SOLVANE_WERROR)
    add_compile_options(-Werror)
  endif()
elseif(MSVC)
  add_compile_options(/W4)
  if(SOLVANE_WERROR)
    add_compile_options(/WX)
  endif()
endif()
