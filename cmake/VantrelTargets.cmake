# Helpers shared by the project's CMake files.

# Warnings as errors for a target built from our own sources.
function(vantrel_warnings target)
  target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS})
endfunction()
