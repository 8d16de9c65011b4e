# soten_embed_files(<output.cpp> NAMESPACE <ns> FILES <symbol>=<path> ...)
# Generates a source that defines `std::string_view <ns>::<symbol>()` for each
# file, holding its bytes. The files are read at build time, never at run time.
function(soten_embed_files output)
  cmake_parse_arguments(ARG "" "NAMESPACE" "FILES" ${ARGN})
  set(inputs)
  set(specs)
  foreach(entry IN LISTS ARG_FILES)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 1 path)
    list(APPEND inputs "${path}")
    list(APPEND specs "${entry}")
  endforeach()
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DNAMESPACE=${ARG_NAMESPACE}"
            "-DSPECS=${specs}" -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake"
    DEPENDS ${inputs} "${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake"
    COMMENT "Embedding ${ARG_NAMESPACE} data"
    VERBATIM)
endfunction()
