#include "capture/win32/win32_capture.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <vector>

#include "app/application.h"
#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "capture/capture.h"
#include "capture/win32/popup_forms.h"
#include "dictionary/lookup.h"
#include "foundation/text.h"
#include "platform/win32/input_hooks.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/window_base.h"

namespace parlavent {
namespace {

// Another program may hold the clipboard open for a moment; after this it is left alone.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 15;
// A window that does not answer within this time is skipped.
constexpr UINT kAnswerMs = 300;
// How long a simulated copy waits for the other program to fill the clipboard.
constexpr DWORD kCopyWaitMs = 500;
// Texts taken from other programs' controls are read at most this far.
constexpr std::size_t kMaxControlText = 1 << 20;
// Clipboard formats larger than this are not kept over a simulated copy.
constexpr SIZE_T kMaxSavedFormat = SIZE_T{64} << 20;

bool OpenClipboardPatiently(HWND owner) {
  for (int i = 0; i < kOpenTries; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(kOpenPauseMs);
  }
  return false;
}

// The Unicode text of a clipboard handle, bounded by the memory block's size.
std::u16string TextOf(HANDLE data) {
  if (!data) return {};
  const SIZE_T bytes = GlobalSize(data);
  const auto* p = static_cast<const wchar_t*>(GlobalLock(data));
  if (!p) return {};
  const std::size_t n = wcsnlen(p, bytes / sizeof(wchar_t));
  std::u16string text(p, p + n);
  GlobalUnlock(data);
  return text;
}

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

// Rich-edit controls count a paragraph break as one character.
std::u16string AsControlCounts(std::u16string text, bool richEdit) {
  return richEdit ? ReplaceAll(text, u"\r\n", u"\r") : text;
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
  const auto text = ControlText(control, std::min(kMaxControlText, end + 64));
  if (!text) return {};
  const std::u16string counted = AsControlCounts(*text, richEdit);
  if (end > counted.size()) return {};
  return counted.substr(start, end - start);
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

// A rich-edit control reads the point of EM_CHARFROMPOS through a pointer, which the system does
// not carry into another process: the point is written into a block of the control's process.
std::optional<std::size_t> RichEditCharAt(HWND control, POINT p) {
  DWORD processId = 0;
  GetWindowThreadProcessId(control, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return std::nullopt;
  std::optional<std::size_t> index;
  const POINTL point{p.x, p.y};
  void* block = VirtualAllocEx(process, nullptr, sizeof point, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR at = 0;
  if (block && WriteProcessMemory(process, block, &point, sizeof point, nullptr) &&
      Ask(control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(block), at)) {
    index = static_cast<std::size_t>(static_cast<DWORD>(at));
  }
  if (block) VirtualFreeEx(process, block, 0, MEM_RELEASE);
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

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (thread && GetGUIThreadInfo(thread, &info) && info.hwndFocus) return info.hwndFocus;
  return window;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (const auto& [vk, down] : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (vk == VK_INSERT ? KEYEVENTF_EXTENDEDKEY : 0);
    in.ki.dwExtraInfo = kOwnInputMark;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// GDI and owner-drawn formats are not memory blocks that can be copied.
bool CopyableFormat(UINT format) {
  switch (format) {
    case CF_BITMAP: case CF_METAFILEPICT: case CF_PALETTE: case CF_ENHMETAFILE: case CF_OWNERDISPLAY:
    case CF_DSPBITMAP: case CF_DSPMETAFILEPICT: case CF_DSPENHMETAFILE:
      return false;
    default: return !(format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
  }
}

struct SavedFormat {
  UINT format = 0;
  std::vector<char> bytes;
};

std::vector<SavedFormat> SaveClipboard(HWND owner) {
  std::vector<SavedFormat> saved;
  if (!OpenClipboardPatiently(owner)) return saved;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
    if (!CopyableFormat(f)) continue;
    HANDLE h = GetClipboardData(f);
    const SIZE_T size = h ? GlobalSize(h) : 0;
    if (size == 0 || size > kMaxSavedFormat) continue;
    const char* p = static_cast<const char*>(GlobalLock(h));
    if (!p) continue;
    saved.push_back({f, std::vector<char>(p, p + size)});
    GlobalUnlock(h);
  }
  CloseClipboard();
  return saved;
}

void RestoreClipboard(HWND owner, const std::vector<SavedFormat>& saved) {
  if (!OpenClipboardPatiently(owner)) return;
  EmptyClipboard();
  for (const SavedFormat& s : saved) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, s.bytes.size());
    void* p = block ? GlobalLock(block) : nullptr;
    if (!p) {
      if (block) GlobalFree(block);
      continue;
    }
    std::copy(s.bytes.begin(), s.bytes.end(), static_cast<char*>(p));
    GlobalUnlock(block);
    if (!SetClipboardData(s.format, block)) GlobalFree(block);
  }
  CloseClipboard();
}

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
    args.style = WS_POPUP;
    args.width = args.height = 0;
    if (!Create(args)) return false;
    listening_ = AddClipboardFormatListener(hwnd()) != FALSE;
    // Without the listener the window joins the clipboard-viewer chain.
    if (!listening_) next_ = SetClipboardViewer(hwnd());
    Changed();
    return true;
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_CLIPBOARDUPDATE: Changed(); return 0;
      case WM_DRAWCLIPBOARD:
        Changed();
        if (next_) SendMessageTimeoutW(next_, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
        return 0;
      case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wp) == next_) {
          next_ = reinterpret_cast<HWND>(lp);
        } else if (next_) {
          SendMessageTimeoutW(next_, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
        }
        return 0;
      default: return WindowBase::OnMessage(msg, wp, lp);
    }
  }

 private:
  static void Changed() {
    if (!HasAppl()) return;
    try {
      gAppl().ClipboardEventsChanged();
    } catch (...) {
    }
  }
  bool listening_ = false;
  HWND next_ = nullptr;
};

// ---- The main window's drop target -----------------------------------------------------------

class TextDropTarget final : public IDropTarget {
 public:
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
    if (text.empty() || !HasAppl()) return S_OK;
    *effect = DROPEFFECT_COPY;
    try {
      gAppl().TransDrop(text);
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
    std::u16string text = medium.tymed == TYMED_HGLOBAL ? TextOf(medium.hGlobal) : std::u16string();
    ReleaseStgMedium(&medium);
    return text;
  }
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

void Win32Capture::Load(Appl& app) {
  parts_->clipHook.Load();
  auto* main = dynamic_cast<frmMain*>(app.frmMain.get());
  if (!main) return;
  main->CheckEvent = [this, &app] { parlavent::CheckEvent(app, *this); };
  parts_->oleStarted = SUCCEEDED(OleInitialize(nullptr));
  // Text dropped on the window, its background toolbar or its output box is translated; the
  // output box gives up its own drop handling for that.
  std::vector<HWND> targets{main->hwnd()};
  if (auto* out = dynamic_cast<RichEditBox*>(main->txtOutPut.get())) targets.push_back(out->hwnd());
  for (HWND w : targets) {
    RevokeDragDrop(w);
    IDropTarget* target = MakeTextDropTarget();
    if (RegisterDragDrop(w, target) == S_OK) parts_->dropWindows.push_back(w);
    target->Release();
  }
}

// ---- The clipboard ---------------------------------------------------------------------------

std::u16string Win32Capture::ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(ClipHookWindow())) return {};
  std::u16string text = TextOf(GetClipboardData(CF_UNICODETEXT));
  CloseClipboard();
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

// ---- The popup and the link hint -------------------------------------------------------------

void Win32Capture::ShowPopupTrans(std::u16string_view text, const ShowTransArgs& args) {
  Appl& app = gAppl();
  const TranslateArgs look = LookupArgsOf(args, false);
  std::u16string rettext;
  app.GetTranslate(text, rettext, look, {});
  if (rettext.empty()) return;
  CloseToolTip();
  parts_->popup.ShowMarkup(rettext, args.SamePos);
}

void Win32Capture::SetPopupPointer(int pointer) { parts_->popup.SetPointer(pointer); }

void Win32Capture::ShowToolTip(std::u16string_view text) { parts_->hint.ShowHint(text); }

void Win32Capture::CloseToolTip() { parts_->hint.CloseMe(); }

// ---- Other programs --------------------------------------------------------------------------

void Win32Capture::PasteInto(WindowHandle window) {
  HWND w = ToHwnd(window);
  if (!IsWindow(w)) return;
  SetForegroundWindow(w);
  PumpMessages();
  SendKeys({{VK_SHIFT, true}, {VK_INSERT, true}, {VK_INSERT, false}, {VK_SHIFT, false}});
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
  if (source == CaptureSource::WordAtPointer) {
    const std::u16string cls = ClassOf(w);
    if (EqualsNoCase(cls, u"Edit")) return EditWordAt(w, pointer);
    return IsRichEdit(cls) ? RichEditWordAt(w, pointer) : std::u16string();
  }
  HWND focus = FocusOf(w);
  const std::u16string cls = ClassOf(focus);
  if (IsEdit(cls)) return EditSelection(focus, IsRichEdit(cls));
  return SimulatedCopy();
}

std::u16string Win32Capture::SimulatedCopy() {
  HWND owner = ClipHookWindow();
  const std::vector<SavedFormat> saved = SaveClipboard(owner);
  const DWORD before = GetClipboardSequenceNumber();
  // Modifiers still held from the hot key would turn Ctrl+C into another command.
  SendKeys({{VK_SHIFT, false}, {VK_MENU, false}, {VK_CONTROL, true}, {'C', true}, {'C', false}, {VK_CONTROL, false}});
  const DWORD start = GetTickCount();
  while (GetClipboardSequenceNumber() == before && GetTickCount() - start < kCopyWaitMs) {
    PumpMessages();
    Sleep(20);
  }
  if (GetClipboardSequenceNumber() == before) return {};
  // The program may still be writing the clipboard: a short pause before reading.
  Sleep(30);
  std::u16string text = ClipboardText();
  RestoreClipboard(owner, saved);
  return text;
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

IDropTarget* MakeTextDropTarget() { return new TextDropTarget; }

void InstallWin32Capture(Appl& app) {
  auto capture = std::make_shared<Win32Capture>();
  app.Capture = capture;
  app.Hooks.LoadClipHook = [capture, &app] { capture->Load(app); };
}

}  // namespace parlavent
