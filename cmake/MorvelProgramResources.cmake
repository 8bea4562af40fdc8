# The resources every Windows program of the project carries, written by program.rc.in:
# - the application manifest, generated from app.manifest.in and embedded as resource 1 of
#   type 24 (RT_MANIFEST), the one Windows reads at start-up;
# - the version resource that Explorer's Properties and inventory tools read, in Japanese and
#   English, its version taken from morvel_version.h.
# DESCRIPTION_JA and DESCRIPTION_EN say in a few words what the program is.
function(morvel_program_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "DESCRIPTION_JA;DESCRIPTION_EN" "")
  set(MANIFEST_NAME ${target})
  set(PROGRAM_NAME ${target})
  set(PROGRAM_DESCRIPTION_JA ${ARG_DESCRIPTION_JA})
  set(PROGRAM_DESCRIPTION_EN ${ARG_DESCRIPTION_EN})
  set(MANIFEST_PATH ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_program.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/app.manifest.in ${MANIFEST_PATH} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${script} @ONLY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${MANIFEST_PATH})
  # An object library of its own: the program's C++ compile options are not for windres.
  add_library(${target}_program_resources OBJECT ${script})
  target_link_libraries(${target}_program_resources PRIVATE morvel_version)
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_program_resources>)
  # Where the linker can mark it (binutils' --dependent-load-flag), the loader too takes the
  # program's imports from System32 only (LOAD_LIBRARY_SEARCH_SYSTEM32), as the program's entry
  # makes every later load do.
  include(CheckLinkerFlag)
  check_linker_flag(CXX "-Wl,--dependent-load-flag,0x800" MORVEL_LINKER_DEPENDENT_LOAD_FLAG)
  if(MORVEL_LINKER_DEPENDENT_LOAD_FLAG)
    target_link_options(${target} PRIVATE -Wl,--dependent-load-flag,0x800)
  endif()
endfunction()
