# What the Windows module file carries besides its code: the resource script with the
# registration resource and the manifest, and an export table naming EntryPointFunc only.
include_guard(GLOBAL)
enable_language(RC)

function(solvane_add_windows_resources target)
  set(SOLVANE_MANIFEST_FILE ${SOLVANE_RESOURCES_DIR}/Solvane.manifest)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${SOLVANE_RESOURCES_DIR}/Solvane.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
  # windres does not see the files the script pulls in, so name them for the rebuild.
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${SOLVANE_PIPL_FILE};${SOLVANE_MANIFEST_FILE}")

  # A .def file makes the export table exactly its list, whatever the linked libraries
  # mark for export.
  set(exports ${PROJECT_SOURCE_DIR}/src/shells/ae/exports.def)
  target_sources(${target} PRIVATE ${exports})
endfunction()
