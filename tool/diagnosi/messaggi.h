#ifndef SB_TOOL_DIAGNOSI_MESSAGGI_H_
#define SB_TOOL_DIAGNOSI_MESSAGGI_H_

#include <vector>

#include "tool/diagnosi/contesto.h"
#include "tool/diagnosi/diagnostica.h"

// One error diagnostic for every code the compile recorded, in the order it
// recorded them, and one for a failed header check (1250, 1251): a plain
// sentence in the author's terms, pointing at the row responsible and the
// field at fault, or saying that the row cannot be known.
std::vector<Diagnostica> diagnostiche_codici(const Contesto& c);

#endif  // SB_TOOL_DIAGNOSI_MESSAGGI_H_
