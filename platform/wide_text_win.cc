#include "platform/wide_text_win.h"

#include "platform/windows_h.h"

#include <cstdint>

namespace {

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(char32_t c, std::wstring* out) {
  if (c < 0x10000) {
    out->push_back(static_cast<wchar_t>(c));
  } else {
    c -= 0x10000;
    out->push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    out->push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
  }
}

// Decodes UTF-8, surrogate code points included (they come from
// NarrowFromWide). False on any ill-formed sequence: a stray continuation
// byte, a truncated or overlong sequence, a value above U+10FFFF.
bool DecodeUtf8(std::string_view text, std::wstring* out) {
  out->clear();
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    int extra;
    char32_t c;
    if (b < 0x80) {
      extra = 0;
      c = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      c = b & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= static_cast<size_t>(extra) && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((cont & 0xC0) != 0x80) return false;
      c = (c << 6) | (cont & 0x3F);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) return false;
    AppendUtf16(c, out);
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

}  // namespace

std::string NarrowFromWide(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    const char32_t u = static_cast<char16_t>(wide[i]);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < wide.size()) {
      const char32_t low = static_cast<char16_t>(wide[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), &out);
        ++i;
        continue;
      }
    }
    AppendUtf8(u, &out);
  }
  return out;
}

std::wstring WideFromNarrow(std::string_view text) {
  std::wstring out;
  if (DecodeUtf8(text, &out)) return out;
  out.clear();
  if (text.empty() || text.size() > static_cast<size_t>(INT32_MAX)) return out;
  const int n = static_cast<int>(text.size());
  const int len = ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
  if (len <= 0) return out;
  out.resize(static_cast<size_t>(len));
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, out.data(), len);
  return out;
}

std::string SystemMessage(unsigned long err) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (n > 0 && buffer != nullptr) text.assign(buffer, n);
  if (buffer != nullptr) ::LocalFree(buffer);
  // The system's sentences end in a line end, sometimes after a blank.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "system error " + std::to_string(err);
  return NarrowFromWide(text);
}
