#include "app/main_window_core.h"

#include <algorithm>
#include <cmath>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/hooks.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/neighbour_services.h"
#include "app/popup_menu.h"
#include "app/view_history.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/api_strings.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/process_list.h"
#include "platform/rich_text_box.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/timer_control.h"
#include "platform/toolbar.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Virtual-key codes and the shift mask of key events (1 Shift, 2 Ctrl, 4 Alt).
constexpr int kBack = 8, kEnter = 13, kEsc = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsert = 45;
constexpr int kKeyA = 65, kKeyC = 67, kKeyP = 80, kKeyV = 86, kF1 = 112;
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

// Tray mouse messages.
constexpr std::int32_t kLButtonDown = 513, kLButtonUp = 514, kLDoubleClick = 515, kRButtonUp = 517;
constexpr std::int32_t kBalloonClicked = 1029;

bool IsPaste(int keyCode, int shift) {
  return (keyCode == kKeyV && (shift & kCtrl)) || (keyCode == kInsert && (shift & kShift));
}

void Restart(TimerControl* timer) {
  if (!timer) return;
  timer->SetEnabled(false);
  timer->SetEnabled(true);
}

void Stop(TimerControl* timer) {
  if (timer) timer->SetEnabled(false);
}

template <typename F, typename... Args>
void Call(const F& f, Args&&... args) {
  if (!f) return;
  try {
    f(std::forward<Args>(args)...);
  } catch (...) {
  }
}

template <typename R, typename F>
R Ask(const F& f, R fallback) {
  if (!f) return fallback;
  try {
    return f();
  } catch (...) {
    return fallback;
  }
}

Setting& Sett() { return *gAppl().Sett; }

// The dictionary at 1-based position index of ColDics, or null.
std::shared_ptr<clsDic> DicAt(std::int64_t index) {
  if (index < 1) return nullptr;
  auto* dic = gAppl().ColDics.ItemAt(static_cast<std::size_t>(index));
  return dic ? *dic : nullptr;
}

// The on-screen keyboard window, when the companions have one.
KeyboardWindow* Keyb() { return gAppl().Companion ? gAppl().Companion->Keyb() : nullptr; }
bool KeybVisible() {
  KeyboardWindow* k = Keyb();
  return k && k->Visible();
}
WindowHandle KeybHandle() {
  KeyboardWindow* k = Keyb();
  return k ? k->Handle() : 0;
}

std::u16string Key(std::int32_t index, std::int32_t direction = -1) {
  std::u16string key = u"k" + NumberText(index);
  if (direction >= 0) key += NumberText(direction);
  return key;
}

// Whether the text of a box has a line break before position.
bool OnFirstLine(std::u16string_view text, std::int32_t position) {
  const auto end = std::min<std::size_t>(static_cast<std::size_t>(std::max(position, 0)), text.size());
  return text.substr(0, end).find(u"\r\n") == std::u16string_view::npos;
}

}  // namespace

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
  MainLayout l;
  const std::int32_t b = in.border;
  l.tb0 = {0, 0, in.W, 0};
  l.toolbar1 = {0, in.H - in.bottomH, in.W, in.bottomH};
  l.tbDic = {in.W - in.tbDicWidth - b, b, in.tbDicWidth, in.bottomH - 2 * b};
  l.cmdKeyb = {b, b, in.keybWidth, in.keybHeight};
  const std::int32_t room = in.W - in.tb1Width - b;
  if (room >= 100) {
    l.inputFrame = {b, b, std::max(room - 2 * b, 0), in.inputFrameHeight};
    l.tb1 = {room, b, in.tb1Width, in.tb1Height};
  } else {
    l.inputFrame = {b, b, in.tb1Width, in.inputFrameHeight};
    l.tb1 = {b, in.inputFrameHeight + 2 * b, in.tb1Width, in.tb1Height};
  }
  // The alphabet button has the frame's right end to itself: the text never runs under it.
  l.txtInput = {1, 1, std::max(l.inputFrame.width - 2 - in.abcWidth, 0), std::max(l.inputFrame.height - 2, 0)};
  const std::int32_t infoH = 16;
  const std::int32_t infoLeft = in.keybWidth + 2 * b;
  l.lblInfo = {infoLeft, (in.bottomH - infoH) / 2, std::max(l.tbDic.x - infoLeft - b, 0), infoH};
  const std::int32_t top = l.tb1.y + in.inputFrameHeight + b;
  const std::int32_t area = std::max(l.toolbar1.y - top, 0);
  l.tb0.height = top;
  l.pctTB = {0, 0, in.W, top};
  l.outputFrame = {0, top, in.W, area};
  l.cmdAbc = {l.inputFrame.width - in.abcWidth - 1, 1, in.abcWidth, l.txtInput.height};
  const std::int32_t arrowLeft = (in.W - 16) / 2;
  if (in.backTransOpen) {
    // Seven lines of the program font, in pixels.
    // Seven pixels per point of the program font.
    const auto pane = static_cast<std::int32_t>(7 * in.fontPoints);
    l.txtBackTrans = {0, area - pane - 3, in.W, pane};
    l.lineTop = area - pane - b;
    l.txtOutPut = {0, 8, in.W, std::max(area - 16 - pane, 0)};
    l.exp = {arrowLeft, l.txtBackTrans.y - 2, 16, 8};
    l.backTransVisible = true;
  } else {
    l.txtOutPut = {0, 8, in.W, std::max(area - 10, 0)};
    l.exp = {arrowLeft, area - 4, 16, 8};
  }
  return l;
}

