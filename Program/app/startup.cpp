// The start-up of the program: Run and its steps Init, PrepareForm and Launch, the single-instance
// check, and the main window's poll of the requests other copies leave in the settings store.
#include <cstdint>

#include "app/application.h"
#include "app/hooks.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/statistics.h"
#include "dictionary/dictionary.h"
#include "foundation/api_files.h"
#include "foundation/api_input.h"
#include "foundation/api_strings.h"
#include "foundation/api_system.h"
#include "foundation/lang_entries.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "foundation/wildcard.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/process_list.h"
#include "platform/random.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kHandCursorResource = 101;
constexpr std::u16string_view kSchemes = u"AppEvents\\Schemes\\Apps\\";

bool CommandLineHas(std::u16string_view pattern) { return Like(Process().CommandLine(), pattern, MatchCase::Blind); }

// The program's "Navigating" event plays whatever Explorer's navigation sound is, so link clicks
// sound like the system's own.
void CopyNavigationSound() {
  const std::u16string current =
      API::RegReadString(kHkeyCurrentUser, std::u16string(kSchemes) + u"Explorer\\Navigating\\.Current", u"");
  const std::u16string own = std::u16string(kSchemes) + System().ExeName() + u"\\Navigating";
  API::RegWriteString(kHkeyCurrentUser, own, u"", u"", false);
  API::RegWriteString(kHkeyCurrentUser, own + u"\\.Current", u"", current, true);
  API::RegWriteString(kHkeyCurrentUser, own + u"\\.Default", u"", current, true);
}

}  // namespace

void Appl::Run() {
  SetAppl(this);
  CreateSettings(*this);
  CheckRun();
  if (ending_) return;
  Init();
  PrepareForm();
  InstallFonts();
  InitDics();
  CallHook([this] { InitSpk(); });
  Launch();
  CallHook(Hooks.LoadClipHook);
}

void Appl::CheckRun() {
  SaveSetting(u"Main", u"NeedUnload", u"0");
  if (!TheDesktop().OtherInstanceRunning()) return;
  if (!CommandLineHas(u"*/h*")) SaveSetting(u"Main", u"NeedShow", u"1");
  ending_ = true;
  Process().EndNow();
}

void Appl::Init() {
  API::InitWindowsVersion();
  IsWindowsNT = API::IsWinNT();
  G().gHandCursor = TheDesktop().LoadCursorResource(kHandCursorResource);
  std::u16string noDefault;
  Sett->AppFolder = API::GetAppDataFolder(noDefault);
  // A save cut short (a kill, a power cut) left its temporary beside the file it was to replace;
  // the file itself is whole, as the last finished save left it.
  API::RemoveSaveLeftovers(Sett->AppFolder);
  const Point twips = Input().TwipsPerPixel();
  G().gTwipsPerPixelX = static_cast<std::int32_t>(twips.x);
  G().gTwipsPerPixelY = static_cast<std::int32_t>(twips.y);
  Randomize(SystemClock().Timer());
  CopyNavigationSound();
  G().gLayouts = TheDesktop().KeyboardLayouts();
  Sett->DicPath = API::JoinPath(System().ProgramFolder(), u"Dictionaries");
  G().gNotRepeatTrans = true;
  Sett->ExtTransString = u"\u00BB\u00BB\u00BB";
  Sett->LoadSett();
  mdlPublic::LoadLang(Sett->CurLang, Sett->site, Sett->Email);
  CallHook([this] { Stat().LoadStat(); });
  DetectConflictingApps();
  const bool swapped = API::IsMouseSwapped();
  G().gPrimaryButton = swapped ? 2 : 1;
  G().gSecondaryButton = swapped ? 1 : 2;
  G().gDoubleClickTime = static_cast<float>(TheDesktop().DoubleClickTime()) / 1000.0f;
  // For outside programs only: nothing in the program reads them.
  SaveSetting(u"Main", u"Path", System().ProgramFolder());
  SaveSetting(u"Main", u"AppPath", Sett->AppFolder);
}

