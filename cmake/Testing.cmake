# solvane_add_gtest(<name> SOURCES ... [LIBS ...])
# One GoogleTest executable registered with CTest. Tests that load the effect through the
# stand-in host find the built module at SOLVANE_MODULE_PATH.
function(solvane_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    SOLVANE_MODULE_PATH="$<TARGET_FILE:solvane_module>"
    SOLVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(${name} solvane_module)
  # Listing a suite loads its libraries, which takes seconds on a loaded machine.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 600)
endfunction()
