// Layout switching: retyping between layouts, the recorder of typed prefixes, the correction of
// an input typed in the wrong layout, and the user's table "trl.dat" written and read back.
#include <gtest/gtest.h>

#include "app/companion_state.h"
#include "app/neighbour_services.h"
#include "companions/key_layouts.h"
#include "companions/layout_switch.h"
#include "dictionary/keyboard_layers.h"
#include "support/fake_companions.h"
#include "support/list_fixture.h"

namespace parlavent::testing {
namespace {

TEST(RetypeTest, KeysOfOneLayoutReadInAnother) {
  struct Case {
    std::u16string_view text;
    std::int64_t from, to;
    std::u16string_view expected;
  } cases[] = {
      {u"ghbdtn", 1033, 1049, u"привет"},
      {u"Ghbdtn vbh!", 1033, 1049, u"Привет мир!"},
      {u"b,", 1033, 1049, u"иб"},
      {u"руддщ", 1049, 1033, u"hello"},
      {u"zeit", 1033, 1031, u"yeit"},
      {u"ghbdtn", 0x04090409, 0x04190419, u"привет"},  // keyboard-layout handles: their language word
      {u"ghbdtn", 1033, 1036, u""},                    // a layout the program does not know
      {u"", 1033, 1049, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Retype(c.text, c.from, c.to), c.expected) << ToUtf8(c.text);
  }
}

class LayoutSwitchTest : public ListTest {
 protected:
  LayoutSwitchTest() {
    app.Companion = companions;
    app.Sett->AppFolder = user.Text();
    app.Sett->TrlSound = true;
    app.Dic = Load(Words({"hello", "house"}) + Words({"привет", "пример"}, 2));
    app.Dic->Layout1 = 1033;  // the loader reads them from the package's "Info"
    app.Dic->Layout2 = 1049;
    G().gPrefixes.Clear();
  }
  /// Types text one character at a time, the recorder watching each change.
  void Type(std::u16string_view text) {
    for (char16_t c : text) {
      host->input->SetText(host->input->text + c);
      mdlPublic::CheckLayoutSwitch();
    }
  }
  std::u16string Layouts(std::u16string_view prefix) {
    auto* p = G().gPrefixes.Find(prefix);
    return p ? (*p)->Layouts : u"(none)";
  }
  std::filesystem::path Table() const { return user.path() / "trl.dat"; }

