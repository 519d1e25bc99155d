#include "capture/win32/win32_capture.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <optional>
#include <vector>

#include "app/application.h"
#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "capture/control_text.h"
#include "capture/popup_place.h"
#include "capture/simulated_copy.h"
#include "capture/win32/clipboard_keeper.h"
#include "capture/win32/popup_forms.h"
#include "dictionary/lookup.h"
#include "platform/code_page.h"
#include "platform/win32/input_hooks.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/window_base.h"
#include "text/text.h"

namespace parlavent {
namespace {

// A window that does not answer within this time is skipped.
constexpr UINT kAnswerMs = 300;
// How long a simulated copy waits for the other program to fill the clipboard.
constexpr DWORD kCopyWaitMs = 500;
// How long keeping the clipboard, or reading the copied text, may take.
constexpr DWORD kClipboardReadMs = 1000;
// Texts taken from other programs' controls are read at most this far.
constexpr std::size_t kMaxControlText = 1 << 20;
// Blocks lent to other programs' controls that have not answered yet; no more are lent beyond it.
constexpr std::size_t kMaxLentBlocks = 16;
constexpr UINT kLentCheckMs = 20;
// The hidden window's copy-data message that carries a text run (UTF-16) to show in the popup.
constexpr ULONG_PTR kTextRunData = 1;
constexpr DWORD kMaxTextRunBytes = 1 << 20;
constexpr UINT_PTR kCopyGuardTimer = 1;
constexpr UINT kCopyGuardInterval = 200;

HGLOBAL GlobalText(std::u16string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!block) return nullptr;
  auto* p = static_cast<wchar_t*>(GlobalLock(block));
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(block);
  return block;
}

bool Ask(HWND window, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR& result) {
  return SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &result) != 0;
}

std::u16string ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return std::u16string(name, name + std::max(n, 0));
}

bool IsRichEdit(const std::u16string& cls) { return FindNoCase(cls, u"RichEdit") != std::u16string::npos; }
bool IsEdit(const std::u16string& cls) { return EqualsNoCase(cls, u"Edit") || IsRichEdit(cls); }

// The first up-to limit characters of a control's text, or nothing when it does not answer.
std::optional<std::u16string> ControlText(HWND window, std::size_t limit) {
  DWORD_PTR length = 0;
  if (!Ask(window, WM_GETTEXTLENGTH, 0, 0, length)) return std::nullopt;
  const std::size_t n = std::min<std::size_t>(length, limit);
  std::vector<wchar_t> buffer(n + 1, 0);
  DWORD_PTR copied = 0;
  if (!Ask(window, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(buffer.data()), copied)) return std::nullopt;
  return std::u16string(buffer.data(), buffer.data() + std::min<std::size_t>(copied, n));
}

std::u16string EditSelection(HWND control, bool richEdit) {
  // The answer's two halves end at 65535 characters; the two numbers the message writes do not.
  // The system carries them back from the other process.
  DWORD first = 0, last = 0;
  DWORD_PTR sel = 0;
  if (!Ask(control, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last), sel)) return {};
  if (first == 0 && last == 0 && static_cast<LONG>(sel) != -1) {
    first = LOWORD(sel);
    last = HIWORD(sel);
  }
  const std::size_t start = first, end = last;
  if (end <= start || end > kMaxControlText) return {};
  const auto text = ControlText(control, ControlTextReach(end, richEdit));
  return text ? SelectionIn(*text, start, end, richEdit) : std::u16string();
}

bool IsWordChar(char16_t c) { return std::iswalnum(static_cast<wint_t>(c)) || c == u'-' || c == u'\''; }

// The word of text around index; "" when index is not in a word.
std::u16string WordAround(const std::u16string& text, std::size_t index) {
  if (index >= text.size() || !IsWordChar(text[index])) return {};
  std::size_t first = index, last = index + 1;
  while (first > 0 && IsWordChar(text[first - 1])) --first;
  while (last < text.size() && IsWordChar(text[last])) ++last;
  return text.substr(first, last - first);
}

