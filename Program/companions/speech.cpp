// Speech: the voices of the speech server, reading texts aloud with the voice of their language,
// the word being read highlighted in the output box, automatic reading of copied text and of
// translations, and the speech tray icon. docs/companions.md tells what speed and volume mean.
#include <algorithm>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/companion_state.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/main_window_core.h"
#include "app/neighbour_services.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "foundation/voice.h"
#include "platform/rich_text_box.h"
#include "platform/timer_control.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Speed -1 leaves the server's own rate; 0 .. 20 run from slowest to fastest.
std::int32_t EngineRate(const clsVoice& v) { return v.Spd < 0 ? 0 : std::clamp(v.Spd, 0, 20) - 10; }
// Volume 0 .. 10 in tenths of the server's full volume.
std::int32_t EngineVolume(const clsVoice& v) { return v.Vol < 0 ? 100 : std::clamp(v.Vol, 0, 10) * 10; }

TimerControl* MainTimer(Appl& app, TimerControl* MainTimers::*which) {
  return app.MainCore ? app.MainCore->Controls().timers.*which : nullptr;
}

void Arm(TimerControl* t) {
  if (!t) return;
  t->SetEnabled(false);
  t->SetEnabled(true);
}

// What a translation road reads: the words alone, or the words with their translations.
std::u16string WordSetSpeech(Appl& app) {
  if (!app.WordSet) return {};
  std::u16string text;
  for (const auto& entry : app.WordSet->Words) {
    if (!entry) continue;
    const std::u16string part = app.Sett && app.Sett->SpkTransWord ? entry->Word
                                : entry->SpeakString.empty() ? entry->Word
                                                             : entry->SpeakString;
    if (part.empty()) continue;
    if (!text.empty()) text += u". ";
    text += part;
  }
  return text;
}

// Reads the box's selection, highlighting each word as it comes; false when nothing is selected.
bool SpeakSelection(Appl& app, RichTextBox& box) {
  const std::int32_t start = box.SelStart();
  const std::int32_t length = box.SelLength();
  if (length <= 0 || start < 0) return false;
  const std::u16string text = box.Text();
  if (static_cast<std::size_t>(start) >= text.size()) return false;
  app.SpeakText(std::u16string_view(text).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)),
                app.State.gCurDic, false, start, 1);
  return true;
}

}  // namespace

// A click in the output box off any link makes the caret the place where reading starts.
class OutputBoxWatch : public RichTextBoxEvents {
 public:
  OutputBoxWatch(Appl& app, const std::shared_ptr<RichTextBox>& box) : app_(app), box_(box) { box->AddListener(this); }
  ~OutputBoxWatch() override {
    if (auto box = box_.lock()) box->RemoveListener(this);
  }
  void OnMouseUp(RichTextBox& box, int, int, long, long) override {
    clsLink* links = app_.ViewServices().OutputLinks();
    if (links && links->GetLinkByPos(box.CharIndexAtCursor())) return;
    if (box.Text().empty()) return;
    app_.State.gSpeakTarget = 1;
    app_.State.gSpeakOffset = 0;
    app_.SAPI5EventSpeakWord(box.SelStart(), 0);
    // With SpkSel, text selected with the mouse is read at once.
    if (app_.Sett && app_.Sett->SpkSel) SpeakSelection(app_, box);
  }

 private:
  Appl& app_;
  std::weak_ptr<RichTextBox> box_;
};

CompanionState& Appl::CompanionData() {
  if (!Companions) Companions = std::make_shared<CompanionState>();
  return *Companions;
}

// The link dispatcher, the menu and the clipboard watch reach speech through SpeechSide(); a test
// may put its own there.
void SpeechServices::SpeakText(std::u16string_view text) {
  Appl& app = gAppl();
  app.SpeakText(text, app.Dic);
}
bool SpeechServices::IsSpeaking() { return gAppl().IsSpeaking(); }
void SpeechServices::ArmAutoSpeak(std::int32_t side) { gAppl().ArmAutoSpeak(side); }

void Appl::InitSpk() {
  CompanionState& s = CompanionData();
  s.engine = Companion ? Companion->StartSpeech() : nullptr;
  SAPIEnabled = s.engine != nullptr;
  Voices.Clear();
  if (s.engine) {
    std::vector<EngineVoice> found;
    try {
      found = s.engine->Voices();
    } catch (...) {
      found.clear();
    }
    for (const EngineVoice& ev : found) {
      auto voice = std::make_shared<clsVoice>();
      voice->Name = ev.Name;
      voice->Lang = ev.Lang;
      voice->ID = ev.ID;
      voice->Ver = 5;
      voice->Spd = -1;
      voice->Vol = 10;
      voice->Default = ev.Default;
      voice->Index = static_cast<std::int32_t>(Voices.Count()) + 1;
      voice->EngineIndex = static_cast<std::int32_t>(&ev - found.data());
      // Two voices of one name cannot both be chosen by name: the first one stays.
      if (!ev.Name.empty()) Voices.Add(ev.Name, std::move(voice));
    }
    s.engine->OnWord = [this](std::uint32_t stream, std::int32_t start, std::int32_t length) {
      if (stream == CompanionData().stream) SAPI5EventSpeakWord(start, length);
    };
    s.engine->OnEnd = [this](std::uint32_t stream) {
      if (stream != CompanionData().stream) return;
      CompanionData().stream = 0;
      State.gSpeakingWordSet = false;
      CompanionData().highlightOffset = -1;
      if (CompanionData().spkIcon) Arm(MainTimer(*this, &MainTimers::tmrSpkHide));
    };
  }
  if (auto box = ViewServices().OutputBox()) s.outputWatch = std::make_shared<OutputBoxWatch>(*this, box);
  SAPIVoices = static_cast<std::int32_t>(Voices.Count());
  SAPIWork = SAPIEnabled && SAPIVoices > 0;
  if (Sett) Sett->LoadVoices();
}

