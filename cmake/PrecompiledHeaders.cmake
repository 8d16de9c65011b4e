# Qt's and GoogleTest's headers are large and the same for every source file
# of a target: parsed once per target, they no longer dominate a fresh build.
# Name the few headers most of a target's files include, not a module's
# umbrella header: GCC's precompiled QtWidgets is some 350 MB, and loading it
# costs a file about as much as parsing the headers it needs.
option(SOTEN_PRECOMPILED_HEADERS "Precompile the Qt and GoogleTest headers of the larger targets" ON)

# soten_precompile_headers(<target> <header>...)
function(soten_precompile_headers target)
  if(SOTEN_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# ccache caches the files that use a precompiled header only when told that
# the header's macros and time stamps may be trusted.
if(SOTEN_PRECOMPILED_HEADERS AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$")
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
    CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
