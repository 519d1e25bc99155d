#pragma once
// clsINI: one INI text held in memory as an ordered list of sections, each an ordered list of
// keys, read from and written back to a file. Section and key names match case-blind; duplicate
// sections and keys are kept in order (the first key found wins on reading). Values may hold line
// breaks, lists and collections, and may point into another file ("@File") or into a key of
// another INI file ("@Link"). The syntax it accepts is described in ini_file.cpp.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/api_files.h"

namespace parlavent {

/// A value read from or written to an INI object: text, a list of strings, a collection of
/// strings, or (as a caller's default) a number or a Boolean; Empty when nothing was given.
class IniValue {
 public:
  enum class Kind { Empty, Text, Integer, Number, Boolean, List, Collection };

  IniValue() = default;
  IniValue(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
  IniValue(const std::u16string& text) : kind_(Kind::Text), text_(text) {}
  IniValue(const char16_t* text) : kind_(Kind::Text), text_(text) {}
  IniValue(int value) : kind_(Kind::Integer), integer_(value) {}
  IniValue(long value) : kind_(Kind::Integer), integer_(value) {}
  IniValue(long long value) : kind_(Kind::Integer), integer_(value) {}
  IniValue(double value) : kind_(Kind::Number), number_(value) {}
  IniValue(bool value) : kind_(Kind::Boolean), integer_(value ? 1 : 0) {}
  static IniValue List(std::vector<std::u16string> items);
  static IniValue Collection(std::vector<std::u16string> items);

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }
  bool IsText() const { return kind_ == Kind::Text; }
  bool IsList() const { return kind_ == Kind::List; }
  bool IsCollection() const { return kind_ == Kind::Collection; }

  /// The elements of a list or collection (empty for other kinds).
  const std::vector<std::u16string>& Items() const { return items_; }

  /// The text form, as the runtime converts a value to String: numbers in decimal, Booleans as
  /// "True"/"False", Empty as ""; a list or collection has none and gives "".
  std::u16string ToText() const;
  /// Conversions as the runtime makes them on assignment ("True"/"False", decimal text with "." or
  /// the user's decimal separator, &H hex text, whole numbers rounded half to even); false when
  /// the value cannot be converted.
  bool ToBool(bool& out) const;
  bool ToLong(std::int32_t& out) const;
  bool ToDouble(double& out) const;

  friend bool operator==(const IniValue& a, const IniValue& b);

 private:
  Kind kind_ = Kind::Empty;
  std::u16string text_;
  std::int64_t integer_ = 0;
  double number_ = 0;
  std::vector<std::u16string> items_;
};

class clsINI {
 public:
  clsINI() = default;

  // ---- Public fields ----
  bool UseCash = false;        // keep a cache copy of the file and fall back to it
  bool IsCashed = false;       // the file was missing and the cache copy was opened instead
  bool Unicode = false;        // read the file as UTF-16LE instead of the ANSI code page
  bool AutoUpdateFile = false; // write the file after every Value assignment

  /// Clears the sections, prepares the file (creating it empty when missing, or falling back to
  /// the cache copy), reads and parses it.
  void FileName(std::u16string_view path);
  /// The file in use: the cache copy's name when IsCashed; "" when the file could not be created.
  const std::u16string& FileName() const { return fileName_; }
  /// As FileName (set), for a file the program only reads: a missing file is not created and
  /// reads as an empty INI.
  void OpenForReading(std::u16string_view path);

  /// The current section, used by Value. Reading an empty name makes it "Main".
  void Section(std::u16string_view name) { section_ = name; }
  const std::u16string& Section();

  /// The cache folder: a non-empty folder is kept when it exists or can be made, else cleared.
  void CashDir(std::u16string_view folder);
  /// The cache folder, or the temporary folder when none is set.
  std::u16string CashDir() const;

  /// The decoded value of key in the current section; the held default when it is missing.
  IniValue Value(std::u16string_view key);
  /// Encodes and stores the value in the current section (appending key or section as needed).
  void Value(std::u16string_view key, const IniValue& value);

  /// Value of key; a non-empty section becomes (and stays) the current one.
  IniValue GetValue(std::u16string_view key, std::u16string_view section = {}, const IniValue& defaultValue = {});
  void SetValue(std::u16string_view key, std::u16string_view section, const IniValue& value);

  /// Writes the text to the file (replacing it whole) in the layout of the text it was read from:
  /// its lines, blank lines and comments stay, a changed key's line is rewritten in its place, a new
  /// key follows the last key of its section and a new section goes at the end (after an empty
  /// line when text comes before it). When nothing
  /// changed since the file was read, it is not written at all. errdesc receives the reason of a
  /// failure and is left alone on success.
  bool UpdateFile(std::u16string* errdesc = nullptr);

