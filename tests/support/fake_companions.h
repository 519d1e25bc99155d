#pragma once
// The companions' platform side in memory: a speech server whose voices, refusals and events a
// test sets, and windows that record what they were asked to show.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/companion_services.h"
#include "dictionary/stat_item.h"

namespace parlavent::testing {

class FakeSpeechEngine : public SpeechEngine {
 public:
  struct Spoken {
    std::size_t voice = 0;
    std::u16string text;
    std::int32_t rate = 0, volume = 0;
  };
  std::vector<EngineVoice> voices;
  bool accept = true;      // false: the server refuses every text
  bool speaking = false;
  std::vector<Spoken> spoken;
  int stops = 0;

  std::vector<EngineVoice> Voices() override { return voices; }
  std::uint32_t stream = 0;  // the number of the last reading
  std::uint32_t Speak(std::size_t voice, std::u16string_view text, std::int32_t rate, std::int32_t volume) override {
    if (!accept) return 0;
    spoken.push_back({voice, std::u16string(text), rate, volume});
    speaking = true;
    return ++stream;
  }
  void Stop() override {
    speaking = false;
    ++stops;
  }
  bool IsSpeaking() override { return speaking; }
  /// The server reports the word at start, length of the text being read (of reading from: an
  /// earlier one, late).
  void Word(std::int32_t start, std::int32_t length, std::uint32_t from = 0) {
    if (OnWord) OnWord(from ? from : stream, start, length);
  }
  void End(std::uint32_t from = 0) {
    if (!from || from == stream) speaking = false;
    if (OnEnd) OnEnd(from ? from : stream);
  }
};

class FakeStatWindow : public StatWindow {
 public:
  std::vector<std::pair<std::u16string, std::int32_t>> shown;
  int shows = 0;
  void ShowList(const std::vector<std::shared_ptr<clsStatItem>>& items) override {
    shown.clear();
    for (const auto& item : items) shown.emplace_back(item->Word, item->Mass);
    ++shows;
  }
  void DoubleClick(std::u16string_view word) {
    if (OnChoose) OnChoose(word);
  }
};

class FakeKeyboardWindow : public KeyboardWindow {
 public:
  std::map<std::int32_t, std::u16string> labels;
  bool templateHidden = false;
  std::int32_t layer = 0;
  bool visible = false;
  WindowHandle handle = 0x77;

  void LoadLangLabel(std::int32_t k, std::u16string_view caption) override { labels[k] = std::u16string(caption); }
  void HideTemplateLabel() override { templateHidden = true; }
  void SetLang(std::int32_t n) override { layer = n; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool Visible() override { return visible; }
  WindowHandle Handle() override { return handle; }
  std::int32_t CurrentLayer() override { return layer; }
  void Click(char16_t ch) {
    if (OnKey) OnKey(ch);
  }
};

class FakeLearnWindow : public LearnWindow {
 public:
  std::vector<LearnCard> cards;
  bool visible = false;
  void ShowCard(const LearnCard& card) override {
    cards.push_back(card);
    visible = true;
  }
  void Close() override {
    visible = false;
    if (OnClosed) OnClosed();
  }
  bool Visible() override { return visible; }
};

class FakeCompanions : public CompanionServices {
 public:
  std::shared_ptr<FakeSpeechEngine> engine = std::make_shared<FakeSpeechEngine>();  // null: no server
  FakeStatWindow stat;
  FakeKeyboardWindow keyb;
  FakeLearnWindow learn;
  std::map<std::uint32_t, std::u16string> trayIcons;  // shown icons and their tips
  std::intptr_t layout = 1033;
  std::vector<std::intptr_t> activated;
  int switchSounds = 0;

  std::shared_ptr<SpeechEngine> StartSpeech() override { return engine; }
  StatWindow* Stat() override { return &stat; }
  KeyboardWindow* Keyb() override { return &keyb; }
  LearnWindow* Learn() override { return &learn; }
  bool TrayIcon(std::uint32_t id, bool show, std::u16string_view tip) override {
    if (show) {
      trayIcons[id] = std::u16string(tip);
    } else {
      trayIcons.erase(id);
    }
    return true;
  }
  std::intptr_t ForegroundLayout() override { return layout; }
  void ActivateLayout(std::intptr_t l) override {
    activated.push_back(l);
    layout = l;
  }
  void PlaySwitchSound() override { ++switchSounds; }
};

}  // namespace parlavent::testing
