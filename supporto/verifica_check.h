#ifndef SB_SUPPORTO_VERIFICA_CHECK_H_
#define SB_SUPPORTO_VERIFICA_CHECK_H_

#include <string_view>

// Runs the authoring tool's check on `data` (line source before its first
// zero byte, train source after it) and aborts unless what must hold for
// any input holds: every field, row and diagnostic lies inside its source,
// every diagnostic names a line that exists and a column within it, every
// recorded code has its diagnostic, and both the text and the JSON form
// can be made (the JSON parses back).
void VerificaCheck(std::string_view data);

#endif  // SB_SUPPORTO_VERIFICA_CHECK_H_
