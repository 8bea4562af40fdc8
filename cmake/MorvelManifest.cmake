# The application manifest of a Windows program: generated from app.manifest.in for the target
# and embedded as its resource 1 of type 24 (RT_MANIFEST), the one Windows reads at start-up.
function(morvel_embed_manifest target)
  set(MANIFEST_NAME ${target})
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/app.manifest.in ${manifest} @ONLY)
  file(WRITE ${script}.new "1 24 \"${manifest}\"\n")
  configure_file(${script}.new ${script} COPYONLY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${manifest})
  # An object library of its own: the program's C++ compile options are not for windres.
  add_library(${target}_manifest OBJECT ${script})
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_manifest>)
endfunction()
