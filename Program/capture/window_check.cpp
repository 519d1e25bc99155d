// The per-application list as the capture consults it (Appl.CheckWindow) and extends it with the
// programs it meets (frmMain.WatchTargetWindow).
#include <optional>
#include <vector>

#include "app/application.h"
#include "capture/capture.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"
#include "foundation/white_list.h"
#include "foundation/wildcard.h"

namespace parlavent {
namespace {

// Windows nest only a few levels deep; the bound guards against an owner chain that loops.
constexpr int kMaxAncestors = 64;
constexpr std::size_t kMaxUsableText = 255;

// The window and its ancestors up to the desktop, the window first; empty for a window gone.
std::vector<WindowFacts> Ancestry(CaptureServices& capture, WindowHandle window) {
  std::vector<WindowFacts> chain;
  for (int depth = 0; window != 0 && depth < kMaxAncestors; ++depth) {
    WindowFacts facts;
    if (!capture.DescribeWindow(window, facts)) break;
    window = facts.parent;
    chain.push_back(std::move(facts));
  }
  return chain;
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
  if (chain.empty() || chain.back().className.empty()) return std::nullopt;
  clsWindow probe;
  probe.SetWndType(chain.back().className);
  if (const auto* known = G().WhiteCol.Find(probe.WndType()); known && *known) return (*known)->State;
  return std::nullopt;
}

std::int32_t WatchTargetWindow(Appl& app, CaptureServices& capture, WindowHandle window, Point pointer,
                               std::u16string_view taken) {
  const std::vector<WindowFacts> chain = Ancestry(capture, window);
  if (chain.empty() || chain.back().className.empty()) return -1;
  // A program's windows are known by the class of their top-level window.
  auto entry = std::make_shared<clsWindow>();
  entry->SetWndType(chain.back().className);
  if (const auto* known = G().WhiteCol.Find(entry->WndType()); known && *known) return (*known)->State;
  entry->ExePath = chain.back().exePath.empty() ? chain.front().exePath : chain.back().exePath;
  entry->AppName = capture.FileDescription(entry->ExePath);
  // The text the capture has just taken proves the program usable as well as a test read does;
  // without it a program whose selection comes only through a copy would be switched off at once.
  const auto usable = [](const std::u16string& t) { return !t.empty() && t.size() <= kMaxUsableText; };
  bool ok = usable(Trim(taken));
  if (!ok) ok = usable(Trim(capture.TakeText(window, CaptureSource::WordAtPointer, pointer)));
  entry->State = ok ? 1 : 0;
  const std::int32_t state = entry->State;
  if (AddWindow(G().WhiteCol, entry) && app.Sett) app.Sett->SaveWhiteCol();
  return state;
}

}  // namespace parlavent
