// The capture side on the real program: the clipboard of another process pasted, translated and
// written back, the popup from a link and from the hot key over Wine's notepad, closed by Esc,
// and a clipboard of megabytes that leaves the program answering.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/engine_operations.h"
#include "app/link_layer.h"
#include "app/main_window_core.h"
#include "app/win32/main_window.h"
#include "capture/win32/clipboard_keeper.h"
#include "capture/win32/popup_forms.h"
#include "capture/capture.h"
#include "capture/win32/win32_capture.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "app/view_history.h"
#include <array>
#include <filesystem>
#include "foundation/settings_object.h"
#include "text/text.h"
#include "install_folder.h"
#include "program_driver.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

using testing::kProgramKey;
using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::Process;
using testing::WindowOf;

constexpr int kPasteButton = frmMain::kTB1Base + 4;
constexpr int kCopyButton = frmMain::kTB1Base + 5;

template <typename Found>
auto WaitFor(DWORD timeoutMs, Found found) {
  const DWORD start = GetTickCount();
  auto result = found();
  while (!result && GetTickCount() - start < timeoutMs) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
    result = found();
  }
  return result;
}

// Puts the pointer at x, y and waits until it rests there (a warp can reach Wine late, and a hot
// key that finds nothing under the pointer shows the main window). Meanwhile this thread's windows
// take what the move brought them: a window the pointer enters is told the X server's keys, and
// where those differ from the keys this test sent (the X server never saw them) Wine sends a
// key-up, so a Ctrl pressed before that is seen going up at once.
void PointerTo(long x, long y) {
  const bool rests = testing::RestPointerAt({x, y});
  POINT p{};
  GetCursorPos(&p);
  EXPECT_TRUE(rests) << "the pointer came to rest at " << x << "," << y << ", not " << p.x << "," << p.y;
}

std::wstring TextOfWindow(HWND w) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

// The popup's text: the rich-text box inside the popup window.
std::wstring PopupText(HWND popup) {
  HWND box = GetWindow(popup, GW_CHILD);
  return box ? TextOfWindow(box) : L"";
}

