# Common settings for the project's own targets: warnings as errors. The code page 932 table is
# inverted while compiling, in more steps than clang allows by default.
function(morvel_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -fconstexpr-steps=1000000000)
  endif()
endfunction()

# For targets that spell Japanese as plain literals meant as code page 932 bytes (the tests and
# the Windows window, which GCC builds); the engine's texts are converted by the table instead
# (text/code_page_932_literal.h).
function(morvel_cp932_plain_literals target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
endfunction()
