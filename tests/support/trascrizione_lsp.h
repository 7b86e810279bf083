#ifndef SB_TESTS_SUPPORT_TRASCRIZIONE_LSP_H_
#define SB_TESTS_SUPPORT_TRASCRIZIONE_LSP_H_

// A session of the language server written down once and replayed against
// the server in this process or against a built program (under Wine too).
// The transcript is one JSON object a line:
//   {"send": MESSAGE}        a message to the server, framed as sent
//   {"send_raw": "TEXT"}     a body sent as it stands (for malformed ones)
//   {"expect": MESSAGE}      the next message of the server that matches
//                            (later ones may come between two expected)
//   {"exit_status": N}       the status the server ends with
// "@LINEA@" and "@TRENO@" in a sent text stand for the built-in sources.
// An expected object matches when each of its members matches (others may
// be present), an array when it has as many elements each matching, a
// text starting with "~" when the text contains the rest, anything else
// when equal; {"$all": X}, {"$some": X} and {"$none": X} match an array
// whose elements all, some or none match X.

#include <functional>
#include <string>

// The framed bytes of the client's side of `trascrizione`, with the sources
// (UTF-8) in place of their names.
std::string ingresso_trascrizione(const std::string& trascrizione, const std::string& linea,
                                  const std::string& treno);
// Whether `uscita` (the server's framed output) and `stato` (its exit
// status) meet the expectations of `trascrizione`; `*errore` says where not.
bool verifica_trascrizione(const std::string& trascrizione, const std::string& uscita, int stato,
                           std::string* errore);

#endif  // SB_TESTS_SUPPORT_TRASCRIZIONE_LSP_H_
