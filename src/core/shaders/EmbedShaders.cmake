# cmake -DSHADER_DIR=... -DHEADER=... -DSOURCE=... -P EmbedShaders.cmake
# Writes ShaderSources.h and ShaderSources.cpp: one raw string literal per GLSL stage.
set(stages vertex=kVertexShaderSource preprocess=kPreprocessShaderSource rays=kRayShaderSource)
set(delimiter "glsl")

set(header_text "// Generated from src/core/shaders/*.glsl by EmbedShaders.cmake; do not edit.\n")
string(APPEND header_text "// The effect's GLSL stage texts, null-terminated.\n#pragma once\n\n")
string(APPEND header_text "namespace solvane {\n\n")
set(source_text "// Generated from src/core/shaders/*.glsl by EmbedShaders.cmake; do not edit.\n")
string(APPEND source_text "#include \"ShaderSources.h\"\n\nnamespace solvane {\n\n")

foreach(stage IN LISTS stages)
  string(REPLACE "=" ";" pair "${stage}")
  list(GET pair 0 file)
  list(GET pair 1 symbol)
  file(READ "${SHADER_DIR}/${file}.glsl" text)
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file}.glsl contains the raw string delimiter )${delimiter}\"")
  endif()
  string(APPEND header_text "extern const char* const ${symbol};\n")
  string(APPEND source_text
         "const char* const ${symbol} = R\"${delimiter}(${text})${delimiter}\";\n\n")
endforeach()

string(APPEND header_text "\n}  // namespace solvane\n")
string(APPEND source_text "}  // namespace solvane\n")

# Rewrite only on change so that dependants are not rebuilt needlessly.
function(write_if_changed path text)
  set(old "")
  if(EXISTS "${path}")
    file(READ "${path}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${path}" "${text}")
  endif()
endfunction()
write_if_changed("${HEADER}" "${header_text}")
write_if_changed("${SOURCE}" "${source_text}")
