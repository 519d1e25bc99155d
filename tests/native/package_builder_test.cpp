// dictool's builder: every member kind and every record section it writes reads back through
// the package reader, in both text modes and with both link header sizes.
#include "package_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "dictionary_source.h"
#include "forms_command.h"
#include "utf8.h"
#include "text/text.h"
#include "support/package_fixture.h"

namespace parlavent::dictool {
namespace {

using testing::ByteVector;

struct Mode {
  bool unicode;
  bool rech;
};

std::string SourceText(bool rech) {
  return std::string(
             "# a test dictionary\n"
             "@member Info\n[Main]\nShortName=Test\nSupportRech=") +
         (rech ? "True" : "0") +
         "\n[Src1]\nLangID=0\nLanguage1=German\n@end\n"
         "@member TranscrHelp0\nline one\n@@end is text here\n@end\n"
         "@member Themes\n1\tGeneral\tgen\n7\tChemie\tchem\n@end\n"
         "@member Replace\n?s\t,e\n@end\n"
         "@member Prefix\nghbdtn\t2\t5\n@end\n"
         "@file Icon icon.bin\n@file Icon1 icon.bin\n@file Icon2 icon.bin\n@file de1 layer.gif\n"
         "W\t1\tHaus\thaus\n"
         "L\tHaus\tдом\tN\tM\t1,7\tein Gebaeude\n"
         "L\tAal\tугорь\tn\t1\n"
         "L\thaus\tдом\n"
         "W\t2\tHaus\n"
         "L\tApfel\tяблоко\t6\tF\t1,0,7\t\n"
         "L\tHaus\tздание\t\t\t\tder Bau\n"
         "W\t2\tёлка\tjolka\n";
}

class BuilderRoundTrip : public testing::PackageTest, public ::testing::WithParamInterface<Mode> {
 protected:
  void SetUp() override {
    Write("icon.bin", icon_);
    Write("layer.gif", ByteVector{'G', 'I', 'F', '8', '9', 'a'});
    std::string err;
    ASSERT_TRUE(ParseSource(SourceText(GetParam().rech), "test.txt", Dir(), source_, err)) << err;
    page_ = MakeBuiltinCodePage(1251);
    BuildReport report;
    ASSERT_TRUE(BuildPackage(source_, {GetParam().unicode ? nullptr : page_.get()}, bytes_, report, err)) << err;
    EXPECT_EQ(report.supportRech, GetParam().rech);
    EXPECT_EQ(report.lossyTexts, 0u);
    file_ = PackageFile::FromMemory(bytes_);
  }

  bool Unicode() const { return GetParam().unicode; }
  std::span<const std::uint8_t> Member(std::u16string_view name) const {
    return file_.Member(name, Unicode(), *page_);
  }
  MemberBounds Bounds(std::u16string_view name) const { return file_.FindMember(name, Unicode(), *page_); }
  std::u16string Text(std::span<const std::uint8_t> b) const { return DecodePackageText(b, Unicode(), *page_); }
  std::int32_t I32(std::int64_t at) const {
    std::int32_t v = 0;
    EXPECT_TRUE(file_.ReadI32(at, v)) << at;
    return v;
  }

  // Entry k of a "Words"-like section: its side and its text.
  std::pair<int, std::u16string> Entry(const MemberBounds& s, std::int32_t k) const {
    const std::int32_t e = I32(s.Start + 4 * (k - 1)), next = I32(s.Start + 4 * k);
    return {e < 0 ? 2 : 1, Text(file_.Bytes(s.Start + std::abs(e), std::abs(next) - std::abs(e)))};
  }

