// The learning cards: a word and its translation every few seconds, from a random word of the
// learning dictionary, the user's own list or the statistics (docs/companions.md).
#include "companions/learner.h"

#include <algorithm>
#include <cmath>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/companion_state.h"
#include "app/main_window_core.h"
#include "app/statistics.h"
#include "dictionary/dictionary.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "platform/random.h"
#include "platform/settings_store.h"
#include "platform/timer_control.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kRandomTries = 50;         // probes for a word of a wanted side before giving up
constexpr std::size_t kMaxListWords = 10000;
constexpr std::size_t kMaxTranslations = 5;
// What one card can show: a line of the user's list longer than this is damage, not a word, and
// the card window measures what it is given.
constexpr std::size_t kMaxCardWord = 100;
constexpr std::size_t kMaxCardTranslation = 500;
constexpr std::size_t kMaxListLine = kMaxCardWord + 1 + kMaxCardTranslation;

// Choosing a dictionary makes its common twin the learning dictionary, which holds the headwords
// and their transcriptions only: the words of both sides and their translations are the full
// package's.
std::shared_ptr<clsDic> LearnDic(Appl& app) {
  std::shared_ptr<clsDic> dic = app.Sett && app.Sett->LrnDic ? app.Sett->LrnDic : app.Dic ? app.Dic : app.State.gCurDic;
  if (dic && dic->Demo) {
    if (auto full = dic->FullDic.lock()) return full;
  }
  return dic;
}

std::size_t RandomIndex(std::size_t n) {
  const auto k = static_cast<std::size_t>(std::floor(Rnd() * static_cast<double>(n)));
  return std::min(k, n - 1);
}

std::u16string Cut(std::u16string_view text, std::size_t max) { return Trim(text.substr(0, max)); }

bool SimpleWord(std::u16string_view w) { return w.find_first_of(u" -") == std::u16string_view::npos; }

// A random word of the learning dictionary on a wanted side.
std::u16string RandomDicWord(Appl& app, const std::shared_ptr<clsDic>& dic, std::int32_t& side) {
  const Setting& s = *app.Sett;
  if (!dic || dic->Words < 1 || (!s.LrnDir1 && !s.LrnDir2)) return {};
  for (int i = 0; i < kRandomTries; ++i) {
    const auto id = static_cast<std::int32_t>(RandomIndex(static_cast<std::size_t>(dic->Words))) + 1;
    std::int32_t dir = 0;
    const std::u16string word = app.GetWordStrByID(id, dic, &dir);
    if (word.empty() || (dir == 1 && !s.LrnDir1) || (dir == 2 && !s.LrnDir2)) continue;
    if (s.LrnSimpleWord && !SimpleWord(word)) continue;
    side = dir;
    return Cut(word, kMaxCardWord);
  }
  return {};
}

std::u16string TranslationOf(Appl& app, const std::u16string& word, const std::shared_ptr<clsDic>& dic) {
  std::vector<std::u16string> all = app.GetWordTrans(word, dic);
  if (all.empty() && dic && dic->Dicx) all = app.GetWordTrans(word, dic->Dicx);
  const std::size_t keep = app.Sett->LrnFirst ? 1 : kMaxTranslations;
  if (all.size() > keep) all.resize(keep);
  return Cut(JoinText(all, u"; "), kMaxCardTranslation);
}

}  // namespace

std::vector<std::u16string> LearnSourceWords(Appl& app, std::int32_t source) {
  std::vector<std::u16string> words;
  if (!app.Sett) return words;
  if (source == 1) {
    // The user's own list, in whichever encoding the editor saved it.
    std::string bytes;
    API::ReadFileBytes(API::JoinPath(app.Sett->AppFolder, u"learner.txt"), bytes);
    const std::u16string text = API::DecodeUserText(bytes);
    const std::u16string_view all(text);
    for (std::size_t pos = 0; pos < all.size() && words.size() < kMaxListWords;) {
      std::size_t end = all.find(u'\n', pos);
      if (end == std::u16string_view::npos) end = all.size();
      std::u16string_view line = all.substr(pos, end - pos);
      pos = end + 1;
      if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
      if (!TrimView(line).empty()) words.emplace_back(line.substr(0, kMaxListLine));
    }
  } else if (source == 2 || source == 3) {
    const auto items = source == 2 ? app.Stat().Last(std::max(app.Sett->LrnNL, 1))
                                   : app.Stat().MostFrequent(std::max(app.Sett->LrnNM, 1));
    for (const auto& item : items) words.push_back(item->Word);
  }
  return words;
}

