// The application object's writes into the main window: info line, input and output boxes,
// back-translation pane and the mode notification. A box the window does not have (not loaded,
// or no window at all) is skipped.
#include "app/application.h"
#include "app/link_layer.h"
#include "app/neighbour_services.h"
#include "app/main_form.h"
#include "dictionary/result_tree.h"
#include "foundation/api_windows.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "text/text.h"
#include "platform/rich_text_box.h"
#include "platform/settings_store.h"
#include "platform/timer_control.h"

namespace parlavent {
namespace {

constexpr int kInfoClearInterval = 2000;
constexpr std::int32_t kWindowTextColour = static_cast<std::int32_t>(0x80000008u);

}  // namespace

namespace {

// Answers for the capture side while none is installed (wWinMain installs the real one).
class NoCapture final : public CaptureServices {
 public:
  std::u16string ClipboardText() override { return {}; }
  bool SetClipboardText(std::u16string_view) override { return false; }
  bool ClipboardHasFormat(WindowHandle, std::uint32_t) override { return false; }
  std::vector<std::uint8_t> ClipboardBytes(std::uint32_t) override { return {}; }
  bool SetClipboardBytes(std::uint32_t, const std::vector<std::uint8_t>&) override { return false; }
  std::vector<std::u16string> ClipboardFiles() override { return {}; }
  bool SetClipboardFiles(const std::vector<std::u16string>&) override { return false; }
  void ShowPopupTrans(std::u16string_view, const ShowTransArgs&) override {}
  void SetPopupPointer(int) override {}
  void ShowToolTip(std::u16string_view) override {}
  void CloseToolTip() override {}
  void PasteInto(WindowHandle) override {}
  bool DescribeWindow(WindowHandle, WindowFacts&) override { return false; }
  std::u16string FileDescription(std::u16string_view) override { return {}; }
  PollSnapshot Snapshot() override { return {}; }
  std::u16string TakeText(WindowHandle, CaptureSource, Point) override { return {}; }
  std::u16string ChooseFolder(std::u16string_view, std::u16string_view) override { return {}; }
};

}  // namespace

CaptureServices& Appl::CaptureSide() {
  static NoCapture none;
  return Capture ? *Capture : none;
}

SpeechServices& Appl::SpeechSide() {
  static SpeechServices quiet;
  return Speech ? *Speech : quiet;
}

void Appl::Info(std::u16string_view Text, bool AutoHide) {
  ViewHost& host = ViewServices();
  if (const auto line = host.InfoLine()) {
    line->SetText(Text);
    API::SelectAllText(*line);
    if (Sett) line->SetSelColor(static_cast<Colour>(Sett->Gray));
    line->SetSelLength(0);
    line->SetVisible(true);
  }
  if (TimerControl* timer = host.InfoTimer()) {
    // Restarting the timer makes the line stay a full 2 s after the latest message.
    timer->SetEnabled(false);
    if (AutoHide) {
      timer->SetInterval(kInfoClearInterval);
      timer->SetEnabled(true);
    }
  }
}

void Appl::InfoClear() {
  ViewHost& host = ViewServices();
  if (const auto line = host.InfoLine()) line->SetText(u"");
  if (TimerControl* timer = host.InfoTimer()) timer->SetEnabled(false);
}

void Appl::ClearBuffer() {
  if (!WordSet) WordSet = std::make_shared<parlavent::WordSet>();
  WordSet->CheckDir = 1;
  WordSet->InString.clear();
  WordSet->RetString.clear();
  WordSet->Translation.clear();
  WordSet->IsTrans = false;
}

void Appl::SetInput(std::u16string_view Text, bool NoList) {
  const auto box = ViewServices().InputBox();
  State.gUserTyped = !NoList;
  if (box) {
    box->SetEnabled(!NoList);
    API::SetRichTextW(*box, Text);
    box->SetEnabled(true);
  }
  State.gUserTyped = true;
}

std::u16string Appl::GetInput() {
  const auto box = ViewServices().InputBox();
  return box ? API::GetRichTextW(*box) : std::u16string();
}

void Appl::SetOutPut(std::u16string_view Text, std::int32_t Mode, bool Focus) {
  OutPutMode = Mode;
  const auto box = ViewServices().OutputBox();
  if (!box) return;
  API::SetRichTextW(*box, Text);
  box->SetSelStart(0);
  box->SetSelLength(0);
  if (Focus) box->SetFocus();
}

void Appl::ShowModeMessage() {
  const bool autoOn = Sett && Sett->AutoOn;
  ShowNotify(autoOn ? 4 : 3, LZ(autoOn ? lang::kNotifyAutoMode : lang::kNotifyManualMode), true, true);
}

namespace {

void SetBackTransOpen(Appl& app) {
  const bool open = app.Sett && app.Sett->BackTransOpen;
  SaveSetting(u"Interface", u"BackTransOpen", open ? u"True" : u"False");
  ViewHost& host = app.ViewServices();
  host.RefreshBTB();
  if (app.frmMain) app.frmMain->Form_Resize();
  if (const auto box = host.OutputBox()) box->SetFocus();
}

}  // namespace

void Appl::OpenBackTrans() {
  if (Sett) Sett->BackTransOpen = true;
  SetBackTransOpen(*this);
}

void Appl::CloseBackTrans() {
  if (Sett) Sett->BackTransOpen = false;
  SetBackTransOpen(*this);
}

void Appl::ShowBackTrans(std::u16string_view txt, bool Caption) {
  if (!Sett || !Sett->BackTransOpen) return;
  ViewHost& host = ViewServices();
  const auto box = host.BackTransBox();
  const std::u16string t = Trim(txt);
  std::u16string r = GetSimpleTrans(t);
  if (r.empty()) {
    if (box) box->SetText(u"");
    return;
  }
  if (Caption) r = u"<" + t + u"=List-" + t + u"||B ||U 0>" + u": " + r;
  clsLink* links = host.BackTransLinks();
  if (!links || !box) return;
  links->Reset();
  links->DefLink->ClickSound = false;
  links->DefLink->LinkCursor = false;
  links->DefLink->Color = kWindowTextColour;
  links->DefLink->Prefix = u"BackTrans";
  links->SetLink(box, r, true, u";", true);
  box->SetSelStart(0);
  box->SetSelLength(0);
}

void Appl::ClearBackTrans() {
  if (const auto box = ViewServices().BackTransBox()) box->SetText(u"");
}

}  // namespace parlavent
