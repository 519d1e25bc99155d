#pragma once
// A dictionary built by the package builder from source text and opened as the current
// dictionary (with its ending rules), settings for the look-up, and fakes for the pointer, the
// keys, the message pump and the busy indicator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "dictionary/busy_indicator.h"
#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/lookup.h"
#include "dictionary/package_file.h"
#include "dictionary/result_tree.h"
#include "dictionary/sections.h"
#include "dictionary_source.h"
#include "foundation/settings_object.h"
#include "package_builder.h"
#include "platform/code_page.h"
#include "support/fake_input.h"
#include "support/fake_system.h"
#include "support/package_fixture.h"

namespace parlavent::testing {

class FakeBusy : public BusyIndicator {
 public:
  int starts = 0;
  int stops = 0;
  void Start() override { ++starts; }
  void stopme() override { ++stops; }
  void Unload() override {}
};

/// Builds a package from source text in the test's folder and opens it as a dictionary.
inline std::shared_ptr<clsDic> BuildDic(Appl& app, const std::filesystem::path& folder, const std::string& name,
                                        const std::string& source) {
  dictool::DictionarySource parsed;
  std::string err;
  EXPECT_TRUE(dictool::ParseSource(source, name, folder, parsed, err)) << err;
  std::vector<std::uint8_t> bytes;
  dictool::BuildReport report;
  EXPECT_TRUE(dictool::BuildPackage(parsed, {}, bytes, report, err)) << err;
  const auto path = folder / (name + ".dic");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  auto dic = OpenLookupDic(app.Files(), path);
  EXPECT_TRUE(dic);
  return dic;
}

class LookupTest : public PackageTest {
 protected:
  LookupTest()
      : input_(std::make_shared<FakeInput>()),
        pump_(std::make_shared<FakePump>()),
        busy_(std::make_shared<FakeBusy>()),
        scopedInput_(input_),
        scopedPump_(pump_) {
    app.frmBusy = busy_;
    sett = std::make_shared<Setting>();
    sett->ExtTransString = u"»»»";
    sett->ShowComment = true;
    app.Sett = sett;
    app.State.gSetting = sett;
    app.State.gNotRepeatTrans = true;
    app.State.gLangTable.resize(400);
    app.State.gLangTable[50] = u"(none)";
    app.State.gLangTable[150] = u"wrong direction";
  }

  std::shared_ptr<clsDic> UseDic(const std::string& source) {
    app.Dic = BuildDic(app, Dir(), "test", source);
    return app.Dic;
  }

  /// GetTranslate with the given options; the covered text lands in inText.
  std::int32_t Look(std::u16string_view text, TranslateArgs args = {}) {
    rettext.clear();
    inText.clear();
    checkDir = true;
    return app.GetTranslate(text, rettext, args, {&inText, &checkDir, &words});
  }

  /// The headings of the last result tree, "|"-joined.
  std::u16string Heads() const {
    std::u16string out;
    if (!app.WordSet) return out;
    for (const auto& s : app.WordSet->Words) out += (out.empty() ? u"" : u"|") + s->Word;
    return out;
  }

  std::shared_ptr<FakeInput> input_;
  std::shared_ptr<FakePump> pump_;
  std::shared_ptr<FakeBusy> busy_;
  ScopedInput scopedInput_;
  ScopedPump scopedPump_;
  std::shared_ptr<Setting> sett;
  std::u16string rettext, inText;
  bool checkDir = true;
  std::shared_ptr<WordSet> words;
};

}  // namespace parlavent::testing