  TempDir user;
  std::shared_ptr<FakeCompanions> companions = std::make_shared<FakeCompanions>();
};

TEST_F(LayoutSwitchTest, TheRecorderCountsPrefixesPerLayout) {
  app.Sett->TrlMode = 1;
  Type(u"hex");
  host->input->SetText(u"");
  mdlPublic::CheckLayoutSwitch();
  companions->layout = 1049;
  Type(u"h");
  host->input->SetText(u"hello world");  // pasted: not typed
  mdlPublic::CheckLayoutSwitch();
  EXPECT_EQ(Layouts(u"h"), u"1033:1,1049:1");
  EXPECT_EQ(Layouts(u"he"), u"1033:1");
  EXPECT_EQ(Layouts(u"hex"), u"1033:1");
  EXPECT_EQ(Layouts(u"hel"), u"(none)");
  EXPECT_EQ((*G().gPrefixes.Find(u"h"))->Mass, 2);
  EXPECT_TRUE((*G().gPrefixes.Find(u"h"))->ByUser);

  app.Sett->TrlMode = 0;
  host->input->SetText(u"");
  Type(u"q");
  EXPECT_EQ(Layouts(u"q"), u"(none)") << "switching off stops the recorder";
}

TEST_F(LayoutSwitchTest, AnInputTypedInTheWrongLayoutIsRetypedWhenCorrectionIsOn) {
  app.Sett->TrlMode = 1;
  Type(u"gh");
  EXPECT_EQ(host->input->text, u"gh") << "mode 1 only records";

  host->input->SetText(u"");
  mdlPublic::CheckLayoutSwitch();
  app.Sett->TrlMode = 2;
  Type(u"gh");
  EXPECT_EQ(host->input->text, u"пр");
  EXPECT_EQ(companions->activated, std::vector<std::intptr_t>{1049});
  EXPECT_EQ(companions->switchSounds, 1);
  Type(u"и");  // now typed in the right layout
  EXPECT_EQ(host->input->text, u"при");
  EXPECT_EQ(companions->activated.size(), 1u);

  host->input->SetText(u"");
  mdlPublic::CheckLayoutSwitch();
  companions->layout = 1033;
  app.Sett->TrlSound = false;
  Type(u"ho");
  EXPECT_EQ(host->input->text, u"ho") << "a known beginning stays as typed";
  Type(u"z");
  EXPECT_EQ(host->input->text, u"hoz") << "unknown in both layouts: nothing to correct";
  host->input->SetText(u"");
  mdlPublic::CheckLayoutSwitch();
  Type(u"gh");
  EXPECT_EQ(host->input->text, u"пр");
  EXPECT_EQ(companions->switchSounds, 1) << "corrected without the sound while TrlSound is off";
}

TEST_F(LayoutSwitchTest, TheUserTableIsWrittenWholeAndReadBack) {
  RecordPrefix(u"ab", 1033);
  RecordPrefix(u"ab", 1033);
  RecordPrefix(u"ab", 1049);
  RecordPrefix(u"жи", 1049);
  app.SaveUserSwitch();
  const std::string ansi = ReadBytes(Table());
  EXPECT_EQ(ansi, "ab\t1033:2,1049:1\t3\r\n\xE6\xE8\t1049:1\t1\r\n") << "ANSI while the code page holds every prefix";

  RecordPrefix(u"über", 1031);
  app.SaveUserSwitch();
  EXPECT_EQ(ReadBytes(Table()).substr(0, 2), "\xFF\xFE") << "otherwise UTF-16 with its mark";

  G().gPrefixes.Clear();
  app.LoadUserSwitch();
  EXPECT_EQ(Layouts(u"ab"), u"1033:2,1049:1");
  EXPECT_EQ(Layouts(u"жи"), u"1049:1");
  EXPECT_EQ(Layouts(u"über"), u"1031:1");
  EXPECT_EQ((*G().gPrefixes.Find(u"ab"))->Mass, 3);
}

TEST_F(LayoutSwitchTest, ANeverChangedTableIsNotRewrittenAndWhatItCannotReadIsKeptBeforeASave) {
  const std::string damaged("ab\t1033:1\t1\r\n\x01\x02 garbage without tabs\r\n", 38);
  WriteBytes(Table(), damaged);
  app.LoadUserSwitch();
  app.SaveUserSwitch();
  EXPECT_EQ(ReadBytes(Table()).size(), 38u);
  EXPECT_EQ(Layouts(u"ab"), u"1033:1");
  RecordPrefix(u"ab", 1033);
  app.SaveUserSwitch();
  EXPECT_EQ(ReadBytes(Table()), "ab\t1033:2\t2\r\n");
  EXPECT_EQ(ReadBytes(user.path() / "trl.dat.bak"), damaged);

  // Held by another program at start: the prefixes recorded since do not replace the table; read
  // at a later load, it is saved again.
  PutUnreadableFile(Table());
  app.LoadUserSwitch();
  RecordPrefix(u"ab", 1033);
  app.SaveUserSwitch();
  EXPECT_TRUE(std::filesystem::is_symlink(Table())) << "replaced by this session's prefixes";
  std::filesystem::remove(Table());
  WriteBytes(Table(), "cd\t1049:1\t1\r\n");
  app.LoadUserSwitch();
  app.SaveUserSwitch();
  EXPECT_EQ(ReadBytes(Table()), "ab\t1033:3\t3\r\ncd\t1049:1\t1\r\n");

  // Damaged where no copy can be written (a folder holds the name of every copy): the table
  // stays as it is, the prefixes recorded since stay in memory.
  std::filesystem::remove(user.path() / "trl.dat.bak");
  std::filesystem::create_directory(user.path() / "trl.dat.bak");
  WriteBytes(Table(), damaged);
  app.LoadUserSwitch();
  RecordPrefix(u"ab", 1033);
  EXPECT_FALSE(app.SaveUserSwitch());
  EXPECT_EQ(ReadBytes(Table()), damaged);
  EXPECT_EQ(Layouts(u"ab"), u"1033:2");
}

// An editor's UTF-16BE: every entry is read, and the next save writes them all again.
TEST_F(LayoutSwitchTest, ATableSavedAsUtf16BigEndianIsReadWhole) {
  std::string bytes = "\xFE\xFF";
  for (char16_t c : std::u16string(u"ab\t1033:2\t2\r\nжи\t1049:1\t1\r\n")) {
    bytes += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  WriteBytes(Table(), bytes);
  app.LoadUserSwitch();
  EXPECT_EQ(Layouts(u"ab"), u"1033:2");
  EXPECT_EQ(Layouts(u"жи"), u"1049:1");
  EXPECT_FALSE(std::filesystem::exists(user.path() / "trl.dat.bak"));
  RecordPrefix(u"ab", 1049);
  app.SaveUserSwitch();
  EXPECT_EQ(ReadBytes(Table()), "ab\t1033:2,1049:1\t3\r\n\xE6\xE8\t1049:1\t1\r\n");
}

TEST_F(LayoutSwitchTest, DamagedTablesLoadWhatIsSound) {
  const std::string cases[] = {
      std::string("\xFF\xFE" "a\0\t\0" "1\0", 8) + "\x33",             // UTF-16 of odd length
      std::string("\0\0\0\xFF\t\t\t\r\n\r\n\t1033:1\t5\r\n", 18),        // binary, no prefix
      std::string("ab\t1033:1"),                                          // truncated: no mass
  };
  for (const std::string& bytes : cases) {
    G().gPrefixes.Clear();
    WriteBytes(Table(), bytes);
    app.LoadUserSwitch();
    for (const auto& p : G().gPrefixes) EXPECT_FALSE(p->Prefix.empty());
  }
  EXPECT_EQ(Layouts(u"ab"), u"1033:1");
}

}  // namespace
}  // namespace parlavent::testing