MainWindowCore::MainWindowCore(MainControls controls) : c_(std::move(controls)) {}
MainWindowCore::~MainWindowCore() = default;

std::u16string MainWindowCore::InputText() { return c_.txtInput ? c_.txtInput->Text() : std::u16string(); }

// ---- Refresh and localisation ------------------------------------------------------------------

void MainWindowCore::Form_Load() {
  G().gFirstShowFocus = true;
  for (const auto& box : {c_.txtInput, c_.txtOutPut, c_.txtBackTrans}) {
    if (box) box->SetText(u"");
  }
  tmrProcess_Timer();
  if (c_.TB1) {
    mdlPublic::CreateToolbar(*c_.TB1);
    mdlPublic::ApplyToolbarMask(*c_.TB1);
    mdlPublic::GetToolbarWidth(*c_.TB1);
  }
  G().gUserTyped = true;
  CallHook([] { gAppl().ShowKeybIco(true); });
  LocalizeMe();
  RefreshBTB();
}

void MainWindowCore::LocalizeMe() {
  if (!c_.menus) return;
  Appl& app = gAppl();
  const std::pair<MenuItem, std::int32_t> captions[] = {
      {MenuItem::Show, lang::kMenuShow},          {MenuItem::Hide, lang::kMenuHide},
      {MenuItem::About, lang::kMenuAbout},        {MenuItem::Help, lang::kMenuHelp},
      {MenuItem::Setting, lang::kMenuSetting},    {MenuItem::Exit, lang::kMenuExit},
      {MenuItem::Copy, lang::kMenuCopy},          {MenuItem::BackTrans, lang::kMenuBackTrans},
      {MenuItem::Keyb, lang::kMenuKeyb},          {MenuItem::Stat, lang::kMenuStat}, {MenuItem::Learn, lang::kMenuLearn},
      {MenuItem::TL, lang::kMenuTL},              {MenuItem::Speak, lang::kSpeak},
      {MenuItem::TransClip, lang::kMenuTransClip}, {MenuItem::SpeakClip, lang::kMenuSpeakClip}};
  for (const auto& [item, entry] : captions) c_.menus->SetCaption(item, app.LZ(entry));
  if (c_.shell) c_.shell->SetAbcToolTip(app.LZ(lang::kTipAbc));
  const bool pam = Sett().CurLang == 1;
  if (pam) c_.menus->SetCaption(MenuItem::Pam, app.LZ(lang::kMenuPam));
  c_.menus->SetVisible(MenuItem::Pam, pam);
}

void MainWindowCore::RefreshBTB() {
  if (c_.shell) c_.shell->ShowExpArrows(Sett().BackTransOpen);
}

void MainWindowCore::RefreshMode() {
  Appl& app = gAppl();
  const bool on = Sett().AutoOn;
  if (c_.TB1) {
    if (const std::int32_t i = c_.TB1->IndexOf(u"Mode")) {
      c_.TB1->SetButtonPressed(i, on);
      c_.TB1->SetButtonToolTip(i, app.LZ(lang::kTipMode));
      c_.TB1->SetButtonImage(i, on ? u"Mode1" : u"Mode");
    }
  }
  if (c_.shell) c_.shell->SetTrayPicture(on);
}

void MainWindowCore::RefreshEnabled() {
  Appl& app = gAppl();
  const bool haveDics = app.ColDics.Count() >= 1;
  RichTextBox* active = nullptr;
  if (c_.txtInput && c_.txtInput->HasFocus()) active = c_.txtInput.get();
  if (c_.txtOutPut && c_.txtOutPut->HasFocus()) active = c_.txtOutPut.get();
  const bool selection = active && active->SelLength() > 0;
  if (Toolbar* tb = c_.TB1) {
    const auto enable = [tb](std::u16string_view key, bool on) {
      if (const std::int32_t i = tb->IndexOf(key)) tb->SetButtonEnabled(i, on);
    };
    enable(u"Trans", haveDics && (selection || !InputText().empty()));
    enable(u"Copy", selection);
    enable(u"Paste", app.IsTextInClip);
    if (const std::int32_t i = tb->IndexOf(u"Speak")) {
      if (!app.SAPIEnabled) {
        tb->SetButtonEnabled(i, false);
        tb->SetButtonToolTip(i, app.LZ(lang::kTipNoSpeech));
      } else {
        tb->SetButtonEnabled(i, app.SAPIVoices != 0);
        if (app.SAPIVoices == 0) {
          tb->SetButtonToolTip(i, app.LZ(lang::kTipNoVoices));
        } else {
          const bool speaking = (app.SpeechSide().IsSpeaking() || G().gSpeakingWordSet) && !G().gNoHighlight;
          tb->SetButtonPressed(i, speaking);
          tb->SetButtonToolTip(i, speaking ? app.LZ(lang::kTipStopSpeaking) : app.LZ(lang::kSpeak) + u" (Ctrl+P)");
        }
      }
    }
  }
  if (c_.shell) {
    c_.shell->SetKeybEnabled(haveDics);
    c_.shell->SetAbcEnabled(haveDics);
  }
}

