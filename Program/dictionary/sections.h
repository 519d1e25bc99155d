#pragma once
// The six record sections of a package ("Words", "Transcript", "WordsHash", "WordsSort",
// "TransW1", "TransW2") as the searches read them in place, and the records the searches fill.
// Layouts: docs/package-format.md.
//
// Every offset a search reads comes from the package and may be wild; a SectionView refuses any
// read that does not lie wholly inside its own section, and a refused read makes the search give
// its empty answer.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

class PackageFile;
class PackageFiles;
class clsDic;

/// One word of a dictionary.
struct WordRec {
  std::int32_t ID = 0;      // 1 .. Words; 0 in an empty record
  std::u16string Text;
  double Key = 0;           // sort key of SortByKey
  std::int32_t Index = 0;   // Index of the dictionary it was read from
  std::u16string Extra;
  std::int32_t Dir = 0;     // side 1 or 2; 3 in search results: found on both sides
};

/// One translation link of "TransW1".
struct TransLink {
  std::int32_t WordID1 = 0;
  std::int32_t WordID2 = 0;
  std::int32_t Theme1 = 0;
  std::int32_t Theme2 = 0;
  std::int32_t Theme3 = 0;
  std::u16string Comment;
  // The record number in "TransW1", or the "TransW2" entry number plus kTransW2RecNo.
  std::int32_t RecNo = 0;
  std::uint8_t Rech = 0;
  std::uint8_t Rod = 0;
};

/// Links found through "TransW2" are numbered from here, so that they sort behind the others.
inline constexpr std::int32_t kTransW2RecNo = 1'000'000'000;

/// One subject area; ID 0 when the theme does not exist.
struct ThemeRec {
  std::int32_t ID = 0;
  std::u16string Name;
  std::u16string Short;
};

/// One translation of a looked-up word.
struct TransRec {
  WordRec Word;
  WordRec Trans;
  ThemeRec Theme1;
  ThemeRec Theme2;
  ThemeRec Theme3;
  std::u16string Comment;
  std::int32_t Index = 0;
  std::int32_t Rech = 0;
  std::int32_t Rod = 0;
};

/// Bounded little-endian reads inside [start, end) of a package; offsets are relative to start.
class SectionView {
 public:
  SectionView(const PackageFile& file, std::int64_t start, std::int64_t end);

  /// The part [from, to) of this section; an absent view when it does not lie inside.
  SectionView Part(std::int64_t from, std::int64_t to) const;
  bool Present() const { return end_ > start_; }
  std::int64_t Length() const { return Present() ? end_ - start_ : 0; }
  bool I32(std::int64_t offset, std::int32_t& out) const;
  bool U16(std::int64_t offset, std::uint16_t& out) const;
  bool U8(std::int64_t offset, std::uint8_t& out) const;
  bool F64(std::int64_t offset, double& out) const;
  /// [offset, offset + length) of the section; empty when it does not lie inside. A length of 0
  /// gives an empty span and true.
  bool Bytes(std::int64_t offset, std::int64_t length, std::span<const std::uint8_t>& out) const;

 private:
  bool Inside(std::int64_t offset, std::int64_t length) const;
  const PackageFile& file_;
  std::int64_t start_;
  std::int64_t end_;
};

/// Text bytes of a section: UTF-16LE in a Unicode package, else one ANSI character per byte.
std::u16string SectionText(bool unicode, std::span<const std::uint8_t> bytes);

/// Reads the bounds of the six sections of the package open under dic.FileN and the values
/// derived from them (Words, WordsHashUB, MinWordsHash, ..., MaxTW2). Each value is read from
/// inside its own section; a missing or damaged section leaves 0 (WordsHashUB, UBTW1 and UBTW2 -1).
void ReadSectionBounds(PackageFiles& files, clsDic& dic);

/// Whether magnitude is a key that a member or word name can have (docs/package-format.md, "Keys"):
/// a whole number from 852,516,352 to 5,147,483,647.
bool IsPackageKey(double magnitude);

/// Word id's text in a "Words" or "Transcript" section of a package of `words` words: [start, end)
/// of the section, and whether it is a side-2 word. False when the offset table puts it outside the
/// texts, before the table's end, or ends it before it begins: only a damaged package does.
bool TextSpan(const SectionView& texts, std::int64_t words, std::int64_t id, std::int64_t& start, std::int64_t& end,
              bool& side2);
/// Record n of "TransW1" (records with headers of `header` bytes): [start, end) of the section.
/// False when n is no record of the offset table, or the table puts the record before the table's
/// end, past the section or shorter than its header.
bool LinkSpan(const SectionView& w1, std::int64_t n, std::int64_t header, std::int64_t& start, std::int64_t& end);

/// What keeps the package open under dic.FileN (its sections' bounds read) from serving, found
/// without reading anything that grows with the package: its directory (it fits, every member starts
/// in front of the file's final byte, every record holds a name's key), its record of the file's
/// length, the sections the others need, and each section at its two ends. "" when it may serve;
/// whatever lies between the ends is checked by the searches that read it (clsDic::Damaged).
std::string OpeningProblem(const PackageFile& file, const clsDic& dic);
/// The whole check (dictool check): OpeningProblem, then every record of every section, in bounds
/// and in order. "" when the package is sound.
std::string PackageProblem(const PackageFile& file, const clsDic& dic);
/// OpeningProblem of the package open under dic.FileN finds nothing.
bool PackageWhole(PackageFiles& files, const clsDic& dic);
/// Every section of dic read from file holds whole records, each inside its section: "WordsSort"
/// names words 1 .. Words; "WordsHash" has whole 12-byte records; "Words" and "Transcript" have
/// Words + 1 offsets climbing to the section's end; "TransW1" has records of at least their header
/// behind its offset table; "TransW2" at most one entry per "TransW1" record, each naming one.
/// Missing sections are sound, but "Words" when there are words.
bool SectionsSound(const PackageFile& file, const clsDic& dic);

/// The value of key in section [Main] of an "Info" text as a Boolean, read as the loader reads it
/// (clsINI): false when it is missing or no Boolean.
bool InfoMainFlag(std::u16string_view info, std::u16string_view key);

/// Characters of dic's longest word text, or upTo when it has a text that long, read through the
/// open files only as far as upTo needs (clsDic::LongestText).
std::int64_t LongestText(PackageFiles& files, const clsDic& dic, std::int64_t upTo = INT64_MAX);

/// Opens one package as a dictionary outside the loader (tools, benchmarks, tests): its kind,
/// the "Info" flags the searches need (SupportRech, SupportDirection), its themes, Demo from the
/// file title, Index 1 and the section bounds. It stays open in files.OpenFiles(). nullptr when
/// the file cannot be opened.
std::shared_ptr<clsDic> OpenPackageDic(PackageFiles& files, const std::filesystem::path& path);

}  // namespace parlavent
