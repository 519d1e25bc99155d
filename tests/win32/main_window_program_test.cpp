// The main window's own windows and controls on Parlavent.exe, as a user meets them: the windows
// it opens come up over it while it is kept above other windows (About with the keys, the copy
// indicator too), and are seen there, as is the main window over another program; the
// back-translation pane opens and closes with its arrows, and follows the word list; a click on a
// separator of its menu does nothing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "companions/win32/companion_forms.h"
#include "program_driver.h"
#include "user_files.h"

namespace parlavent {
namespace {

using testing::ClickScreen;
using testing::ControlText;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::WaitForMainWindow;
using testing::WaitForWindow;
using testing::WaitUntil;

enum : int { kInput = 201, kBackTrans = 203, kInfo = 204, kArrowClose = 207, kArrowOpen = 208 };

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

// What the screen shows in a rectangle (screen coordinates), read at once with BitBlt.
class Screenshot {
 public:
  explicit Screenshot(const RECT& r) : rect_(r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
      HGDIOBJ old = SelectObject(memory, bitmap);
      if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY)) {
        const auto* p = static_cast<const DWORD*>(bits);
        pixels_.assign(p, p + static_cast<std::size_t>(width) * height);
      }
      SelectObject(memory, old);
      DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  // The colour at a point of the screen; CLR_INVALID outside the picture.
  COLORREF At(int x, int y) const {
    const int width = rect_.right - rect_.left;
    if (x < rect_.left || x >= rect_.right || y < rect_.top || y >= rect_.bottom || pixels_.empty()) return CLR_INVALID;
    const DWORD bgr = pixels_[static_cast<std::size_t>(y - rect_.top) * width + (x - rect_.left)];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  }
  // The share of the points of r, every step pixels, that show the colour.
  double Share(const RECT& r, COLORREF colour, int step = 3) const {
    int all = 0, shown = 0;
    for (int y = r.top; y < r.bottom; y += step) {
      for (int x = r.left; x < r.right; x += step) {
        ++all;
        if (At(x, y) == colour) ++shown;
      }
    }
    return all ? static_cast<double>(shown) / all : 0;
  }