// ---- Dictionary buttons ------------------------------------------------------------------------

void MainWindowCore::LoadDicButtons() {
  Appl& app = gAppl();
  if (c_.menus) c_.menus->ClearDics();
  std::int32_t n = 0;
  if (Toolbar* tb = c_.tbDic) {
    tb->Clear();
    std::vector<std::pair<std::u16string, std::shared_ptr<Picture>>> images;
    for (const auto& dic : app.ColDics) {
      if (!dic || !dic->Visible) continue;
      images.emplace_back(Key(dic->Index, 0), dic->Icon);
      images.emplace_back(Key(dic->Index, 1), dic->Icon1);
      images.emplace_back(Key(dic->Index, 2), dic->Icon2);
    }
    tb->SetImages(images);
  }
  std::int32_t width = 0;
  for (const auto& dic : app.ColDics) {
    if (!dic || !dic->Visible) continue;
    ++n;
    const std::u16string key = Key(dic->Index);
    if (c_.tbDic) {
      const std::int32_t i = mdlPublic::AddToolbarButton(*c_.tbDic, key, app.LZ(lang::kTipDictionary), ToolbarStyle::Check);
      c_.tbDic->SetButtonPressed(i, dic->Enabled);
      width += c_.tbDic->ButtonWidth(i);
    }
    dic->Button = std::make_shared<ToolbarButton>(key);
    if (c_.menus) c_.menus->AddDic(dic->Index, dic->GetDirStr());
  }
  if (c_.tbDic) c_.tbDic->SetWidth(width);
  G().gDicButtonCount = n;
  if (c_.menus) {
    // A single dictionary has nothing to switch to.
    if (n == 1) c_.menus->SetDic(1, {}, false, false);
    c_.menus->SetDicSeparatorVisible(n >= 2);
  }
  RefreshDicButtons();
}

void MainWindowCore::RefreshDicButtons() {
  Appl& app = gAppl();
  if (G().gDicButtonCount > 1 && c_.menus) {
    for (std::int32_t n = 1; n <= c_.menus->DicCount(); ++n) {
      if (auto dic = DicAt(c_.menus->DicTag(n))) c_.menus->SetDic(n, dic->GetDirStr(), dic->Enabled, true);
    }
  }
  for (const auto& dic : app.ColDics) {
    if (!dic || !dic->Visible || !dic->Button || !c_.tbDic) continue;
    const std::int32_t i = c_.tbDic->IndexOf(dic->Button->Key);
    if (!i) continue;
    // A dictionary that goes both ways only shows its one flag.
    c_.tbDic->SetButtonImage(i, Key(dic->Index, dic->SupportDirection ? dic->Direction() : 0));
    c_.tbDic->SetButtonPressed(i, dic->Enabled);
  }
  if (c_.shell && app.Dic) c_.shell->SetCaption(u"  Parlavent " + app.Dic->GetDirStr());
  G().gCurDic = app.Dic;
}

// ---- Boxes -------------------------------------------------------------------------------------

void MainWindowCore::RestartChangeInput() { Restart(c_.timers.tmrChangeInput); }

std::u16string InputBoxText(std::u16string_view text, bool& cut) {
  std::u16string kept;
  kept.reserve(std::min(text.size(), kInputBoxMax));
  cut = false;
  for (const char16_t c : text) {
    if (c < 32 && c != u'\r' && c != u'\n' && c != u'\t') continue;
    if (kept.size() == kInputBoxMax) {
      cut = true;
      break;
    }
    kept.push_back(c);
  }
  return kept;
}

void MainWindowCore::txtInput_Change() {
  G().gListAbort = true;
  // Whatever brought the text in (typing, a paste, a drop), the box keeps what it is meant to.
  if (c_.txtInput) {
    const std::u16string text = InputText();
    bool cut = false;
    if (std::u16string kept = InputBoxText(text, cut); kept != text) {
      const std::int32_t caret = std::min(c_.txtInput->SelStart(), static_cast<std::int32_t>(kept.size()));
      c_.txtInput->SetText(kept);
      c_.txtInput->SetSelStart(caret);
      if (cut) Info(gAppl().LZ(lang::kInfoInputCut), false);
    }
  }
  // The layout-switch recorder watches every change, typed or written by the program.
  CallHook(mdlPublic::CheckLayoutSwitch);
  if (!G().gUserTyped) {
    // The program wrote the box: a list still pending for what was typed before would show
    // the list of the program's text.
    Stop(c_.timers.tmrChangeInput);
    return;
  }
  listLineChosen_ = false;
  if (c_.txtOutPut) {
    lineSelectOff_ = true;
    c_.txtOutPut->SetSelLength(0);
    lineSelectOff_ = false;
  }
  RestartChangeInput();
}

void MainWindowCore::txtInput_GotFocus() {
  focusBox_ = 1;
  if (c_.txtInput && InputTag != u"0" && EqualsNoCase(InputText(), u"(" + gAppl().LZ(lang::kInputPlaceholder) + u")")) {
    c_.txtInput->SetText(u"");
  }
  InputTag.clear();
}

