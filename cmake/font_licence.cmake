# Writes OFL.txt, the licence that travels with the shipped face, from the copyright file of the
# Debian package the face comes from: the copyright lines and the licence text of its stanza for
# the fonts themselves ("Files: *"), as the licence asks every copy to carry them.
#   cmake -DCOPYRIGHT_FILE=<debian copyright> -DFACE_NAME=<file name> -DLICENCE_FILE=<OFL.txt>
#         -P font_licence.cmake
file(READ "${COPYRIGHT_FILE}" copyright_text)
string(FIND "${copyright_text}" "\nFiles: *\n" stanza_start)
if(stanza_start EQUAL -1)
  message(FATAL_ERROR "${COPYRIGHT_FILE} has no \"Files: *\" stanza to take the licence from")
endif()
string(SUBSTRING "${copyright_text}" ${stanza_start} -1 stanza)
string(FIND "${stanza}" "\n\n" stanza_end)
if(NOT stanza_end EQUAL -1)
  string(SUBSTRING "${stanza}" 0 ${stanza_end} stanza)
endif()
string(APPEND stanza "\n")

# A field's value: its first line and the lines indented below it, as plain text (DEP-5: one
# leading space goes, a lone "." is an empty line).
function(field_text name out)
  if(NOT stanza MATCHES "\n${name}:([^\n]*\n( [^\n]*\n)*)")
    message(FATAL_ERROR "${COPYRIGHT_FILE}: the \"Files: *\" stanza has no ${name} field")
  endif()
  set(value "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "\n \\.\n" "\n\n" value "${value}")
  string(REGEX REPLACE "\n \\.\n" "\n\n" value "${value}") # a second pass for "." after "."
  string(REGEX REPLACE "\n " "\n" value "${value}")
  string(STRIP "${value}" value)
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

field_text(Copyright copyright)
field_text(License licence)
# The licence's short name stands on the field's first line, its text below.
string(FIND "${licence}" "\n" name_end)
math(EXPR text_start "${name_end} + 1")
string(SUBSTRING "${licence}" ${text_start} -1 licence_text)
if(NOT licence_text MATCHES "SIL OPEN FONT LICENSE Version 1\\.1")
  message(FATAL_ERROR "${COPYRIGHT_FILE}: the fonts' licence is not the SIL Open Font License 1.1")
endif()
file(WRITE "${LICENCE_FILE}"
  "${FACE_NAME}, from Debian's fonts-liberation2 package.\n\n${copyright}\n\n${licence_text}\n")
