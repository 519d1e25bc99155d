// The main window's road walked as a user walks it, on Parlavent.exe with the sample dictionaries:
// real clicks and keys, and after each step the output box's text.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <string>

#include "capture/win32/popup_forms.h"
#include "companions/win32/companion_forms.h"
#include "program_driver.h"

namespace parlavent {
namespace {

using testing::ControlText;
using testing::kProgramKey;
using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::WaitForMainWindow;
using testing::WaitUntil;

enum : int { kInput = 201, kOutput = 202, kInfo = 204, kAbc = 205 };

// Memory in the program's process, for the messages whose arguments are pointers.
class Remote {
 public:
  explicit Remote(HANDLE process) : process_(process) {
    at_ = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~Remote() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  WPARAM Address() const { return reinterpret_cast<WPARAM>(at_); }
  template <typename T>
  T Read() const {
    T value{};
    SIZE_T got = 0;
    ReadProcessMemory(process_, at_, &value, sizeof value, &got);
    return value;
  }

 private:
  HANDLE process_;
  void* at_ = nullptr;
};

void Send(const std::vector<INPUT>& inputs) {
  SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
  Sleep(150);
}

void Mouse(POINT screen, DWORD flags = 0) {
  testing::MouseAt(screen, flags);
  Sleep(150);
}

void ClickAt(POINT screen) {
  Mouse(screen);
  Sleep(100);
  Mouse(screen, MOUSEEVENTF_LEFTDOWN);
  Mouse(screen, MOUSEEVENTF_LEFTUP);
  Sleep(600);  // the next click is no double-click
}

/// A key, with Ctrl held when ctrl.
void Key(WORD vk, bool ctrl = false) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD key, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(i);
  };
  if (ctrl) add(VK_CONTROL, false);
  add(vk, false);
  add(vk, true);
  if (ctrl) add(VK_CONTROL, true);
  Send(inputs);
}

void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT down{}, up{};
    down.type = up.type = INPUT_KEYBOARD;
    down.ki.wScan = up.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    up.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    Send({down, up});
  }
}

// The control's text with its line breaks as the control counts them (one character each).
std::wstring BoxText(HWND box) {
  std::wstring text = ControlText(box);
  for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.erase(at + 1, 1);
  return text;
}

std::string Narrow(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class MainRoadWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    ASSERT_TRUE(program_.Started());
    main_ = WaitForMainWindow(program_.Id(), true, kStartTimeoutMs);
    ASSERT_NE(main_, nullptr);
    SetForegroundWindow(main_);
    input_ = GetDlgItem(main_, kInput);
    output_ = GetDlgItem(main_, kOutput);
    tb1_ = FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr);
    tbDic_ = FindWindowExW(main_, tb1_, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_TRUE(input_ && output_ && tb1_ && tbDic_);
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Exit), 0);
    program_.ExitCodeWithin(kReactTimeoutMs);
  }

  using Check = std::function<bool(const std::wstring&)>;

  /// Waits (at most ms) until the output's text passes and the box is back on the screen (it is
  /// hidden while it is written); the text it ended with.
  std::wstring WaitOutput(const Check& ok, DWORD ms = kReactTimeoutMs) {
    std::wstring text;
    const DWORD start = GetTickCount();
    do {
      Sleep(100);
      text = BoxText(output_);
    } while (!(ok(text) && IsWindowVisible(output_) && IsWindowEnabled(output_)) && GetTickCount() - start < ms);
    Sleep(300);  // the rest of the step (selection, focus) runs after the text is in
    return BoxText(output_);
  }
  std::wstring WaitOutputHas(const std::wstring& part) {
    return WaitOutput([&](const std::wstring& t) { return Has(t, part); });
  }
  /// Clicks at p and waits until the output passes; the text it ended with.
  std::wstring ClickFor(POINT p, const Check& ok) {
    ClickAt(p);
    return WaitOutput(ok);
  }
  /// Into the input box, all its text selected (Ctrl+A), so that typing replaces it.
  void TypeWord(const std::wstring& word) {
    ClickAt(testing::CenterOf(input_));
    Key('A', true);
    Type(word);
  }
  /// Character `index` of the output box on the screen (a little right of its left edge).
  POINT OutputChar(std::int32_t index) {
    Remote point(program_.Handle());
    SendMessageW(output_, EM_POSFROMCHAR, point.Address(), index);
    POINTL at = point.Read<POINTL>();
    POINT p{at.x + 3, at.y + 4};
    ClientToScreen(output_, &p);
    return p;
  }
  POINT Button(HWND toolbar, int index) {
    Remote rect(program_.Handle());
    SendMessageW(toolbar, TB_GETITEMRECT, index, static_cast<LPARAM>(rect.Address()));
    const RECT r = rect.Read<RECT>();
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(toolbar, &p);
    return p;
  }
  std::wstring Caption() {
    wchar_t text[256] = {};
    GetWindowTextW(main_, text, 256);
    return text;
  }
  /// Clicks the dictionary's button; the caption once it changed.
  std::wstring SwitchDirection() {
    const std::wstring before = Caption();
    ClickAt(Button(tbDic_, 0));
    for (int i = 0; i < 50 && Caption() == before; ++i) Sleep(100);
    return Caption();
  }

  Program program_;
  HWND main_ = nullptr, input_ = nullptr, output_ = nullptr, tb1_ = nullptr, tbDic_ = nullptr;
};