void Appl::SpeakText(std::u16string_view t, std::shared_ptr<clsDic> Dic, bool, std::int32_t Offset, std::int32_t Src,
                     std::int32_t Dir) {
  CompanionState& s = CompanionData();
  if (!SAPIWork || !s.engine || TrimView(t).empty()) return;
  std::shared_ptr<clsVoice> voice;
  if (Dic && (Dir == 1 || Dir == 2)) voice = Dir == 1 ? Dic->Voice1 : Dic->Voice2;
  if (!voice) GetTextLang(t, &voice);
  if (!voice) voice = DefVoice;
  if (!voice && !Voices.Empty()) voice = *Voices.ItemAt(1);
  if (!voice) return;
  s.engine->Stop();
  s.highlightOffset = Src == 1 ? Offset : -1;
  s.stream = 0;
  try {
    s.stream = s.engine->Speak(static_cast<std::size_t>(std::max(voice->EngineIndex, 0)), t, EngineRate(*voice),
                               EngineVolume(*voice));
  } catch (...) {
    s.stream = 0;
  }
  // A voice that refuses leaves speech quiet, as if nothing had been asked.
  if (s.stream == 0) s.highlightOffset = -1;
}

void Appl::SpeakClick(bool OnForm) {
  if (IsSpeaking()) {
    StopSpeak();
    return;
  }
  State.gLastOnForm = OnForm;
  if (!OnForm) {
    State.gSpeakingWordSet = true;
    SpeakText(WordSetSpeech(*this), State.gCurDic);
    return;
  }
  if (auto box = ViewServices().OutputBox(); box && SpeakSelection(*this, *box)) return;
  SpeakSrc();
}

void Appl::StopSpeak() {
  CompanionState& s = CompanionData();
  if (s.engine) {
    try {
      s.engine->Stop();
    } catch (...) {
    }
  }
  s.highlightOffset = -1;
  s.stream = 0;
  State.gSpeakingWordSet = false;
  ShowSpkIco(false);
}

bool Appl::IsSpeaking() {
  CompanionState& s = CompanionData();
  if (!s.engine) return false;
  try {
    return s.engine->IsSpeaking();
  } catch (...) {
    return false;
  }
}

void Appl::ArmAutoSpeak(std::int32_t side) {
  if (!SAPIWork || !Sett || IsSpeaking()) return;
  const bool wanted = side == 1 ? Sett->SpkClip : side == 2 ? Sett->SpkTrans : false;
  if (!wanted) return;
  State.gPendingSpeakTarget = static_cast<std::int16_t>(side);
  ShowSpkIco(true, 0);
  Arm(MainTimer(*this, &MainTimers::tmrPasteSpkSrc));
}

void Appl::PasteSpkSrc() {
  // Copied text is read from the output box, so that the word being read can be highlighted.
  if (State.gSpeakTarget != 1 || !IsTextInClip) return;
  const std::u16string clip = GetClipboard();
  if (TrimView(clip).empty()) return;
  SetOutPut(clip, 0);
  CompanionData().readFrom = 0;
}

void Appl::SpeakSrc(std::u16string_view Text, std::int32_t Dir) {
  if (!Text.empty()) {
    SpeakText(Text, State.gCurDic, false, 0, 0, Dir);
    return;
  }
  if (State.gSpeakTarget == 1 || State.gSpeakTarget == 3) {
    if (auto box = ViewServices().OutputBox()) {
      const std::u16string all = box->Text();
      const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(std::max(CompanionData().readFrom, 0)),
                                                     all.size());
      SpeakText(std::u16string_view(all).substr(from), State.gCurDic, false, static_cast<std::int32_t>(from), 1, Dir);
      return;
    }
  }
  const std::u16string words = WordSetSpeech(*this);
  if (!words.empty()) {
    State.gSpeakingWordSet = true;
    SpeakText(words, State.gCurDic, false, 0, 0, Dir);
    return;
  }
  if (auto input = ViewServices().InputBox()) SpeakText(input->Text(), State.gCurDic, false, 0, 0, Dir);
}

void Appl::SAPI5EventSpeakWord(std::int32_t Start, std::int32_t Length) {
  CompanionState& s = CompanionData();
  if (Length <= 0) {
    s.readFrom = std::max(Start, 0) + State.gSpeakOffset;
    return;
  }
  if (s.highlightOffset < 0 || State.gNoHighlight) return;
  auto box = ViewServices().OutputBox();
  if (!box) return;
  box->SetSelStart(s.highlightOffset + Start);
  box->SetSelLength(Length);
}

void Appl::ShowSpkIco(bool Show, std::int32_t Speaking) {
  CompanionState& s = CompanionData();
  // Shown again, the icon takes the tip of the new state.
  if (!Companion || (!Show && !s.spkIcon)) return;
  if (!Companion->TrayIcon(kSpkTrayIcon, Show, LZ(Speaking ? lang::kTipStopSpeaking : lang::kSpeak)) && Show) return;
  s.spkIcon = Show;
  if (Show) Arm(MainTimer(*this, &MainTimers::tmrSpkHide));
}

}  // namespace parlavent