void Appl::DetectConflictingApps() {
  if (!G().gProccess) G().gProccess = std::make_shared<clsProccess>();
  clsProccess& processes = *G().gProccess;
  const std::int32_t n = processes.GetActiveProcess();
  for (std::int32_t i = 0; i < n; ++i) {
    const std::u16string name = processes.szExeFile(i);
    if (EqualsNoCase(name, u"ps.exe")) {
      // Punto Switcher switches layouts itself; two switchers would undo each other.
      std::u16string path;
      processes.GetExe(i, path);
      if (Like(path, u"*\\Punto Switcher\\*", MatchCase::Blind)) Sett->TrlMode = 0;
    } else if (EqualsNoCase(name, u"outpost.exe")) {
      G().gOutpostFound = true;
    } else if (EqualsNoCase(name, u"avp.exe")) {
      G().gAvpFound = true;
    }
  }
}

void Appl::PrepareForm() {
  if (!Forms) return;
  frmCopy = Forms->LoadCopy();
  frmBusy = Forms->LoadBusy();
  frmMain = Forms->LoadMain();
  if (!frmMain) return;
  TheDesktop().LockWindowUpdate(frmMain->hWnd());
  frmMain->HideMenuBar();
  CreateApplIcon();
  if (frmMain->txtInput) frmMain->txtInput->SetFocus();
  frmMain->RefreshEnabled();
  frmMain->RefreshMode(false);
  TheDesktop().LockWindowUpdate(0);
}

void Appl::Launch() {
  if (ColDics.Count() >= 1) {
    // The stored alphabet may be an earlier dictionary's: a one-way dictionary shows its source's.
    if (Dic && Dic->Direction() > 0) State.gCurABC = Dic->Direction();
    CallHook([this] { ShowABC(u""); });
  } else {
    ShowNoDictionaryMessage();
  }
  if (!Sett->SilentStart) ShowMe(true);
  if (Sett->LrnShow) CallHook([this] { StartLearn(); });
  if (frmMain) frmMain->ShowTestMenus(CommandLineHas(u"*/t*"));
  if (G().gAvpFound) ShowNotify(12, LZ(lang::kNotifyAntivirus), true, true, false, true);
  CallHook(Hooks.ShowModeMessage);
  // Said once: a file is kept again only when it holds something else.
  if (!G().gKeptFiles.empty()) {
    Info(LZ(lang::kInfoFilesKept) + u" " + JoinText(G().gKeptFiles, u", "), false);
    G().gKeptFiles.clear();
  }
  if (!G().gLeftFiles.empty()) {
    Info(LZ(lang::kInfoFilesLeft) + u" " + JoinText(G().gLeftFiles, u", "), false);
    G().gLeftFiles.clear();
  }
  if (Sett->CannotSave) Info(LZ(lang::kInfoCannotSave) + u" " + API::GetAppDataFolder(), false);
  StartEvents();
  OpenQuickReferenceOnce();
}

void Appl::ShowNoDictionaryMessage() {
  OutPutMode = 1;
  if (!frmMain || !frmMain->clsLinkText || !frmMain->txtOutPut) return;
  frmMain->clsLinkText->Reset();
  frmMain->clsLinkText->SetLink(frmMain->txtOutPut, LZ(lang::kNoDictionary) + u" ", false, u"\r\n");
}

// An outside program (the installer) may ask for the quick-reference page; it opens once.
void Appl::OpenQuickReferenceOnce() {
  if (Sett->CurLang != 1) return;
  if (LeadingNumber(GetSetting(u"Main", u"ShowPam", u"0")) == 0) return;
  Pump().DoEvents();
  SaveSetting(u"Main", u"ShowPam", u"0");
  if (frmMain) frmMain->mnuPam_Click();
}

void Appl::OnRemoteControlTick() {
  if (LeadingNumber(GetSetting(u"Main", u"NeedUnload", u"0")) == 1) {
    SaveSetting(u"Main", u"NeedUnload", u"0");
    if (frmMain) frmMain->mnuExit_Click();
    return;  // the program is ending: nothing is to be shown any more
  }
  if (LeadingNumber(GetSetting(u"Main", u"NeedShow", u"0")) == 1) ShowMe(true);
}

ProgressForm* Appl::Progress() {
  if (!frmProgress && Forms) frmProgress = Forms->LoadProgress();
  return frmProgress.get();
}

}  // namespace parlavent