  const ByteVector icon_{0, 0, 1, 0, 1, 0, 16, 16};
  DictionarySource source_;
  std::unique_ptr<CodePage> page_;
  ByteVector bytes_;
  PackageFile file_;
};

TEST_P(BuilderRoundTrip, MembersReadBackAsWritten) {
  EXPECT_EQ(Text(Member(u"Info")), FromUtf8(std::string("[Main]\r\nShortName=Test\r\nSupportRech=") +
                                            (GetParam().rech ? "True" : "0") +
                                            "\r\n[Src1]\r\nLangID=0\r\nLanguage1=German"));
  EXPECT_EQ(Text(Member(u"TranscrHelp0")), u"line one\r\n@end is text here");
  EXPECT_EQ(Text(Member(u"Themes")), u"1\tGeneral\tgen\r\n7\tChemie\tchem");
  EXPECT_EQ(Text(Member(u"replace")), u"?s\t,e");
  EXPECT_EQ(Text(Member(u"Prefix")), u"ghbdtn\t2\t5");
  for (std::u16string_view icon : {u"Icon", u"Icon1", u"Icon2"}) {
    const auto b = Member(icon);
    EXPECT_EQ(ByteVector(b.begin(), b.end()), icon_);
  }
  EXPECT_EQ(Member(u"DE1").size(), 6u);
  if (Unicode()) {
    EXPECT_EQ(Member(u"Info")[0], 0xFF);  // text members carry the FF FE mark
  }
  // The record of the file's length comes last and ends one byte before the end of the file.
  const MemberBounds length = Bounds(u"FileLength");
  EXPECT_EQ(Bounds(u"TransW2").End, length.Start);
  EXPECT_EQ(length.End, file_.Size() - 1);
  EXPECT_EQ(I32(length.Start), file_.Size());
  EXPECT_EQ(file_.MemberCount(), 16);  // nine members, six sections and the record
}

TEST_P(BuilderRoundTrip, WordsAndTranscriptionsCarryTheirSide) {
  const MemberBounds words = Bounds(u"Words"), transcript = Bounds(u"Transcript");
  ASSERT_FALSE(words.Empty());
  ASSERT_FALSE(transcript.Empty());
  const auto n = static_cast<std::int32_t>(source_.WordCount());
  EXPECT_EQ(I32(words.Start), 4 * (n + 1));
  for (std::int32_t k = 1; k <= n; ++k) {
    const SourceWord w = source_.Word(static_cast<std::size_t>(k - 1));
    EXPECT_EQ(Entry(words, k), std::make_pair(w.side, w.text)) << k;
    EXPECT_EQ(Entry(transcript, k).second, w.transcription) << k;
  }
  EXPECT_EQ(std::abs(I32(words.Start + 4 * n)), words.Length());  // the closing entry
}

TEST_P(BuilderRoundTrip, HashIndexIsSortedByAbsoluteKeyAndSignedBySide) {
  const MemberBounds hash = Bounds(u"WordsHash"), words = Bounds(u"Words");
  ASSERT_EQ(hash.Length(), 12 * static_cast<std::int64_t>(source_.WordCount()));
  double previous = 0;
  std::set<std::int32_t> ids;
  for (std::int64_t at = hash.Start; at < hash.End; at += 12) {
    double key = 0;
    ASSERT_TRUE(file_.ReadF64(at, key));
    const std::int32_t id = I32(at + 8);
    const auto [side, text] = Entry(words, id);
    EXPECT_EQ(std::abs(key), PackageKey(text, Unicode(), *page_)) << ToUtf8(text);
    EXPECT_EQ(key < 0 ? 2 : 1, side);
    EXPECT_GE(std::abs(key), previous);
    previous = std::abs(key);
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), source_.WordCount());
}

TEST_P(BuilderRoundTrip, SortIndexFollowsDictionaryOrder) {
  const MemberBounds sort = Bounds(u"WordsSort"), words = Bounds(u"Words");
  ASSERT_EQ(sort.Length(), 4 * static_cast<std::int64_t>(source_.WordCount()));
  std::vector<std::u16string> texts;
  for (std::int64_t at = sort.Start; at < sort.End; at += 4) texts.push_back(Entry(words, I32(at)).second);
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
    return CompareDictOrder(a, b) < 0;
  }));
  EXPECT_EQ(texts.front(), u"Aal");
  EXPECT_EQ(texts.back(), u"ёлка");  // ё (U+0451) sorts after я (U+044F)
}

