#ifndef SB_PLATFORM_WIDE_TEXT_WIN_H_
#define SB_PLATFORM_WIDE_TEXT_WIN_H_

#include <string>
#include <string_view>

// On Windows the program's own texts (paths, messages) are UTF-8 in a
// std::string, while the system speaks UTF-16. A path from the system may
// hold a lone surrogate, which UTF-8 cannot express; such a code unit is
// carried as its three-byte form so that every path the system hands out
// converts back to exactly the same path.

// UTF-16 to UTF-8 (lone surrogates as three-byte sequences).
std::string NarrowFromWide(std::wstring_view wide);

// UTF-8 to UTF-16. Text that is not well-formed UTF-8 is taken to be in the
// machine's ANSI code page instead, as a path typed by hand may be.
std::wstring WideFromNarrow(std::string_view text);

// The system's own sentence for error code `err`, in UTF-8, without its
// trailing line end ("Access is denied."); "system error N" when the system
// has none.
std::string SystemMessage(unsigned long err);

#endif  // SB_PLATFORM_WIDE_TEXT_WIN_H_
