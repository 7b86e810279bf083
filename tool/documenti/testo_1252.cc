#include "tool/documenti/testo_1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "sources/windows1252.h"

namespace {

bool controllo(char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

std::string esadecimale(uint32_t v, int cifre) {
  char s[12];
  std::snprintf(s, sizeof s, "%0*X", cifre, v);
  return s;
}

}  // namespace

std::u16string da_1252(std::string_view byte) {
  std::u16string s;
  s.reserve(byte.size());
  for (char b : byte) s.push_back(Windows1252Char(static_cast<unsigned char>(b)));
  return s;
}

namespace {

// The characters of UTF-8 `t`, or none when it is not well-formed.
std::optional<std::u32string> decodifica_utf8(std::string_view t) {
  std::u32string s;
  for (size_t i = 0; i < t.size();) {
    const auto b = static_cast<unsigned char>(t[i]);
    size_t n = 0;
    char32_t c = b;
    if (b >= 0xC2 && b < 0xE0) {
      n = 1, c = b & 0x1F;
    } else if (b >= 0xE0 && b < 0xF0) {
      n = 2, c = b & 0x0F;
    } else if (b >= 0xF0 && b < 0xF5) {
      n = 3, c = b & 0x07;
    } else if (b >= 0x80) {
      return std::nullopt;
    }
    if (i + n >= t.size()) return std::nullopt;
    for (size_t k = 1; k <= n; ++k) {
      const auto seguito = static_cast<unsigned char>(t[i + k]);
      if ((seguito & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (seguito & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond the last character.
    if ((n == 2 && c < 0x800) || (n == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c < 0xE000))
      return std::nullopt;
    s.push_back(c);
    i += n + 1;
  }
  return s;
}

}  // namespace

std::optional<std::u16string> da_utf8(std::string_view t) {
  const std::optional<std::u32string> u = decodifica_utf8(t);
  if (!u) return std::nullopt;
  std::u16string s;
  for (char32_t c : *u) {
    if (c > 0xFFFF) return std::nullopt;
    s.push_back(static_cast<char16_t>(c));
  }
  return s;
}

bool stampabile_1252(std::u16string_view testo) {
  for (char16_t c : testo)
    if (controllo(c) || Windows1252Byte(c) < 0) return false;
  return true;
}

std::optional<std::string> nome_non_stampabile(std::string_view byte) {
  // A name whose upper-half bytes all pair up as UTF-8 was typed in an
  // editor that saved it so; no real name in Windows-1252 reads that way.
  const bool alti = std::any_of(byte.begin(), byte.end(),
                                [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
  if (const std::optional<std::u32string> utf8 = alti ? decodifica_utf8(byte) : std::nullopt) {
    for (char32_t c : *utf8)
      if (c > 0xFFFF || Windows1252Byte(static_cast<char16_t>(c)) < 0)
        return "U+" + esadecimale(static_cast<uint32_t>(c), 4) +
               ", a letter outside Windows-1252 (the source is saved as UTF-8)";
    return std::string(
        "letters saved as UTF-8, which the documents and the compiled files would show as "
        "other letters; save the source in Windows-1252");
  }
  for (char b : byte) {
    const auto u = static_cast<unsigned char>(b);
    if (!controllo(Windows1252Char(u))) continue;
    if (u >= 0x80)
      return "byte " + esadecimale(u, 2) + ", which Windows-1252 leaves without a letter";
    return "control character " + esadecimale(u, 2);
  }
  return std::nullopt;
}