TEST_P(BuilderRoundTrip, LinksAreSortedByEitherWordWithTheirHeaderFields) {
  const MemberBounds w1 = Bounds(u"TransW1"), w2 = Bounds(u"TransW2");
  const std::int32_t r = I32(w1.Start) / 4;
  ASSERT_EQ(r, static_cast<std::int32_t>(source_.LinkCount()));
  const int header = GetParam().rech ? 16 : 14;
  std::int32_t previous = 0;
  bool sawHaus = false;
  for (std::int32_t n = 0; n < r; ++n) {
    const std::int64_t start = w1.Start + I32(w1.Start + 4 * n);
    const std::int64_t end = n + 1 < r ? w1.Start + I32(w1.Start + 4 * (n + 1)) : w1.End;
    const std::int32_t id1 = I32(start), id2 = I32(start + 4);
    EXPECT_GE(id1, previous);
    previous = id1;
    const auto comment = Text(file_.Bytes(start + header, end - start - header));
    if (comment == u"ein Gebaeude") {
      sawHaus = true;
      std::uint16_t t[3] = {};
      for (int i = 0; i < 3; ++i) file_.ReadU16(start + 8 + 2 * i, t[i]);
      EXPECT_EQ(t[0], 1);
      EXPECT_EQ(t[1], 7);
      EXPECT_EQ(t[2], 0);
      std::uint8_t rech = 0, rod = 0;
      file_.ReadU8(start + 14, rech);
      file_.ReadU8(start + 15, rod);
      if (GetParam().rech) {
        EXPECT_EQ(rech, 1);  // N
        EXPECT_EQ(rod, 1);   // M
      }
      EXPECT_EQ(source_.Word(static_cast<std::size_t>(id2 - 1)).text, u"дом");
    }
  }
  EXPECT_TRUE(sawHaus);
  ASSERT_EQ(w2.Length(), 4 * static_cast<std::int64_t>(r));
  previous = 0;
  for (std::int64_t at = w2.Start; at < w2.End; at += 4) {
    const std::int32_t n = I32(at);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, r);
    const std::int32_t id2 = I32(w1.Start + I32(w1.Start + 4 * n) + 4);
    EXPECT_GE(id2, previous);
    previous = id2;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, BuilderRoundTrip,
                         ::testing::Values(Mode{true, true}, Mode{true, false}, Mode{false, true}, Mode{false, false}),
                         [](const auto& info) {
                           return std::string(info.param.unicode ? "Unicode" : "Ansi") +
                                  (info.param.rech ? "WithCodes" : "WithoutCodes");
                         });

TEST(DictionarySource, FaultsNameTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"W\t3\tx\n", "t.txt:1: side must be 1 or 2"},
      {"\n# c\nW\t1\t\n", "t.txt:3: empty word"},
      {"L\ta\tb\tXYZ\n", "t.txt:1: unknown part of speech"},
      {"L\ta\tb\tN\tQ\n", "t.txt:1: unknown gender"},
      {"L\ta\tb\t\t\t1,2,3,4\n", "t.txt:1: themes are up to three numbers 0..65535"},
      {"L\ta\tb\t\t\t70000\n", "t.txt:1: themes are up to three numbers 0..65535"},
      {"@member Info\nx\n", "t.txt:1: \"@member\" without \"@end\""},
      {"@member Info\n@end\n@member INFO\n@end\n", "t.txt:3: second member \"INFO\""},
      {"@file Icon\n", "t.txt:1: \"@file\" needs a member name and a path"},
      {"hello\n", "t.txt:1: unknown line (expected \"@member\", \"@file\", \"W\", \"L\", \"F\" or \"F2\")"},
  };
  for (const auto& [text, message] : cases) {
    DictionarySource source;
    std::string err;
    EXPECT_FALSE(ParseSource(text, "t.txt", ".", source, err)) << text;
    EXPECT_EQ(err, message);
  }
}

TEST(PackageBuilder, RefusesWhatTheReaderCouldNotRead) {
  DictionarySource source;
  std::string err;
  ASSERT_TRUE(ParseSource("@member Words\n@end\n", "t", ".", source, err));
  ByteVector out;
  BuildReport report;
  EXPECT_FALSE(BuildPackage(source, {}, out, report, err));
  EXPECT_EQ(err, "member \"Words\" would hide a record section of the same name");

  DictionarySource named;
  ASSERT_TRUE(ParseSource("@member fileLength\n@end\n", "t", ".", named, err));
  EXPECT_FALSE(BuildPackage(named, {}, out, report, err));
  EXPECT_EQ(err, "member \"fileLength\" would hide the record of the package's length");

  DictionarySource many;
  for (int i = 0; i < 255; ++i) many.members.push_back({u"m" + NumberText(i), true, u"x", {}});
  EXPECT_FALSE(BuildPackage(many, {}, out, report, err));
  EXPECT_EQ(err, "a package holds at most 255 members, this one would have 256");  // the record is one
}

TEST(PackageBuilder, CodesWithoutSupportRechAreCountedAndLeftOut) {
  DictionarySource source;
  std::string err;
  ASSERT_TRUE(ParseSource("L\ta\tb\tN\tF\n", "t", ".", source, err));
  ByteVector out;
  BuildReport report;
  ASSERT_TRUE(BuildPackage(source, {}, out, report, err));
  EXPECT_FALSE(report.supportRech);
  EXPECT_EQ(report.droppedCodes, 1u);
  // An empty source is a package of the record of its length alone: the count byte, one directory
  // record, the record (18) and the final byte.
  ASSERT_TRUE(BuildPackage(DictionarySource{}, {}, out, report, err));
  ASSERT_EQ(out.size(), 18u);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(ByteVector(out.end() - 5, out.end()), (ByteVector{18, 0, 0, 0, 0}));
}

