// Text language detection: the words of a text (all of a short one, 16 random samples of a long
// one) are looked up in the visible dictionaries, and the language that claims most of them wins.
#include "dictionary/text_lang.h"

#include <cmath>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/lookup.h"
#include "dictionary/phrases.h"
#include "dictionary/stat_item.h"
#include "foundation/api_strings.h"
#include "foundation/voice.h"
#include "platform/random.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kSampleAll = 256;
constexpr std::size_t kSamples = 16;
constexpr std::size_t kWindow = 128;

std::vector<std::u16string> Samples(std::u16string_view text) {
  if (text.size() <= kSampleAll) return SplitText(SplitWords(text), u" ");
  std::vector<std::u16string> samples;
  std::u16string word;
  for (std::size_t i = 0; i < kSamples; ++i) {
    const auto p = static_cast<std::size_t>(std::nearbyint(static_cast<double>(text.size()) * Random().Next()));
    // Position 0 is not a valid (1-based) position: the sample keeps the previous word.
    if (p >= 1 && p <= text.size()) {
      word = std::u16string(text.substr(p - 1, kWindow));
      if (const auto blank = word.find(u' '); blank != std::u16string::npos) word.erase(0, blank + 1);
      if (const auto blank = word.find(u' '); blank != std::u16string::npos) word.erase(blank);
    }
    samples.push_back(word);
  }
  return samples;
}

}  // namespace

std::u16string GetTextLang(Lookup& lookup, const KeyedCollection<std::shared_ptr<clsDic>>& dics,
                           const KeyedCollection<std::shared_ptr<clsVoice>>& voices,
                           const std::shared_ptr<clsVoice>& defVoice, std::u16string_view Text,
                           std::shared_ptr<clsVoice>* RetVoice) {
  const auto& ColDics = dics;
  const auto& Voices = voices;
  const auto& DefVoice = defVoice;
  std::vector<std::u16string> samples = Samples(Text);
  if (samples.size() > kSamples) samples.resize(kSamples);

  KeyedCollection<std::shared_ptr<clsStatItem>> tally;  // Word language, Mass count, Rmass voice index
  std::u16string lang;
  for (const std::u16string& w : samples) {
    std::shared_ptr<clsDic> claimant;
    std::int32_t dir = 0;
    for (const auto& dic : ColDics) {
      if (!dic || !dic->Visible) continue;
      dir = lookup.GetDir(w, dic);
      if (dir > 0) {
        claimant = dic;
        break;
      }
    }
    if (dir == 1) lang = claimant->Lang1;
    if (dir == 2) lang = claimant->Lang2;
    const std::u16string key = API::MakeKey(lang);
    if (!tally.Exists(key)) {
      auto entry = std::make_shared<clsStatItem>();
      entry->Word = lang;
      if (claimant) {
        const auto& voice = dir == 1 ? claimant->Voice1 : claimant->Voice2;
        entry->Rmass = voice ? voice->Index : 0;
      }
      tally.Add(key, entry);
    }
    ++(*tally.Find(key))->Mass;
  }

  std::shared_ptr<clsStatItem> winner;
  for (const auto& entry : tally) {
    if (entry->Mass > (winner ? winner->Mass : 0)) winner = entry;
  }
  if (RetVoice) {
    if (!winner || winner->Rmass < 1) {
      *RetVoice = DefVoice;
    } else if (const auto* voice = Voices.ItemAt(static_cast<std::size_t>(winner->Rmass))) {
      *RetVoice = *voice;
    }
  }
  return winner ? winner->Word : std::u16string();
}

}  // namespace parlavent