void MainWindowCore::txtInput_Click() {
  if (!c_.txtInput) return;
  const std::int32_t length = static_cast<std::int32_t>(InputText().size());
  if (c_.txtInput->SelStart() < length && c_.txtInput->SelLength() == 0) {
    c_.txtInput->SetSelStart(0);
    c_.txtInput->SetSelLength(length);
  }
}

void MainWindowCore::txtInput_Paste(std::u16string_view clipboard) {
  if (!c_.txtInput) return;
  // Only the text comes along: the box never takes over the formatting of the source.
  const std::u16string text = InputText();
  const auto start = std::min<std::size_t>(static_cast<std::size_t>(std::max(c_.txtInput->SelStart(), 0)), text.size());
  const auto end = std::min(start + static_cast<std::size_t>(std::max(c_.txtInput->SelLength(), 0)), text.size());
  bool cut = false;
  // Cut before it reaches the box: a control fed 100,000 characters is slow to take them, or
  // refuses them all.
  const std::u16string clip = InputBoxText(clipboard, cut);
  c_.txtInput->SetText(text.substr(0, start) + clip + text.substr(end));
  c_.txtInput->SetSelStart(static_cast<std::int32_t>(start + clip.size()));
  c_.txtInput->SetSelLength(0);
  if (cut) Info(gAppl().LZ(lang::kInfoInputCut), false);
}

bool MainWindowCore::txtInput_KeyDown(int keyCode, int shift) {
  G().gUserTyped = true;
  if (keyCode == kEsc) G().gListAbort = true;
  if (!c_.txtInput) return false;
  if (IsPaste(keyCode, shift)) {
    txtInput_Paste(gAppl().GetClipboard());
    return true;
  }
  if (keyCode == kDown && c_.txtOutPut) {
    if (gAppl().OutPutMode == 0) {
      if (c_.txtOutPut->Visible() && !c_.txtOutPut->Text().empty()) {
        c_.txtOutPut->SetFocus();
        if (c_.shell) c_.shell->SendDownToOutput();
        return true;
      }
    } else {
      c_.txtOutPut->SetFocus();
    }
    return false;
  }
  if (keyCode == kKeyA && (shift & kCtrl)) {
    c_.txtInput->SetSelStart(0);
    c_.txtInput->SetSelLength(static_cast<std::int32_t>(InputText().size()));
    return true;
  }
  return false;
}

void MainWindowCore::txtOutPut_Change() { CloseLinkHint(); }

void MainWindowCore::CloseLinkHint() {
  // A hint waiting to show would tell of a link that is no longer there.
  Stop(c_.timers.tmrToolTip);
  gAppl().CaptureSide().CloseToolTip();
}

void MainWindowCore::txtOutPut_GotFocus() {
  focusBox_ = 2;
  listLineChosen_ = true;
  if (c_.shell) {
    c_.shell->DoEvents();
    c_.shell->HideOutputCaret();
  }
}

void MainWindowCore::HideOutputCaret() {
  if (c_.shell) c_.shell->HideOutputCaret();
}

void MainWindowCore::OutputBoxPixels(std::int32_t& width, std::int32_t& height) {
  width = height = 0;
  if (c_.shell) c_.shell->OutputPixels(width, height);
}

void MainWindowCore::Wait(bool on) {
  if (c_.shell) c_.shell->Wait(on);
}

void MainWindowCore::txtOutPut_SelChange() {
  if (lineSelectOff_ || !c_.txtOutPut || gAppl().OutPutMode != 0) return;
  if (c_.txtOutPut->SelLength() == 0) mdlPublic::SelectCurrentLine(*c_.txtOutPut);
}

bool MainWindowCore::txtOutPut_KeyDown(int keyCode, int shift) {
  if (!c_.txtOutPut) return false;
  const bool listMode = gAppl().OutPutMode == 0;
  if (IsPaste(keyCode, shift)) {
    TranslateClipboard();
    return true;
  }
  if (keyCode == kBack) {
    if (!listMode && (shift & kCtrl)) {
      MenuClick(MenuItem::BackTrans);
    } else {
      gAppl().History().Back();
    }
    return true;
  }
  const std::u16string text = c_.txtOutPut->Text();
  const std::int32_t start = c_.txtOutPut->SelStart();
  if (keyCode == kUp && OnFirstLine(text, start)) {
    if (c_.txtInput) {
      c_.txtInput->SetFocus();
      c_.txtInput->SetSelStart(0);
      c_.txtInput->SetSelLength(static_cast<std::int32_t>(InputText().size()));
    }
    return true;
  }
  if (listMode) return false;
  if (keyCode == kLeft && start == 0) return true;
  if (keyCode == kRight && start + c_.txtOutPut->SelLength() >= static_cast<std::int32_t>(text.size())) return true;
  return false;
}

bool MainWindowCore::txtOutPut_KeyPress(char16_t ch, int shift) {
  // "A" itself and every code below it (controls, digits, punctuation) stays with the box.
  if (ch <= 65 || (shift & (kCtrl | kAlt)) || !c_.txtInput) return false;
  c_.txtInput->SetFocus();
  c_.txtInput->SetText(std::u16string(1, ch));
  c_.txtInput->SetSelStart(1);
  c_.txtInput->SetSelLength(0);
  return true;
}

