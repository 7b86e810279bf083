# Writes a program's manual page (section 1, gzip-compressed) from its help
# text, so that the page says exactly what --help says.
#
#   cmake -DPROGRAMMA=scenario_tool -DESEGUIBILE=path/to/scenario_tool \
#         -DVERSIONE=1.0.0 -DUSCITA=scenario_tool.1 -P cmake/pagina_man.cmake
#   cmake -DPROGRAMMA=scenario_builder -DTESTO=app/aiuto.txt ...
#
# With ESEGUIBILE the text is `ESEGUIBILE --help`, followed by the --help of
# every subcommand it lists; with TESTO it is that file (a program that
# takes no arguments has no --help to ask). The first line of the text is
# the page's one-line description; the rest is set as it stands.
cmake_minimum_required(VERSION 3.25)

function(aiuto_di argomenti risultato)
  execute_process(COMMAND ${ESEGUIBILE} ${argomenti} --help
    OUTPUT_VARIABLE testo RESULT_VARIABLE esito)
  if(NOT esito EQUAL 0)
    message(FATAL_ERROR "${ESEGUIBILE} ${argomenti} --help failed (${esito})")
  endif()
  # The usage line names the program by the path it was started with.
  string(REPLACE "${ESEGUIBILE}" "${PROGRAMMA}" testo "${testo}")
  set(${risultato} "${testo}" PARENT_SCOPE)
endfunction()

# roff reads a backslash as an escape and a leading dot or quote as a request.
# (A REGEX REPLACE anchored with ^ would match again after each replacement,
# so lines are found by the newline before them.)
function(roff testo risultato)
  string(REPLACE "\\" "\\e" testo "${testo}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" testo "\n${testo}")
  string(SUBSTRING "${testo}" 1 -1 testo)
  set(${risultato} "${testo}" PARENT_SCOPE)
endfunction()

if(DEFINED ESEGUIBILE)
  aiuto_di("" testo)
  # The subcommands: the indented words of the block after "Subcommands:".
  string(REGEX MATCH "\nSubcommands:\n(.*)" blocco "${testo}")
  string(REGEX MATCHALL "\n  [a-z][a-z_-]*" nomi "\n${CMAKE_MATCH_1}")
  set(comandi "")
  foreach(nome IN LISTS nomi)
    string(STRIP "${nome}" nome)
    aiuto_di("${nome}" sotto)
    roff("${sotto}" sotto)
    string(APPEND comandi ".SS ${nome}\n.nf\n${sotto}.fi\n")
  endforeach()
else()
  file(READ ${TESTO} testo)
  set(comandi "")
endif()

string(FIND "${testo}" "\n" a_capo)
string(SUBSTRING "${testo}" 0 ${a_capo} prima)
math(EXPR a_capo "${a_capo} + 1")
string(SUBSTRING "${testo}" ${a_capo} -1 resto)
string(REPLACE "${PROGRAMMA}: " "" descrizione "${prima}")
roff("${descrizione}" descrizione)
roff("${resto}" resto)
string(TOUPPER "${PROGRAMMA}" titolo)
set(pagina ".TH ${titolo} 1 \"\" \"${PROGRAMMA} ${VERSIONE}\" \"User Commands\"
.SH NAME
${PROGRAMMA} \\- ${descrizione}
.SH DESCRIPTION
.nf
${resto}.fi
")
if(comandi)
  string(APPEND pagina ".SH COMMANDS\n${comandi}")
endif()
file(WRITE ${USCITA} "${pagina}")
# Compressed as Debian installs manual pages; -n leaves the name and time
# out, so the same page gives the same bytes.
execute_process(COMMAND gzip -9nf ${USCITA} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "gzip ${USCITA} failed")
endif()