// A form typed, its word list shown (which selects its own first line, the proverb "hunde, die
// bellen, ..."), then Enter: the entry of the word the form belongs to.
TEST_F(MainRoadWin32, EnterAfterTheListTranslatesTheTypedForm) {
  TypeWord(L"Hunde");
  const std::wstring list = WaitOutputHas(L"hundehütte");
  ASSERT_TRUE(Has(list, L"hundehütte")) << "the word list: " << Narrow(list);
  Key(VK_RETURN);
  const std::wstring out = WaitOutput([](const std::wstring& t) { return t.rfind(L"Hund ", 0) == 0; });
  EXPECT_EQ(out.rfind(L"Hund ", 0), 0u) << Narrow(out);
  EXPECT_TRUE(Has(out, L"собака")) << Narrow(out);
  EXPECT_EQ(ControlText(input_), L"Hunde");
}

// Below the last line the pointer is on no link: a click there leaves a translation's closing
// "Back" alone. The hint of a list line shows where the pointer rests on it, and goes for good
// when a window of the program comes over the main window.
TEST_F(MainRoadWin32, ThePointerIsOnlyOnTheLinksOfItsLineAndAHintGoesUnderAnotherWindow) {
  TypeWord(L"Tisch");
  Key(VK_RETURN);
  const std::wstring translation = WaitOutputHas(L"стол");
  ASSERT_TRUE(Has(translation, L"стол")) << Narrow(translation);
  ASSERT_NE(translation.rfind(L"Back"), std::wstring::npos) << Narrow(translation);
  POINT below = OutputChar(static_cast<std::int32_t>(translation.rfind(L"Back") + 1));
  below.y += 60;
  RECT box{};
  GetWindowRect(output_, &box);
  ASSERT_LT(below.y, box.bottom - 4) << "room below the last line: " << Narrow(translation);
  ClickAt(below);
  EXPECT_FALSE(WaitUntil([&] { return BoxText(output_) != translation; }, 1500)) << "no link was taken";

  TypeWord(L"Tisch");
  const std::wstring list = WaitOutputHas(L"tischtennisball");
  ASSERT_TRUE(Has(list, L"tischtennisball")) << Narrow(list);
  const auto hintShown = [&] { return testing::WindowOf(program_.Id(), frmToolTip::kClassName, true) != nullptr; };
  const POINT line = OutputChar(static_cast<std::int32_t>(list.find(L"tischtennisball") + 2));
  Mouse(line);
  ASSERT_TRUE(WaitUntil(hintShown, 5000)) << "the hint of the line the pointer rests on";
  HWND hint = testing::WindowOf(program_.Id(), frmToolTip::kClassName, true);
  PostMessageW(main_, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Stat), 0);
  HWND stat = testing::WaitForWindow(program_.Id(), frmStat::kClassName);
  ASSERT_NE(stat, nullptr);
  // Wherever it opened, it now lies over the hint, though not over the line the hint tells of.
  RECT hintRect{};
  GetWindowRect(hint, &hintRect);
  SetWindowPos(stat, nullptr, hintRect.left + 4, hintRect.top + 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hint); }, 4000)) << "the hint goes under the window";
  EXPECT_FALSE(WaitUntil(hintShown, 1500)) << "and does not come back over it";
  PostMessageW(stat, WM_CLOSE, 0, 0);
}