bool NextLearnCard(Appl& app, LearnCard& card) {
  if (!app.Sett) return false;
  CompanionState& s = app.CompanionData();
  const std::shared_ptr<clsDic> dic = LearnDic(app);
  std::u16string word, translation;
  if (app.Sett->LrnSource == 0) {
    std::int32_t side = 0;
    word = RandomDicWord(app, dic, side);
  } else {
    if (s.learnWords.empty()) return false;
    const std::size_t i = app.Sett->LrnRandom ? RandomIndex(s.learnWords.size()) : s.learnNext % s.learnWords.size();
    s.learnNext = i + 1;
    const std::u16string& line = s.learnWords[i];
    const std::size_t tab = line.find(u'\t');
    word = Cut(TrimView(std::u16string_view(line).substr(0, tab)), kMaxCardWord);
    if (tab != std::u16string::npos) {
      translation = Cut(TrimView(std::u16string_view(line).substr(tab + 1)), kMaxCardTranslation);
    }
  }
  if (word.empty()) return false;
  if (translation.empty()) translation = TranslationOf(app, word, dic);
  card.Word = word;
  card.Translation = translation;
  card.Transcription = app.Sett->LrnTR ? app.GetTranscript(word) : std::u16string();
  return true;
}

void Appl::StartLearn() {
  LearnWindow* window = Companion ? Companion->Learn() : nullptr;
  if (!window || !Sett) return;
  CompanionState& s = CompanionData();
  window->OnClosed = [this] {
    CompanionData().learning = false;
    State.gLrnPaused = false;
    if (MainCore && MainCore->Controls().timers.tmrLearner) MainCore->Controls().timers.tmrLearner->SetEnabled(false);
    if (Sett) Sett->LrnShow = false;
    SaveSetting(u"Main", u"ShowLearner", u"0");
  };
  window->OnHover = [this](bool over) { State.gLrnPaused = over; };
  s.learning = true;
  Sett->LrnShow = true;
  SaveSetting(u"Main", u"ShowLearner", u"1");
  RefreshLrnSrc(true);
  if (MainCore && MainCore->Controls().timers.tmrLearner) {
    TimerControl* t = MainCore->Controls().timers.tmrLearner;
    t->SetInterval(std::clamp(Sett->LrnInt, 1, 30) * 1000);
    t->SetEnabled(false);
    t->SetEnabled(true);
  }
}

void Appl::RefreshLrnSrc(bool Clear) {
  LearnWindow* window = Companion ? Companion->Learn() : nullptr;
  CompanionState& s = CompanionData();
  if (!window || !Sett || !s.learning) return;
  if (Clear || s.learnWords.empty()) {
    s.learnWords = LearnSourceWords(*this, Sett->LrnSource);
    s.learnNext = 0;
  }
  LearnCard card;
  if (!NextLearnCard(*this, card)) return;
  card.FontName = Sett->LrnFont.empty() ? u"Arial" : Sett->LrnFont;
  card.FontSize = std::clamp(Sett->LrnFontSize, 6, 72);
  card.Bold = Sett->LrnBold;
  card.Italic = Sett->LrnItalic;
  card.TopMost = Sett->LrnTop;
  card.BackColor = Sett->LrnBC;
  card.ForeColor = Sett->LrnFC;
  card.Transparency = std::clamp(Sett->LrnTransp, 0, 90);
  s.learnWord = card.Word;
  window->ShowCard(card);
  if (Sett->SpkLearner && !State.gNoLrnSpeak && !IsSpeaking()) SpeakText(card.Word, LearnDic(*this));
}

}  // namespace parlavent