bool PutOnClipboard(const std::wstring& text) {
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(50);
  if (!EmptyClipboard()) {
    CloseClipboard();
    return false;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* p = static_cast<wchar_t*>(GlobalLock(block));
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(block);
  const bool done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  return done;
}

std::wstring ClipboardText() {
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(50);
  std::wstring text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text.assign(p, wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

void Keys(std::initializer_list<std::pair<WORD, bool>> keys) {
  for (const auto& [vk, down] : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(40);
  }
}

void ClickAt(long x, long y) {
  SetCursorPos(x, y);
  Sleep(100);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  // A click on a window of this thread is taken here: Wine puts the pointer back where a click
  // was when its messages are read, which must not come after the pointer has moved on.
  WaitFor(200, [] { return false; });
}

void ClickAt(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool ButtonEnabled(HWND main, int command) {
  HWND tb1 = FindWindowExW(main, nullptr, TOOLBARCLASSNAMEW, nullptr);
  DWORD_PTR enabled = 0;
  return tb1 && SendMessageTimeoutW(tb1, TB_ISBUTTONENABLED, command, 0, SMTO_ABORTIFHUNG, 5000, &enabled) && enabled;
}

bool Answers(HWND w, UINT timeoutMs) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

// Wine's wordpad and its rich-edit control, found once it shows.
struct Wordpad {
  Wordpad() {
    frame = WaitFor(kStartTimeoutMs, [&] { return WindowOf(process.Id(), nullptr, true); });
    if (!frame) return;
    WaitFor(kReactTimeoutMs, [&] {
      EnumChildWindows(
          frame,
          [](HWND child, LPARAM found) -> BOOL {
            wchar_t cls[64] = {};
            GetClassNameW(child, cls, 64);
            if (!std::wstring(cls).starts_with(L"RichEdit") && !std::wstring(cls).starts_with(L"RICHEDIT")) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&rich));
      return rich != nullptr;
    });
  }
  static std::wstring Command() {
    wchar_t path[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe", path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\"";
  }
  Process process{Command()};
  HWND frame = nullptr, rich = nullptr;
};

// Wine's notepad and its edit control, found once it shows, away from the main window so that
// clicks land on notepad.
struct Notepad {
  Notepad() {
    frame = WaitFor(kStartTimeoutMs, [&] { return WindowOf(process.Id(), L"Notepad", true); });
    if (!frame) return;
    edit = FindWindowExW(frame, nullptr, L"Edit", nullptr);
    SetWindowPos(frame, nullptr, 450, 200, 500, 300, SWP_NOZORDER);
  }
  void SetText(const std::wstring& text) const { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
  // The pointer on the character at index of the text.
  void PointAt(std::size_t index) const {
    const auto at = static_cast<DWORD>(SendMessageW(edit, EM_POSFROMCHAR, index, 0));
    POINT p{static_cast<short>(LOWORD(at)) + 2, static_cast<short>(HIWORD(at)) + 4};
    ClientToScreen(edit, &p);
    PointerTo(p.x, p.y);
  }
  Process process{L"notepad.exe"};
  HWND frame = nullptr, edit = nullptr;
};

// The control's window in front with the focus on the control. No click: under a loaded Wine a
// click may reach the program long after the test's next messages (undoing the selection they
// make), or never. The program may still be bringing its own window forward meanwhile: the window
// is asked to come forward until it leads; a setup step, its tries are logged.
bool BringForward(HWND frame, HWND control) {
  const auto ready = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(frame, nullptr);
    return GetForegroundWindow() == frame && GetGUIThreadInfo(thread, &info) && info.hwndFocus == control;
  };
  int tries = 0;
  const bool forward = WaitFor(kReactTimeoutMs, [&] {
    ++tries;
    SetForegroundWindow(frame);
    return WaitFor(1000, ready);
  });
  if (tries > 1) std::printf("BringForward: %d tries\n", tries);
  return forward;
}

// A window of the test's own that is no edit control and answers Ctrl+C itself: it puts its
// selection, when it has one, on the clipboard. It counts the C keys it is sent.
struct CopyingWindow {
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CopyingWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (msg == WM_KEYDOWN && wp == 'C' && self) {
      InterlockedIncrement(&self->cPresses);
      if (GetKeyState(VK_CONTROL) < 0 && !self->selection.empty()) {
        if (self->lateMs) SetTimer(w, 1, self->lateMs, nullptr);
        else self->Copy(w);
      }
      return 0;
    }
    if (msg == WM_TIMER && self) {
      // A late copy, made as some programs make it: the clipboard opened without a window, or
      // with the window.
      KillTimer(w, 1);
      self->Copy(self->lateOwned ? w : nullptr);
      InterlockedIncrement(&self->lateCopies);
      return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
  }
  void Copy(HWND owner) const {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (selection.size() + 1) * sizeof(wchar_t));
    auto* p = static_cast<wchar_t*>(GlobalLock(block));
    std::copy(selection.begin(), selection.end(), p);
    p[selection.size()] = 0;
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
  }
  explicit CopyingWindow(RECT at) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ParlaventTestCopyingWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"Copying window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, at.left, at.top,
                             at.right - at.left, at.bottom - at.top, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~CopyingWindow() { DestroyWindow(window); }
  void PointAt() const {
    RECT r{};
    GetWindowRect(window, &r);
    PointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  HWND window = nullptr;
  std::wstring selection;
  LONG cPresses = 0;
  UINT lateMs = 0;  // copies this long after Ctrl+C, without an owner unless lateOwned
  bool lateOwned = false;
  LONG lateCopies = 0;
};

// Runs work on a thread of its own; the thread is waited for at the end.
class Thread {
 public:
  explicit Thread(std::function<void()> work) : work_(std::move(work)) {
    handle_ = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          static_cast<Thread*>(p)->work_();
          return 0;
        },
        this, 0, &id_);
  }
  ~Thread() {
    WaitForSingleObject(handle_, 10000);
    CloseHandle(handle_);
  }
  DWORD Id() const { return id_; }

 private:
  std::function<void()> work_;
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// A copying window on a thread of its own, as another program's would be.
struct CopyingWindowThread {
  explicit CopyingWindowThread(RECT at)
      : thread_([this, at] {
          CopyingWindow w(at);
          window = &w;
          SetEvent(ready_);
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
          window = nullptr;
        }) {
    WaitForSingleObject(ready_, 10000);
  }
  ~CopyingWindowThread() { PostThreadMessageW(thread_.Id(), WM_QUIT, 0, 0); }
  LONG CPresses() const { return window ? InterlockedCompareExchange(&window->cPresses, 0, 0) : 0; }
  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CopyingWindow* window = nullptr;

 private:
  Thread thread_;
};

// The clipboard's text and the pixels of its bitmap, to compare a clipboard byte for byte.
struct ClipboardContent {
  std::wstring text;
  std::vector<std::uint32_t> pixels;
  bool operator==(const ClipboardContent&) const = default;
};

constexpr int kBitmapSide = 8;

bool PutTextAndBitmap(const std::wstring& text) {
  if (!PutOnClipboard(text)) return false;
  std::uint32_t bits[kBitmapSide * kBitmapSide];
  for (int i = 0; i < kBitmapSide * kBitmapSide; ++i) bits[i] = 0x00102030u * static_cast<std::uint32_t>(i % 7 + 1);
  HBITMAP bitmap = CreateBitmap(kBitmapSide, kBitmapSide, 1, 32, bits);
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(50);
  const bool done = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  return done;
}

ClipboardContent ReadTextAndBitmap() {
  ClipboardContent c;
  c.text = ClipboardText();
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(50);
  if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kBitmapSide;
    info.bmiHeader.biHeight = -kBitmapSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    c.pixels.resize(kBitmapSide * kBitmapSide);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, kBitmapSide, c.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
  }
  CloseClipboard();
  return c;
}

// Another thread holds the clipboard open for ms from the moment it is made.
struct ClipboardHolder {
  explicit ClipboardHolder(DWORD ms)
      : thread_([this, ms] {
          HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
          if (OpenClipboard(owner)) {
            SetEvent(opened_);
            Sleep(ms);
            CloseClipboard();
          }
          DestroyWindow(owner);
        }) {
    WaitForSingleObject(opened_, 5000);
  }
  HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);

 private:
  Thread thread_;
};

class CaptureProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    // A first start: no settings and no per-application list left by the tests or runs before (the
    // settings dialog saves both; a list without notepad, or with notepad switched off, would
    // decide what the hot key may take).
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    wchar_t appData[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH)) {
      for (const wchar_t* name : {L"Parlavent.ini", L"WhiteList.inf", L"WhiteList.inf.bak"}) {
        DeleteFileW((std::wstring(appData) + L"\\Parlavent\\" + name).c_str());
      }
    }
    ASSERT_TRUE(program_.Started());
    main_ = WaitFor(kStartTimeoutMs, [this] { return WindowOf(program_.Id(), frmMain::kClassName, true); });
    ASSERT_NE(main_, nullptr);
    // A first start puts the window, kept above the others, in the middle of the screen: into the
    // corner with it, clear of the programs the tests point and click into.
    SetWindowPos(main_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    input_ = GetDlgItem(main_, 201);
    output_ = GetDlgItem(main_, 202);
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Exit), 0);
    // Ended by itself, not killed: under Wine a copy killed while it holds its key hooks costs
    // the next test's copy some of its keys.
    program_.ExitCodeWithin(kReactTimeoutMs);
  }
  bool OutputHas(const std::wstring& text) {
    return WaitFor(kReactTimeoutMs, [&] { return TextOfWindow(output_).find(text) != std::wstring::npos; });
  }
  // A click on the toolbar's Paste button, as a person gives it.
  void ClickPaste() {
    HWND tb1 = FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr);
    RECT r{};
    GetWindowRect(tb1, &r);
    // The buttons are all of one size; Paste is the fifth.
    const auto size = static_cast<DWORD>(SendMessageW(tb1, TB_GETBUTTONSIZE, 0, 0));
    SetForegroundWindow(main_);
    ClickAt(r.left + 4 * LOWORD(size) + LOWORD(size) / 2, r.top + HIWORD(size) / 2);
  }
  // The default hot key: Ctrl tapped twice, each tap far shorter than the program's key poll.
  static void TapHotKey() {
    for (int tap = 0; tap < 2; ++tap) {
      Keys({{VK_CONTROL, true}, {VK_CONTROL, false}});
      Sleep(60);
    }
  }
  // The hot key, once: the popup it shows, or null (and what the program did instead).
  HWND HotKeyPopup() {
    TapHotKey();
    HWND popup = PopupShown();
    if (!popup) {
      ADD_FAILURE() << "no popup; the main window " << (IsWindowVisible(main_) ? "shows" : "is hidden")
                    << ", the window in front is " << (GetForegroundWindow() == main_ ? "the main window" : "another");
    }
    return popup;
  }
  HWND PopupShown() {
    return WaitFor(kReactTimeoutMs, [this] { return WindowOf(program_.Id(), frmTT::kClassName, true); });
  }

  testing::Program program_;
  HWND main_ = nullptr, input_ = nullptr, output_ = nullptr;
};

