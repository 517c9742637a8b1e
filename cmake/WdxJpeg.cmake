# libjpeg for the picture codec, as the imported target WdxJpeg::jpeg.
# Natively: the system's libjpeg (Debian's libjpeg-dev). For the Windows builds: libjpeg-turbo
# built from Debian's source package with this build's mingw toolchain by
# scripts/lib/libjpeg-cross.sh and kept in this build tree (_deps/libjpeg-turbo/install); a
# tree that has none yet gets it built here, so a plain `cmake --preset win64` works too.
include_guard(GLOBAL)

if(WIN32)
  set(WDX_JPEG_PREFIX "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo/install"
      CACHE PATH "Where the cross-built libjpeg-turbo (include/, lib/libjpeg.a) lies")
  if(NOT EXISTS "${WDX_JPEG_PREFIX}/lib/libjpeg.a" OR NOT EXISTS "${WDX_JPEG_PREFIX}/include/jpeglib.h")
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "86_64|AMD64|amd64")
      set(_wdx_jpeg_arch x86_64)
    else()
      set(_wdx_jpeg_arch i686)
    endif()
    message(STATUS "libjpeg for ${_wdx_jpeg_arch} is not built in this tree yet: building it from Debian's source package")
    execute_process(
      COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/lib/libjpeg-cross.sh" ${_wdx_jpeg_arch} "${CMAKE_BINARY_DIR}"
      RESULT_VARIABLE _wdx_jpeg_rc)
    if(NOT _wdx_jpeg_rc EQUAL 0 OR NOT EXISTS "${WDX_JPEG_PREFIX}/lib/libjpeg.a")
      message(FATAL_ERROR "libjpeg for ${_wdx_jpeg_arch} could not be built: run "
                          "scripts/lib/libjpeg-cross.sh ${_wdx_jpeg_arch} ${CMAKE_BINARY_DIR} and read its log")
    endif()
  endif()
  add_library(WdxJpeg::jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(WdxJpeg::jpeg PROPERTIES
    IMPORTED_LOCATION "${WDX_JPEG_PREFIX}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${WDX_JPEG_PREFIX}/include")
else()
  find_package(JPEG REQUIRED)
  add_library(WdxJpeg::jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(WdxJpeg::jpeg INTERFACE JPEG::JPEG)
endif()
