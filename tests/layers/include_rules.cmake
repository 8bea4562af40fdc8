# The layers' include rules, checked on the sources: text/ includes nothing above it; engine/
# nothing but text/ and itself, and none of its headers the public engine/morvel.h, which sits
# on top; the front ends (cli/, ui/, web/) take the engine through engine/morvel.h alone and nothing
# of text/. Run with -DSOURCE_DIR=the project's root.
set(broken "")

# Every include in `folder` (its tests apart) that names a file under `pattern`, but `allowed`.
function(check_includes folder pattern allowed why)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    if(source MATCHES "/tests/")
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"")
    foreach(include ${includes})
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${include}")
      if(included MATCHES "^(${pattern})/" AND NOT included STREQUAL allowed)
        string(APPEND broken "\n  ${source}: ${included} (${why})")
      endif()
    endforeach()
  endforeach()
  set(broken "${broken}" PARENT_SCOPE)
endfunction()

check_includes(text "engine|platform|cli|ui" "" "text/ is the bottom layer")
check_includes(engine "platform|cli|ui" "" "the engine reaches the world through its interfaces")
check_includes(cli "engine|text" "engine/morvel.h" "a front end takes the engine's public header")
check_includes(ui "engine|text" "engine/morvel.h" "a front end takes the engine's public header")
check_includes(web "engine|text" "engine/morvel.h" "a front end takes the engine's public header")

file(GLOB engine_headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/engine/*.h)
foreach(header ${engine_headers})
  file(STRINGS ${SOURCE_DIR}/${header} includes REGEX "^#include \"engine/morvel.h\"")
  if(includes)
    string(APPEND broken "\n  ${header}: engine/morvel.h (it includes the engine's headers)")
  endif()
endforeach()

if(broken)
  message(FATAL_ERROR "Includes that break the layers:${broken}")
endif()
