# Warnings are errors only when asked for (CI does): packagers build with their own flags and
# compilers, where a new false positive must not stop the build. Our own targets only; third-party
# headers come in as system headers.
option(KORVATH_WERROR "Treat compiler warnings as errors" OFF)
function(korvath_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
  if(KORVATH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Sources of a folder tree, picked up when files are added (re-run by the build on change).
function(korvath_sources out_var)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${ARGN})
  list(SORT found)
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()
