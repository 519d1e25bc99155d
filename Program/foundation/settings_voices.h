#pragma once
// The voice settings: each voice's speed and volume, the default voice and the voice of each side
// of each shown dictionary, kept in "Parlavent.ini":
//   [VoicesSpeed]  voice name = speed (absent: -1)
//   [VoicesVolume] voice name = volume (absent: 10)
//   [Main]         DefaultVoice = voice name (absent: the first voice)
//   [Voices]       language code (a dictionary's Lang1 or Lang2) = voice name (absent: the first)
// Voice names are INI key names: matched case-blind, and a name holding "=" or "//" cannot be
// stored and read back.
#include <memory>
#include <string>
#include <vector>

#include "foundation/keyed_collection.h"
#include "foundation/voice.h"

namespace parlavent {

class clsINI;

using VoiceCollection = KeyedCollection<std::shared_ptr<clsVoice>>;

/// One dictionary as the voice settings see it: pointers into its own voice fields and into its
/// paired dictionary's (nullptr without one).
struct DicVoiceSlots {
  bool Visible = false;
  std::u16string Lang1;
  std::u16string Lang2;
  std::shared_ptr<clsVoice>* Voice1 = nullptr;
  std::shared_ptr<clsVoice>* Voice2 = nullptr;
  std::shared_ptr<clsVoice>* PairVoice1 = nullptr;
  std::shared_ptr<clsVoice>* PairVoice2 = nullptr;
};

/// Where the voice settings find the dictionaries (Appl.ColDics). The dictionary engine installs
/// one in G().gDicVoices when it loads the dictionaries, normally MakeDicVoiceSource(app.ColDics);
/// without one the voice settings touch no dictionary.
class DicVoiceSource {
 public:
  virtual ~DicVoiceSource() = default;
  /// The dictionaries in collection order.
  virtual std::vector<DicVoiceSlots> Slots() = 0;
};

/// The slots of every dictionary of a keyed collection of dictionary pointers, for any dictionary
/// type with the fields Visible, Lang1, Lang2, Voice1, Voice2 and Dicx (the paired dictionary).
template <typename Dics>
std::vector<DicVoiceSlots> VoiceSlotsOf(Dics& dics) {
  std::vector<DicVoiceSlots> slots;
  for (auto& dic : dics) {
    if (!dic) continue;
    DicVoiceSlots s;
    s.Visible = dic->Visible;
    s.Lang1 = dic->Lang1;
    s.Lang2 = dic->Lang2;
    s.Voice1 = &dic->Voice1;
    s.Voice2 = &dic->Voice2;
    if (dic->Dicx) {
      s.PairVoice1 = &dic->Dicx->Voice1;
      s.PairVoice2 = &dic->Dicx->Voice2;
    }
    slots.push_back(std::move(s));
  }
  return slots;
}

template <typename Dics>
class CollectionVoiceSource final : public DicVoiceSource {
 public:
  explicit CollectionVoiceSource(Dics& dics) : dics_(dics) {}
  std::vector<DicVoiceSlots> Slots() override { return VoiceSlotsOf(dics_); }

 private:
  Dics& dics_;
};

/// A source over a collection that outlives it (Appl.ColDics).
template <typename Dics>
std::shared_ptr<DicVoiceSource> MakeDicVoiceSource(Dics& dics) {
  return std::make_shared<CollectionVoiceSource<Dics>>(dics);
}

/// Restores speeds, volumes, the default voice and the dictionaries' voices from ini.
void LoadVoiceSettings(clsINI& ini, VoiceCollection& voices, std::shared_ptr<clsVoice>& defVoice,
                       const std::vector<DicVoiceSlots>& dics);
/// Stores them in ini (the keys are set, so keys already there keep their place).
void SaveVoiceSettings(clsINI& ini, const VoiceCollection& voices, const std::shared_ptr<clsVoice>& defVoice,
                       const std::vector<DicVoiceSlots>& dics);

}  // namespace parlavent
