// The dictionary engine on its own: a package opened, searched and looked up with no application
// object installed; and answers that must not depend on which package was read before.
#include "dictionary/engine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "dictionary_source.h"
#include "foundation/settings_object.h"
#include "package_builder.h"
#include "platform/code_page.h"
#include "support/fake_system.h"
#include "text/text.h"

namespace parlavent {
namespace {

const char* const kSource =
    "@member Info\n[Main]\nShortName=T\nLang1=de\nLang2=ru\nSupportDirection=1\n@end\n"
    "@member Replace\nes\t,\n@end\n"
    "@member Themes\n1\tBauwesen\tBau\n@end\n"
    "W\t1\tHaus\thaʊs\n"
    "L\tHaus\tдом\t\t\t1\tGebäude\n"
    "L\tHaus\tздание\n"
    "L\tHausschuh\tтапочка\n"
    "L\tHund\tсобака\n";

// The same words in an ANSI package of windows-1251: the German words keep to its Latin letters.
const char* const kAnsiSource =
    "@member Info\n[Main]\nShortName=A\nLang1=de\nLang2=ru\n@end\n"
    "L\tHaus\tдом\n"
    "L\tKatze\tкошка\n";

class EngineTest : public ::testing::Test {
 protected:
  std::filesystem::path Build(const std::string& name, const char* source, const CodePage* ansi = nullptr) {
    dictool::DictionarySource parsed;
    std::string err;
    EXPECT_TRUE(dictool::ParseSource(source, name, dir_.path(), parsed, err)) << err;
    std::vector<std::uint8_t> bytes;
    dictool::BuildReport report;
    EXPECT_TRUE(dictool::BuildPackage(parsed, {ansi}, bytes, report, err)) << err;
    const auto path = dir_.path() / (name + ".dic");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  testing::TempDir dir_;
};

TEST_F(EngineTest, OpensSearchesAndLooksUpWithoutAnApplicationObject) {
  ASSERT_FALSE(HasAppl());
  DictionaryEngine engine;
  engine.Settings = std::make_shared<Setting>();
  SetLookupDefaults(*engine.Settings);
  // A common package carries the transcriptions itself.
  const auto dic = engine.OpenCurrent(Build("t_common", kSource));
  ASSERT_TRUE(dic);
  EXPECT_EQ(engine.State.gCurDic, dic);
  EXPECT_TRUE(dic->Enabled);
  EXPECT_EQ(dic->SfxCol->Count(), 1u);  // the ending rules came with it

  std::vector<WordRec> words;
  ASSERT_EQ(engine.Search.FindWord(u"haus", words, *dic), 1);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].Text, u"Haus");
  std::vector<TransRec> trans;
  engine.Search.GetTransRecs(u"Haus", trans, *dic);
  ASSERT_EQ(trans.size(), 2u);
  EXPECT_EQ(trans[0].Trans.Text, u"дом");
  EXPECT_EQ(trans[0].Theme1.Short, u"Bau");
  std::vector<WordRec> list;
  std::int32_t count = 0;
  engine.Search.FindSorted(u"hau", list, 10, true, dic, false, 0, false, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(list[1].Text, u"hausschuh");
  EXPECT_EQ(engine.Search.GetTranscript(u"Haus", dic), u"haʊs");
  EXPECT_EQ(engine.Search.GetSimpleTrans(u" Hund ", dic), u"собака");

  // The look-up finds the word behind its ending and keeps the result as its reuse buffer.
  std::u16string rendered, inText;
  bool checkDir = true;
  EXPECT_GT(engine.Look.GetTranslate(u"Hauses", rendered, {}, {&inText, &checkDir, nullptr}), 0);
  EXPECT_EQ(inText, u"Hauses ");
  ASSERT_TRUE(engine.Result);
  ASSERT_EQ(engine.Result->Words.Count(), 1u);
  const auto& entry = *engine.Result->Words.ItemAt(1);
  EXPECT_EQ(entry->Word, u"Haus");
  EXPECT_EQ(entry->Transcription, u"haʊs");  // the tree reads the engine's settings and package
  EXPECT_EQ(engine.Result->GetString(false, true, false), u"Haus\r\nдом; здание");
  EXPECT_NE(rendered.find(u"=BackTTTrans-дом"), std::u16string::npos);
  EXPECT_NE(rendered.find(u"(Gebäude)"), std::u16string::npos);  // comments shown, as set
  EXPECT_EQ(engine.Look.Translate(u"Hund"), u"Hund\r\nсобака");

  // A text of the other side is refused for the chosen direction, with no one to tell.
  dic->Direction(2);
  TranslateArgs args;
  args.CheckDir = true;
  args.DirSilent = true;
  args.ClrBuffer = true;
  EXPECT_EQ(engine.Look.GetTranslate(u"Haus", rendered, args, {nullptr, &checkDir, nullptr}), 0);
  EXPECT_FALSE(checkDir);
  EXPECT_EQ(engine.State.gTextDir, 1);
  EXPECT_FALSE(HasAppl());
}

TEST_F(EngineTest, AResultOutlivesItsEngine) {
  std::shared_ptr<WordSet> kept;
  {
    DictionaryEngine engine;
    engine.Settings = std::make_shared<Setting>();
    SetLookupDefaults(*engine.Settings);
    ASSERT_TRUE(engine.OpenCurrent(Build("t_common", kSource)));
    std::u16string rendered;
    ASSERT_GT(engine.Look.GetTranslate(u"Hund", rendered, {}, {}), 0);
    kept = engine.Result;
  }
  // Without its engine the tree has no settings left: the plain rendering, no comments.
  EXPECT_EQ(kept->GetString(false, true, true), u"Hund\r\nсобака");
  kept->AddWord(u"Katze");
  EXPECT_EQ((*kept->Words.ItemAt(2))->Transcription, u"");
}

// The Unicode flag is the mode of the package read last. A word read by its ID, as the learning
// cards and the export of the retranslation list read them, is decoded in its own package's mode,
// whatever was read before.
TEST_F(EngineTest, AWordByIdReadsInItsOwnPackagesModeWhateverWasReadBefore) {
  const auto ansi = MakeCodePage(1251);
  ASSERT_TRUE(ansi);
  DictionaryEngine engine;
  const auto wide = OpenPackageDic(engine.Files, Build("u_full", kSource));
  const auto narrow = OpenPackageDic(engine.Files, Build("a_full", kAnsiSource, ansi.get()));
  ASSERT_TRUE(wide && narrow);
  ASSERT_TRUE(wide->Unicode);
  ASSERT_FALSE(narrow->Unicode);

  std::vector<WordRec> found;
  ASSERT_NE(engine.Search.FindWord(u"Katze", found, *narrow), 0);  // the flag now says ANSI
  std::int32_t dir = 0;
  EXPECT_EQ(engine.Search.GetWordStrByID(1, wide, &dir), u"Haus");
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(engine.Search.ReadWordRec(2, *wide).Text, u"дом");
  ASSERT_NE(engine.Search.FindWord(u"Haus", found, *wide), 0);  // and now Unicode
  EXPECT_EQ(engine.Search.ReadWordRec(2, *narrow).Text, u"дом");
}

// The result tree keys its themes in the form of the package its records came from: a look-up
// gives the same tree whichever package was read before it.
TEST_F(EngineTest, ALookUpDoesNotDependOnThePackageReadBefore) {
  const auto ansi = MakeCodePage(1251);
  DictionaryEngine engine;
  engine.Settings = std::make_shared<Setting>();
  SetLookupDefaults(*engine.Settings);
  const auto narrow = OpenPackageDic(engine.Files, Build("a_full", kAnsiSource, ansi.get()));
  const auto dic = engine.OpenCurrent(Build("u_full", kSource));
  ASSERT_TRUE(narrow && dic);
  std::u16string fresh, after;
  TranslateArgs args;
  args.ClrBuffer = true;
  ASSERT_GT(engine.Look.GetTranslate(u"Haus", fresh, args, {}), 0);
  const auto first = engine.Result;
  std::vector<WordRec> found;
  engine.Search.FindWord(u"Katze", found, *narrow);
  ASSERT_GT(engine.Look.GetTranslate(u"Haus", after, args, {}), 0);
  EXPECT_EQ(after, fresh);
  const auto& themes = [](const WordSet& w) -> const auto& {
    return (*(*w.Words.ItemAt(1))->RechSet.ItemAt(1))->ThemeSet;
  };
  ASSERT_EQ(themes(*engine.Result).Count(), themes(*first).Count());
  EXPECT_EQ((*themes(*engine.Result).ItemAt(1))->Key, (*themes(*first).ItemAt(1))->Key);
}

}  // namespace
}  // namespace parlavent
