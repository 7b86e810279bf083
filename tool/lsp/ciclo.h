#ifndef SB_TOOL_LSP_CICLO_H_
#define SB_TOOL_LSP_CICLO_H_

// The message loop of the language server: framed messages read from `in`
// until `exit` or the end of the input, answers written to `out`.

#include <istream>
#include <ostream>

// Returns the exit status: 0 after `shutdown` then `exit`, 1 otherwise.
int servi_lsp(std::istream& in, std::ostream& out);

#endif  // SB_TOOL_LSP_CICLO_H_
