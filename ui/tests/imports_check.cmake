# Checks that each program in PROGRAMS (";"-separated) imports SetDefaultDllDirectories, which
# each calls first thing so that libraries come from System32 only. Run with -DOBJDUMP= the
# toolchain's objdump.
foreach(program ${PROGRAMS})
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE imports RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${program}")
  endif()
  if(NOT imports MATCHES "SetDefaultDllDirectories")
    message(FATAL_ERROR "${program} does not import SetDefaultDllDirectories")
  endif()
endforeach()