void MainWindowCore::txtOutPut_KeyUp(int keyCode, int shift) {
  if (keyCode != kKeyC || !(shift & kCtrl) || !c_.txtOutPut) return;
  const std::u16string text = c_.txtOutPut->Text();
  const auto start = std::min<std::size_t>(static_cast<std::size_t>(std::max(c_.txtOutPut->SelStart(), 0)), text.size());
  CopyText(text.substr(start, static_cast<std::size_t>(std::max(c_.txtOutPut->SelLength(), 0))), true);
}

void MainWindowCore::txtBackTrans_GotFocus() {
  if (c_.txtOutPut) c_.txtOutPut->SetFocus();
}

void MainWindowCore::Form_KeyUp(int keyCode, int shift) {
  const bool ctrl = (shift & kCtrl) != 0;
  if (keyCode == kEsc) {
    G().gListAbort = true;
  } else if (keyCode == kEnter) {
    TranslateInput();
  } else if (keyCode == kKeyV && ctrl && focusBox_ != 1) {
    bool cut = false;
    if (c_.txtInput) c_.txtInput->SetText(InputBoxText(gAppl().GetClipboard(), cut));
  } else if (keyCode == kKeyP && ctrl) {
    CmdSpeak_click();
  } else if (keyCode == kF1) {
    gAppl().ShowHelp();
  } else if (keyCode == kKeyC && ctrl) {
    CopySelection();
  }
}

// ---- Toolbars, buttons and menus ---------------------------------------------------------------

void MainWindowCore::TB1_ButtonClick(std::u16string_view key) {
  const auto is = [key](std::u16string_view k) { return EqualsNoCase(key, k); };
  if (is(u"Trans")) {
    TranslateInput();
  } else if (is(u"Paste")) {
    TranslateClipboard();
  } else if (is(u"Copy")) {
    CopySelection();
  } else if (is(u"Back")) {
    mdlPublic::PlayClickSound();
    gAppl().History().Back();
  } else if (is(u"Redo")) {
    mdlPublic::PlayClickSound();
    gAppl().History().Redo();
  } else if (is(u"Mode")) {
    mdlPublic::PlayClickSound();
    if (c_.txtInput) c_.txtInput->SetFocus();
    gAppl().SetAutoMode(!Sett().AutoOn, true);
  } else if (is(u"Menu")) {
    ShowMainMenu(true);
  } else if (is(u"Speak")) {
    CmdSpeak_click();
  }
}

void MainWindowCore::ShowMainMenu(bool fromForm) {
  gAppl().ShowMenu(fromForm);
}

void MainWindowCore::TranslateInput() {
  Stop(c_.timers.tmrChangeInput);
  mdlPublic::PlayClickSound();
  ShowTransArgs args;
  args.OnForm = true;
  args.Typed = true;
  args.AddStat = true;
  std::u16string text;
  auto* out = c_.txtOutPut.get();
  const bool outSelected = out && out->SelLength() > 0;
  if (focusBox_ != 2) {
    // The word list selects its first line by itself: that line is what the user chose only
    // when they moved there (the output box had the focus since), or when the typed text finds
    // nothing of its own ("Kinder" is Kind's form, not the list's "kinderarzt").
    if (gAppl().OutPutMode == 0 && focusBox_ == 1 && outSelected && (listLineChosen_ || !TypedTextFound())) {
      const std::u16string all = out->Text();
      // A selection the box reports past its text (it can lag behind a new text) gives nothing.
      const auto start = std::min<std::size_t>(static_cast<std::size_t>(std::max(out->SelStart(), 0)), all.size());
      text = all.substr(start, static_cast<std::size_t>(out->SelLength()));
      args.FullText = true;
    } else {
      text = InputText();
      args.Tochno = text.find(u',') != std::u16string::npos;
    }
  } else if (outSelected) {
    if (c_.clsLinkText) {
      // Enter on a link is the link layer's.
      if (auto link = c_.clsLinkText->GetSelLink(); link && !link->Link.empty()) return;
    }
    const std::u16string all = out->Text();
    const auto start = std::min<std::size_t>(static_cast<std::size_t>(std::max(out->SelStart(), 0)), all.size());
    text = all.substr(start, static_cast<std::size_t>(out->SelLength()));
    if (EqualsNoCase(text, Sett().ExtTransString)) {
      gAppl().FillWordList(InputText(), std::nullopt, false, false, 2);
      return;
    }
  } else {
    text = Trim(InputText());
  }
  args.RepeatTrans = c_.shell && c_.shell->CtrlHeld();
  ShowTrans(text, args);
}

bool MainWindowCore::TypedTextFound() {
  Appl& app = gAppl();
  const std::u16string text = Trim(InputText());
  if (text.empty() || !app.Dic) return false;
  if (!app.GetWordsTree(text, 1, app.Dic, false, false).empty()) return true;
  return app.Dic->Dicx && !app.GetWordsTree(text, 1, app.Dic->Dicx, false, false).empty();
}

void MainWindowCore::TranslateClipboard() {
  const std::u16string text = Trim(LookupSpan(TrimView(gAppl().GetClipboard())));
  if (text.empty() || EqualsNoCase(text, Trim(InputText()))) return;
  ShowTransArgs args;
  args.OnForm = true;
  ShowTrans(text, args);
}