 private:
  RECT rect_;
  std::vector<DWORD> pixels_;
};

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// The client area of a window on the screen.
RECT ClientOnScreen(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Whether the screen shows the on-screen keyboard's own keys where it stands: each key's grey
// frame, and the face colour of the gap beside it.
bool KeyboardShows(HWND keyb) {
  const RECT client = ClientOnScreen(keyb);
  const Screenshot shot(client);
  const COLORREF frame = GetSysColor(COLOR_BTNSHADOW), face = GetSysColor(COLOR_BTNFACE);
  int keys = 0, seen = 0;
  for (int row = 0; row < 4; ++row) {
    for (std::size_t column = 0; column < 10; ++column) {
      const RECT k = frmKeyb::KeyRect(row, column);
      const int y = client.top + (k.top + k.bottom) / 2;
      ++keys;
      if (shot.At(client.left + k.left, y) == frame && shot.At(client.left + k.right, y) == face) ++seen;
    }
  }
  return seen == keys;
}

// Wine's notepad, started after the program, laid over the rectangle with room to spare: a window
// the program's windows must be drawn over.
struct NotepadOver {
  explicit NotepadOver(const RECT& r) {
    frame = WaitForWindow(process.Id(), L"Notepad", kStartTimeoutMs);
    if (frame) {
      SetWindowPos(frame, nullptr, r.left - 100, r.top - 100, r.right - r.left + 200, r.bottom - r.top + 300,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  testing::Process process{L"notepad.exe"};
  HWND frame = nullptr;
};

// The main window's bottom strip, where no other control lies, has the face colour.
RECT BottomStrip(HWND main) {
  const RECT client = ClientOnScreen(main);
  return {client.left + 60, client.bottom - 30, client.right - 70, client.bottom - 6};
}

// "Hund" typed into the input box and translated with Enter; whether the translation came.
bool TranslateHund(HWND main) {
  HWND input = GetDlgItem(main, kInput), output = GetDlgItem(main, 202);
  PostMessageW(input, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(input, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  for (wchar_t c : std::wstring(L"Hund")) PostMessageW(input, WM_CHAR, c, 0);
  // The word list first, then Enter translates.
  if (!WaitUntil([&] { return ControlText(output).starts_with(L"hund"); })) return false;
  PostMessageW(input, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(input, WM_KEYUP, VK_RETURN, 0);
  return WaitUntil([&] { return ControlText(output).find(L"собака") != std::wstring::npos; });
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

// Chosen from the menu opened with a click on its toolbar button, the keyboard is seen where it
// stands, over a program started after the main window; no tip stands over the open menu.
TEST_F(MainWindowInProgram, TheKeyboardChosenFromTheMenuIsSeenWhereItStands) {
  NotepadOver pad(RECT{0, 0, 600, 400});
  ASSERT_NE(pad.frame, nullptr);
  HWND tb1 = FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr);
  ASSERT_NE(tb1, nullptr);
  RECT bar = WindowRect(tb1);
  // The buttons are all of one size; "Menu" is the eighth.
  const auto size = static_cast<DWORD>(SendMessageW(tb1, TB_GETBUTTONSIZE, 0, 0));
  const POINT button{bar.left + 7 * LOWORD(size) + LOWORD(size) / 2, bar.top + HIWORD(size) / 2};
  // The window is clicked first, as a user brings it forward (only an active window shows tips),
  // then the pointer goes to the button and clicks at once: the tip the move started is due
  // while the menu is open.
  const RECT strip = BottomStrip(main_);
  ClickScreen(POINT{strip.left + 10, strip.top + 5});
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }));
  testing::MouseAt(POINT{button.x - 4, button.y});
  ClickScreen(button);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenu(program_.Id())) != nullptr; })) << "the menu opens";
  EXPECT_FALSE(WaitUntil([&] { return testing::WindowOf(program_.Id(), TOOLTIPS_CLASSW, true) != nullptr; }, 2000))
      << "no tip over the open menu";
  // Hide, the two clipboard items (greyed, the arrows still stop on them), then the keyboard.
  INPUT keys[10] = {};
  for (int i = 0; i < 10; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = i < 8 ? VK_DOWN : VK_RETURN;
    if (i % 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(10, keys, sizeof(INPUT));
  HWND keyb = WaitForWindow(program_.Id(), frmKeyb::kClassName);
  ASSERT_NE(keyb, nullptr) << "the keyboard shows";
  EXPECT_TRUE(WaitUntil([&] { return KeyboardShows(keyb); })) << "its keys are seen, not the notepad below";
}

// Kept above other windows (the default), the main window is seen over a program clicked below it,
// also while a window it owns shows.
TEST_F(MainWindowInProgram, ItIsSeenOverAProgramClickedBelowIt) {
  Menu(main_, MenuItem::Keyb);
  ASSERT_NE(WaitForWindow(program_.Id(), frmKeyb::kClassName), nullptr);
  const RECT strip = BottomStrip(main_);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_TRUE(WaitUntil([&] { return Screenshot(strip).Share(strip, face) > 0.9; })) << "seen at first";
  NotepadOver pad(WindowRect(main_));
  ASSERT_NE(pad.frame, nullptr);
  const RECT r = WindowRect(pad.frame);
  ClickScreen(POINT{r.left + 50, r.bottom - 60});  // its edit box, beside and below the main window
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pad.frame; }));
  EXPECT_TRUE(WaitUntil([&] { return Screenshot(strip).Share(strip, face) > 0.9; }))
      << "its bottom strip is seen, not notepad's white page";
}

