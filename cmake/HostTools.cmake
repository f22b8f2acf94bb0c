# Generator tools run on the build machine. The native build makes them as
# ordinary targets; a cross build makes them once in a native sub-build.
#   orv_host_tool(<name>) sets ORV_TOOL_<name> to the tool's path, usable as a
#   custom command's COMMAND and DEPENDS.
include(ExternalProject)

# Every tool the cross builds call; each is a target of tools/CMakeLists.txt.
set(ORV_HOST_TOOL_NAMES mkicon mkcursors)
list(APPEND ORV_HOST_TOOL_NAMES mkdrl)
list(APPEND ORV_HOST_TOOL_NAMES mklan)
list(APPEND ORV_HOST_TOOL_NAMES mkskin)
list(APPEND ORV_HOST_TOOL_NAMES mkpictures)
list(APPEND ORV_HOST_TOOL_NAMES mkunidata)
list(APPEND ORV_HOST_TOOL_NAMES mkinfoart)

if(CMAKE_CROSSCOMPILING)
  set(ORV_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/hosttools)
  set(_launcher)
  find_program(ORV_CCACHE ccache)
  if(ORV_CCACHE)
    set(_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${ORV_CCACHE} -DCMAKE_C_COMPILER_LAUNCHER=${ORV_CCACHE})
  endif()
  set(_byproducts)
  foreach(tool IN LISTS ORV_HOST_TOOL_NAMES)
    list(APPEND _byproducts ${ORV_HOST_TOOLS_DIR}/bin/${tool})
  endforeach()
  ExternalProject_Add(orv_hosttools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${ORV_HOST_TOOLS_DIR}
    CMAKE_ARGS -DORV_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
               -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ ${_launcher}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_byproducts}
    USES_TERMINAL_BUILD OFF)
endif()

macro(orv_host_tool name)
  if(CMAKE_CROSSCOMPILING)
    set(ORV_TOOL_${name} ${ORV_HOST_TOOLS_DIR}/bin/${name})
    set(ORV_TOOL_${name}_DEPENDS orv_hosttools ${ORV_TOOL_${name}})
  else()
    set(ORV_TOOL_${name} $<TARGET_FILE:${name}>)
    set(ORV_TOOL_${name}_DEPENDS ${name})
  endif()
endmacro()
