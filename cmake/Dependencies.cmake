# Third-party packages. On Linux they come from Debian (scripts/setup.sh installs them);
# the Windows cross build brings its own GLEW (cmake/GlewStatic.cmake). On Linux the GL
# toolkit fetches its entry points through EGL and links neither GLEW nor libGL: Debian's
# GLEW is built for GLX, and libGLX's teardown at exit races hosts' render threads.
find_package(Threads REQUIRED)

if(WIN32)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL)
  include(GlewStatic OPTIONAL RESULT_VARIABLE SOLVANE_HAVE_GLEW_STATIC)
else()
  find_package(OpenGL REQUIRED COMPONENTS EGL)
endif()

if((SOLVANE_BUILD_TOOLS OR SOLVANE_BUILD_TESTS) AND NOT CMAKE_CROSSCOMPILING)
  # pkg-config rather than OpenImageIO's CMake package: Debian's pulls in Imath's Python
  # bindings, which the -dev packages do not ship.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(OIIO REQUIRED IMPORTED_TARGET OpenImageIO)
  find_package(CLI11 CONFIG REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
elseif(SOLVANE_BUILD_TOOLS AND WIN32 AND NOT MSVC)
  include(WindowsToolDependencies)
endif()

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
