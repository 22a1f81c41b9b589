# Helpers shared by the project's CMake files.

# Warnings as errors for a target built from our own sources.
function(vantrel_warnings target)
  # C and C++ only: a program's resource script goes to windres.
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:${VANTREL_WARNINGS}>")
endfunction()
