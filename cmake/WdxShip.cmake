# wdx_ship_stripped(target): the shipped Windows programs and libraries carry no debug
# sections. Wine reads an image's sections into memory when its file alignment is below a page
# (as mingw links them), so the debug information (about 20 MB for the player) would stay
# resident in every process. It is kept beside the file as <file>.debug, linked by name, for
# debuggers and crash reports.
function(wdx_ship_stripped target)
  if(WIN32 AND CMAKE_OBJCOPY)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
endfunction()