TEST_F(CaptureProgram, ClipboardOfAnotherProcessIsPastedTranslatedAndCopiedBack) {
  ASSERT_TRUE(PutOnClipboard(L"Hund"));
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return ButtonEnabled(main_, kPasteButton); }))
      << "the Paste button follows the clipboard";
  PostMessageW(main_, WM_COMMAND, kPasteButton, 0);
  EXPECT_TRUE(OutputHas(L"собака")) << "the clipboard text is translated";

  // Text that is no text: the Paste button goes off.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return !ButtonEnabled(main_, kPasteButton); }));

  // Ctrl+V in the input box replaces the selection by the clipboard's plain text.
  ASSERT_TRUE(PutOnClipboard(L"Haus"));
  SetForegroundWindow(main_);
  ClickAt(input_);
  Keys({{VK_CONTROL, true}, {'A', true}, {'A', false}, {'V', true}, {'V', false}, {VK_CONTROL, false}});
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return TextOfWindow(input_) == L"Haus"; })) << TextOfWindow(input_);

  // Copy puts the input's selection on the clipboard, where this process reads it.
  ASSERT_TRUE(PutOnClipboard(L"something else"));
  Keys({{VK_CONTROL, true}, {'A', true}, {'A', false}, {VK_CONTROL, false}});
  PostMessageW(main_, WM_COMMAND, kCopyButton, 0);
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [] { return ClipboardText() == L"Haus"; })) << "copied: " << ClipboardText().size();
}

TEST_F(CaptureProgram, HotKeyOverNotepadShowsThePopupAndEscClosesIt) {
  Notepad notepad;
  HWND pad = notepad.frame, edit = notepad.edit;
  ASSERT_NE(edit, nullptr);
  notepad.SetText(L"Hund");
  ASSERT_TRUE(BringForward(pad, edit));
  SendMessageW(edit, EM_SETSEL, 0, -1);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the hot key shows the popup";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
  EXPECT_EQ(GetForegroundWindow(), pad) << "the popup leaves the focus where it was";
  // A tap of Esc, shorter than any poll.
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [&] { return !IsWindowVisible(popup); })) << "Esc closes the popup";
}

