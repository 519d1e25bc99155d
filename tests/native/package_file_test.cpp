#include "dictionary/package_file.h"

#include <gtest/gtest.h>

#include "dictionary/byte_files.h"
#include "support/package_fixture.h"

namespace parlavent {
namespace {

using testing::ByteVector;
using testing::RawPackage;
using testing::UnicodeKey;

std::uint32_t CrcOf(std::string_view s) {
  return Crc32({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
}

double KeyOfCrc(std::uint32_t c) { return static_cast<double>(static_cast<std::int32_t>(c)) + 3e9; }

TEST(PackageKey, IsZlibCrc32OfTheLowerCasedNameShiftedIntoPositiveNumbers) {
  EXPECT_EQ(CrcOf("123456789"), 0xCBF43926u);  // the published check value of zlib's CRC-32
  const auto& ansi = AnsiCodePage();
  EXPECT_EQ(PackageKey(u"", true, ansi), 0);
  EXPECT_EQ(PackageKey(u"", false, ansi), 0);
  EXPECT_EQ(PackageKey(u"Info", false, ansi), KeyOfCrc(CrcOf("info")));
  // A Unicode key hashes the high byte of the first character, then every low byte: "ab" -> "09798".
  EXPECT_EQ(PackageKey(u"ab", true, ansi), KeyOfCrc(CrcOf("09798")));
  EXPECT_EQ(PackageKey(u"Дом", true, ansi), KeyOfCrc(CrcOf("4526260")));  // д = U+0434, о = U+043E, м = U+043C
  EXPECT_NE(PackageKey(u"Info", true, ansi), PackageKey(u"Info", false, ansi));
  EXPECT_EQ(PackageKey(u"INFO", true, ansi), PackageKey(u"info", true, ansi));
  EXPECT_EQ(PackageKey(u"ДОМ", false, ansi), PackageKey(u"дом", false, ansi));
  for (std::u16string_view name : {u"a", u"Words", u"TransW2", u"zz"}) {
    const double k = PackageKey(name, true, ansi);
    EXPECT_GE(k, 852'516'352.0);
    EXPECT_LE(k, 5'147'483'647.0);
  }
}

TEST(PackageText, UnicodeDropsTheMarkAndAnsiGoesThroughTheCodePage) {
  const auto& ansi = AnsiCodePage();
  EXPECT_EQ(DecodePackageText(ByteVector{0xFF, 0xFE, 'a', 0, 0x34, 0x04}, true, ansi), u"aд");
  EXPECT_EQ(DecodePackageText(ByteVector{'a', 0, 0xFF, 0xFE}, true, ansi), u"a\uFEFF");
  EXPECT_EQ(DecodePackageText(ByteVector{'a', 0, 'b'}, true, ansi), u"a");
  EXPECT_EQ(DecodePackageText(ByteVector{0xE4, 0xEE, 0xEC}, false, ansi), u"дом");
}

// Directory edge cases: what each malformed or unusual package gives for "A".
struct BoundsCase {
  const char* what;
  ByteVector package;
  MemberBounds expected;
};

std::vector<BoundsCase> BoundsCases() {
  const double a = UnicodeKey(u"A"), b = UnicodeKey(u"B");
  const ByteVector data(10, 7);  // the members' bytes start at 1 + 12 * count
  return {
      {"count byte 0", RawPackage(0, {}, data), {0, 0}},
      {"only member ends one byte before the end", RawPackage(1, {{13, a}}, data), {13, 22}},
      {"first of two ends where the second starts", RawPackage(2, {{25, a}, {28, b}}, data), {25, 28}},
      {"the first of a repeated name wins", RawPackage(2, {{25, a}, {27, a}}, data), {25, 27}},
      {"the second of a repeated name is never reached", RawPackage(2, {{25, b}, {27, a}}, data), {27, 34}},
      {"a successor pointing lower runs to the very end", RawPackage(2, {{30, a}, {26, b}}, data), {30, 35}},
      {"equal offsets give an empty member", RawPackage(2, {{28, a}, {28, b}}, data), {28, 28}},
      {"a count promising more records than the file holds", RawPackage(3, {{37, a}}, ByteVector(2, 0)), {0, 0}},
      {"a negative offset", RawPackage(1, {{-5, a}}, data), {0, 0}},
      {"a start beyond the end", RawPackage(2, {{100, a}, {20, b}}, data), {0, 0}},
      {"an end beyond the end", RawPackage(2, {{25, a}, {1000, b}}, data), {0, 0}},
      {"a missing name", RawPackage(1, {{13, b}}, data), {0, 0}},
      {"an empty file", ByteVector{}, {0, 0}},
  };
}

TEST(PackageFile, MemberBoundsFollowTheDirectoryAndNeverLeaveTheFile) {
  for (const BoundsCase& c : BoundsCases()) {
    SCOPED_TRACE(c.what);
    const auto package = PackageFile::FromMemory(c.package);
    const MemberBounds m = package.FindMember(u"a", true, AnsiCodePage());  // names are case-blind
    EXPECT_EQ(m.Start, c.expected.Start);
    EXPECT_EQ(m.End, c.expected.End);
    const auto bytes = package.Member(u"A", true, AnsiCodePage());
    EXPECT_EQ(static_cast<std::int64_t>(bytes.size()), c.expected.Length());
  }
}

TEST(PackageFile, TruncatedAtEveryLengthGivesEmptyOrInBoundsMembers) {
  const double a = UnicodeKey(u"A"), b = UnicodeKey(u"B");
  const ByteVector whole = RawPackage(2, {{25, a}, {29, b}}, ByteVector{1, 2, 3, 4, 5, 6, 7, 8});
  for (std::size_t n = 0; n <= whole.size(); ++n) {
    const ByteVector cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    const auto package = PackageFile::FromMemory(cut);
    for (std::u16string_view name : {u"A", u"B"}) {
      const MemberBounds m = package.FindMember(name, true, AnsiCodePage());
      EXPECT_TRUE(m.Empty() || (m.Start >= 0 && m.End <= static_cast<std::int64_t>(n))) << n;
    }
  }
}

TEST(PackageFile, CheckedReadsRefuseAnythingOutsideTheFile) {
  const ByteVector bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const auto f = PackageFile::FromMemory(bytes);
  std::int32_t i = 42;
  EXPECT_TRUE(f.ReadI32(0, i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(f.ReadI32(4, i));
  EXPECT_EQ(i, -1);
  i = 42;
  EXPECT_FALSE(f.ReadI32(5, i));
  EXPECT_FALSE(f.ReadI32(-1, i));
  EXPECT_EQ(i, 42);
  double d = 0;
  EXPECT_TRUE(f.ReadF64(0, d));
  EXPECT_FALSE(f.ReadF64(1, d));
  EXPECT_TRUE(f.Bytes(8, 0).empty());
  EXPECT_TRUE(f.Bytes(7, 2).empty());
  EXPECT_TRUE(f.Bytes(0, std::numeric_limits<std::int64_t>::max()).empty());
  EXPECT_EQ(f.Bytes(6, 2).size(), 2u);
  EXPECT_FALSE(PackageFile().IsOpen());
  EXPECT_FALSE(PackageFile().ReadI32(0, i));
}

using PackageFileOps = testing::PackageTest;

TEST_F(PackageFileOps, ExtractReadsMembersInTheModeOfTheUnicodeFlag) {
  const ByteVector text{0xFF, 0xFE, 'h', 0, 'i', 0};
  ByteVector data = text;
  data.push_back(0xE4);  // "д" in windows-1251, the ANSI member
  data.push_back(0);     // the final byte
  const auto path = Write("p.dic", RawPackage(2, {{25, UnicodeKey(u"Info")}, {31, PackageKey(u"Info", false, AnsiCodePage())}}, data));

  app.State.gUnicode = true;
  EXPECT_EQ(app.ExtractFile(path, u"info"), u"hi");
  EXPECT_EQ(app.ExtractBytes(path, u"Info"), text);
  app.State.gUnicode = false;
  EXPECT_EQ(app.ExtractFile(path, u"Info"), u"д");
  EXPECT_EQ(app.ExtractFile(path, u"Missing"), u"");
  EXPECT_TRUE(app.ExtractBytes(Dir() / "absent.dic", u"Info").empty());

  const auto out = Dir() / "out.bin";
  WriteText("out.bin", "old content");
  EXPECT_EQ(app.ExtractFile(path, u"Missing", out), u"");
  EXPECT_EQ(std::filesystem::file_size(out), 0u);
  app.State.gUnicode = true;
  app.ExtractFile(path, u"Info", out);
  EXPECT_EQ(app.GetBinaryFile(out), text);
  EXPECT_EQ(app.GetHash(u"Info"), UnicodeKey(u"Info"));
}

TEST_F(PackageFileOps, FileBoundsComeFromAnOpenNumberedFile) {
  const auto path = Write("p.dic", RawPackage(1, {{13, UnicodeKey(u"Words")}}, ByteVector(9, 1)));
  app.State.gUnicode = true;
  ASSERT_TRUE(app.OpenByteFileRead(path));
  EXPECT_EQ(app.ByteFileN, 1);
  EXPECT_EQ(app.ByteFileLen, 22);
  std::int32_t s = -1, e = -1;
  app.GetFileBounds(app.ByteFileN, u"Words", s, e);
  EXPECT_EQ(s, 13);
  EXPECT_EQ(e, 21);
  app.GetFileBounds(app.ByteFileN, u"Other", s, e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 0);
  app.GetFileBounds(7, u"Words", s, e);  // no file under that number
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 0);
  EXPECT_FALSE(app.OpenByteFileRead(Dir() / "absent.dic"));
}

TEST_F(PackageFileOps, ByteFilesTakeTheLowestFreeNumberAndCloseTogether) {
  const auto path = Write("p.dic", ByteVector{1, 2});
  ASSERT_TRUE(app.OpenByteFileRead(path));
  ASSERT_TRUE(app.OpenByteFileRead(path));
  EXPECT_EQ(app.ByteFileN, 2);
  app.CloseByteFile();
  EXPECT_FALSE(app.OpenFiles().Reader(2).IsOpen());
  ASSERT_TRUE(app.OpenByteFileRead(path));
  EXPECT_EQ(app.ByteFileN, 1);
}

TEST_F(PackageFileOps, ByteTransWritesAndReadsUtf16AtCharacterOffsets) {
  const auto path = Dir() / "trans.bin";
  ASSERT_TRUE(app.OpenByteFileWrite(path));
  EXPECT_EQ(app.ByteFileLen, 0);
  EXPECT_TRUE(app.SetByteTrans(0, u"\uFEFFдом"));
  EXPECT_TRUE(app.SetByteTrans(4, u"!"));
  app.CloseByteFile();
  ASSERT_TRUE(app.OpenByteFileRead(path));
  EXPECT_EQ(app.ByteFileLen, 10);
  EXPECT_EQ(app.GetByteTrans(0, 5), u"\uFEFFдом!");  // the mark is text here, not dropped
  EXPECT_EQ(app.GetByteTrans(1, 2), u"до");
  EXPECT_EQ(app.GetByteTrans(4, 2), u"");            // past the end
  ASSERT_TRUE(app.OpenByteFileWrite(path));
  EXPECT_EQ(app.ByteFileLen, 10);                     // opened for writing without truncation
}

TEST(ByteConversions, FromByteAndToByteAreLittleEndian) {
  EXPECT_EQ(Appl::FromByte({0x78, 0x56, 0x34, 0x12}), 0x12345678);
  EXPECT_EQ(Appl::FromByte({0xFF, 0xFF, 0xFF, 0xFF, 9}), -1);
  EXPECT_EQ(Appl::FromByte({1, 2}), 0);
  EXPECT_EQ(Appl::ToByte(-2), (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Appl::FromByte(Appl::ToByte(123456789)), 123456789);
}

TEST_F(PackageFileOps, GetFilesListsMatchingFilesOnly) {
  WriteText("en-ru_full.dic", "x");
  WriteText("DE-RU_FULL.DIC", "x");
  WriteText("en-ru_common.dic", "x");
  std::filesystem::create_directory(Dir() / "sub_full.dic");
  auto found = app.GetFiles(Dir(), u"*_full.dic");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::filesystem::path>{Dir() / "DE-RU_FULL.DIC", Dir() / "en-ru_full.dic"}));
  EXPECT_TRUE(app.GetFiles(Dir()).empty());
  EXPECT_TRUE(app.GetFiles(Dir(), u"*.txt").empty());
  EXPECT_TRUE(app.GetFiles(Dir() / "absent", u"*").empty());
}

}  // namespace
}  // namespace parlavent
