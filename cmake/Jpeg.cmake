# libjpeg-turbo: Debian's package natively, our own static cross builds
# (made by tools/setup.sh in .cache/) for Windows.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_jpeg_prefix ${CMAKE_SOURCE_DIR}/.cache/jpeg-win64)
  else()
    set(_jpeg_prefix ${CMAKE_SOURCE_DIR}/.cache/jpeg-win32)
  endif()
  if(DEFINED ENV{ORV_CACHE_DIR})
    string(REPLACE "${CMAKE_SOURCE_DIR}/.cache" "$ENV{ORV_CACHE_DIR}" _jpeg_prefix "${_jpeg_prefix}")
  endif()
  if(NOT EXISTS ${_jpeg_prefix}/lib/libjpeg.a)
    message(FATAL_ERROR "libjpeg-turbo for Windows is missing at ${_jpeg_prefix}: run tools/setup.sh")
  endif()
  add_library(orv_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(orv_jpeg PROPERTIES
    IMPORTED_LOCATION ${_jpeg_prefix}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${_jpeg_prefix}/include)
else()
  find_package(JPEG REQUIRED)
  add_library(orv_jpeg INTERFACE)
  target_link_libraries(orv_jpeg INTERFACE JPEG::JPEG)
endif()