std::u16string EditWordAt(HWND control, Point pointer) {
  POINT p{pointer.x, pointer.y};
  ScreenToClient(control, &p);
  DWORD_PTR at = 0;
  if (!Ask(control, EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y), at)) return {};
  // The answer keeps only the low 16 bits of the index; the start of its line gives the rest.
  std::size_t index = LOWORD(at);
  DWORD_PTR lineStart = 0;
  if (Ask(control, EM_LINEINDEX, HIWORD(at), 0, lineStart) && static_cast<LONG>(lineStart) >= 0) {
    index = lineStart + ((index - (lineStart & 0xFFFF)) & 0xFFFF);
  }
  if (index >= kMaxControlText) return {};
  const auto text = ControlText(control, std::min(kMaxControlText, index + 256));
  return text ? WordAround(*text, index) : std::u16string();
}

// A block written into another program's process for its control to read. A control that did
// not answer in time reads it later: the block is freed only once the control has answered a
// message sent after it (sent messages are handled in order), or its window or process is gone.
struct LentBlock {
  HWND control;
  HANDLE process;
  void* block;
};

std::vector<LentBlock>& LentBlocks() {
  static std::vector<LentBlock> lent;
  return lent;
}

void ReturnLentBlocks() {
  auto& lent = LentBlocks();
  for (auto it = lent.begin(); it != lent.end();) {
    const bool processGone = WaitForSingleObject(it->process, 0) == WAIT_OBJECT_0;
    // A short question: a control still busy keeps its block till the next read.
    const bool answered = processGone || !IsWindow(it->control) ||
                          SendMessageTimeoutW(it->control, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kLentCheckMs, nullptr) != 0;
    if (!answered) {
      ++it;
      continue;
    }
    if (!processGone) VirtualFreeEx(it->process, it->block, 0, MEM_RELEASE);
    CloseHandle(it->process);
    it = lent.erase(it);
  }
}

// A rich-edit control reads the point of EM_CHARFROMPOS through a pointer, which the system does
// not carry into another process: the point is written into a block of the control's process.
std::optional<std::size_t> RichEditCharAt(HWND control, POINT p) {
  ReturnLentBlocks();
  if (LentBlocks().size() >= kMaxLentBlocks) return std::nullopt;
  DWORD processId = 0;
  GetWindowThreadProcessId(control, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | SYNCHRONIZE, FALSE, processId);
  if (!process) return std::nullopt;
  std::optional<std::size_t> index;
  const POINTL point{p.x, p.y};
  void* block = VirtualAllocEx(process, nullptr, sizeof point, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block || !WriteProcessMemory(process, block, &point, sizeof point, nullptr)) {
    if (block) VirtualFreeEx(process, block, 0, MEM_RELEASE);
    CloseHandle(process);
    return std::nullopt;
  }
  DWORD_PTR at = 0;
  if (!Ask(control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(block), at)) {
    LentBlocks().push_back({control, process, block});
    return std::nullopt;
  }
  index = static_cast<std::size_t>(static_cast<DWORD>(at));
  VirtualFreeEx(process, block, 0, MEM_RELEASE);
  CloseHandle(process);
  return index;
}

std::u16string RichEditWordAt(HWND control, Point pointer) {
  POINT p{pointer.x, pointer.y};
  ScreenToClient(control, &p);
  const std::optional<std::size_t> index = RichEditCharAt(control, p);
  if (!index || *index >= kMaxControlText) return {};
  // The control counts a paragraph break as one character where its text has two.
  const auto text = ControlText(control, std::min(kMaxControlText, 2 * *index + 256));
  return text ? WordAround(AsControlCounts(*text, true), *index) : std::u16string();
}

