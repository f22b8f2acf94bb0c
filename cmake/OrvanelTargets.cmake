# How our own targets are declared. Sources are found by globbing so that a new
# file only needs to be dropped into its folder:
#   name_win.cpp   talks to Windows: Windows builds only
#   name_posix.cpp native counterpart of a _win file: native builds only
#   anything else  needs no operating system: every build

function(orv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports false overlaps inside libstdc++'s own string concatenation
    # at -O2 and above (fixed in GCC 13); the warning says nothing about our code.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ORV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Collects the sources of a folder tree that belong to this build.
function(orv_collect_sources out_var)
  set(all)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.c)
    list(APPEND all ${found})
  endforeach()
  if(WIN32)
    list(FILTER all EXCLUDE REGEX "_posix\\.(cpp|c)$")
  else()
    list(FILTER all EXCLUDE REGEX "_win\\.(cpp|c)$")
  endif()
  set(${out_var} ${all} PARENT_SCOPE)
endfunction()

# A static library made of every source below the given folders.
function(orv_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS;EXCLUDE" ${ARGN})
  orv_collect_sources(srcs ${ARG_DIRS})
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "${pattern}")
  endforeach()
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  orv_warnings(${name})
endfunction()
