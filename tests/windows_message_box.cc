// Test helper for the Windows end-to-end check, run under Wine next to the
// program: waits for a message box with the given title, prints what it
// shows and closes it with its OK button, as a user would.
//
//   windows_message_box.exe TITLE SECONDS
//
// Prints in UTF-8 "text=", "icon=" and "buttons=" lines for the box, and
// "window=" (client size) and "label=" (text, position and size in the
// client area) lines for the window that owns it; exits 0 once a box was
// closed, 1 when none appeared in time.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Ricerca {
  const wchar_t* titolo;
  HWND trovata = nullptr;
};

std::wstring Testo(HWND w) {
  std::wstring t(static_cast<size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
  t.resize(static_cast<size_t>(::GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
  return t;
}

std::wstring Classe(HWND w) {
  wchar_t c[64];
  return std::wstring(c, static_cast<size_t>(::GetClassNameW(w, c, 64)));
}

BOOL CALLBACK CercaBox(HWND w, LPARAM p) {
  auto* r = reinterpret_cast<Ricerca*>(p);
  if (::IsWindowVisible(w) && Classe(w) == L"#32770" && Testo(w) == r->titolo) {
    r->trovata = w;
    return FALSE;
  }
  return TRUE;
}

struct Contenuto {
  std::wstring testo, pulsanti;
  bool icona = false;
};

BOOL CALLBACK LeggiFiglio(HWND w, LPARAM p) {
  auto* c = reinterpret_cast<Contenuto*>(p);
  const std::wstring classe = Classe(w);
  if (_wcsicmp(classe.c_str(), L"Static") == 0) {
    if ((::GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      c->icona = true;
    else if (!Testo(w).empty())
      c->testo += Testo(w);
  } else if (_wcsicmp(classe.c_str(), L"Button") == 0 && ::IsWindowVisible(w)) {
    if (!c->pulsanti.empty()) c->pulsanti += L",";
    c->pulsanti += Testo(w);
  }
  return TRUE;
}

void Scrivi(const std::wstring& riga) {
  std::wstring r = riga + L"\n";
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, r.data(), static_cast<int>(r.size()), nullptr,
                                      0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, r.data(), static_cast<int>(r.size()), utf8.data(), n, nullptr,
                        nullptr);
  DWORD scritti = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &scritti, nullptr);
}

// The owner's client size and its first child's text and place in it.
void DescriviProprietario(HWND box) {
  HWND form = ::GetWindow(box, GW_OWNER);
  if (form == nullptr) {
    Scrivi(L"window=none");
    return;
  }
  RECT c;
  ::GetClientRect(form, &c);
  Scrivi(L"window=" + std::to_wstring(c.right - c.left) + L"x" + std::to_wstring(c.bottom - c.top));
  HWND label = ::GetWindow(form, GW_CHILD);
  if (label == nullptr) {
    Scrivi(L"label=none");
    return;
  }
  RECT r;
  ::GetWindowRect(label, &r);
  ::MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&r), 2);
  Scrivi(L"label=" + Testo(label) + L" " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) +
         L" " + std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  Ricerca r{argv[1]};
  const ULONGLONG fine = ::GetTickCount64() + 1000ull * std::wcstoul(argv[2], nullptr, 10);
  while (r.trovata == nullptr) {
    if (::GetTickCount64() > fine) return 1;
    ::Sleep(100);
    ::EnumWindows(CercaBox, reinterpret_cast<LPARAM>(&r));
  }
  ::Sleep(200);  // let the box finish laying itself out
  Contenuto c;
  ::EnumChildWindows(r.trovata, LeggiFiglio, reinterpret_cast<LPARAM>(&c));
  Scrivi(L"text=" + c.testo);
  Scrivi(std::wstring(L"icon=") + (c.icona ? L"yes" : L"no"));
  Scrivi(L"buttons=" + c.pulsanti);
  DescriviProprietario(r.trovata);
  ::PostMessageW(r.trovata, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(r.trovata, IDOK)));
  return 0;
}