TEST_F(MainRoadWin32, AUserWalksTheMainWindow) {
  // A word typed: its list after a moment, then Enter: its translation.
  TypeWord(L"haus");
  std::wstring out = WaitOutputHas(L"hausarbeit");
  ASSERT_TRUE(Has(out, L"hausarbeit")) << "the word list";
  Key(VK_RETURN);
  out = WaitOutputHas(L"дом");
  ASSERT_TRUE(Has(out, L"дом"));
  EXPECT_EQ(out.rfind(L"haus", 0), 0u) << "Enter in the input translates the list's line";

  // An inflected form no ending rule reaches: the translations of its word, named behind them,
  // and the input keeps what the result covers.
  TypeWord(L"ging");
  Key(VK_RETURN);
  out = WaitOutputHas(L"идти");
  EXPECT_TRUE(Has(out, L"идти") && Has(out, L"(gehen)")) << Narrow(out);
  EXPECT_EQ(ControlText(input_), L"ging");

  // A click on a list entry translates it.
  TypeWord(L"hau");
  const std::wstring list = WaitOutputHas(L"haubitze");
  ASSERT_TRUE(Has(list, L"haubitze"));
  const std::size_t second = list.find(L'\r') + 1;
  const std::wstring entry = list.substr(second, list.find(L' ', second) - second);
  const Check isTranslationOfEntry = [&entry](const std::wstring& t) {
    return !Has(t, L"haubitze") && CompareStringOrdinal(t.c_str(), static_cast<int>(std::min(t.size(), entry.size())),
                                                        entry.c_str(), static_cast<int>(entry.size()), TRUE) == CSTR_EQUAL;
  };
  out = ClickFor(OutputChar(static_cast<std::int32_t>(second)), isTranslationOfEntry);
  ASSERT_TRUE(isTranslationOfEntry(out)) << "the translation of " << Narrow(entry) << ": " << Narrow(out);
  const std::wstring translation = out;

  // A click on a translation chooses it for copying: the text stays, the word is selected.
  const auto russian = std::find_if(out.begin(), out.end(), [](wchar_t c) { return c >= L'\x430' && c <= L'\x44F'; });
  ASSERT_NE(russian, out.end()) << Narrow(out);
  const std::size_t word = static_cast<std::size_t>(russian - out.begin());
  ClickAt(OutputChar(static_cast<std::int32_t>(word + 1)));
  EXPECT_EQ(BoxText(output_), translation);
  const LRESULT sel = SendMessageW(output_, EM_GETSEL, 0, 0);
  EXPECT_GT(HIWORD(sel), LOWORD(sel)) << "the word is selected in " << Narrow(translation) << " at " << word;

  // Back shows the list again, Forward the translation.
  out = ClickFor(Button(tb1_, 2), [](const std::wstring& t) { return Has(t, L"haubitze"); });
  EXPECT_TRUE(Has(out, L"haubitze")) << "Back: " << Narrow(out);
  out = ClickFor(Button(tb1_, 3), [&](const std::wstring& t) { return t == translation; });
  EXPECT_EQ(out, translation) << "Forward";

  // The dictionary's button switches its direction: the caption says which; three go round.
  const std::wstring both = Caption();
  EXPECT_NE(SwitchDirection(), both);
  SwitchDirection();
  EXPECT_EQ(SwitchDirection(), both);

  // The alphabet (its button shows while the pointer is over the input), then a letter: its words.
  Mouse(testing::CenterOf(input_));
  HWND abc = GetDlgItem(main_, kAbc);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(abc) != FALSE; }));
  out = ClickFor(testing::CenterOf(abc), [](const std::wstring& t) { return Has(t, L" alphabet"); });
  ASSERT_TRUE(Has(out, L" alphabet")) << Narrow(out);
  if (!Has(out, L"-H-")) {
    // It shows the side the direction button last chose; its last line switches to the other.
    out = ClickFor(OutputChar(static_cast<std::int32_t>(out.rfind(L"alphabet") - 3)),
                   [](const std::wstring& t) { return Has(t, L"-H-"); });
  }
  ASSERT_TRUE(Has(out, L"-H-")) << Narrow(out);
  out = ClickFor(OutputChar(static_cast<std::int32_t>(out.find(L"-H-") + 1)),
                 [](const std::wstring& t) { return Has(t, L"haar"); });
  EXPECT_TRUE(Has(out, L"haar")) << "the words of H: " << Narrow(out);

  // Enter twice on one word: the translation both times, and no "nothing was translated".
  for (int time = 1; time <= 2; ++time) {
    TypeWord(L"haus");
    Key(VK_RETURN);
    out = WaitOutputHas(L"дом");
    EXPECT_TRUE(Has(out, L"дом")) << "Enter number " << time;
    EXPECT_FALSE(Has(ControlText(GetDlgItem(main_, kInfo)), L"Nothing was translated")) << "Enter number " << time;
  }

  // The smallest size keeps every box in the window.
  SetWindowPos(main_, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
  RECT client{}, box{}, toolbar{};
  GetWindowRect(tb1_, &toolbar);
  // The window answers the size it was given with its own minimum.
  WaitUntil([&] {
    GetClientRect(main_, &client);
    return client.right >= toolbar.right - toolbar.left;
  });
  EXPECT_GE(client.right, toolbar.right - toolbar.left) << "no narrower than the command toolbar";
  for (HWND w : {input_, output_, tb1_}) {
    GetWindowRect(w, &box);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_GT(box.right - box.left, 0);
    EXPECT_GT(box.bottom - box.top, 0);
    EXPECT_LE(box.right, client.right);
    EXPECT_LE(box.bottom, client.bottom);
  }
  EXPECT_TRUE(Has(BoxText(output_), L"дом")) << "the translation is still shown";
}

}  // namespace
}  // namespace parlavent