// One word looked up in the main window and in the popup: each window shows the result made for
// it, the main window's with its "Back" link, the popup's without.
TEST_F(CaptureProgram, TheSameWordInTheMainWindowAndThePopupKeepsEachItsOwnLinks) {
  const auto enterInMain = [this] {
    SendMessageW(input_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    PostMessageW(input_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(input_, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    for (wchar_t c : std::wstring(L"Hund")) PostMessageW(input_, WM_CHAR, c, 0);
    // The word list first, then Enter translates.
    if (!WaitFor(kReactTimeoutMs, [this] { return TextOfWindow(output_).starts_with(L"hund"); })) return false;
    PostMessageW(input_, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(input_, WM_KEYUP, VK_RETURN, 0);
    return WaitFor(kReactTimeoutMs, [this] {
      const std::wstring text = TextOfWindow(output_);
      return text.find(L"собака") != std::wstring::npos && text.find(L"Back") != std::wstring::npos;
    });
  };
  ASSERT_TRUE(enterInMain()) << "the main window's result has Back";
  Notepad notepad;
  ASSERT_NE(notepad.edit, nullptr);
  notepad.SetText(L"Hund");
  ASSERT_TRUE(BringForward(notepad.frame, notepad.edit));
  SendMessageW(notepad.edit, EM_SETSEL, 0, -1);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(WaitFor(kReactTimeoutMs, [&] { return PopupText(popup).find(L"собака") != std::wstring::npos; }));
  EXPECT_EQ(PopupText(popup).find(L"Back"), std::wstring::npos) << "the popup has no Back of the main window";
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  EXPECT_TRUE(enterInMain()) << "after the popup the main window has its Back again";
}

// The program registered as an automation server with the test skin plug-in (tests/plugin), which
// takes the popup over while it is loaded.
class CapturePlugIn : public CaptureProgram {
 protected:
  void SetUp() override {
    testing::Program reg(L"/regserver");
    ASSERT_EQ(reg.ExitCodeWithin(kReactTimeoutMs), 0u);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ParlaventTestPlugIn");
    testing::RegisterTestPlugIns();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CaptureProgram::SetUp();
  }
  void TearDown() override {
    if (appl_) appl_->Release();
    CaptureProgram::TearDown();
    testing::Program unreg(L"/unregserver");
    unreg.ExitCodeWithin(kReactTimeoutMs);
    testing::UnregisterTestPlugIns();
    CoUninitialize();
  }
  // A method of the running program's application object without arguments, called by name.
  HRESULT CallAppl(const wchar_t* member) {
    CLSID id{};
    if (!appl_ && SUCCEEDED(CLSIDFromProgID(L"Parlavent.Appl", &id))) {
      WaitFor(kStartTimeoutMs, [&] {
        return SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&appl_)));
      });
    }
    if (!appl_) return E_FAIL;
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const HRESULT hr = appl_->GetIDsOfNames(IID_NULL, &name, 1, 0, &dispid);
    return FAILED(hr) ? hr : appl_->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }
  IDispatch* appl_ = nullptr;
};

TEST_F(CapturePlugIn, HotKeyShowsThePopupAgainOnceTheSkinIsUnloaded) {
  Notepad notepad;
  ASSERT_NE(notepad.edit, nullptr);
  notepad.SetText(L"Hund");
  ASSERT_TRUE(BringForward(notepad.frame, notepad.edit));
  SendMessageW(notepad.edit, EM_SETSEL, 0, -1);
  ASSERT_HRESULT_SUCCEEDED(CallAppl(L"PlugInInit"));
  // The skin makes and shows the popup: the program learns of it only through the events.
  TapHotKey();
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [] {
    return testing::PlugInCalls().find(L"EventHandler:ShowToolTipWindow/4") != std::wstring::npos;
  })) << testing::PlugInCalls();
  ASSERT_HRESULT_SUCCEEDED(CallAppl(L"PlugInUnload"));
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the program's own popup is back";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
}

// A second start (the start-up entry's at every logon, or the user's) hands over to the running
// copy; the running copy still sees a hot key of two taps of 20 ms, once. Over blank space the hot
// key shows the main window, however slowly the window in front answers on a busy machine.
TEST_F(CaptureProgram, AfterASecondStartShortTapsAreStillSeen) {
  for (const wchar_t* arguments : {L"/h", L""}) {
    testing::Program second(arguments);
    ASSERT_TRUE(second.Started());
    ASSERT_EQ(second.ExitCodeWithin(kReactTimeoutMs), 0u) << "the second copy hands over and ends";
  }
  // The user's second start has the running copy show itself; that done, the window is hidden.
  const std::wstring main = std::wstring(testing::kProgramKey) + L"\\Main";
  ASSERT_TRUE(WaitFor(kReactTimeoutMs, [&] {
    wchar_t value[8] = {};
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, main.c_str(), L"NeedShow", RRF_RT_REG_SZ, nullptr, value, &size) ==
               ERROR_SUCCESS &&
           std::wstring(value) == L"0";
  }));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor(kReactTimeoutMs, [this] { return !IsWindowVisible(main_); }));
  Notepad notepad;
  ASSERT_NE(notepad.edit, nullptr);
  ASSERT_TRUE(BringForward(notepad.frame, notepad.edit));
  for (int n = 0; n < 2; ++n) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_CONTROL;
    SendInput(1, &in, sizeof in);
    Sleep(20);
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(60);
  }
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return IsWindowVisible(main_) != FALSE; }))
      << "two taps of 20 ms show the main window";
}

TEST_F(CaptureProgram, HotKeyOverWordpadShowsTheWordUnderThePointer) {
  Wordpad pad;
  ASSERT_NE(pad.rich, nullptr);
  SetWindowPos(pad.frame, nullptr, 450, 200, 500, 300, SWP_NOZORDER);
  SendMessageW(pad.rich, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Hund Hund Hund"));
  ASSERT_TRUE(BringForward(pad.frame, pad.rich));
  POINT p{14, 8};
  ClientToScreen(pad.rich, &p);
  PointerTo(p.x, p.y);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the hot key shows the popup";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
}

TEST_F(CaptureProgram, WordsPastTheFirst65535CharactersOfNotepad) {
  Notepad notepad;
  HWND pad = notepad.frame, edit = notepad.edit;
  ASSERT_NE(edit, nullptr);
  // Where a 16-bit position would wrap round to the start of the text, the words there differ.
  std::wstring text;
  while (text.size() < 70000) text += L"Katze\r\n";
  text += L"Hund";
  SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  notepad.SetText(text);
  ASSERT_TRUE(BringForward(pad, edit));
  const auto end = static_cast<WPARAM>(text.size());
  SendMessageW(edit, EM_SETSEL, end - 4, end);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the selection at the end is taken";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos) << "Hund, not a word near the start";
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  ASSERT_TRUE(WaitFor(kReactTimeoutMs, [&] { return !IsWindowVisible(popup); }));

  // No selection: the word under the pointer.
  SendMessageW(edit, EM_SETSEL, end, end);
  notepad.PointAt(end - 3);
  popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the word under the pointer is taken";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos) << "Hund, not a word near the start";
}

TEST_F(CaptureProgram, AutomaticModeTakesADoubleClickedWordWhenCtrlIsHeld) {
  Notepad notepad;
  HWND pad = notepad.frame, edit = notepad.edit;
  ASSERT_NE(edit, nullptr);
  notepad.SetText(L"Der Hund");
  PostMessageW(main_, WM_COMMAND, frmMain::kTB1Base + 6, 0);  // the Mode button
  ASSERT_TRUE(BringForward(pad, edit));
  // A person's double-click on "Hund" (quick clicks, each shorter than the program's poll),
  // then Ctrl held: the default gestures of automatic mode.
  notepad.PointAt(5);
  for (int click = 0; click < 2; ++click) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(60);
  }
  // Notepad selects the word when it has read the clicks; then the pointer goes to "Der", so that
  // only the selection gives "Hund".
  DWORD from = 0, to = 0;
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [&] {
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return from == 4 && to == 8;
  })) << "notepad selected " << from << ".." << to;
  notepad.PointAt(1);
  Keys({{VK_CONTROL, true}});
  WaitFor(700, [] { return false; });  // held while this thread's windows go on answering
  Keys({{VK_CONTROL, false}});
  HWND popup = PopupShown();
  ASSERT_NE(popup, nullptr) << "automatic mode shows the popup";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
}

