#include "tool/lsp/testo.h"

#include <algorithm>
#include <array>

#include "tool/diagnosi/diagnostica.h"

namespace {

// The byte of each character of the code page above 0x7F, from the one
// table of the code page (the decoder behind utf8_da_1252).
struct Inverso {
  std::array<uint16_t, 256> punto{};  // code point of byte 0x80 + i
  Inverso() {
    for (int b = 0x80; b < 0x100; ++b) {
      const std::string u = utf8_da_1252(std::string(1, static_cast<char>(b)));
      uint32_t cp = 0;
      if (u.size() == 2)
        cp = (uint32_t(u[0] & 0x1F) << 6) | (u[1] & 0x3F);
      else if (u.size() == 3)
        cp = (uint32_t(u[0] & 0x0F) << 12) | (uint32_t(u[1] & 0x3F) << 6) | (u[2] & 0x3F);
      punto[static_cast<size_t>(b)] = static_cast<uint16_t>(cp);
    }
  }
  int byte(uint32_t cp) const {
    if (cp < 0x80) return static_cast<int>(cp);
    for (int b = 0x80; b < 0x100; ++b)
      if (punto[static_cast<size_t>(b)] == cp) return b;
    return -1;
  }
};

const Inverso& inverso() {
  static const Inverso i;
  return i;
}

}  // namespace

std::string in_1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // The length the lead byte announces, and the continuation bytes.
    const size_t n = c >= 0xF5 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    bool valido = n != 0 && i + n <= s.size();
    uint32_t cp = n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (size_t k = 1; valido && k < n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) valido = false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // A character in more bytes than it needs (an overlong NUL would pass
    // for a real one), a surrogate, or a point past U+10FFFF is no UTF-8.
    static constexpr uint32_t kMinimo[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valido && (cp < kMinimo[n] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF))
      valido = false;
    if (!valido) {
      out += '?';
      ++i;
      continue;
    }
    i += n;
    if (cp >= 0x10000) {
      out += "??";  // two UTF-16 units
      continue;
    }
    const int b = inverso().byte(cp);
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

size_t inizio_linea(std::string_view t, size_t o) {
  if (o > t.size()) o = t.size();
  while (o > 0 && t[o - 1] != '\r' && t[o - 1] != '\n') --o;
  return o;
}

size_t fine_linea(std::string_view t, size_t o) {
  while (o < t.size() && t[o] != '\r' && t[o] != '\n') ++o;
  return o;
}

size_t linea_dopo(std::string_view t, size_t o) {
  o = fine_linea(t, o);
  if (o < t.size() && t[o] == '\r' && o + 1 < t.size() && t[o + 1] == '\n') return o + 2;
  return o < t.size() ? o + 1 : o;
}

size_t offset_di(std::string_view t, Posizione p) {
  size_t o = 0;
  for (int64_t r = 0; r < p.riga; ++r) {
    if (fine_linea(t, o) == t.size()) return t.size();
    o = linea_dopo(t, o);
  }
  const size_t fine = fine_linea(t, o);
  const auto c = static_cast<size_t>(p.carattere < 0 ? 0 : p.carattere);
  return c < fine - o ? o + c : fine;
}

Posizione posizione_di(std::string_view t, size_t o) {
  if (o > t.size()) o = t.size();
  Posizione p;
  size_t inizio = 0;
  // An offset between CR and LF belongs to the line the pair ends.
  for (;;) {
    const size_t fine = fine_linea(t, inizio);
    const size_t dopo = linea_dopo(t, inizio);
    if (fine >= o || dopo > o) break;
    ++p.riga;
    inizio = dopo;
  }
  p.carattere = static_cast<int64_t>(std::min(o, fine_linea(t, inizio)) - inizio);
  return p;
}
