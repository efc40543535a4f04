# What every plug-in module of ours (the frei0r filter, the OpenFX plug-in) needs from its
# link: only the entry points listed beside its sources are exported (exports.def on
# Windows, exports.map elsewhere), and the module stays mapped until the process ends
# (-z nodelete; on Windows it pins itself), because render threads release their GL
# resources through thread-exit hooks in it while hosts unload plug-ins with those
# threads still alive (FFmpeg unloads at the end of a graph).
function(solvane_plugin_module target)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(WIN32)
    target_sources(${target} PRIVATE ${dir}/exports.def
                   ${PROJECT_SOURCE_DIR}/src/core/platform/ModulePinWin.cpp)
  else()
    target_link_options(${target} PRIVATE "-Wl,--version-script=${dir}/exports.map"
                        -Wl,--no-undefined -Wl,-z,nodelete)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/exports.map)
  endif()
endfunction()