TEST_F(CaptureProgram, CtrlCReachesTheCapturedWindowOnlyWhenItIsInFront) {
  ASSERT_TRUE(PutOnClipboard(L"user text A"));
  CopyingWindow target({450, 200, 750, 420});
  target.selection = L"Hund";
  // A label on the target, which a capture reads by its caption, without keys.
  HWND label = CreateWindowExW(0, L"STATIC", L"Hund", WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, target.window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  CopyingWindowThread front({450, 440, 750, 600});
  ASSERT_NE(front.window, nullptr);
  PostMessageW(main_, WM_COMMAND, frmMain::kTB1Base + 6, 0);  // the Mode button: automatic mode
  // The gesture of automatic mode: Ctrl held; the popup it shows, or null.
  const auto holdCtrl = [this] {
    Keys({{VK_CONTROL, true}});
    WaitFor(700, [] { return false; });  // held while this thread's windows go on answering
    Keys({{VK_CONTROL, false}});
    return PopupShown();
  };
  // Pointing at the label of the target behind the window in front: the capture reads the
  // caption, and no key reaches any window.
  ASSERT_TRUE(BringForward(front.window->window, front.window->window));
  const POINT onLabel = testing::CenterOf(label);
  PointerTo(onLabel.x, onLabel.y);
  HWND popup = holdCtrl();
  ASSERT_NE(popup, nullptr) << "the hold over the target behind was seen";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
  EXPECT_EQ(front.CPresses(), 0) << "no Ctrl+C reached the window in front";
  EXPECT_EQ(target.cPresses, 0) << "the target behind is not read by a keystroke";
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  ASSERT_TRUE(WaitFor(kReactTimeoutMs, [&] { return !IsWindowVisible(popup); }));

  // In front, the target gets Ctrl+C and its copy is shown (the pointer off the label); the
  // clipboard is the user's again.
  ASSERT_TRUE(BringForward(target.window, target.window));
  target.PointAt();
  popup = holdCtrl();
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
  EXPECT_GE(target.cPresses, 1);
  EXPECT_EQ(front.CPresses(), 0);
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [] { return ClipboardText() == L"user text A"; })) << ClipboardText().size();
}

TEST_F(CaptureProgram, TheClipboardIsTheSameByteForByteAndAnEmptyFirstCaptureSwitchesNothingOff) {
  ASSERT_TRUE(PutTextAndBitmap(L"user text B"));
  const ClipboardContent before = ReadTextAndBitmap();
  ASSERT_EQ(before.text, L"user text B");
  ASSERT_EQ(before.pixels.size(), static_cast<std::size_t>(kBitmapSide * kBitmapSide));
  CopyingWindow target({450, 200, 850, 500});
  ASSERT_TRUE(BringForward(target.window, target.window));
  ShowWindow(main_, SW_HIDE);
  target.PointAt();
  {
    // A program met for the first time, nothing selected and the clipboard held open elsewhere.
    ClipboardHolder held(300);
    for (int tap = 0; tap < 2; ++tap) Keys({{VK_CONTROL, true}, {VK_CONTROL, false}});
  }
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return IsWindowVisible(main_) != FALSE; }))
      << "the hot key with nothing to capture shows the main window";
  EXPECT_EQ(ReadTextAndBitmap(), before);

  target.selection = L"Hund";
  ASSERT_TRUE(BringForward(target.window, target.window));
  target.PointAt();
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "an empty first capture has not switched the program off";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [&] { return ReadTextAndBitmap() == before; }))
      << "the clipboard is the user's again, text and bitmap";
}

// The captured window copies after the program stopped waiting: without an owner, then as its
// own window; either copy is undone.
TEST_F(CaptureProgram, ALateCopyOfTheCapturedWindowLeavesTheUsersClipboardText) {
  ASSERT_TRUE(PutOnClipboard(L"user text C"));
  CopyingWindowThread late({450, 200, 750, 420});
  ASSERT_NE(late.window, nullptr);
  late.window->selection = L"Katze";
  late.window->lateMs = 1200;
  for (const bool owned : {false, true}) {
    // In front each time: a hot key that finds nothing in time shows the main window.
    ASSERT_TRUE(BringForward(late.window->window, late.window->window));
    late.window->PointAt();
    late.window->lateOwned = owned;
    const LONG copies = InterlockedCompareExchange(&late.window->lateCopies, 0, 0);
    TapHotKey();
    ASSERT_TRUE(WaitFor(kReactTimeoutMs, [&] {
      return InterlockedCompareExchange(&late.window->lateCopies, 0, 0) > copies;
    })) << "the window copied, late; owned: " << owned;
    EXPECT_TRUE(WaitFor(kReactTimeoutMs, [] { return ClipboardText() == L"user text C"; }))
        << ClipboardText().size() << " owned: " << owned;
  }
}