  /// Replaces every section by the parse of text; its layout is the one UpdateFile keeps.
  void SetSettingText(std::u16string_view text);
  /// The serialised text in the canonical layout (an empty line before each section, lines ended
  /// by CR); with UseCash, CashText receives the cache copy's text.
  std::u16string GetSettingText(std::u16string* CashText = nullptr);

  bool SectionExists(std::u16string_view section) const;
  /// False when a section of that name exists; else appends an empty one.
  bool AddSection(std::u16string_view section);
  /// Removes the first section of that name.
  bool RemoveSection(std::u16string_view section);
  long SectionsCount() const { return static_cast<long>(sections_.size()); }
  /// Name of the section at a 1-based index; one NUL character outside 1..SectionsCount.
  std::u16string SectionName(long index) const;
  /// Every section name, after an empty element 0.
  std::vector<std::u16string> GetSections() const;

  /// The key is in the first section of that name.
  bool ValueExists(std::u16string_view section, std::u16string_view key) const;
  /// Keys of the first section of that name; -1 without one.
  long ValuesCount(std::u16string_view section) const;
  /// Key name at a 1-based index of the first section of that name; one NUL character when absent.
  std::u16string ValueName(std::u16string_view section, long index) const;
  /// Adds the section when missing and the key, stored unchanged, when the section lacks it.
  bool AddValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  /// Removes the first key of that name from the first section of that name.
  bool RemoveValue(std::u16string_view section, std::u16string_view key);

  /// The section's named keys as "name=value" lines each ended by CR (a missing section is added).
  std::u16string GetSection(std::u16string_view section);
  /// The body lines as the parser saw them (the last section of that name's).
  std::u16string GetSectionText(std::u16string_view section) const;
  /// Makes section current; its named keys as "name=value" (a missing section is added).
  std::vector<std::u16string> GetSectionValues(std::u16string_view section);
  /// As GetSectionValues, the names only.
  std::vector<std::u16string> GetSectionValuesNames(std::u16string_view section);

  /// The text after the first "=" when that is not the first character; else "".
  static std::u16string GetValueFromParameter(std::u16string_view ParameterString);
  /// The file an "@File " or "@Link " value names; a name that does not exist is taken relative to
  /// the folder of this INI file.
  std::u16string ExtFilePath(std::u16string_view value) const;
  static bool IsPathExists(std::u16string_view path);
  static std::u16string GetFilePath(std::u16string_view path);

  /// Opens the program folder's "<program>.ini".
  void OpenApplIni();
  /// Opens the per-user "<program>.ini", or the program folder's when only that one exists.
  void LoadAppSetting();
  /// Writes the text to the per-user "<program>.ini".
  bool SaveAppSetting();

 private:
  static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
  // Where a record stands in source_: its line without the line end, [begin, end).
  struct ValueRecord {
    std::u16string Name;
    std::u16string Value;
    std::size_t begin = kNoLine;  // kNoLine: added since the text was read
    std::size_t end = kNoLine;
    bool changed = false;         // its line is written anew
  };
  struct SectionRecord {
    std::u16string Name;
    std::vector<ValueRecord> Values;
    std::size_t begin = kNoLine;  // the header line; kNoLine: added since the text was read
    std::size_t end = kNoLine;    // where the next header line (or the text) begins
    std::size_t insertAt = kNoLine;  // just after the line end of its last key (or of its header)
  };
  // A stretch of source_ that the next write leaves out.
  struct Cut {
    std::size_t begin;
    std::size_t end;
  };

  void Open(std::u16string_view path, bool createMissing);
  void PrepareFile(bool createMissing = true);
  std::u16string GetCachePath() const;
  void ReadFile();
  const SectionRecord* FindSection(std::u16string_view name) const;
  SectionRecord* FindSection(std::u16string_view name);
  SectionRecord& SectionOrAdd(std::u16string_view name);
  std::u16string LayoutText() const;
  IniValue ResolveLink(const IniValue& value) const;
  std::u16string CacheLine(const ValueRecord& key);
  static std::u16string AppIniName();

  std::u16string fileName_;
  std::vector<SectionRecord> sections_;
  std::u16string source_;      // the text last read or set, lines ended by CR
  std::u16string sourceFile_;  // the file source_ was read from; "" when it came from SetSettingText
  API::UserText sourceForm_;   // the encoding it was read in (no text)
  bool unread_ = false;        // sourceFile_ is there but could not be read: it is not replaced
  std::vector<Cut> cuts_;      // removed keys and sections of source_
  // Changes since source_ was read, and how many of them the file holds: a save that would write
  // what the file holds already is left out.
  std::uint64_t changes_ = 0;
  std::uint64_t savedChanges_ = 0;
  std::u16string section_;
  IniValue default_;
  std::u16string cashDir_;
  int linkDepth_ = 0;  // how many "@Link" files deep this object was opened
};

}  // namespace parlavent
