// GetTranslate of the engine alone (no application object) on arbitrary text against the de-ru
// sample (or the package in PARLAVENT_FUZZ_DIC), with the options taken from the first two bytes;
// the rendering is parsed back by the link layer. Every path of the look-up must stay inside its
// strings and the package.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/link_layer.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/lookup.h"
#include "dictionary/result_tree.h"
#include "dictionary/text_lang.h"
#include "foundation/settings_object.h"

namespace {

using namespace parlavent;

// The engine alone, with the package as its current dictionary and the one visible dictionary
// that the text language detection asks.
struct Loaded {
  DictionaryEngine engine;
  KeyedCollection<std::shared_ptr<clsDic>> dics;
  KeyedCollection<std::shared_ptr<clsVoice>> voices;
};

Loaded& Load() {
  static Loaded* loaded = [] {
    auto* l = new Loaded;
    l->engine.Settings = std::make_shared<Setting>();
    SetLookupDefaults(*l->engine.Settings);
    const char* env = std::getenv("PARLAVENT_FUZZ_DIC");
    const std::string path = env ? env : PARLAVENT_SAMPLE_DIR "/de-ru_full.dic";
    const auto dic = l->engine.OpenCurrent(path);
    if (!dic) std::abort();  // a run without the package would fuzz nothing
    dic->Visible = true;
    l->dics.Add(u"k1", dic);
    return l;
  }();
  return *loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  Loaded& loaded = Load();
  DictionaryEngine& engine = loaded.engine;
  const unsigned flags = data[0] | (data[1] << 8);
  TranslateArgs args;
  args.OneWord = flags & 1;
  args.FullText = flags & 2;
  args.Tochno = flags & 4;
  args.CheckDir = flags & 8;
  args.DirSilent = flags & 16;
  args.RepeatTrans = flags & 32;
  args.OnForm = flags & 64;
  args.ClrBuffer = flags & 128;
  args.BusyShowed = flags & 256;
  engine.Dic->Direction(static_cast<std::int32_t>((flags >> 9) % 3));
  engine.State.gNotRepeatTrans = flags & 2048;

  // The text as UTF-16 code units, so that lone surrogates and control characters come too.
  std::u16string text;
  for (std::size_t i = 2; i + 1 < size && text.size() < 2048; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  std::u16string rendered, inText;
  bool checkDir = true;
  std::shared_ptr<WordSet> words;
  engine.Look.GetTranslate(text, rendered, args, {&inText, &checkDir, &words});
  if (engine.Result) engine.Result->GetString(args.OnForm, true, true);
  clsLink link;
  std::u16string plain;
  std::vector<LinkItemPtr> items;
  link.GetLinks(rendered, plain, items);
  if (flags & 4096) {
    engine.Look.Translate(text, flags & 8192);
    GetTextLang(engine.Look, loaded.dics, loaded.voices, nullptr, text, nullptr);
  }
  return 0;
}