TEST_F(CaptureProgram, TheCaptionOfALabelIsReadOnlyWithTraceControls) {
  CopyingWindow target({450, 200, 750, 420});
  // The label lies in a group box, which the system may name as the window at the pointer.
  CreateWindowExW(0, L"BUTTON", L"Katze", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 5, 260, 80, target.window, nullptr,
                  GetModuleHandleW(nullptr), nullptr);
  HWND label = CreateWindowExW(0, L"STATIC", L"Hund", WS_CHILD | WS_VISIBLE, 20, 20, 200, 40, target.window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  const POINT onLabel = testing::CenterOf(label);
  ASSERT_TRUE(BringForward(target.window, target.window));
  PointerTo(onLabel.x, onLabel.y);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr) << "the hot key over the label shows the popup";
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);

  // With TraceControls=0 in the settings file the label is not read: the hot key, finding
  // nothing, shows the main window.
  PostMessageW(main_, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Exit), 0);
  ASSERT_NE(program_.ExitCodeWithin(kReactTimeoutMs), static_cast<DWORD>(STILL_ACTIVE));
  main_ = nullptr;
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
  HANDLE ini = CreateFileW((std::wstring(appData) + L"\\Parlavent\\Parlavent.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(ini, INVALID_HANDLE_VALUE);
  const char kIni[] = "[Main]\r\nTraceControls=0\r\n";
  DWORD written = 0;
  WriteFile(ini, kIni, sizeof kIni - 1, &written, nullptr);
  CloseHandle(ini);
  testing::Program second;
  HWND main = WaitFor(kStartTimeoutMs, [&] { return WindowOf(second.Id(), frmMain::kClassName, true); });
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(BringForward(target.window, target.window));
  PointerTo(onLabel.x, onLabel.y);
  TapHotKey();
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_EQ(WindowOf(second.Id(), frmTT::kClassName, true), nullptr) << "no popup";
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Exit), 0);
  second.ExitCodeWithin(kReactTimeoutMs);
}

TEST_F(CaptureProgram, ATextRunSentToTheHiddenWindowIsShownInThePopup) {
  HWND hook = WaitFor(kReactTimeoutMs, [] { return FindWindowW(L"ParlaventClipHook", L"parlavent_hook_window"); });
  ASSERT_NE(hook, nullptr);
  CopyingWindow sender({450, 200, 750, 420});
  const std::wstring run = L"Hund";
  COPYDATASTRUCT data{1, static_cast<DWORD>(run.size() * sizeof(wchar_t)), const_cast<wchar_t*>(run.data())};
  DWORD_PTR shown = 0;
  SendMessageTimeoutW(hook, WM_COPYDATA, reinterpret_cast<WPARAM>(sender.window), reinterpret_cast<LPARAM>(&data),
                      SMTO_ABORTIFHUNG, kReactTimeoutMs, &shown);
  EXPECT_EQ(shown, 1u);
  HWND popup = PopupShown();
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
}

TEST_F(CaptureProgram, ARichEditSelectionAfterManyParagraphsIsTaken) {
  Wordpad pad;
  ASSERT_NE(pad.rich, nullptr);
  SetWindowPos(pad.frame, nullptr, 450, 200, 500, 300, SWP_NOZORDER);
  std::wstring text;
  for (int i = 0; i < 200; ++i) text += L"Katze\r\n";
  text += L"Hund";
  SendMessageW(pad.rich, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_TRUE(BringForward(pad.frame, pad.rich));
  // The control's own positions: one character a break.
  SendMessageW(pad.rich, EM_SETSEL, 200 * 6, 200 * 6 + 4);
  SendMessageW(pad.rich, EM_SCROLLCARET, 0, 0);
  HWND popup = HotKeyPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(PopupText(popup).find(L"собака"), std::wstring::npos);
}

TEST_F(CaptureProgram, MegabytesOnTheClipboardLeaveTheProgramAnswering) {
  std::wstring big;
  // 5 MB of text in the clipboard's Unicode form.
  while (big.size() * sizeof(wchar_t) < 5u * 1024 * 1024) big += L"Hund ";
  ASSERT_TRUE(PutOnClipboard(big));
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return ButtonEnabled(main_, kPasteButton); }));
  ClickPaste();
  Sleep(500);
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return Answers(main_, 1000); })) << "the program answers again";
  // The look-up got the start of the text, cut before a word.
  std::wstring looked;
  WaitFor(kReactTimeoutMs, [&] { return !(looked = TextOfWindow(input_)).empty(); });
  EXPECT_EQ(looked.substr(0, 10), L"Hund Hund ");
  EXPECT_LE(looked.size(), 1024u);

  // Pasted into the input box, it is cut the same way and the box stays usable.
  ClickAt(input_);
  Keys({{VK_CONTROL, true}, {'A', true}, {'A', false}, {VK_BACK, true}, {VK_BACK, false}});
  Keys({{VK_CONTROL, true}, {'V', true}, {'V', false}, {VK_CONTROL, false}});
  Sleep(500);
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [this] { return Answers(main_, 1000); })) << "the program answers after Ctrl+V";
  const std::wstring pasted = TextOfWindow(input_);
  EXPECT_EQ(pasted.substr(0, 10), L"Hund Hund ");
  EXPECT_LE(pasted.size(), 1024u);
}

