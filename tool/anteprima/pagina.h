#ifndef SB_TOOL_ANTEPRIMA_PAGINA_H_
#define SB_TOOL_ANTEPRIMA_PAGINA_H_

// The preview page: one self-contained HTML document, its styles, its
// script and its data inline, that fetches nothing.

#include <string>

#include "tool/anteprima/dati_pagina.h"

// The page showing `dati` (see dati_pagina.h). With `vivo` the page also
// listens for updates at /eventi and fetches /dati from where it was served.
std::string pagina_html(JsonPagina dati, bool vivo);

// `dati` as text that may stand inside a <script> element: no "</" (which
// would end it) and no line separators that older parsers stumble on.
std::string json_in_pagina(const JsonPagina &dati);

#endif  // SB_TOOL_ANTEPRIMA_PAGINA_H_
