# Writes one page of the help: the page's content inside the common frame
# (head, menu), with the title from the page's first line.
#   cmake -DTEMPLATE=... -DPAGE=... -DOUT=... -DVERSION=... -P MakeHelp.cmake
file(READ ${TEMPLATE} frame)
file(READ ${PAGE} content)
string(REGEX MATCH "<!-- tytul: ([^>]*) -->" found "${content}")
if(NOT found)
  message(FATAL_ERROR "${PAGE}: no title line")
endif()
set(TYTUL "${CMAKE_MATCH_1}")
string(REGEX REPLACE "<!-- tytul: [^>]* -->\n?" "" TRESC "${content}")
set(WERSJA "${VERSION}")
string(CONFIGURE "${frame}" page @ONLY)
file(WRITE ${OUT} "${page}")