// In this process: a back-translation link of a popup opens the popup beside the pointer through
// the edit menu's item, and Esc closes it.
TEST(CapturePopup, BackTranslationLinkOpensThePopupBesidePointerAndEscClosesIt) {
  Appl app;
  SetAppl(&app);
  app.Sett = std::make_shared<Setting>();
  app.State.gSetting = app.Sett;
  const auto dic = OpenPackageDic(app, std::filesystem::path(testing::InstallFolderW()) / "Dictionaries" / "de-ru_full.dic");
  ASSERT_TRUE(dic);
  app.Dic = dic;
  app.State.gCurDic = dic;
  app.ColDics.Add(u"k1", dic);
  auto capture = std::make_shared<Win32Capture>();
  app.Capture = capture;
  MainWindowCore core{MainControls{}};
  auto link = std::make_shared<clsLinkItem>();
  link->Prefix = u"BackTTTrans";
  link->Link = u"Hund";
  app.State.gCurLink = link;
  SetCursorPos(300, 300);
  ASSERT_TRUE(WaitFor(2000, [] {
    POINT p{};
    return GetCursorPos(&p) && p.x == 300 && p.y == 300;
  }));
  core.MenuClick(MenuItem::BackTrans);
  frmTT& popup = capture->Popup();
  ASSERT_TRUE(popup.Visible());
  RECT r{};
  GetWindowRect(popup.hwnd(), &r);
  // Where the popup saw the pointer (a pointer warp can reach Wine late).
  const POINT at{app.State.gLastCursorX, app.State.gLastCursorY};
  EXPECT_TRUE((r.left > at.x && r.left < at.x + 40) || r.right < at.x) << "beside the pointer";
  EXPECT_TRUE(r.top > at.y || r.bottom < at.y) << "below the pointer, or above it where there is no room";
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(PopupText(popup.hwnd()).find(L"собака"), std::wstring::npos);
  EXPECT_EQ(app.History().UndoCol.size(), 1u) << "the popup view is recorded";
  Keys({{VK_ESCAPE, true}});
  EXPECT_TRUE(WaitFor(5000, [&] { return !popup.Visible(); }));
  Keys({{VK_ESCAPE, false}});
  app.CloseByteFile();
  SetAppl(nullptr);
}

}  // namespace
}  // namespace parlavent