void MainWindowCore::CopySelection() {
  std::u16string text;
  const auto selected = [](RichTextBox& box) {
    const std::u16string all = box.Text();
    const auto start = std::min<std::size_t>(static_cast<std::size_t>(std::max(box.SelStart(), 0)), all.size());
    return all.substr(start, static_cast<std::size_t>(std::max(box.SelLength(), 0)));
  };
  if (focusBox_ == 2 && c_.txtOutPut) {
    text = selected(*c_.txtOutPut);
  } else if (focusBox_ == 1 && c_.txtInput) {
    text = c_.txtInput->SelLength() > 0 ? selected(*c_.txtInput) : InputText();
  }
  if (!text.empty()) CopyText(text, true);
}

void MainWindowCore::CmdSpeak_click() {
  G().gLastOnForm = true;
  gAppl().SpeakClick(true);
}

void MainWindowCore::tbDic_ButtonClick(std::u16string_view key) {
  Appl& app = gAppl();
  app.ClearBuffer();
  if (Toolbar* tb = c_.tbDic) {
    for (std::int32_t i = 1; i <= tb->ButtonCount(); ++i) tb->SetButtonPressed(i, EqualsNoCase(tb->ButtonKey(i), key));
  }
  auto cur = G().gCurDic;
  const bool hasInput = !InputText().empty();
  if (cur && cur->Button && EqualsNoCase(cur->Button->Key, key) && cur->SupportDirection) {
    std::int32_t direction = cur->Direction() + 1;
    if (direction > 2) direction = 0;
    cur->Direction(direction);
    SaveSetting(u"Main", u"DicDir" + NumberText(cur->Index), NumberText(direction));
    RefreshDicButtons();
    Info(cur->GetDirStr(), true);
    if (c_.txtOutPut && c_.txtOutPut->Visible() && hasInput && !Sett().NoDirForType) txtInput_Change();
  } else {
    const std::int32_t index = key.size() > 1 ? static_cast<std::int32_t>(LeadingNumber(key.substr(1))) : 0;
    if (auto dic = DicAt(index)) {
      G().gCurDic = dic;
      dic->SetEnabled(true);
    }
    txtInput_Change();
    if (c_.txtInput) c_.txtInput->SetFocus();
  }
  ShowDictionaryView();
  if (c_.txtInput) c_.txtInput->SetFocus();
}

void MainWindowCore::ShowDictionaryView() {
  if (G().gCurDic && G().gCurDic->Direction() > 0) G().gCurABC = G().gCurDic->Direction();
  // The pane's back-translation came from the dictionary left; the new view fills it again.
  gAppl().ClearBackTrans();
  if (const std::u16string input = InputText(); !input.empty()) {
    gAppl().ShowList(input);
  } else {
    gAppl().ShowABC(u"");
  }
}

void MainWindowCore::cmdAbc_Click() { gAppl().ShowABC(u""); }

void MainWindowCore::cmdKeyb_Click() {
  if (KeybVisible()) {
    gAppl().HideKeyb();
  } else {
    gAppl().ShowKeyb(true);
  }
  if (c_.txtInput) c_.txtInput->SetFocus();
}

void MainWindowCore::cmdHide_Click() {
  if (!G().gEscUsed) gAppl().HideMe();
}

void MainWindowCore::pctExp_Click() {
  mdlPublic::PlayClickSound();
  if (Sett().BackTransOpen) {
    gAppl().CloseBackTrans();
  } else {
    gAppl().OpenBackTrans();
  }
}

void MainWindowCore::MenuClick(MenuItem item) {
  Appl& app = gAppl();
  const auto currentLink = [] { return G().gCurLink; };
  switch (item) {
    case MenuItem::Show: app.ShowMe(true); break;
    case MenuItem::Hide: app.HideMe(); break;
    case MenuItem::Setting: app.ShowSetting(); break;
    case MenuItem::Help: app.ShowHelp(); break;
    case MenuItem::About: app.ShowAbout(); break;
    case MenuItem::Pam:
      if (app.frmMain) app.frmMain->mnuPam_Click();
      break;
    case MenuItem::Exit:
      if (app.frmMain) app.frmMain->mnuExit_Click();
      break;
    case MenuItem::Keyb: app.ShowKeyb(false); break;
    case MenuItem::Learn: app.StartLearn(); break;
    case MenuItem::Stat: app.ShowStat(true); break;
    case MenuItem::Speak:
      if (auto link = currentLink()) app.SpeechSide().SpeakText(link->Link);
      break;
    case MenuItem::SpeakClip:
      if (gAppl().SpeechSide().IsSpeaking()) {
        StopSpeak();
      } else {
        G().gSpeakTarget = 1;
        gAppl().PasteSpkSrc();
        gAppl().SpeakSrc();
      }
      break;
    case MenuItem::TL: Sett().TrlMode = Sett().TrlMode == 2 ? 1 : 2; break;
    case MenuItem::TransClip: TranslateClipboard(); break;
    case MenuItem::Copy:
      if (auto link = currentLink()) CopyText(link->Link, true);
      break;
    case MenuItem::BackTrans: {
      auto link = currentLink();
      if (!link) break;
      ShowTransArgs args;
      if (EqualsNoCase(link->Prefix, u"BackTrans")) {
        mdlPublic::PlayClickSound();
        args.OnForm = true;
        ShowTrans(link->Link, args);
        const std::u16string ret = app.WordSet ? app.WordSet->RetString : std::u16string();
        Info(app.LZ(lang::kMenuBackTrans) + u" \"" + Trim(ret) + u"\"", true);
      } else if (EqualsNoCase(link->Prefix, u"BackTTTrans")) {
        ShowTrans(link->Link, args);
      }
      break;
    }
    case MenuItem::ScanSFX: app.ScanSFX(); break;
    case MenuItem::Test: app.Test(); break;
  }
}

