# wdx_add_test(<name> SOURCES <files...> [LIBS <targets...>] [WINDOWS])
#
# Native builds compile every test and register its cases with CTest. Windows builds compile
# only tests marked WINDOWS (those that exercise the real Win32 side); CTest then runs them
# through the cross-compiling emulator (scripts/lib/wine-run.sh).
include_guard(GLOBAL)

if(WIN32)
  # Debian's googletest package ships the sources; build them with the cross compiler.
  if(NOT TARGET gtest)
    set(WDX_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
    if(NOT EXISTS ${WDX_GTEST_SRC}/CMakeLists.txt)
      message(FATAL_ERROR "GoogleTest sources not found at ${WDX_GTEST_SRC}: apt-get install googletest")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${WDX_GTEST_SRC} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
  endif()
  set(WDX_GTEST_MAIN gtest_main)
  set(WDX_GMOCK gmock)
else()
  find_package(GTest REQUIRED)
  set(WDX_GTEST_MAIN GTest::gtest_main)
  set(WDX_GMOCK GTest::gmock)
  include(GoogleTest)
endif()

function(wdx_add_test name)
  cmake_parse_arguments(T "WINDOWS" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 AND NOT T_WINDOWS)
    # Native-only test: the target exists (so a test's CMakeLists may add properties to it) but
    # is never built or run in the Windows presets.
    add_executable(${name} EXCLUDE_FROM_ALL ${T_SOURCES})
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${WDX_GMOCK} ${WDX_GTEST_MAIN})
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    # 77: the launcher's "cannot run here" (a 32-bit test on a 64-bit-only host): not run,
    # never passed.
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "WINEDEBUG=-all" SKIP_RETURN_CODE 77)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()