namespace parlavent {
namespace {

// Another program holding the clipboard open: the copy and the paste give up within a moment.
// The rich-edit control of another process reads the point through a block written into that
// process; the word under the pointer comes back.
TEST(CaptureWord, TheWordUnderThePointerOfWordpadsRichEditIsRead) {
  Wordpad pad;
  ASSERT_NE(pad.rich, nullptr);
  HWND rich = pad.rich;
  SendMessageW(rich, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Katze Katze Katze\r\nHund"));
  POINT p{12, 6};
  ClientToScreen(rich, &p);
  Win32Capture capture;
  EXPECT_EQ(capture.TakeText(FromHwnd(rich), CaptureSource::WordAtPointer, {p.x, p.y}), u"Katze");
  // Far below the text the control answers with a character of its last line: a whole word or none.
  p = {12, 4000};
  ClientToScreen(rich, &p);
  const std::u16string below = capture.TakeText(FromHwnd(rich), CaptureSource::WordAtPointer, {p.x, p.y});
  EXPECT_TRUE(below.empty() || below == u"Hund") << ToUtf8(below);
}

// A rich-edit control that answers too late still reads the point it was sent: the block the
// point was written into stays until the control has answered.
TEST(CaptureWord, ABusyRichEditReadsItsPointAfterTheWait) {
  static LONG readX = -1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg != EM_CHARFROMPOS) return DefWindowProcW(w, msg, wp, lp);
    Sleep(800);
    // The first read counts.
    InterlockedCompareExchange(&readX, reinterpret_cast<const POINTL*>(lp)->x, -1);
    return 0;
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SlowRichEdit";
  RegisterClassW(&wc);
  HWND control = nullptr;
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  {
    Thread owner([&] {
      threadId = GetCurrentThreadId();
      control = CreateWindowExW(0, L"SlowRichEdit", L"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
      SetEvent(made);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      DestroyWindow(control);
    });
    ASSERT_EQ(WaitForSingleObject(made, 10000), WAIT_OBJECT_0);
    Win32Capture capture;
    EXPECT_EQ(capture.TakeText(FromHwnd(control), CaptureSource::WordAtPointer, {117, 110}), u"") << "no answer in time";
    // A second read, of another point, while the control is still busy with the first: the first
    // block stays lent, not freed and handed out again.
    EXPECT_EQ(capture.TakeText(FromHwnd(control), CaptureSource::WordAtPointer, {140, 110}), u"");
    EXPECT_TRUE(WaitFor(10000, [] { return InterlockedCompareExchange(&readX, 0, 0) != -1; }));
    EXPECT_EQ(readX, 17) << "the point, not freed memory";
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
  }
  CloseHandle(made);
}

TEST(CapturePaste, TheClipboardIsPastedIntoTheWindowBroughtForward) {
  Notepad notepad;
  ASSERT_NE(notepad.edit, nullptr);
  ASSERT_TRUE(PutOnClipboard(L"Hund"));
  Win32Capture capture;
  capture.PasteInto(FromHwnd(notepad.frame));
  EXPECT_TRUE(WaitFor(kReactTimeoutMs, [&] { return TextOfWindow(notepad.edit) == L"Hund"; }));
}

TEST(CaptureClipboard, BytesAndFileListsGoThroughTheClipboard) {
  Win32Capture capture;
  const std::vector<std::u16string> files{u"C:\\Texte\\Brief.txt", u"C:\\Texte\\Haus und Hund.doc"};
  ASSERT_TRUE(capture.SetClipboardFiles(files));
  EXPECT_EQ(capture.ClipboardFiles(), files);
  const UINT format = RegisterClipboardFormatW(L"Parlavent test bytes");
  const std::vector<std::uint8_t> bytes{0, 1, 2, 250, 0, 7};
  ASSERT_TRUE(capture.SetClipboardBytes(format, bytes));
  EXPECT_EQ(capture.ClipboardBytes(format), bytes);
  EXPECT_TRUE(capture.ClipboardFiles().empty()) << "no file list on the clipboard now";
}

// The simulated copy of a window behind the one in front sends no key: the keys would reach the
// window in front.
TEST(CaptureClipboard, ASelectionIsNotCopiedFromAWindowBehindTheOneInFront) {
  Appl app;
  SetAppl(&app);
  auto capture = std::make_shared<Win32Capture>();
  app.Capture = capture;
  capture->Load(app);
  ASSERT_TRUE(PutOnClipboard(L"user text D"));
  {
    CopyingWindow target({450, 200, 750, 420});
    target.selection = L"Hund";
    CopyingWindowThread front({450, 440, 750, 600});
    ASSERT_NE(front.window, nullptr);
    front.window->selection = L"Katze";
    ASSERT_TRUE(BringForward(front.window->window, front.window->window));
    EXPECT_EQ(capture->TakeText(FromHwnd(target.window), CaptureSource::Selection, {}), u"");
    EXPECT_EQ(front.CPresses(), 0);
    EXPECT_EQ(target.cPresses, 0);
    EXPECT_EQ(ClipboardText(), L"user text D");
  }
  app.Capture.reset();
  SetAppl(nullptr);
}

// Every format comes back whole, and what the copy added is gone; a private format, a handle only
// its owner understands, is not kept at all.
TEST(CaptureClipboard, TheKeptClipboardComesBackWholeAndAlone) {
  const UINT kept = RegisterClipboardFormatW(L"Parlavent test kept");
  const UINT added = RegisterClipboardFormatW(L"Parlavent test added");
  std::vector<char> bytes(10000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  const auto put = [](UINT format, const std::vector<char>& data) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
    std::copy(data.begin(), data.end(), static_cast<char*>(GlobalLock(block)));
    GlobalUnlock(block);
    return SetClipboardData(format, block) != nullptr;
  };
  const auto bytesOf = [](UINT format) {
    std::vector<char> data;
    if (!OpenClipboard(nullptr)) return data;
    if (HANDLE h = GetClipboardData(format)) {
      const auto* p = static_cast<const char*>(GlobalLock(h));
      data.assign(p, p + GlobalSize(h));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return data;
  };
  ASSERT_TRUE(PutOnClipboard(L"user text E"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(put(kept, bytes));
  CloseClipboard();
  ClipboardKeeper keeper;
  ASSERT_TRUE(keeper.Keep(1000));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_TRUE(put(added, {1, 2, 3}));
  CloseClipboard();
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(keeper.PutBack(owner));
  EXPECT_EQ(ClipboardText(), L"user text E");
  EXPECT_EQ(bytesOf(kept), bytes) << "all 10,000 bytes";
  EXPECT_FALSE(IsClipboardFormatAvailable(added)) << "the copy's format is gone";

  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  ASSERT_TRUE(put(CF_PRIVATEFIRST, bytes));
  CloseClipboard();
  EXPECT_FALSE(keeper.Keep(1000));
  DestroyWindow(owner);
}

TEST(CaptureClipboard, ALockedClipboardIsGivenUpQuickly) {
  Win32Capture capture;
  ASSERT_TRUE(PutOnClipboard(L"before"));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::array<HANDLE, 2> events{opened, release};
  HANDLE holder = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* events = static_cast<HANDLE*>(p);
        HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (OpenClipboard(owner)) {
          SetEvent(events[0]);
          WaitForSingleObject(events[1], 10000);
          CloseClipboard();
        }
        DestroyWindow(owner);
        return 0;
      },
      events.data(), 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(capture.SetClipboardText(u"after"));
  EXPECT_EQ(capture.ClipboardText(), u"");
  EXPECT_LT(GetTickCount() - start, 2000u) << "no waiting on the other program";
  SetEvent(release);
  WaitForSingleObject(holder, 5000);
  EXPECT_EQ(capture.ClipboardText(), u"before");
  EXPECT_TRUE(capture.SetClipboardText(u"after"));
  EXPECT_EQ(ClipboardText(), L"after");
  for (HANDLE h : {holder, opened, release}) CloseHandle(h);
}

}  // namespace
}  // namespace parlavent

namespace parlavent {
namespace {

// Text dropped on the main window reaches TransDrop; a drop without text is refused.
TEST(CaptureDrop, DroppedUnicodeTextIsTranslated) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  Appl app;
  SetAppl(&app);
  IDropTarget* target = MakeTextDropTarget(MakeCaptureEvents(app));
  ASSERT_TRUE(PutOnClipboard(L"  Hund\r\n"));
  IDataObject* data = nullptr;
  ASSERT_EQ(OleGetClipboard(&data), S_OK);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(data, 0, POINTL{0, 0}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(data, 0, POINTL{0, 0}, &effect), S_OK);
  ASSERT_FALSE(app.History().UndoCol.empty());
  EXPECT_EQ(app.History().UndoCol.front()->Data.substr(0, 5), u"Hund\t") << "the trimmed text is translated";
  data->Release();

  // Nothing but a file list: no drop.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_HDROP, GlobalAlloc(GMEM_MOVEABLE, 64));
  CloseClipboard();
  ASSERT_EQ(OleGetClipboard(&data), S_OK);
  effect = DROPEFFECT_COPY;
  target->DragEnter(data, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  const auto views = app.History().UndoCol.size();
  target->Drop(data, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(app.History().UndoCol.size(), views);
  data->Release();
  target->Release();
  SetAppl(nullptr);
  OleUninitialize();
}

}  // namespace
}  // namespace parlavent