bool IsGroupBox(HWND w) {
  return EqualsNoCase(ClassOf(w), u"Button") && (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The innermost visible control of window at a point of the screen. Pointing tells a static
// control from its dialog only this way: a static control answers the system's hit test as
// transparent. A group box lies over the controls it frames, which are meant rather than it.
HWND ControlAt(HWND window, Point pointer) {
  for (int depth = 0; depth < 32; ++depth) {
    POINT p{pointer.x, pointer.y};
    ScreenToClient(window, &p);
    HWND child = ChildWindowFromPointEx(window, p, CWP_SKIPINVISIBLE);
    if (!child || child == window) break;
    for (HWND next = child; next && IsGroupBox(child);) {
      next = GetWindow(next, GW_HWNDNEXT);
      RECT r{};
      if (next && IsWindowVisible(next) && GetWindowRect(next, &r) && PtInRect(&r, POINT{pointer.x, pointer.y})) {
        child = next;
      }
    }
    window = child;
  }
  return window;
}

// A caption as it reads: "&" marks the next letter as the control's key, "&&" stands for "&".
std::u16string WithoutKeyMarks(const std::u16string& caption) {
  std::u16string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

// The caption of the button, combo box or static control under the pointer, read by its
// messages: a combo box answers with the text of its edit field or its selected item.
std::u16string CaptionAt(HWND window, Point pointer) {
  // From the top-level window down: the window the system found at the point may be a group box.
  HWND control = ControlAt(GetAncestor(window, GA_ROOT), pointer);
  const std::u16string cls = ClassOf(control);
  const bool combo = FindNoCase(cls, u"ComboBox") != std::u16string::npos;
  if (!combo && FindNoCase(cls, u"Button") == std::u16string::npos && FindNoCase(cls, u"Static") == std::u16string::npos) {
    return {};
  }
  const auto text = ControlText(control, kMaxControlText);
  if (!text) return {};
  return combo ? *text : WithoutKeyMarks(*text);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (thread && GetGUIThreadInfo(thread, &info) && info.hwndFocus) return info.hwndFocus;
  return window;
}

INPUT KeyInput(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (vk == VK_INSERT ? KEYEVENTF_EXTENDEDKEY : 0);
  in.ki.dwExtraInfo = kOwnInputMark;
  return in;
}

void SendKeys(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool KeyDown(int vk) { return GetAsyncKeyState(vk) < 0; }

// Waits up to ms for the clipboard's counter to move on from since, answering the messages other
// threads send this one (the clipboard's owner may ask it to render), but running no timer: no
// poll starts inside the wait.
bool WaitForSequence(std::uint32_t since, DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetClipboardSequenceNumber() == since) {
    if (GetTickCount() - start >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

// The simulated copy's hands: the keys, the clipboard and the window captured.
class Win32CopyPort final : public CopyPort {
 public:
  HWND owner = nullptr;   // the clipboard window, owner of what is put back
  HWND target = nullptr;  // the window captured
  DWORD targetProcess = 0;

  bool TargetInFront() override {
    return target && IsWindow(target) && GetForegroundWindow() == GetAncestor(target, GA_ROOT);
  }
  bool SaveClipboard() override { return keeper_.Keep(kClipboardReadMs); }
  std::uint32_t ClipboardSequence() override { return GetClipboardSequenceNumber(); }
  void SendCopyKeys() override {
    std::vector<INPUT> inputs;
    for (const CopyKey& k : CopyKeystrokes(KeyDown(VK_SHIFT), KeyDown(VK_MENU))) {
      inputs.push_back(KeyInput(static_cast<WORD>(k.vk), k.down));
    }
    SendKeys(inputs);
  }
  bool WaitForClipboardChange(std::uint32_t since) override { return WaitForSequence(since, kCopyWaitMs); }
  std::u16string ReadClipboardText() override {
    std::u16string text;
    ReadClipboardTextWithin(kClipboardReadMs, text);
    return text;
  }
  bool RestoreClipboard() override { return keeper_.PutBack(owner); }
  void DiscardSavedClipboard() override { keeper_.Forget(); }
  bool ChangedByAnotherProgram() override {
    HWND by = GetClipboardOwner();
    DWORD process = 0;
    if (by) GetWindowThreadProcessId(by, &process);
    return process != 0 && process != targetProcess;
  }

 private:
  ClipboardKeeper keeper_;
};

std::u16string ProcessPath(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  std::u16string result;
  if (QueryFullProcessImageNameW(process, 0, path, &size)) result.assign(path, path + size);
  CloseHandle(process);
  return result;
}

// ---- frmClipHook -----------------------------------------------------------------------------

class frmClipHook final : public WindowBase {
 public:
  ~frmClipHook() override {
    if (!hwnd()) return;
    if (listening_) {
      RemoveClipboardFormatListener(hwnd());
    } else {
      ChangeClipboardChain(hwnd(), next_);
    }
    DestroyWindow(hwnd());
  }
  bool Load() {
    CreateArgs args;
    args.className = L"ParlaventClipHook";
    args.title = u"parlavent_hook_window";
    args.style = WS_POPUP;
    args.width = args.height = 0;
    if (!Create(args)) return false;
    // Other programs of the user may send it text runs to translate.
    ChangeWindowMessageFilterEx(hwnd(), WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    listening_ = AddClipboardFormatListener(hwnd()) != FALSE;
    // Without the listener the window joins the clipboard-viewer chain.
    if (!listening_) next_ = SetClipboardViewer(hwnd());
    Changed();
    return true;
  }
  /// Checks the simulated copy's restore now and then while it waits.
  void WatchCopy(bool on) {
    if (!hwnd()) return;
    if (on) {
      SetTimer(hwnd(), kCopyGuardTimer, kCopyGuardInterval, nullptr);
    } else {
      KillTimer(hwnd(), kCopyGuardTimer);
    }
  }
  std::function<void()> ClipboardChanged;  // before the program hears of a change
  std::function<bool()> CopyQuiet;         // the change is the simulated copy's own
  std::function<void()> CopyTick;
  std::function<bool(WindowHandle, std::u16string_view)> TextRunArrived;  // false: nothing shown

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_CLIPBOARDUPDATE: Update(); return 0;
      case WM_DRAWCLIPBOARD:
        Update();
        if (next_) SendMessageTimeoutW(next_, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
        return 0;
      case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wp) == next_) {
          next_ = reinterpret_cast<HWND>(lp);
        } else if (next_) {
          SendMessageTimeoutW(next_, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
        }
        return 0;
      case WM_TIMER:
        if (wp == kCopyGuardTimer && CopyTick) CopyTick();
        return 0;
      case WM_COPYDATA: return TextRun(reinterpret_cast<HWND>(wp), reinterpret_cast<const COPYDATASTRUCT*>(lp));
      default: return WindowBase::OnMessage(msg, wp, lp);
    }
  }

 private:
  void Update() {
    if (ClipboardChanged) ClipboardChanged();
    // The copy and its restore leave the user's clipboard as it was: nothing for the program to
    // follow, and nothing to read aloud.
    if (!CopyQuiet || !CopyQuiet()) Changed();
  }
  static void Changed() {
    if (!HasAppl()) return;
    try {
      gAppl().ClipboardEventsChanged();
    } catch (...) {
    }
  }
  // The system has copied the data into this process and frees it when the message returns.
  LRESULT TextRun(HWND sender, const COPYDATASTRUCT* data) const {
    if (!data || data->dwData != kTextRunData || !data->lpData || data->cbData > kMaxTextRunBytes || !HasAppl() ||
        !TextRunArrived) {
      return FALSE;
    }
    const auto* p = static_cast<const char16_t*>(data->lpData);
    const std::u16string_view run(p, data->cbData / sizeof(char16_t));
    try {
      return TextRunArrived(FromHwnd(sender), run.substr(0, run.find(u'\0')));
    } catch (...) {
      return FALSE;
    }
  }
  bool listening_ = false;
  HWND next_ = nullptr;
};

// ---- The main window's drop target -----------------------------------------------------------

class TextDropTarget final : public IDropTarget {
 public:
  explicit TextDropTarget(std::shared_ptr<CaptureEvents> events) : events_(std::move(events)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *out = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    hasText_ = HasText(data);
    *effect = hasText_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = hasText_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    const std::u16string text = TextIn(data);
    if (text.empty() || !HasAppl() || !events_) return S_OK;
    *effect = DROPEFFECT_COPY;
    try {
      events_->Drop(text);
    } catch (...) {
    }
    return S_OK;
  }

 private:
  static FORMATETC UnicodeText() { return {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
  static bool HasText(IDataObject* data) {
    FORMATETC f = UnicodeText();
    return data && data->QueryGetData(&f) == S_OK;
  }
  static std::u16string TextIn(IDataObject* data) {
    FORMATETC f = UnicodeText();
    STGMEDIUM medium{};
    if (!data || data->GetData(&f, &medium) != S_OK) return {};
    std::u16string text = medium.tymed == TYMED_HGLOBAL ? ClipboardTextOf(medium.hGlobal) : std::u16string();
    ReleaseStgMedium(&medium);
    return text;
  }
  std::shared_ptr<CaptureEvents> events_;
  LONG refs_ = 1;
  bool hasText_ = false;
};

int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM, LPARAM start) {
  if (msg == BFFM_INITIALIZED && start) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

struct Win32Capture::Parts {
  frmClipHook clipHook;
  Win32CopyPort port;
  SimulatedCopy copy;
  std::shared_ptr<CaptureEvents> events;
  frmTT popup;
  frmToolTip hint;
  std::vector<HWND> dropWindows;
  bool oleStarted = false;
};

Win32Capture::Win32Capture() : parts_(std::make_unique<Parts>()) {}

Win32Capture::~Win32Capture() {
  for (HWND w : parts_->dropWindows) RevokeDragDrop(w);
  if (parts_->oleStarted) OleUninitialize();
}

HWND Win32Capture::ClipHookWindow() const { return parts_->clipHook.hwnd(); }
frmTT& Win32Capture::Popup() { return parts_->popup; }
frmToolTip& Win32Capture::Hint() { return parts_->hint; }

void Win32Capture::SetEvents(std::shared_ptr<CaptureEvents> events) { parts_->events = std::move(events); }

void Win32Capture::Load(Appl& app) {
  frmClipHook& hook = parts_->clipHook;
  hook.ClipboardChanged = [this] { WatchCopy(); };
  hook.CopyQuiet = [this] { return parts_->copy.Quiet(GetClipboardSequenceNumber()); };
  hook.CopyTick = [this] { WatchCopy(); };
  hook.TextRunArrived = [this](WindowHandle sender, std::u16string_view run) {
    return parts_->events && parts_->events->TextRun(sender, run);
  };
  hook.Load();
  parts_->port.owner = hook.hwnd();
  auto* main = dynamic_cast<frmMain*>(app.frmMain.get());
  if (!main) return;
  main->CheckEvent = [this] {
    if (parts_->events) parts_->events->Poll(*this);
  };
  parts_->oleStarted = SUCCEEDED(OleInitialize(nullptr));
  // Text dropped on the window, its background toolbar or its output box is translated; the
  // output box gives up its own drop handling for that.
  std::vector<HWND> targets{main->hwnd()};
  if (auto* out = dynamic_cast<RichEditBox*>(main->txtOutPut.get())) targets.push_back(out->hwnd());
  for (HWND w : targets) {
    RevokeDragDrop(w);
    IDropTarget* target = MakeTextDropTarget(parts_->events);
    if (RegisterDragDrop(w, target) == S_OK) parts_->dropWindows.push_back(w);
    target->Release();
  }
}

// ---- The clipboard ---------------------------------------------------------------------------

std::u16string Win32Capture::ClipboardText() {
  // Read aside: an owner that renders its text only when asked may keep the reader waiting.
  std::u16string text;
  ReadClipboardTextWithin(kClipboardReadMs, text);
  return text;
}

bool Win32Capture::SetClipboardText(std::u16string_view text) {
  if (!OpenClipboardPatiently(ClipHookWindow())) return false;
  bool done = false;
  if (EmptyClipboard()) {
    HGLOBAL block = GlobalText(text);
    done = block && SetClipboardData(CF_UNICODETEXT, block);
    if (block && !done) GlobalFree(block);
  }
  CloseClipboard();
  return done;
}

bool Win32Capture::ClipboardHasFormat(WindowHandle, std::uint32_t format) {
  return IsClipboardFormatAvailable(format) != FALSE;
}

std::vector<std::uint8_t> Win32Capture::ClipboardBytes(std::uint32_t format) {
  std::vector<std::uint8_t> bytes;
  if (!IsClipboardFormatAvailable(format) || !OpenClipboardPatiently(ClipHookWindow())) return bytes;
  if (HANDLE h = GetClipboardData(format)) {
    const SIZE_T size = GlobalSize(h);
    if (const auto* p = size ? static_cast<const std::uint8_t*>(GlobalLock(h)) : nullptr) {
      bytes.assign(p, p + size);
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return bytes;
}

bool Win32Capture::SetClipboardBytes(std::uint32_t format, const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(bytes.size(), 1));
  auto* p = block ? static_cast<std::uint8_t*>(GlobalLock(block)) : nullptr;
  if (!p) {
    if (block) GlobalFree(block);
    return false;
  }
  std::copy(bytes.begin(), bytes.end(), p);
  GlobalUnlock(block);
  bool done = false;
  if (OpenClipboardPatiently(ClipHookWindow())) {
    done = EmptyClipboard() && SetClipboardData(format, block);
    CloseClipboard();
  }
  if (!done) GlobalFree(block);
  return done;
}

std::vector<std::u16string> Win32Capture::ClipboardFiles() {
  // The file list is a DROPFILES header and names, each ended by a 0, the list by another.
  const std::vector<std::uint8_t> bytes = ClipboardBytes(CF_HDROP);
  std::vector<std::u16string> files;
  if (bytes.size() < sizeof(DROPFILES)) return files;
  DROPFILES head{};
  std::copy_n(bytes.data(), sizeof head, reinterpret_cast<std::uint8_t*>(&head));
  if (head.pFiles < sizeof head || head.pFiles >= bytes.size()) return files;
  const std::size_t unit = head.fWide ? 2 : 1;
  const std::size_t count = (bytes.size() - head.pFiles) / unit;
  std::u16string name;
  std::string ansiName;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* at = bytes.data() + head.pFiles + unit * i;
    const char16_t c = head.fWide ? static_cast<char16_t>(at[0] | (at[1] << 8)) : static_cast<char16_t>(at[0]);
    if (c != u'\0') {
      if (head.fWide) name += c;
      else ansiName += static_cast<char>(at[0]);
      continue;
    }
    if (!head.fWide) name = AnsiCodePage().Decode(ansiName);
    if (name.empty()) break;  // the second 0 ends the list
    files.push_back(std::move(name));
    name.clear();
    ansiName.clear();
  }
  return files;
}

bool Win32Capture::SetClipboardFiles(const std::vector<std::u16string>& files) {
  DROPFILES head{};
  head.pFiles = sizeof head;
  head.fWide = TRUE;
  std::u16string names;
  for (const std::u16string& f : files) {
    if (f.empty() || f.find(u'\0') != std::u16string::npos) continue;
    names += f;
    names += u'\0';
  }
  names += u'\0';
  std::vector<std::uint8_t> bytes(sizeof head + names.size() * sizeof(char16_t));
  std::copy_n(reinterpret_cast<const std::uint8_t*>(&head), sizeof head, bytes.data());
  std::copy_n(reinterpret_cast<const std::uint8_t*>(names.data()), names.size() * sizeof(char16_t), bytes.data() + sizeof head);
  return SetClipboardBytes(CF_HDROP, bytes);
}

// ---- The popup and the link hint -------------------------------------------------------------

void Win32Capture::ShowPopupTrans(std::u16string_view text, const ShowTransArgs& args) {
  Appl& app = gAppl();
  const TranslateArgs look = LookupArgsOf(args, false);
  std::u16string rettext;
  bool directionOk = true;
  TranslateOut out;
  out.RetCheckDir = &directionOk;
  app.GetTranslate(text, rettext, look, out);
  rettext = PopupMarkup(app, text, std::move(rettext), directionOk);
  if (rettext.empty()) return;
  CloseToolTip();
  std::optional<POINT> at;
  if (args.X && args.Y) {
    const Point anchor = PopupAnchor(args, {});
    at = POINT{static_cast<LONG>(anchor.x), static_cast<LONG>(anchor.y)};
  }
  parts_->popup.ShowMarkup(rettext, args.SamePos, at);
}

void Win32Capture::SetPopupPointer(int pointer) { parts_->popup.SetPointer(pointer); }

void Win32Capture::ShowToolTip(std::u16string_view text) { parts_->hint.ShowHint(text); }

void Win32Capture::CloseToolTip() { parts_->hint.CloseMe(); }

// ---- Other programs --------------------------------------------------------------------------

void Win32Capture::PasteInto(WindowHandle window) {
  HWND w = ToHwnd(window);
  if (!IsWindow(w)) return;
  SetForegroundWindow(w);
  RunWaitingMessages();
  // The keys reach the window in front: none is sent when the window did not come forward.
  if (GetForegroundWindow() != GetAncestor(w, GA_ROOT)) return;
  SendKeys({KeyInput(VK_SHIFT, true), KeyInput(VK_INSERT, true), KeyInput(VK_INSERT, false), KeyInput(VK_SHIFT, false)});
}

bool Win32Capture::DescribeWindow(WindowHandle window, WindowFacts& facts) {
  HWND w = ToHwnd(window);
  if (!w || !IsWindow(w)) return false;
  // GetWindowText reads another program's title without asking the program.
  wchar_t title[512] = {};
  const int n = GetWindowTextW(w, title, 512);
  facts.title.assign(title, title + std::max(n, 0));
  facts.className = ClassOf(w);
  HWND above = GetAncestor(w, GA_PARENT);
  facts.parent = above && above != GetDesktopWindow() ? FromHwnd(above) : 0;
  facts.owner = facts.parent == 0 ? FromHwnd(GetWindow(w, GW_OWNER)) : 0;
  DWORD processId = 0;
  GetWindowThreadProcessId(w, &processId);
  facts.ownProcess = processId == GetCurrentProcessId();
  facts.exePath = ProcessPath(processId);
  return true;
}

std::u16string Win32Capture::FileDescription(std::u16string_view exePath) {
  const std::u16string path(exePath);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Wide(path), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(Wide(path), 0, size, block.data())) return {};
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes) ||
      bytes < sizeof(Translation)) {
    return {};
  }
  wchar_t key[64];
  wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileDescription", translations[0].language, translations[0].codePage);
  wchar_t* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&value), &chars) || !value) return {};
  return std::u16string(value, value + wcsnlen(value, chars));
}

PollSnapshot Win32Capture::Snapshot() {
  PollSnapshot s;
  POINT p{};
  GetCursorPos(&p);
  s.pointer = {p.x, p.y};
  s.foreground = FromHwnd(GetForegroundWindow());
  s.pointed = FromHwnd(WindowFromPoint(p));
  return s;
}

std::u16string Win32Capture::TakeText(WindowHandle window, CaptureSource source, Point pointer) {
  HWND w = ToHwnd(window);
  if (!w || !IsWindow(w)) return {};
  if (source == CaptureSource::CaptionAtPointer) return CaptionAt(w, pointer);
  if (source == CaptureSource::WordAtPointer) {
    const std::u16string cls = ClassOf(w);
    if (EqualsNoCase(cls, u"Edit")) return EditWordAt(w, pointer);
    return IsRichEdit(cls) ? RichEditWordAt(w, pointer) : std::u16string();
  }
  HWND focus = FocusOf(w);
  const std::u16string cls = ClassOf(focus);
  if (IsEdit(cls)) return EditSelection(focus, IsRichEdit(cls));
  return source == CaptureSource::Selection ? CopySelection(w) : std::u16string();
}

namespace {
double TickSeconds() { return GetTickCount() / 1000.0; }
}  // namespace

std::u16string Win32Capture::CopySelection(HWND window) {
  Win32CopyPort& port = parts_->port;
  port.owner = ClipHookWindow();
  if (!port.owner) return {};
  port.target = window;
  port.targetProcess = 0;
  GetWindowThreadProcessId(window, &port.targetProcess);
  std::u16string text = parts_->copy.Take(port, TickSeconds());
  parts_->clipHook.WatchCopy(parts_->copy.Pending());
  return text;
}

void Win32Capture::WatchCopy() {
  if (!parts_->copy.Pending()) return parts_->clipHook.WatchCopy(false);
  parts_->copy.Poll(parts_->port, TickSeconds());
  parts_->clipHook.WatchCopy(parts_->copy.Pending());
}

std::u16string Win32Capture::ChooseFolder(std::u16string_view title, std::u16string_view start) {
  const std::u16string caption(title), from(start);
  BROWSEINFOW info{};
  info.hwndOwner = HasAppl() && gAppl().frmMain ? ToHwnd(gAppl().frmMain->hWnd()) : nullptr;
  info.lpszTitle = Wide(caption);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = &BrowseCallback;
  info.lParam = from.empty() ? 0 : reinterpret_cast<LPARAM>(Wide(from));
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListW(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  return ok ? FromWide(path) : std::u16string();
}

IDropTarget* MakeTextDropTarget(std::shared_ptr<CaptureEvents> events) { return new TextDropTarget(std::move(events)); }

void InstallWin32Capture(Appl& app, std::shared_ptr<CaptureEvents> events) {
  auto capture = std::make_shared<Win32Capture>();
  capture->SetEvents(std::move(events));
  app.Capture = capture;
  app.Hooks.LoadClipHook = [capture, &app] { capture->Load(app); };
}

}  // namespace parlavent