void MainWindowCore::mnuDics_Click(std::int32_t n) {
  if (!c_.menus) return;
  auto dic = DicAt(c_.menus->DicTag(n));
  if (dic) dic->SetEnabled(true);
  gAppl().ClearBuffer();
  // What the output showed belongs to the dictionary left (its list, its alphabet).
  if (dic) ShowDictionaryView();
}

// ---- Tray icons --------------------------------------------------------------------------------

namespace {

// Runs a tray handler unless the same icon's handler is still running (it pumps messages).
template <typename Body>
void Guard(bool& busy, Body body) {
  if (busy) return;
  busy = true;
  try {
    body();
  } catch (...) {
  }
  busy = false;
}

}  // namespace

void MainWindowCore::picNotifier_MouseMove(std::int32_t message, bool eventsRunning) {
  main_.last = message;
  if (!eventsRunning) return;
  Guard(main_.busy, [&] {
    Appl& app = gAppl();
    switch (message) {
      case kLButtonDown: {
        const double now = SystemClock().Timer();
        // The clock starts again at midnight.
        if (now - lastClick_ >= 0.3 || lastClick_ >= now) {
          app.SetAutoMode(!Sett().AutoOn, false);
          if (auto* t = c_.timers.tmrModeMsg) {
            t->SetInterval(500);
            t->SetEnabled(true);
          }
          lastClick_ = now;
        }
        break;
      }
      case kLDoubleClick:
        Stop(c_.timers.tmrModeMsg);
        app.SetAutoMode(!Sett().AutoOn, false);
        if (c_.shell) c_.shell->DoEvents();
        if (G().gReturnWindow != 0 || !c_.shell || !c_.shell->Visible()) {
          app.ShowMe(true);
        } else {
          app.HideMe();
        }
        break;
      case kRButtonUp: ShowMainMenu(false); break;
      case kBalloonClicked: app.ClickLastNotify(); break;
      default: break;
    }
  });
}

void MainWindowCore::picSpkNotifier_MouseMove(std::int32_t message) {
  spk_.last = message;
  Guard(spk_.busy, [&] {
    if (message != kLButtonUp) return;
    if (gAppl().SpeechSide().IsSpeaking()) {
      StopSpeak();
    } else if (c_.timers.tmrPasteSpkSrc) {
      c_.timers.tmrPasteSpkSrc->SetEnabled(true);
    }
  });
}

void MainWindowCore::picKeybNotifier_MouseMove(std::int32_t message) {
  keyb_.last = message;
  Guard(keyb_.busy, [&] {
    if (message != kLButtonUp && message != kRButtonUp) return;
    if (KeybVisible()) {
      gAppl().HideKeyb();
    } else {
      gAppl().ShowKeyb(false);
    }
  });
}

// ---- Timers ------------------------------------------------------------------------------------

void MainWindowCore::tmrEnabled_Timer() {
  if (!c_.shell || !c_.shell->Visible()) return;
  // The alphabet button stays one tick longer after the cursor leaves the input box.
  if (c_.shell->CursorOverInput()) {
    c_.shell->SetAbcVisible(true);
    abcHover_ = true;
  } else if (abcHover_) {
    abcHover_ = false;
  } else {
    c_.shell->SetAbcVisible(false);
  }
  RefreshEnabled();
  if (Sett().TopMost) c_.shell->SetTopMost();
}

void MainWindowCore::tmrChangeInput_Timer() {
  Stop(c_.timers.tmrChangeInput);
  gAppl().FillWordList(InputText(), 50, false, false, 2);
}

void MainWindowCore::tmrInfoClear_Timer() {
  if (c_.lblInfo) c_.lblInfo->SetVisible(false);
  Stop(c_.timers.tmrInfoClear);
  if (c_.lblInfo) c_.lblInfo->SetText(u"");
}

void MainWindowCore::tmrEscUsedClear_Timer() {
  G().gEscUsed = false;
  Stop(c_.timers.tmrEscUsedClear);
}

void MainWindowCore::tmrModeMsg_Timer() {
  Stop(c_.timers.tmrModeMsg);
  gAppl().ShowModeMessage();
}

void MainWindowCore::tmrBackTrans_Timer() {
  Stop(c_.timers.tmrBackTrans);
  ShowBackTrans(BackTransTag, false);
}

void MainWindowCore::tmrPasteSpkSrc_Timer() {
  Stop(c_.timers.tmrPasteSpkSrc);
  G().gSpeakTarget = G().gPendingSpeakTarget;
  gAppl().PasteSpkSrc();
  gAppl().SpeakSrc();
  gAppl().ShowSpkIco(true, 1);
}

