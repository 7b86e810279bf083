# Turns the page's source files into one C++ header, each file an array of
# string literals that the program joins at run time: the page then needs
# nothing beside the program. Literals are kept short, since compilers limit
# the length of one literal (the pieces of a raw literal are never joined by
# the compiler here, only by the program).
#
#   cmake -DINGRESSI="a.html;b.js" -DUSCITA=out.h -P incorpora.cmake
#
# A file named pagina.js becomes kPaginaJs.
set(pezzo 3000)
set(testo "// Generated at build time from the page's source files; do not edit.\n")
string(APPEND testo "#ifndef SB_TOOL_ANTEPRIMA_PAGINA_INCORPORATA_H_\n")
string(APPEND testo "#define SB_TOOL_ANTEPRIMA_PAGINA_INCORPORATA_H_\n\n#include <string_view>\n\n")
foreach(f IN LISTS INGRESSI)
  get_filename_component(nome "${f}" NAME)
  string(REPLACE "." ";" parti "${nome}")
  set(simbolo "k")
  foreach(p IN LISTS parti)
    string(SUBSTRING "${p}" 0 1 prima)
    string(TOUPPER "${prima}" prima)
    string(SUBSTRING "${p}" 1 -1 resto)
    string(APPEND simbolo "${prima}${resto}")
  endforeach()
  file(READ "${f}" contenuto)
  string(FIND "${contenuto}" ")sbx\"" trovato)
  if(NOT trovato EQUAL -1)
    message(FATAL_ERROR "${f} holds the literal's closing mark )sbx\"")
  endif()
  string(LENGTH "${contenuto}" lunghezza)
  string(APPEND testo "inline constexpr std::string_view ${simbolo}[] = {\n")
  set(i 0)
  while(i LESS lunghezza)
    string(SUBSTRING "${contenuto}" ${i} ${pezzo} parte)
    string(APPEND testo "R\"sbx(${parte})sbx\",\n")
    math(EXPR i "${i} + ${pezzo}")
  endwhile()
  string(APPEND testo "};\n\n")
endforeach()
string(APPEND testo "#endif  // SB_TOOL_ANTEPRIMA_PAGINA_INCORPORATA_H_\n")
file(WRITE "${USCITA}.nuovo" "${testo}")
file(COPY_FILE "${USCITA}.nuovo" "${USCITA}" ONLY_IF_DIFFERENT)
file(REMOVE "${USCITA}.nuovo")
