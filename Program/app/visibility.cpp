// Showing and hiding the main window, the automatic mode, the tray icons and the numbered balloon
// notifications that the user can silence for good by clicking them.
#include "app/application.h"
#include "app/hooks.h"
#include "app/main_form.h"
#include "foundation/api_strings.h"
#include "foundation/api_windows.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/rich_text_box.h"
#include "platform/settings_store.h"
#include "platform/tray.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kBalloonTitleChars = 63;   // 64 with the terminating NUL
constexpr std::size_t kBalloonBodyChars = 255;   // 256 with the terminating NUL

std::u16string NotifyValueName(double id) { return u"NotifyStr" + NumberText(static_cast<std::int64_t>(id)); }

// A stored "0" or "False" silences a notification; anything unreadable leaves it on.
bool NotificationWanted(std::int32_t id) {
  const std::u16string value = Trim(GetSetting(u"Notify", NotifyValueName(id), u"1"));
  if (EqualsNoCase(value, u"False")) return false;
  std::int64_t number = 1;
  return !ParseInt64(value, number) || number != 0;
}

}  // namespace

void Appl::ShowMe(bool Focus) {
  SaveSetting(u"Main", u"NeedShow", u"0");
  if (!frmMain) return;
  frmMain->Form_Resize();
  Windows().SetPos(frmMain->hWnd(), Sett && Sett->TopMost ? kHwndTopMost : kHwndNoTopMost, 0, 0, 0, 0,
                   kSwpNoSize | kSwpNoMove | kSwpShowWindow);
  if ((Focus || G().gFirstShowFocus) && frmMain->txtInput) frmMain->txtInput->SetFocus();
  G().gFirstShowFocus = false;
  if (frmMain->txtInput) API::SelectAllText(*frmMain->txtInput);
  G().gReturnWindow = 0;
  SaveSetting(u"Main", u"IsShowed", u"1");
}

void Appl::HideMe() {
  if (frmMain) {
    API::SaveFormPosition(u"frmMain", frmMain->hWnd());
    Windows().Show(frmMain->hWnd(), false);
  }
  CallHook([this] { HideDockedKeyb(); });
  SaveSetting(u"Main", u"IsShowed", u"0");
}

void Appl::SetAutoMode(bool Enable, bool ShowTT) {
  Sett->AutoOn = Enable;
  if (frmMain) frmMain->RefreshMode(ShowTT);
  SaveSetting(u"Main", u"Auto", Sett->AutoOn ? u"True" : u"False");
}

void Appl::CreateApplIcon() {
  if (!frmMain) return;
  frmMain->ApplIconLoaded = false;
  frmMain->RefreshIcon();
}

void Appl::DeleteTrayIcon() {
  if (!frmMain || !Sett) return;
  if (Sett->SysTray) frmMain->DeleteIcon();
  if (Sett->SysTrayKeyb) Tray().Delete(frmMain->TrayOwner(), kKeybTrayIcon);
}

void Appl::ShowNotify(std::int32_t ID, std::u16string_view Text, bool OnePerRun, bool AllowClick, bool Error,
                      bool Exclamation, const std::optional<std::u16string>& ClickMessage) {
  const std::u16string key = API::MakeKey(ID);
  if (const std::int32_t* shown = G().gShownNotifications.Find(key); shown && *shown != 0) return;
  if (!NotificationWanted(ID)) return;
  if (OnePerRun) G().gShownNotifications.Add(key, ID);
  G().gLastNotifyID = ID;
  std::u16string click;
  if (AllowClick) click = u"\r\n\r\n" + ClickMessage.value_or(LZ(lang::kNotifyClickHint));
  // The first line is the title. A text of one line has no title and is all body.
  std::u16string title;
  std::u16string body(Text);
  if (const std::size_t cut = Text.find(u"\r\n"); cut != std::u16string_view::npos) {
    title = std::u16string(Text.substr(0, cut));
    body = std::u16string(Text.substr(cut + 2));
  }
  body += click;
  const BalloonIcon icon = Error ? BalloonIcon::Error : Exclamation ? BalloonIcon::Warning : BalloonIcon::Info;
  if (frmMain) {
    Tray().ShowBalloon(frmMain->TrayOwner(), kMainTrayIcon, title.substr(0, kBalloonTitleChars),
                       body.substr(0, kBalloonBodyChars), icon);
  }
  G().gLastNotifyClickable = AllowClick;
}

void Appl::ClickLastNotify() {
  if (G().gLastNotifyClickable) SaveSetting(u"Notify", NotifyValueName(G().gLastNotifyID), u"0");
}

}  // namespace parlavent
