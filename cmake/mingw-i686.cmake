set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WDX_MINGW_PREFIX i686-w64-mingw32)
# The posix thread model gives std::thread and std::mutex; winpthreads links in statically.
set(CMAKE_C_COMPILER ${WDX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WDX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WDX_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${WDX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run through our Wine launcher, which declines (skip code 77) on a host that cannot run
# 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-run.sh 32)
