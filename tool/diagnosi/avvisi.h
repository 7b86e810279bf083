#ifndef SB_TOOL_DIAGNOSI_AVVISI_H_
#define SB_TOOL_DIAGNOSI_AVVISI_H_

#include <vector>

#include "tool/diagnosi/contesto.h"
#include "tool/diagnosi/diagnostica.h"

// Warnings for what the readers accept without a word, in the order of the
// sources (line source first):
//   - a row whose keyword is none of its part's keywords, with "did you
//     mean" for a keyword a few letters away, and fields left over after a
//     row (both are read and ignored);
//   - a number field that is not a number and reads as 0 (except the "AC"
//     of a code-cut row);
//   - a row whose fields run on into the next line, because the field
//     reader crosses line ends;
//   - rows after "[fine]", which are still read;
//   - a section marker met a second time;
//   - a last line without a line end, which is never read as a row.
std::vector<Diagnostica> avvisi(const Contesto& c);

#endif  // SB_TOOL_DIAGNOSI_AVVISI_H_
