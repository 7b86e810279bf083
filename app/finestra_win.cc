// The program's window on Windows: a small fixed window with the single
// label "Attendere", shown while the run works and never serviced again
// until the program ends. Message boxes are owned by it, so they are modal
// to it and carry its title.
#ifndef UNICODE
#define UNICODE  // the wide forms of the resource macros (IDC_ARROW)
#endif
#include "platform/windows_h.h"

#include "app/finestra.h"
#include "app/form1.h"
#include "platform/wide_text_win.h"

namespace {

constexpr wchar_t kClasse[] = L"ScenarioBuilderForm1";
// The title bar text, also the title of every message box of the program.
constexpr wchar_t kTitolo[] = L"scenario_builder";

// Sizes in pixels at 15 twips per pixel: a client area of 4200 x 2688 twips,
// the label at 960, 960 twips, 2652 x 792 twips large.
constexpr int kLarghezza = 280, kAltezza = 179;
constexpr int kLabelX = 64, kLabelY = 64, kLabelLarghezza = 177, kLabelAltezza = 53;
constexpr int kPunti = 24;

constexpr DWORD kStile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class FinestraWin : public Finestra {
 public:
  ~FinestraWin() override {
    if (form1_ != nullptr) ::DestroyWindow(form1_);
    if (font_ != nullptr) ::DeleteObject(font_);
  }

  void mostra() override {
    if (form1_ == nullptr && !Crea()) {
      // Without its window the run cannot go on: the failure is reported
      // like any other the program does not handle, and the program ends.
      fallimento("cannot create the window: " + SystemMessage(::GetLastError()));
      ::ExitProcess(kEsitoFallimento);
    }
    ::ShowWindow(form1_, SW_SHOW);
  }

  void ridisegna() override {
    // Paints the window and its label now, without waiting for the message
    // loop the run never returns to.
    if (form1_ != nullptr) ::UpdateWindow(form1_);
  }

  void messaggio(const std::string& testo) override {
    ::MessageBoxW(form1_, WideFromNarrow(testo).c_str(), kTitolo, MB_OK);
  }

  void fallimento(const std::string& testo) override {
    ::MessageBoxW(form1_, WideFromNarrow(testo).c_str(), kTitolo, MB_OK | MB_ICONERROR);
  }

 private:
  // Creates the window and its label; false when the window cannot be made.
  bool Crea() {
    HINSTANCE istanza = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = ::DefWindowProcW;
    classe.hInstance = istanza;
    classe.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    classe.lpszClassName = kClasse;
    ::RegisterClassExW(&classe);

    // The outer size that gives the client area its exact size.
    RECT r{0, 0, kLarghezza, kAltezza};
    ::AdjustWindowRectEx(&r, kStile, FALSE, 0);
    form1_ = ::CreateWindowExW(0, kClasse, kTitolo, kStile, CW_USEDEFAULT, CW_USEDEFAULT,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, istanza,
                               nullptr);
    if (form1_ == nullptr) return false;

    HWND label1 = ::CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                    kLabelX, kLabelY, kLabelLarghezza, kLabelAltezza, form1_,
                                    nullptr, istanza, nullptr);
    if (label1 == nullptr) return false;
    HDC dc = ::GetDC(form1_);
    const int altezza = -::MulDiv(kPunti, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(form1_, dc);
    font_ = ::CreateFontW(altezza, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    if (font_ == nullptr) return false;
    ::SendMessageW(label1, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return true;
  }

  HWND form1_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<Finestra> CreaFinestra() { return std::make_unique<FinestraWin>(); }
