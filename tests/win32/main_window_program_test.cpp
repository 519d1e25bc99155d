// The main window's own windows and controls on Parlavent.exe, as a user meets them: the windows
// it opens come up over it while it is kept above other windows (About with the keys, the copy
// indicator too), the back-translation pane opens and closes with its arrows, and a click on a
// separator of its menu does nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "companions/win32/companion_forms.h"
#include "program_driver.h"

namespace parlavent {
namespace {

using testing::ClickScreen;
using testing::ControlText;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::WaitForMainWindow;
using testing::WaitForWindow;
using testing::WaitUntil;

enum : int { kInput = 201, kBackTrans = 203, kArrowClose = 207, kArrowOpen = 208 };

// Whether a lies above b in the order of the top-level windows.
bool Above(HWND a, HWND b) {
  for (HWND w = GetWindow(b, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == a) return true;
  }
  return false;
}

// Whether a stays above b for a second, while the main window's timer raises it five times (a
// look that finds it below is made again, past the instant of a raise).
bool StaysAbove(HWND a, HWND b) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 1000) {
    if (!Above(a, b)) {
      Sleep(30);
      if (!Above(a, b)) return false;
    }
    Sleep(50);
  }
  return true;
}

void Menu(HWND main, MenuItem item) {
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(item), 0);
}

// The open popup menu of the process, or nullptr.
HWND OpenMenu(DWORD processId) { return testing::WindowOf(processId, L"#32768", true); }

// The screen rows inside a window's frame on which its column x shows the colour.
std::vector<int> RowsOfColour(HWND w, int x, COLORREF colour) {
  RECT r{};
  GetWindowRect(w, &r);
  const int height = r.bottom - r.top, frame = 4;
  std::vector<int> rows;
  HDC screen = GetDC(nullptr);
  for (int y = frame; y < height - frame; ++y) {
    if (GetPixel(screen, r.left + x, r.top + y) == colour) rows.push_back(r.top + y);
  }
  ReleaseDC(nullptr, screen);
  return rows;
}

class MainWindowInProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, testing::kProgramKey);
    ASSERT_TRUE(program_.Started());
    main_ = WaitForMainWindow(program_.Id(), true, kStartTimeoutMs);
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    if (HWND menu = OpenMenu(program_.Id())) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (main_) Menu(main_, MenuItem::Exit);
    program_.ExitCodeWithin(testing::kReactTimeoutMs);
  }

  Program program_;
  HWND main_ = nullptr;
};

TEST_F(MainWindowInProgram, ItsWindowsComeUpAboveItWhileItIsKeptAboveOthers) {
  ASSERT_TRUE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) << "kept above other windows by default";
  const struct {
    MenuItem item;
    const wchar_t* className;
  } opened[] = {{MenuItem::Stat, frmStat::kClassName}, {MenuItem::About, L"ParlaventAbout"},
                {MenuItem::Keyb, frmKeyb::kClassName}};
  for (const auto& o : opened) {
    Menu(main_, o.item);
    HWND w = WaitForWindow(program_.Id(), o.className);
    ASSERT_NE(w, nullptr) << static_cast<int>(o.item);
    EXPECT_TRUE(WaitUntil([&] { return Above(w, main_); })) << "opened above the main window";
    EXPECT_TRUE(StaysAbove(w, main_)) << "and stays there while the main window rises";
  }

  // A key of the free keyboard types into the input box, and the keyboard stays in front.
  HWND keyb = WaitForWindow(program_.Id(), frmKeyb::kClassName);
  ASSERT_NE(keyb, nullptr);
  HWND input = GetDlgItem(main_, kInput);
  SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  const RECT q = frmKeyb::KeyRect(1, 0);  // the first letter key of the second row: q
  POINT key{(q.left + q.right) / 2, (q.top + q.bottom) / 2};
  ClientToScreen(keyb, &key);
  ClickScreen(key);
  EXPECT_TRUE(WaitUntil([&] { return ControlText(input) == L"q"; })) << ControlText(input).size();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(keyb) && Above(keyb, main_); })) << "the keyboard stays in front";
  ClickScreen(key);
  EXPECT_TRUE(WaitUntil([&] { return ControlText(input) == L"qq"; })) << "its keys stay reachable";
}

TEST_F(MainWindowInProgram, TheBackTranslationPaneOpensWithTheUpArrowAndClosesWithTheDownArrow) {
  HWND pane = GetDlgItem(main_, kBackTrans), open = GetDlgItem(main_, kArrowOpen), close = GetDlgItem(main_, kArrowClose);
  ASSERT_TRUE(pane && open && close);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(open) && !IsWindowVisible(pane); })) << "closed at first";
  ClickScreen(testing::CenterOf(open));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(pane) && IsWindowVisible(close) && !IsWindowVisible(open); }));
  // The down arrow lies over the pane's upper edge: the click is the arrow's, not the pane's.
  ClickScreen(testing::CenterOf(close));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane) && IsWindowVisible(open); })) << "closed again";
}

