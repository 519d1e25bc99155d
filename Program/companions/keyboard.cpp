// The on-screen keyboard: shown docked below the main window or free, its keys typing into the
// input box, and its tray icon.
#include <algorithm>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/companion_state.h"
#include "app/main_form.h"
#include "app/view_host.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/rich_text_box.h"
#include "platform/window_manager.h"

namespace parlavent {
namespace {

constexpr unsigned kSwpNoZOrder = 0x4;

// The character replaces the input box's selection, as typing would; backspace deletes.
void TypeIntoInput(Appl& app, char16_t ch) {
  const auto input = app.ViewServices().InputBox();
  if (!input) return;
  std::u16string text = input->Text();
  const std::size_t start = std::min<std::size_t>(static_cast<std::size_t>(std::max(input->SelStart(), 0)), text.size());
  const std::size_t length =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(input->SelLength(), 0)), text.size() - start);
  std::size_t caret = start + 1;
  if (ch == u'\b') {
    // Backspace takes the selection, or the character before the caret.
    const std::size_t from = length > 0 || start == 0 ? start : start - 1;
    text.erase(from, length > 0 ? length : start - from);
    caret = from;
  } else {
    text.replace(start, length, 1, ch);
  }
  app.State.gUserTyped = true;
  // Not typed in the system's layout: the layout-switch recorder must not learn from it.
  app.CompanionData().lastInput = text;
  input->SetText(text);
  input->SetSelStart(static_cast<std::int32_t>(caret));
  input->SetSelLength(0);
  input->SetFocus();
}

}  // namespace

void DockBelow(WindowHandle keyb, const Rect& main, const Rect& k, std::int32_t mode) {
  const long width = main.right - main.left;
  Windows().SetPos(keyb, kHwndTop, main.left, main.bottom, width, k.bottom - k.top, kSwpNoActivate | kSwpNoZOrder);
  // A keyboard that cannot be that narrow keeps its alignment.
  Rect now;
  if (mode == 2 && Windows().GetRect(keyb, now) && now.right != main.right) {
    Windows().SetPos(keyb, kHwndTop, main.right - (now.right - now.left), main.bottom, 0, 0,
                     kSwpNoSize | kSwpNoActivate | kSwpNoZOrder);
  }
}

void Appl::ShowKeyb(bool dock) {
  KeyboardWindow* keyb = Companion ? Companion->Keyb() : nullptr;
  if (!keyb) return;
  keyb->OnKey = [this](char16_t ch) { TypeIntoInput(*this, ch); };
  State.gDockMode = dock ? 1 : 0;
  if (keyb->CurrentLayer() == 0 && !State.gLayers.Empty()) keyb->SetLang(1);
  keyb->Show();
  // Placed at once: the dock timer moves it only when the main window has moved.
  Rect main, k;
  if (dock && frmMain && Windows().GetRect(frmMain->hWnd(), main) && Windows().GetRect(keyb->Handle(), k)) {
    DockBelow(keyb->Handle(), main, k, State.gDockMode);
  }
}

void Appl::HideKeyb() {
  KeyboardWindow* keyb = Companion ? Companion->Keyb() : nullptr;
  if (keyb) keyb->Hide();
}

void Appl::HideDockedKeyb() {
  KeyboardWindow* keyb = Companion ? Companion->Keyb() : nullptr;
  if (keyb && State.gDockMode != 0 && keyb->Visible()) keyb->Hide();
}

void Appl::ShowKeybIco(bool Show) {
  CompanionState& s = CompanionData();
  if (!Companion || !Sett) return;
  const bool wanted = Show && Sett->SysTrayKeyb;
  if (wanted == s.keybIcon) return;
  if (Companion->TrayIcon(kKeybTrayIcon, wanted, LZ(lang::kMenuKeyb)) || !wanted) s.keybIcon = wanted;
}

}  // namespace parlavent
