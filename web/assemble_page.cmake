# Writes the web page PAGE from TEMPLATE: the marker lines "<!-- style -->", "<!-- modules -->"
# and "<!-- script -->" are replaced by the style sheet STYLE, the module scripts MODULES (a
# comma-separated list) and the page's script SCRIPT, each inside its element.
cmake_minimum_required(VERSION 3.25)

function(read_part path out)
  file(READ ${path} text)
  # What would end the element early, or start a comment inside a script.
  string(TOLOWER "${text}" lower)
  foreach(bad "</script" "</style" "<!--")
    string(FIND "${lower}" "${bad}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${path} holds \"${bad}\", which cannot stand inside its element")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${TEMPLATE} page)
read_part(${STYLE} style)
read_part(${SCRIPT} script)
string(REPLACE "," ";" MODULES "${MODULES}")
set(modules "")
foreach(module ${MODULES})
  read_part(${module} text)
  string(APPEND modules "<script>\n${text}\n</script>\n")
endforeach()

foreach(marker style modules script)
  string(FIND "${page}" "<!-- ${marker} -->" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} lacks the marker <!-- ${marker} -->")
  endif()
endforeach()
string(REPLACE "<!-- style -->" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<!-- script -->" "<script>\n${script}</script>" page "${page}")
string(REPLACE "<!-- modules -->" "${modules}" page "${page}")
file(WRITE ${PAGE} "${page}")
