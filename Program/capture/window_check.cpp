// The per-application list as the capture consults it (Appl.CheckWindow) and extends it with the
// programs it meets (frmMain.WatchTargetWindow).
#include <optional>
#include <vector>

#include "app/application.h"
#include "capture/capture.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "foundation/white_list.h"
#include "foundation/wildcard.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Windows nest only a few levels deep; the bound guards against an owner chain that loops.
constexpr int kMaxAncestors = 64;
constexpr std::size_t kMaxUsableText = 255;

// The window and its ancestors up to the desktop, the window first; empty for a window gone. A
// dialog box is a top-level window of its own: its owner leads on to the program's main window,
// so that the dialogs of every program are not one program "#32770".
std::vector<WindowFacts> Ancestry(CaptureServices& capture, WindowHandle window) {
  std::vector<WindowFacts> chain;
  for (int depth = 0; window != 0 && depth < kMaxAncestors; ++depth) {
    WindowFacts facts;
    if (!capture.DescribeWindow(window, facts)) break;
    window = facts.parent != 0 ? facts.parent : facts.owner;
    chain.push_back(std::move(facts));
  }
  return chain;
}

// The class that keys a window's program in the list: that of the last window of its ancestry.
std::u16string ProgramKey(const std::vector<WindowFacts>& chain) {
  return chain.empty() ? std::u16string() : chain.back().className;
}

bool Listed(const std::vector<WindowFacts>& chain) {
  const std::u16string fileName = API::GetFileName(chain.front().exePath);
  for (const auto& entry : G().WhiteCol) {
    if (!entry) continue;
    if (entry->TitleMask.empty()) {
      if (!fileName.empty() && EqualsNoCase(entry->FileName(), fileName)) return true;
      continue;
    }
    for (const WindowFacts& w : chain) {
      if (Like(w.title, entry->TitleMask)) return true;
    }
  }
  return false;
}

}  // namespace

bool Appl::CheckWindow(std::uintptr_t hWnd, bool ByMouse, bool ClearCache) {
  CaptureMemory& memory = TheCaptureMemory();
  if (ClearCache) memory.checkedWindow = 0;
  if (hWnd != 0 && memory.checkedWindow == hWnd && memory.checkedByMouse == ByMouse) return memory.checkedResult;
  bool result = true;
  try {
    const std::vector<WindowFacts> chain = Ancestry(CaptureSide(), hWnd);
    if (!chain.empty()) {
      const bool explorer = EqualsNoCase(API::GetFileName(chain.front().exePath), u"explorer.exe");
      if (ByMouse && (explorer || chain.front().ownProcess)) {
        result = false;
      } else {
        result = !Listed(chain);
      }
    }
  } catch (...) {
  }
  memory.checkedWindow = hWnd;
  memory.checkedByMouse = ByMouse;
  memory.checkedResult = result;
  return result;
}

std::optional<std::int32_t> ListedState(CaptureServices& capture, WindowHandle window) {
  const std::vector<WindowFacts> chain = Ancestry(capture, window);
  if (ProgramKey(chain).empty()) return std::nullopt;
  clsWindow probe;
  probe.SetWndType(chain.back().className);
  if (const auto* known = G().WhiteCol.Find(probe.WndType()); known && *known) return (*known)->State;
  return std::nullopt;
}

std::int32_t WatchTargetWindow(Appl& app, CaptureServices& capture, WindowHandle window, WindowHandle pointed,
                               Point pointer, std::u16string_view taken) {
  const std::vector<WindowFacts> chain = Ancestry(capture, window);
  if (ProgramKey(chain).empty()) return -1;
  // A program's windows are known by the class of their top-level window.
  auto entry = std::make_shared<clsWindow>();
  entry->SetWndType(ProgramKey(chain));
  if (const auto* known = G().WhiteCol.Find(entry->WndType()); known && *known) return (*known)->State;
  // Text that came through proves the program usable. Without it the word under the pointer is
  // read as a test, where the pointer is over a window of the same program; a read that finds
  // nothing (a toolbar, a menu, blank space) decides nothing, or one empty capture would switch
  // the program off for good. A "word" of more than 255 characters is a whole text: a control
  // the capture cannot read word by word.
  std::int32_t state = -1;
  if (!Trim(taken).empty()) {
    state = 1;
  } else if (pointed != 0 && ProgramKey(Ancestry(capture, pointed)) == ProgramKey(chain)) {
    const std::u16string word = Trim(capture.TakeText(pointed, CaptureSource::WordAtPointer, pointer));
    if (!word.empty()) state = word.size() <= kMaxUsableText ? 1 : 0;
  }
  if (state < 0) return -1;
  entry->ExePath = chain.back().exePath.empty() ? chain.front().exePath : chain.back().exePath;
  entry->AppName = capture.FileDescription(entry->ExePath);
  entry->State = state;
  if (AddWindow(G().WhiteCol, entry) && app.Sett) app.Sett->SaveWhiteCol();
  return state;
}

}  // namespace parlavent