void MainWindowCore::tmrProcess_Timer() {
  if (!G().gProccess) G().gProccess = std::make_shared<clsProccess>();
  G().gProccess->GetActiveProcess();
}

void MainWindowCore::tmrToolTip_Timer() {
  Stop(c_.timers.tmrToolTip);
  const Point p = Input().CursorPos();
  const bool resting = std::abs(p.x - G().gLinkHoverPointX) <= 1 && std::abs(p.y - G().gLinkHoverPointY) <= 1;
  const bool elsewhere = std::abs(p.x - G().gLastCursorX) >= 2 || std::abs(p.y - G().gLastCursorY) >= 2;
  if (!resting || !elsewhere) return;
  // The pointer may rest where the link no longer shows: a window of the program opened over it
  // since the last hover, or the hover was the last one before the pointer left the box.
  const std::shared_ptr<clsLinkItem> link = G().gCurLink;
  clsLink* owner = link && link->Parent ? *link->Parent : nullptr;
  if (owner && owner->PointerOn(*link)) gAppl().ToolTipHandler(link);
}

void MainWindowCore::tmrSpkHide_Timer() {
  if (gAppl().SpeechSide().IsSpeaking()) return;
  Stop(c_.timers.tmrSpkHide);
  gAppl().ShowSpkIco(false);
}

void MainWindowCore::tmrLearner_Timer() {
  if (!G().gLrnPaused) gAppl().RefreshLrnSrc(false);
}

void MainWindowCore::tmrPunto_Timer() {
  if (Sett().TrlMode > 0) mdlPublic::CheckLayoutSwitch();
}

void MainWindowCore::tmrDockKeyb_Timer(const Rect& main) {
  if (main.left == lastMain_.left && main.top == lastMain_.top && main.right == lastMain_.right &&
      main.bottom == lastMain_.bottom) {
    return;
  }
  const WindowHandle keyb = KeybHandle();
  Rect k;
  if (G().gDockMode > 0 && keyb && Windows().GetRect(keyb, k)) DockBelow(keyb, main, k, G().gDockMode);
  lastMain_ = main;
}

void MainWindowCore::StartEscUsedClearTimer() { Restart(c_.timers.tmrEscUsedClear); }

void MainWindowCore::StartBackTransTimer(std::u16string_view text) {
  BackTransTag = std::u16string(text);
  if (auto* t = c_.timers.tmrBackTrans) {
    t->SetInterval(300);
    Restart(t);
  }
}

// ---- What the views ask of the window services -------------------------------------------------

void MainWindowCore::Info(std::u16string_view text, bool autoHide) { gAppl().Info(text, autoHide); }
void MainWindowCore::InfoClear() { gAppl().InfoClear(); }
void MainWindowCore::ShowBackTrans(std::u16string_view text, bool caption) { gAppl().ShowBackTrans(text, caption); }
void MainWindowCore::ShowTrans(std::u16string_view text, const ShowTransArgs& args) { gAppl().ShowTrans(text, args); }

// A link hint would lie over the menu (its timer runs on while the menu is open).
void MainWindowCore::PopupMainMenu(const MainMenuState& state) {
  CloseLinkHint();
  if (c_.shell) c_.shell->PopupMainMenu(state);
}

void MainWindowCore::PopupEditMenu() {
  CloseLinkHint();
  if (c_.shell) c_.shell->PopupEditMenu();
}

void MainWindowCore::RestartToolTipTimer() { Restart(c_.timers.tmrToolTip); }

void MainWindowCore::SetBusyPointer(bool on) {
  if (c_.shell) c_.shell->Wait(on);
}
void MainWindowCore::StopSpeak() { gAppl().StopSpeak(); }
void MainWindowCore::CopyText(std::u16string_view text, bool show) {
  if (!text.empty()) gAppl().CopyText(text, show);
}

std::u16string MainWindowCore::BrowseForFolder(std::u16string_view title) {
  return ApiPath::BrowseForFolder(title);
}

void MainWindowCore::EnableToolbarButton(std::u16string_view key, bool enabled) {
  if (!c_.TB1) return;
  if (const std::int32_t i = c_.TB1->IndexOf(key)) c_.TB1->SetButtonEnabled(i, enabled);
}

namespace {

// The dictionary engine's view of the main window.
class DicButtonServices final : public Appl::MainWindowServices {
 public:
  explicit DicButtonServices(std::weak_ptr<MainWindowCore> core) : core_(std::move(core)) {}
  void Info(std::u16string_view text, bool autoHide) override {
    if (auto core = core_.lock()) core->Info(text, autoHide);
  }
  void RefreshDicButtons() override {
    if (auto core = core_.lock()) core->RefreshDicButtons();
  }
  void LoadDicButtons() override {
    if (auto core = core_.lock()) core->LoadDicButtons();
  }

 private:
  std::weak_ptr<MainWindowCore> core_;
};

}  // namespace

void MainWindowCore::Install(const std::shared_ptr<MainWindowCore>& core) {
  Appl& app = gAppl();
  app.MainCore = core;
  app.Views = core;
  app.MainServices = std::make_shared<DicButtonServices>(core);
}

}  // namespace parlavent
