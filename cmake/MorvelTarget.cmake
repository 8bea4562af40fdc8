# Common settings for the project's own targets: warnings as errors, UTF-8 sources whose
# Japanese literals reach the binary as code page 932 bytes.
function(morvel_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
endfunction()
