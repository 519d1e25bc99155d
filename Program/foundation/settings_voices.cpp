#include "foundation/settings_voices.h"

#include "foundation/api_files.h"
#include "foundation/host.h"
#include "foundation/ini_file.h"
#include "foundation/settings_object.h"

namespace parlavent {
namespace {

// The voice named by [section] key; the first voice when the key is absent; nullptr (leave the
// caller's voice alone) when the name is not among the voices.
std::shared_ptr<clsVoice> NamedVoice(clsINI& ini, std::u16string_view section, std::u16string_view key,
                                     VoiceCollection& voices) {
  // Absent means absent from every section of that name, as the INI object reads it.
  const IniValue stored = ini.GetValue(key, section);
  if (stored.IsEmpty()) {
    const auto* first = voices.ItemAt(1);
    return first ? *first : nullptr;
  }
  const auto* named = voices.Find(stored.ToText());
  return named ? *named : nullptr;
}

void Assign(std::shared_ptr<clsVoice>* slot, const std::shared_ptr<clsVoice>& voice) {
  if (slot && voice) *slot = voice;
}

std::u16string VoiceName(const std::shared_ptr<clsVoice>* slot) { return slot && *slot ? (*slot)->Name : u""; }

}  // namespace

void LoadVoiceSettings(clsINI& ini, VoiceCollection& voices, std::shared_ptr<clsVoice>& defVoice,
                       const std::vector<DicVoiceSlots>& dics) {
  for (auto& voice : voices) {
    if (!voice) continue;
    std::int32_t n = 0;
    if (ini.GetValue(voice->Name, u"VoicesSpeed", -1).ToLong(n)) voice->Spd = n;
    if (ini.GetValue(voice->Name, u"VoicesVolume", 10).ToLong(n)) voice->Vol = n;
  }
  if (auto voice = NamedVoice(ini, u"Main", u"DefaultVoice", voices)) defVoice = voice;
  for (const DicVoiceSlots& dic : dics) {
    if (!dic.Visible) continue;
    const auto voice1 = NamedVoice(ini, u"Voices", dic.Lang1, voices);
    const auto voice2 = NamedVoice(ini, u"Voices", dic.Lang2, voices);
    Assign(dic.Voice1, voice1);
    Assign(dic.Voice2, voice2);
    // The paired dictionary gets what this one has now, side for side.
    if (dic.Voice1) Assign(dic.PairVoice1, *dic.Voice1);
    if (dic.Voice2) Assign(dic.PairVoice2, *dic.Voice2);
  }
}

void SaveVoiceSettings(clsINI& ini, const VoiceCollection& voices, const std::shared_ptr<clsVoice>& defVoice,
                       const std::vector<DicVoiceSlots>& dics) {
  for (const DicVoiceSlots& dic : dics) {
    if (!dic.Visible) continue;
    if (dic.Voice1 && *dic.Voice1) ini.SetValue(dic.Lang1, u"Voices", VoiceName(dic.Voice1));
    if (dic.Voice2 && *dic.Voice2) ini.SetValue(dic.Lang2, u"Voices", VoiceName(dic.Voice2));
  }
  if (defVoice) ini.SetValue(u"DefaultVoice", u"Main", defVoice->Name);
  for (const auto& voice : voices) {
    if (!voice) continue;
    ini.SetValue(voice->Name, u"VoicesSpeed", static_cast<long>(voice->Spd));
    ini.SetValue(voice->Name, u"VoicesVolume", static_cast<long>(voice->Vol));
  }
}

void Setting::LoadVoices() {
  clsINI ini;
  ini.Unicode = false;
  ini.FileName(API::JoinPath(API::GetAppDataFolder(), u"Parlavent.ini"));
  FoundationHost& host = Host();
  const auto& source = host.State().gDicVoices;
  LoadVoiceSettings(ini, host.Voices(), host.DefVoice(), source ? source->Slots() : std::vector<DicVoiceSlots>());
}

}  // namespace parlavent