TEST_F(MainWindowInProgram, AClickOnASeparatorOfTheTrayMenuDoesNothing) {
  PostMessageW(main_, WM_CLOSE, 0, 0);  // to the tray: a "Show" would bring it back
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
  PostMessageW(main_, frmMain::kTrayMessage, kMainTrayIcon, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenu(program_.Id())) != nullptr; })) << "the tray menu opens";
  // A separator is drawn as a shadow line across the menu, where no item's text reaches.
  RECT r{};
  GetWindowRect(menu, &r);
  std::vector<int> separators;
  WaitUntil([&] {
    separators.clear();
    for (int y : RowsOfColour(menu, r.right - r.left - 8, GetSysColor(COLOR_BTNSHADOW))) {
      if (separators.empty() || y > separators.back() + 2) separators.push_back(y);
    }
    return separators.size() >= 4;
  });
  // Show; the clipboard; the companions; the dictionaries; settings, help and About; Exit.
  ASSERT_GE(separators.size(), 4u) << "a separator between each two groups";
  for (int y : separators) {
    ClickScreen(POINT{(r.left + r.right) / 2, y});
    EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(main_) || !OpenMenu(program_.Id()); }, 2000))
        << "the menu stays open and the window hidden, clicked at " << y - r.top;
  }
}

// Whether the grey frame at the left of About's client area shows something else: the logo.
bool AboutLogoShows(HWND about) {
  POINT origin{0, 0};
  ClientToScreen(about, &origin);
  HDC screen = GetDC(nullptr);
  int drawn = 0;
  for (int y = 4; y < 60; y += 2) {
    for (int x = 4; x < 60; x += 2) {
      const COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
      if (c != CLR_INVALID && c != RGB(124, 124, 124)) ++drawn;
    }
  }
  ReleaseDC(nullptr, screen);
  return drawn > 50;
}

// About over the main window kept above the others: it shows its logo, takes the keys, and Esc
// closes About, not the main window.
TEST_F(MainWindowInProgram, AboutShowsItsLogoAndEscClosesItNotTheMainWindow) {
  Menu(main_, MenuItem::About);
  HWND about = WaitForWindow(program_.Id(), L"ParlaventAbout");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; })) << "About takes the keys";
  EXPECT_TRUE(WaitUntil([&] { return AboutLogoShows(about); })) << "the logo on its grey frame";
  INPUT esc[2] = {};
  esc[0].type = esc[1].type = INPUT_KEYBOARD;
  esc[0].ki.wVk = esc[1].ki.wVk = VK_ESCAPE;
  esc[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, esc, sizeof(INPUT));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); })) << "Esc closes About";
  EXPECT_TRUE(IsWindowVisible(main_)) << "and leaves the main window";
}

// A click on a translation word shows the copy indicator beside the pointer, and it stays there
// above the main window, which raises itself while it is kept above the others.
TEST_F(MainWindowInProgram, TheCopyIndicatorStaysAboveTheMainWindow) {
  HWND input = GetDlgItem(main_, kInput), output = GetDlgItem(main_, 202);
  PostMessageW(input, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(input, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  for (wchar_t c : std::wstring(L"Hund")) PostMessageW(input, WM_CHAR, c, 0);
  // The word list first, then Enter translates.
  ASSERT_TRUE(WaitUntil([&] { return ControlText(output).starts_with(L"hund"); }));
  PostMessageW(input, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(input, WM_KEYUP, VK_RETURN, 0);
  std::wstring text;
  ASSERT_TRUE(WaitUntil([&] { return (text = ControlText(output)).find(L"собака") != std::wstring::npos; }));
  // The box counts a paragraph break as one character, the text as two.
  std::size_t index = text.find(L"собака");
  for (std::size_t i = text.find(L"\r\n"); i < text.find(L"собака"); i = text.find(L"\r\n", i + 2)) --index;
  const auto at = static_cast<DWORD>(SendMessageW(output, EM_POSFROMCHAR, index + 2, 0));
  POINT word{static_cast<short>(LOWORD(at)) + 1, static_cast<short>(HIWORD(at)) + 6};
  ClientToScreen(output, &word);
  // The pointer comes to the word before the click, as a user's does: a click that brings it
  // from afar could be read where it was, or the indicator see it move away.
  ASSERT_TRUE(testing::RestPointerAt(word)) << "the pointer rests on the word";
  ClickScreen(word);
  HWND copy = WaitForWindow(program_.Id(), L"ParlaventCopyIndicator");
  ASSERT_NE(copy, nullptr) << "the indicator shows";
  RECT r{};
  GetWindowRect(copy, &r);
  EXPECT_TRUE(r.left > word.x && r.top > word.y) << "beside the pointer";
  EXPECT_TRUE(StaysAbove(copy, main_)) << "not covered by the main window";
}

}  // namespace
}  // namespace parlavent
