# Qt's and GoogleTest's headers are large and the same for every source file
# of a target: parsed once per target, they no longer dominate a fresh build.
option(SOTEN_PRECOMPILED_HEADERS "Precompile the Qt and GoogleTest headers of the larger targets" ON)

# soten_precompile_headers(<target> <header>...)
function(soten_precompile_headers target)
  if(SOTEN_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()
