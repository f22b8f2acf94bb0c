# The programs we ship carry no debug sections: after linking, the debug data
# goes into NAME.debug beside the binary, and the binary keeps only a link to
# it (its name and checksum), so a debugger reading a crash still finds it.
# Windows builds only, with the toolchain's own objcopy.
function(orv_split_debug_data target)
  if(NOT WIN32)
    return()
  endif()
  find_program(ORV_OBJCOPY NAMES ${ORV_TRIPLET}-objcopy REQUIRED)
  set(binary $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${ORV_OBJCOPY} --only-keep-debug ${binary} ${binary}.debug
    COMMAND ${ORV_OBJCOPY} --strip-debug --add-gnu-debuglink=${binary}.debug ${binary}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    COMMENT "Moving the debug data of ${target} beside it"
    VERBATIM)
endfunction()