// dictool forms refuses what it cannot do before it writes anything, and a form word takes its
// base's own links only, not those the source gives forms already ("шёл" must not list ging).
class FormsCommand : public testing::PackageTest {};

TEST_F(FormsCommand, RefusesWhatItCannotDoAndCopiesOnlyTheBasesOwnLinks) {
  const auto source = WriteText("src.txt", "L\tgehen\tидти\nF\tging\tидти\n");
  const auto pairs = WriteText("ru.tsv", "шёл\tидти\n");
  const auto rules = Dir() / "rules.txt", out = Dir() / "out.txt";
  const auto inputs = [&] {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Dir())) names.insert(e.path().filename().string());
    return names;
  };
  const auto before = inputs();
  const struct {
    std::filesystem::path pairs, rules, out;
    std::string message;
  } refused[] = {
      {pairs, out, out, "the same file"},
      {pairs, rules, source, "is the source itself"},
      {Dir(), rules, out, "cannot read"},
      {WriteText("nul.tsv", std::string("a\0b\tидти\n", 10)), rules, out, "nul.tsv:1: not UTF-8"},
      {WriteText("bad.tsv", "x\tидти\n\xff\tидти\n"), rules, out, "bad.tsv:2: not UTF-8"},
      {pairs, rules, Dir() / "missing" / "out.txt", "cannot write"},
  };
  for (const auto& c : refused) {
    FormsReport report;
    std::string err;
    EXPECT_FALSE(MakeForms({source, {{2, c.pairs, true}}}, c.rules, c.out, report, err)) << c.message;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
  EXPECT_EQ(inputs().size(), before.size() + 2);  // nul.tsv and bad.tsv, nothing written
  FormsReport report;
  std::string err;
  ASSERT_TRUE(MakeForms({source, {{2, pairs, true}}}, rules, out, report, err)) << err;
  std::ifstream file(out, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("F2\tgehen\tшёл\t\t\t\tидти\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("ging\tшёл"), std::string::npos) << text;
}

// The builder reads UTF-8 unit by unit; it must read exactly what FromUtf8 reads, and call
// malformed whatever FromUtf8 would have to replace.
TEST(SourceText, Utf8IsReadAsFromUtf8ReadsIt) {
  const std::string cases[] = {"", "Haus", "ёлка", "ˈhaɪ̯tɐ", "\xF0\x9F\x98\x80", "\xEF\xBF\xBF",
                               "\xFF", "a\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\xC3\x28", "\x80", "\xF0\x9F\x98"};
  for (const std::string& text : cases) {
    std::u16string units;
    const bool wellFormed = ForEachUtf16(text, [&](char16_t c) { units += c; });
    EXPECT_EQ(wellFormed, ToUtf8(FromUtf8(text)) == text) << text;
    if (wellFormed) {
      EXPECT_EQ(units, FromUtf8(text)) << text;
    }
  }
  // Two malformed spellings that read alike are one word.
  DictionarySource source;
  std::string err;
  ASSERT_TRUE(ParseSource("W\t1\ta\xFF\nW\t1\ta\xFE\nL\ta\xEF\xBF\xBD\tb\n", "t", ".", source, err)) << err;
  EXPECT_EQ(source.WordCount(), 2u);
  EXPECT_EQ(source.Word(0).text, u"a\xFFFD");
  // A source compacted after reading still knows its words when more is added.
  source.Compact();
  ASSERT_TRUE(ParseSource("L\ta\xFF\tb\nL\tc\tb\n", "t", ".", source, err)) << err;
  EXPECT_EQ(source.WordCount(), 3u);
  EXPECT_EQ(source.LinkCount(), 3u);
}

TEST(PackageBuilder, IniValueIsCaseBlindAndSectionBound) {
  const std::u16string ini = u"[Other]\r\nSupportRech=1\r\n[ main ]\r\n supportrech = True \r\n";
  EXPECT_EQ(IniValue(ini, u"Main", u"SupportRech"), u"True");
  EXPECT_EQ(IniValue(ini, u"Main", u"Absent"), u"");
  EXPECT_EQ(IniValue(ini, u"Missing", u"SupportRech"), u"");
}

}  // namespace
}  // namespace parlavent::dictool
