#ifndef SB_SOURCES_WINDOWS1252_H_
#define SB_SOURCES_WINDOWS1252_H_

#include <string>
#include <string_view>

// The Windows-1252 single-byte code page, the system code page of the
// machines the simulator runs on. Every document and every text field of the
// compiled files is written in it, one byte per character.

// The byte for `c`, or -1 when the code page has no such character.
int Windows1252Byte(char16_t c);

// The character that byte `b` stands for.
char16_t Windows1252Char(unsigned char b);

// Encodes `text` one byte per character into `*out` (replacing its content).
// Returns false, leaving `*out` unspecified, if any character lies outside
// the code page; `*bad` then receives the index of the first such character.
bool EncodeWindows1252(std::u16string_view text, std::string* out, size_t* bad);

// The UTF-8 text of Windows-1252 `bytes`, as a reader of the compiled files
// shows their names and board texts. Every byte has a character, so this
// cannot fail.
std::string DecodeWindows1252ToUtf8(std::string_view bytes);

#endif  // SB_SOURCES_WINDOWS1252_H_