// A double-click on a word in Statistics of the program with that main window translates it
// there, and Statistics is still seen over the main window.
void StatisticsIsSeenAfterADoubleClick(HWND mainWindow, DWORD process) {
  HWND output = GetDlgItem(mainWindow, 202);
  ASSERT_TRUE(TranslateHund(mainWindow));
  SendMessageW(output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  Menu(mainWindow, MenuItem::Stat);
  HWND stat = WaitForWindow(process, frmStat::kClassName);
  ASSERT_NE(stat, nullptr);
  // Its list's white page over the main window's bottom strip.
  const RECT main = WindowRect(mainWindow);
  SetWindowPos(stat, nullptr, main.left + 40, main.bottom - 150, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(stat).top == main.bottom - 150; })) << "moved there";
  HWND list = FindWindowExW(stat, nullptr, WC_LISTVIEWW, nullptr);
  HWND header = list ? FindWindowExW(list, nullptr, WC_HEADERW, nullptr) : nullptr;
  ASSERT_TRUE(list && header);
  const POINT word{WindowRect(header).left + 20, WindowRect(header).bottom + 7};
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == stat; })) << "it opens in front, as the user sees it";
  ASSERT_TRUE(testing::RestPointerAt(word));
  for (int click = 0; click < 2; ++click) {
    testing::MouseAt(word, MOUSEEVENTF_LEFTDOWN);
    testing::MouseAt(word, MOUSEEVENTF_LEFTUP);
  }
  ASSERT_TRUE(WaitUntil([&] { return ControlText(output).find(L"собака") != std::wstring::npos; }))
      << "the word is translated in the main window";
  RECT strip = BottomStrip(mainWindow), page = ClientOnScreen(list), both{};
  ASSERT_TRUE(IntersectRect(&both, &strip, &page));
  EXPECT_TRUE(WaitUntil([&] { return Screenshot(both).Share(both, GetSysColor(COLOR_WINDOW)) > 0.9; }))
      << "the list's page is seen over the main window";
}

// With the main window kept above other windows and, after a second start, not.
TEST_F(MainWindowInProgram, StatisticsIsSeenOverTheMainWindowAfterADoubleClickOnAWord) {
  StatisticsIsSeenAfterADoubleClick(main_, program_.Id());
  testing::KeptUserFiles kept;
  Menu(main_, MenuItem::Exit);
  main_ = nullptr;
  ASSERT_NE(program_.ExitCodeWithin(testing::kReactTimeoutMs), STILL_ACTIVE);
  // The option in the settings file, ahead of whatever else the file holds.
  const std::wstring ini = testing::UserFolder() + L"\\Parlavent.ini";
  std::string text = testing::UserFileBytes(L"Parlavent.ini");
  const std::size_t section = text.find("[Main]");
  if (section == std::string::npos) {
    text.insert(0, "[Main]\r\nTopMost=False\r\n");
  } else {
    text.insert(section + 6, "\r\nTopMost=False");
  }
  std::filesystem::create_directories(std::filesystem::path(testing::UserFolder()));
  std::ofstream(std::filesystem::path(ini), std::ios::binary | std::ios::trunc) << text;
  Program second;
  HWND again = WaitForMainWindow(second.Id(), true, kStartTimeoutMs);
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(GetWindowLongW(again, GWL_EXSTYLE) & WS_EX_TOPMOST) << "not kept above other windows";
  StatisticsIsSeenAfterADoubleClick(again, second.Id());
  Menu(again, MenuItem::Exit);
  second.ExitCodeWithin(testing::kReactTimeoutMs);
}

// Typing on past the words of the list empties it, and with it the count of its words and the
// pane that showed the translation of its chosen word.
TEST_F(MainWindowInProgram, AListThatEmptiesTakesItsCountAndItsPaneAlong) {
  HWND pane = GetDlgItem(main_, kBackTrans), open = GetDlgItem(main_, kArrowOpen);
  HWND input = GetDlgItem(main_, kInput), output = GetDlgItem(main_, 202), info = GetDlgItem(main_, kInfo);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(open); }));
  ClickScreen(testing::CenterOf(open));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(pane); }));
  for (wchar_t c : std::wstring(L"Hau")) PostMessageW(input, WM_CHAR, c, 0);
  ASSERT_TRUE(WaitUntil([&] {
    return !ControlText(output).empty() && !ControlText(info).empty() && !ControlText(pane).empty();
  })) << "a list, its count and the pane";
  for (wchar_t c : std::wstring(L"qq")) PostMessageW(input, WM_CHAR, c, 0);
  EXPECT_TRUE(WaitUntil([&] {
    return ControlText(output).empty() && ControlText(info).empty() && ControlText(pane).empty();
  })) << "left: " << ControlText(info).size() << " " << ControlText(pane).size();
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
  HWND output = GetDlgItem(main_, 202);
  ASSERT_TRUE(TranslateHund(main_));
  const std::wstring text = ControlText(output);
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
