#ifndef SB_TOOL_DIAGNOSI_RIASSUNTO_H_
#define SB_TOOL_DIAGNOSI_RIASSUNTO_H_

#include <string>

#include "tool/diagnosi/analisi.h"

// One line that says what a check or compile found, for the author to see
// at a glance that the sources say what they meant:
// "Valfonda: 42.0 km, 6 stations (4 stops), 12 signals, 2 slow-downs,
// 5 text boards, 6 tunnels; 0 errors, 0 warnings".
std::string riassunto(const Analisi& a, const std::string& nome);

#endif  // SB_TOOL_DIAGNOSI_RIASSUNTO_H_
