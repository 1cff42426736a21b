# Warnings are errors in our own targets only; third-party headers come in as system headers.
function(korvath_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()

# Sources of a folder tree, picked up when files are added (re-run by the build on change).
function(korvath_sources out_var)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${ARGN})
  list(SORT found)
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()
