#ifndef SB_TOOL_DOCUMENTI_TESTO_1252_H_
#define SB_TOOL_DOCUMENTI_TESTO_1252_H_

// Texts on their way into the driver's documents, which are Windows-1252:
// the names of an author's sources (Windows-1252 bytes, as the compiler
// stores them) and the texts of the command line (UTF-8).

#include <optional>
#include <string>
#include <string_view>

// Why the name `byte` (as the sources hold it) cannot stand in a document,
// or none when it can: a control character, a byte to which Windows-1252
// gives no character, or a name that reads as UTF-8 text (the source saved
// in the wrong code page: the compiled files would carry other letters than
// the author typed). The reason is a phrase in ASCII.
std::optional<std::string> nome_non_stampabile(std::string_view byte);

// The characters of Windows-1252 `byte`.
std::u16string da_1252(std::string_view byte);

// The characters of UTF-8 `testo`, or none when it is not well-formed UTF-8
// or holds a character beyond the basic plane.
std::optional<std::u16string> da_utf8(std::string_view testo);

// Whether every character of `testo` has its byte in Windows-1252 and none
// is a control character.
bool stampabile_1252(std::u16string_view testo);

#endif  // SB_TOOL_DOCUMENTI_TESTO_1252_H_
