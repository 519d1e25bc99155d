// Help, the About window, the settings dialog and the busy pointer.
#include "app/help_about.h"

#include "app/application.h"
#include "app/main_form.h"
#include "app/neighbour_services.h"
#include "dictionary/dictionary.h"
#include "foundation/api_files.h"
#include "foundation/api_strings.h"
#include "foundation/api_system.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/help_viewer.h"
#include "platform/rich_text_box.h"
#include "platform/system_info.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent {

std::u16string FillAboutTemplate(const Appl& app, std::u16string_view templateText, std::u16string_view version,
                                 std::u16string_view wordsLabel) {
  std::u16string list;
  for (const auto& dic : app.ColDics) {
    if (!dic || !dic->Visible) continue;
    const auto src = dic->GetSrc();
    if (!list.empty()) list += u"\r\n";
    list += (src ? src->Name : std::u16string()) + u": " + NumberText(dic->Words / 1000 * 1000) + u" " +
            std::u16string(wordsLabel);
  }
  return ReplaceAll(ReplaceAll(templateText, u"#Ver#", version), u"#Dictionaries#", list);
}

std::u16string Appl::GetHelpFile() {
  const std::int32_t lang = Sett ? Sett->CurLang : 0;
  const std::u16string name =
      lang >= 0 && static_cast<std::size_t>(lang) < Languages.size() ? Languages[static_cast<std::size_t>(lang)]
                                                                       : std::u16string();
  return API::JoinPath(API::JoinPath(System().ProgramFolder(), u"Help"), name + u".chm");
}

void Appl::ShowHelp(std::u16string_view topic, std::u16string_view window) {
  std::u16string file = GetHelpFile();
  const std::u16string_view win = topic.empty() ? window : std::u16string_view(u"small");
  if (!win.empty()) file += u">" + std::u16string(win);
  Help().DisplayTopic(frmMain ? frmMain->hWnd() : 0, file, topic);
}

std::u16string Appl::AboutText() {
  const std::int32_t lang = Sett ? Sett->CurLang : 0;
  const std::u16string path = API::JoinPath(System().ProgramFolder(), u"about" + NumberText(lang) + u".dat");
  return FillAboutTemplate(*this, API::ReadUnicodeFile(path), API::GetAppVersion(), LZ(lang::kAboutWords));
}

void Appl::ShowAbout() {
  if (!LoadAbout) return;
  try {
    const auto about = LoadAbout();
    if (!about) return;
    frmAbout = about;
    about->Show();
  } catch (...) {
  }
}

void Appl::ShowSetting() {
  // Held here: the dialog may be replaced while it is open.
  const std::shared_ptr<SettingsDialog> dialog = frmSetting;
  // Asked again while it is open (the tray menu still answers): the open dialog comes forward, and
  // what its opening stopped stays stopped until it closes.
  static bool open = false;
  if (open) {
    try {
      if (dialog) dialog->ShowModal(Sett && Sett->TopMost);
    } catch (...) {
    }
    return;
  }
  struct Opened {
    Opened() { open = true; }
    ~Opened() { open = false; }
  } opened;
  try {
    if (dialog) dialog->ReadSetting();
  } catch (...) {
  }
  StopEvents();
  ViewServices().StopSpeak();
  State.gNoLrnSpeak = true;
  try {
    if (dialog) dialog->ShowModal(Sett && Sett->TopMost);
  } catch (...) {
    // However the dialog ended, the polling must start again below.
  }
  if (Toolbar* toolbar = ViewServices().MainToolbar()) mdlPublic::ApplyToolbarMask(*toolbar);
  ClearBuffer();
  if (const auto input = ViewServices().InputBox()) input->SetFocus();
  StartEvents();
  State.gNoLrnSpeak = false;
}

void Appl::Wait(bool WaitOn) {
  ViewServices().SetBusyPointer(WaitOn);
  CaptureSide().SetPopupPointer(WaitOn ? 11 : 1);
}

}  // namespace parlavent
