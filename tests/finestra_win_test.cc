// The Windows window as the user sees it: size, label, font, title.
#ifdef _WIN32

#include <gtest/gtest.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "app/finestra.h"

namespace {

TEST(FinestraWinTest, WindowHasItsLabelInTheRightFontAndPlace) {
  // Under Wine without an X display no window can be made at all, and the
  // window would report that and end the process.
  HWND prova = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
  if (prova == nullptr) GTEST_SKIP() << "no display to create windows on";
  ::DestroyWindow(prova);

  std::unique_ptr<Finestra> finestra = CreaFinestra();
  finestra->mostra();
  finestra->ridisegna();
  HWND form = ::FindWindowW(L"ScenarioBuilderForm1", nullptr);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(::IsWindowVisible(form));
  RECT c;
  ::GetClientRect(form, &c);
  EXPECT_EQ(c.right - c.left, 280);
  EXPECT_EQ(c.bottom - c.top, 179);
  HWND label = ::GetWindow(form, GW_CHILD);
  ASSERT_NE(label, nullptr);
  wchar_t testo[32];
  ::GetWindowTextW(label, testo, 32);
  EXPECT_STREQ(testo, L"Attendere");
  LOGFONTW f{};
  auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  ASSERT_GT(::GetObjectW(font, sizeof f, &f), 0);
  EXPECT_STREQ(f.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(f.lfWeight, 700);
  EXPECT_EQ(f.lfCharSet, 0);
  EXPECT_FALSE(f.lfItalic || f.lfUnderline || f.lfStrikeOut);
  HDC dc = ::GetDC(form);
  EXPECT_EQ(f.lfHeight, -::MulDiv(24, ::GetDeviceCaps(dc, LOGPIXELSY), 72));
  ::ReleaseDC(form, dc);
}

}  // namespace

#endif  // _WIN32
