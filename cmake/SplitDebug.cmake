# quorrel_split_debug(TARGET...): after each link, the target's symbols move into <file>.debug
# beside it and the file itself is stripped; a debug link (name and checksum of the .debug file)
# lets Wine's backtraces find them. What ships is the stripped file.
function(quorrel_split_debug)
  foreach(target IN LISTS ARGN)
    set(file $<TARGET_FILE:${target}>)
    # Not --strip-all: Wine reads a debug link only from a file that keeps a symbol table.
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
      COMMAND ${CMAKE_STRIP} --strip-unneeded ${file}
      COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${file}.debug ${file}
      VERBATIM)
  endforeach()
endfunction()
