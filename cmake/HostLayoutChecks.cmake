# Turns the host interface's layout table (what, item, Win64 value, Linux x86-64 value) into
# a header of static_asserts, one per row and platform, so that a declaration that drifts
# from the host's layout fails the build that compiles it.
#   cmake -DTABLE=<table.tsv> -DOUTPUT=<header> -P HostLayoutChecks.cmake
cmake_minimum_required(VERSION 3.25)

file(STRINGS "${TABLE}" rows ENCODING UTF-8)
list(POP_FRONT rows)  # column names

# check_for(kind item value out): the C++ condition that holds when item has value.
function(check_for kind item value out)
  string(FIND "${item}" "." dot)
  if(dot GREATER -1)
    string(SUBSTRING "${item}" 0 ${dot} record)
    math(EXPR dot "${dot} + 1")
    string(SUBSTRING "${item}" ${dot} -1 field)
  endif()
  if(kind STREQUAL "sizeof" AND item MATCHES "Suite[0-9]+$")
    # A suite table may stop after the last slot this project uses.
    set(cond "sizeof(${item}) <= ${value}")
  elseif(kind STREQUAL "sizeof" OR kind STREQUAL "sizeof typedef")
    set(cond "sizeof(${item}) == ${value}")
  elseif(kind STREQUAL "alignof" OR kind STREQUAL "alignof typedef")
    set(cond "alignof(${item}) == ${value}")
  elseif(kind STREQUAL "offsetof")
    set(cond "offsetof(${record}, ${field}) == ${value}")
  elseif(kind STREQUAL "sizeof field")
    set(cond "sizeof(${record}::${field}) == ${value}")
  elseif(kind MATCHES "^(enum value|#define value|PF_VERSION value)$")
    set(cond "static_cast<long long>(${item}) == ${value}LL")
  elseif(kind STREQUAL "string")
    set(cond "std::string_view(${item}) == \"${value}\"")
  elseif(kind STREQUAL "macro text")
    set(cond "std::string_view(SOLVANE_LAYOUT_TEXT(${item})) == \"${value}\"")
  elseif(kind STREQUAL "field/slot type")
    set(cond "std::is_same_v<decltype(${record}::${field}), ${value}>")
  elseif(kind STREQUAL "typedef type")
    set(cond "std::is_same_v<${item}, ${value}>")
  else()
    message(FATAL_ERROR "${TABLE}: unknown kind of row '${kind}'")
  endif()
  set(${out} "${cond}" PARENT_SCOPE)
endfunction()

foreach(column 2 3)
  set(block_${column} "")
endforeach()
foreach(row IN LISTS rows)
  string(REPLACE "\t" ";" cells "${row}")
  list(LENGTH cells n)
  if(n LESS 3)
    message(FATAL_ERROR "${TABLE}: short row '${row}'")
  endif()
  list(GET cells 0 kind)
  list(GET cells 1 item)
  foreach(column 2 3)
    if(column LESS n)
      list(GET cells ${column} value)
    else()
      set(value "")  # an empty last cell
    endif()
    # Unnamed members have no type to name; their size and offset are still checked.
    if(value MATCHES "unnamed type")
      continue()
    endif()
    check_for("${kind}" "${item}" "${value}" cond)
    string(REPLACE "\"" "\\\"" shown "${value}")
    string(APPEND block_${column}
           "static_assert(${cond},\n              \"${kind} ${item}: not the host's ${shown}\");\n")
  endforeach()
endforeach()

file(WRITE "${OUTPUT}.tmp" "// Generated from ${TABLE} by HostLayoutChecks.cmake. Do not edit.
#pragma once

#define SOLVANE_LAYOUT_TEXT_(x) #x
#define SOLVANE_LAYOUT_TEXT(x) SOLVANE_LAYOUT_TEXT_(x)

#if defined(_WIN64)
${block_2}
#elif defined(__x86_64__) && !defined(_WIN32)
${block_3}
#else
#error \"the host interface's layout is known for Win64 and Linux x86-64 only\"
#endif
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
