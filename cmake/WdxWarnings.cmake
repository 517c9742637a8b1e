# Project-wide compile options. Native Debug builds treat warnings as errors so that a
# warning never lands; the cross builds keep them visible but do not fail on them.
option(WDX_WERROR "Treat warnings as errors" OFF)
option(WDX_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
option(WDX_BUILD_TESTS "Build the tests" ON)
option(WDX_FUZZ "Build the libFuzzer targets of tests/fuzz (clang only)" OFF)

add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)
if(WDX_WERROR)
  add_compile_options(-Werror)
endif()
if(WDX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(WDX_FUZZ)
  # Every library gets libFuzzer's coverage instrumentation; only the targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(WIN32)
  # Static runtime: the programs must start on a bare Wine prefix without extra DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Sections aligned to pages in the file too: Wine then maps an image instead of reading it
  # into private memory, and only the pages a program touches are resident.
  add_link_options(-Wl,--file-alignment,4096)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # Doubles stay doubles: the x87 unit keeps intermediates in 80 bits, so one calculation
    # could round differently in two places (the clock's reading of a moment and the stored
    # date of the same moment). Every processor 32-bit Windows runs on today has SSE2.
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
