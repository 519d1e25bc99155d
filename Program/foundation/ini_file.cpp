// The INI text clsINI reads and writes:
//
//   [Main]                  a section header: the name is the text between "[" and the first "]";
//   Language=1              the rest of the line is ignored ("[ab]junk" opens "ab"); "[]" and a
//   AutoStart=True // note  header without "]" are ignored and keys stay in the section before.
//   // a comment            "//" starts a comment anywhere, also inside a value ("a=x//y" is x).
//   BareKey                 a key with an empty value; so is "BareKey=".
//    key = v                lines are trimmed of blanks; the name is all before the first "=",
//                           the value all after it, both untrimmed ("key ", " v").
//
// Keys before the first header are dropped. Inside a value the control characters 0x02, 0x01 and
// 0x03 stand for a line break, a list separator and a collection separator. A value
// "@File <path>" reads as the whole text of that file, "@Link <path>;<section>/<key>" as that key
// of another INI file.
#include "foundation/ini_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "foundation/api_files.h"
#include "foundation/api_strings.h"
#include "foundation/wildcard.h"
#include "platform/process.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kListSep = u'\x01';
constexpr char16_t kLineBreak = u'\x02';
constexpr char16_t kCollectionSep = u'\x03';
constexpr std::u16string_view kNoName(u"\0", 1);
// "@Link" files may point at each other; past this depth a link is left unresolved.
constexpr int kMaxLinkDepth = 8;

std::u16string ReplaceChar(std::u16string_view text, char16_t from, char16_t to) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c == from) c = to;
  }
  return out;
}

bool IsFileValue(const IniValue& v) { return v.IsText() && Like(v.ToText(), u"@File *"); }
bool IsLinkValue(const IniValue& v) { return v.IsText() && Like(v.ToText(), u"@Link *"); }

// The stored form of a value: lists joined by 0x01, collections by 0x03, text with 0x02 for CR.
std::u16string Encode(const IniValue& value) {
  if (value.IsList()) return JoinText(value.Items(), std::u16string(1, kListSep));
  if (value.IsCollection()) {
    std::u16string joined;
    for (const auto& item : value.Items()) joined += item + kCollectionSep;
    return API::TrimString(joined, std::u16string(1, kCollectionSep));
  }
  return ReplaceChar(value.ToText(), kCr, kLineBreak);
}

IniValue Decode(const std::u16string& stored) {
  if (stored.find(kListSep) != std::u16string::npos) {
    return IniValue::List(SplitText(stored, std::u16string(1, kListSep)));
  }
  if (stored.find(kCollectionSep) != std::u16string::npos) {
    return IniValue::Collection(SplitText(stored, std::u16string(1, kCollectionSep)));
  }
  return IniValue(ReplaceChar(stored, kLineBreak, kCr));
}

// Trimmed of blanks, cut before a "//" comment; "" for an empty or comment line.
std::u16string_view ContentOfLine(std::u16string_view line) {
  std::u16string_view trimmed = TrimView(line);
  const std::size_t comment = trimmed.find(u"//");
  if (comment != std::u16string_view::npos) trimmed = trimmed.substr(0, comment);
  return trimmed;
}

// A key as its line holds it: a bare name for an empty value.
std::u16string KeyLine(std::u16string_view name, std::u16string_view value) {
  std::u16string line(name);
  if (value.empty()) return line;
  line += u'=';
  for (const char16_t c : value) line += c == kCr ? kLineBreak : c;
  return line;
}

// Decimal text as the runtime reads it: blanks, sign, digits, an optional fraction and exponent;
// or "&H" hex / "&O" octal of up to 32 bits. The fraction follows "." (the program's own files
// write it) or the user's decimal separator ("8,25" where that is ",").
bool ParseNumber(std::u16string_view text, double& out) {
  const std::u16string t = Trim(text);
  if (t.size() > 2 && t[0] == u'&' && (t[1] == u'H' || t[1] == u'h' || t[1] == u'O' || t[1] == u'o')) {
    const int base = (t[1] == u'H' || t[1] == u'h') ? 16 : 8;
    std::uint64_t value = 0;
    for (std::size_t i = 2; i < t.size(); ++i) {
      const char16_t c = LowerChar(t[i]);
      const int digit = IsDigit(c) ? c - u'0' : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : 99;
      if (digit >= base) return false;
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
      if (value > 0xFFFFFFFFull) return false;
    }
    out = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    return true;
  }
  std::string ascii;
  std::size_t i = 0;
  const auto take = [&](auto accept) {
    std::size_t n = 0;
    while (i < t.size() && accept(t[i])) {
      ascii.push_back(static_cast<char>(t[i++]));
      ++n;
    }
    return n;
  };
  const auto sign = [](char16_t c) { return c == u'+' || c == u'-'; };
  if (i < t.size() && sign(t[i])) ascii.push_back(static_cast<char>(t[i++]));
  std::size_t digits = take(IsDigit);
  const std::u16string separator = Process().DecimalSeparator();
  const std::u16string_view rest = std::u16string_view(t).substr(i);
  const std::size_t point = !rest.empty() && rest[0] == u'.'                          ? 1
                            : !separator.empty() && rest.substr(0, separator.size()) == separator ? separator.size()
                                                                                                 : 0;
  if (point > 0) {
    ascii.push_back('.');
    i += point;
    digits += take(IsDigit);
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < t.size() && sign(t[i])) ascii.push_back(static_cast<char>(t[i++]));
    if (take(IsDigit) == 0) return false;
  }
  if (i != t.size()) return false;
  out = std::strtod(ascii.c_str(), nullptr);
  return std::isfinite(out);
}

// Shortest decimal text with up to 15 significant digits, as the runtime prints a Double.
std::u16string DoubleText(double value) {
  for (int precision = 1; precision <= 15; ++precision) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (precision == 15 || std::strtod(buffer, nullptr) == value) return FromUtf8(buffer);
  }
  return {};
}

}  // namespace

// ---- IniValue ----------------------------------------------------------------------------------

IniValue IniValue::List(std::vector<std::u16string> items) {
  IniValue v;
  v.kind_ = Kind::List;
  v.items_ = std::move(items);
  return v;
}

IniValue IniValue::Collection(std::vector<std::u16string> items) {
  IniValue v;
  v.kind_ = Kind::Collection;
  v.items_ = std::move(items);
  return v;
}

std::u16string IniValue::ToText() const {
  switch (kind_) {
    case Kind::Text: return text_;
    case Kind::Integer: return NumberText(integer_);
    case Kind::Number: return DoubleText(number_);
    case Kind::Boolean: return integer_ ? u"True" : u"False";
    default: return {};
  }
}

bool IniValue::ToDouble(double& out) const {
  switch (kind_) {
    case Kind::Empty: out = 0; return true;
    case Kind::Text: return ParseNumber(text_, out);
    case Kind::Integer: out = static_cast<double>(integer_); return true;
    case Kind::Number: out = number_; return true;
    case Kind::Boolean: out = integer_ ? -1 : 0; return true;
    default: return false;
  }
}

bool IniValue::ToBool(bool& out) const {
  if (kind_ == Kind::Boolean) {
    out = integer_ != 0;
    return true;
  }
  if (kind_ == Kind::Text) {
    const std::u16string t = Trim(text_);
    if (EqualsNoCase(t, u"True") || EqualsNoCase(t, u"False")) {
      out = EqualsNoCase(t, u"True");
      return true;
    }
  }
  double number = 0;
  if (!ToDouble(number)) return false;
  out = number != 0;
  return true;
}

bool IniValue::ToLong(std::int32_t& out) const {
  if (kind_ == Kind::Integer) {
    if (integer_ < INT32_MIN || integer_ > INT32_MAX) return false;
    out = static_cast<std::int32_t>(integer_);
    return true;
  }
  double number = 0;
  if (!ToDouble(number) || !std::isfinite(number)) return false;
  const double rounded = std::nearbyint(number);  // the default rounding mode: half to even
  if (rounded < INT32_MIN || rounded > INT32_MAX) return false;
  out = static_cast<std::int32_t>(rounded);
  return true;
}

bool operator==(const IniValue& a, const IniValue& b) {
  return a.kind_ == b.kind_ && a.text_ == b.text_ && a.integer_ == b.integer_ && a.number_ == b.number_ &&
         a.items_ == b.items_;
}

// ---- clsINI: files -----------------------------------------------------------------------------

void clsINI::FileName(std::u16string_view path) { Open(path, true); }

void clsINI::OpenForReading(std::u16string_view path) { Open(path, false); }

void clsINI::Open(std::u16string_view path, bool createMissing) {
  fileName_ = path;
  SetSettingText({});
  PrepareFile(createMissing);
  ReadFile();
  if (UseCash) {
    std::u16string cashText;
    GetSettingText(&cashText);
    API::SaveTextFile(GetCachePath(), cashText);
  }
}

void clsINI::PrepareFile(bool createMissing) {
  IsCashed = false;
  if (API::FileExists(fileName_)) {
    if (UseCash) {
      std::error_code ignored;
      std::filesystem::copy_file(API::ToFsPath(fileName_), API::ToFsPath(GetCachePath()),
                                 std::filesystem::copy_options::overwrite_existing, ignored);
    }
    return;
  }
  if (UseCash) {
    const std::u16string cache = GetCachePath();
    if (API::FileExists(cache)) {
      fileName_ = cache;
      IsCashed = true;
    }
    return;
  }
  if (!createMissing) return;
  const std::u16string folder = API::GetParentFolder(fileName_);
  if (!folder.empty() && !API::FolderExists(folder)) {
    std::error_code ignored;
    std::filesystem::create_directory(API::ToFsPath(folder), ignored);
  }
  API::ReplaceFileContents(fileName_, {});
  if (!API::FileExists(fileName_)) fileName_.clear();
}

std::u16string clsINI::GetCachePath() const {
  return API::JoinPath(CashDir(), u"~IniCash" + API::XorHashHex(fileName_, 10) + u".tmp");
}

void clsINI::ReadFile() {
  if (fileName_.empty()) return;
  // A line ends at CR or CR LF; a lone LF stays inside its line.
  API::UserText read;
  bool unread = false;
  if (Unicode) {
    read.text = API::ReadUnicodeFile(fileName_);
    read.form = API::TextForm::Utf16Le;
    read.marked = true;
  } else {
    // As the program writes it (ANSI, or UTF-16LE behind its mark), or as an editor saved it.
    std::string bytes;
    unread = !API::ReadFileBytes(fileName_, bytes) && API::FileExists(fileName_);
    read = API::ReadUserText(bytes);
  }
  SetSettingText(read.text);
  read.text.clear();
  sourceForm_ = read;
  sourceFile_ = fileName_;
  unread_ = unread;
  if (!sections_.empty()) section_ = sections_.front().Name;
}

bool clsINI::UpdateFile(std::u16string* errdesc) {
  if (fileName_.empty()) {
    if (errdesc) *errdesc = u"Не указано имя файла!";
    return false;
  }
  if (UseCash) {
    std::u16string cashText;
    GetSettingText(&cashText);
    API::SaveTextFile(GetCachePath(), cashText, 0, true);
  }
  // A save that changes nothing leaves the file alone: a large file costs no write.
  if (!sourceFile_.empty() && fileName_ == sourceFile_ && changes_ == savedChanges_ && API::FileExists(fileName_)) {
    return true;
  }
  // A file that is there but could not be read (another program holds it unshared) is whole but
  // unknown: no copy of it can be kept, and this session's few keys do not replace it.
  if (unread_ && fileName_ == sourceFile_) {
    if (errdesc) *errdesc = API::GetFileName(fileName_) + u" could not be read";
    return false;
  }
  const std::u16string text = LayoutText();
  std::u16string fileText;
  fileText.reserve(text.size() + text.size() / 16);
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find(kCr, pos);
    if (end == std::u16string::npos) end = text.size();
    fileText.append(text, pos, end - pos);
    if (end < text.size()) fileText += u"\r\n";
    pos = end + 1;
  }
  const std::string bytes = API::TextFileBytes(fileText);
  std::u16string error;
  // A file an editor saved in an encoding guessed on reading is kept as it was before it is
  // written in another one.
  if (fileName_ == sourceFile_ && !sourceForm_.marked && sourceForm_.form != API::TextForm::Ansi) {
    std::string old;
    if (API::ReadFileBytes(fileName_, old) && !API::MayReplaceUserFile(fileName_, old, sourceForm_, true, bytes)) {
      if (errdesc) *errdesc = u"No copy of " + API::GetFileName(fileName_) + u" could be kept";
      return false;
    }
  }
  // Written beside the file and renamed over it, so that a failure leaves the old file whole.
  if (!API::ReplaceFileContents(fileName_, bytes, &error)) {
    if (errdesc) *errdesc = error;
    return false;
  }
  // The next save starts again from source_ and every change since; until one more comes the
  // file holds them all.
  sourceFile_ = fileName_;
  const bool utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  sourceForm_ = {{}, utf16 ? API::TextForm::Utf16Le : API::TextForm::Ansi, utf16};
  savedChanges_ = changes_;
  return true;
}

// source_ with the changes made since it was read: changed key lines rewritten in place, removed
// keys and sections left out, new keys after the last key of their section, new sections at the
// end after an empty line. Every other line, blank lines and comments included, stays as it was.
std::u16string clsINI::LayoutText() const {
  struct Edit {
    std::size_t begin, end;
    std::u16string text;
  };
  std::vector<Edit> edits;
  std::u16string appended;
  for (const auto& section : sections_) {
    if (section.begin == kNoLine) {
      // A new section stands apart from the text before it, as the program's own files do.
      if (!source_.empty() || !appended.empty()) appended += kCr;
      appended += u"[" + section.Name + u"]" + kCr;
      for (const auto& key : section.Values) appended += KeyLine(key.Name, key.Value) + kCr;
      continue;
    }
    std::u16string added;
    for (const auto& key : section.Values) {
      if (key.begin == kNoLine) {
        added += KeyLine(key.Name, key.Value) + kCr;
      } else if (key.changed) {
        edits.push_back({key.begin, key.end, KeyLine(key.Name, key.Value)});
      }
    }
    if (!added.empty()) edits.push_back({section.insertAt, section.insertAt, std::move(added)});
  }
  for (const Cut& cut : cuts_) edits.push_back({cut.begin, cut.end, {}});
  if (!appended.empty()) edits.push_back({source_.size(), source_.size(), appended});
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });

  std::u16string text;
  text.reserve(source_.size() + appended.size());
  std::size_t pos = 0;
  for (const Edit& edit : edits) {
    if (edit.begin < pos) continue;  // inside a stretch already left out
    text.append(source_, pos, edit.begin - pos);
    text += edit.text;
    pos = edit.end;
  }
  text.append(source_, std::min(pos, source_.size()));
  return text;
}

void clsINI::CashDir(std::u16string_view folder) {
  if (folder.empty()) return;
  cashDir_ = API::CreateFolderPath(folder) ? std::u16string(folder) : std::u16string();
}

std::u16string clsINI::CashDir() const { return cashDir_.empty() ? API::GetTempFolder() : cashDir_; }

std::u16string clsINI::AppIniName() { return System().ExeName() + u".ini"; }

void clsINI::OpenApplIni() { FileName(API::JoinPath(System().ProgramFolder(), AppIniName())); }

void clsINI::LoadAppSetting() {
  const std::u16string user = API::JoinPath(API::GetAppDataFolder(), AppIniName());
  const std::u16string program = API::JoinPath(System().ProgramFolder(), AppIniName());
  FileName(!API::FileExists(user) && API::FileExists(program) ? program : user);
}

bool clsINI::SaveAppSetting() {
  fileName_ = API::JoinPath(API::GetAppDataFolder(), AppIniName());
  PrepareFile();
  return UpdateFile();
}

// ---- clsINI: text ------------------------------------------------------------------------------

void clsINI::SetSettingText(std::u16string_view text) {
  sections_.clear();
  cuts_.clear();
  changes_ = savedChanges_ = 0;
  sourceFile_.clear();
  sourceForm_ = {};
  unread_ = false;
  source_ = ReplaceAll(text, u"\r\n", u"\r");
  // Every line ends, the last one too, so that what a save adds after it starts a line of its own.
  if (!source_.empty() && source_.back() != kCr) source_ += kCr;
  const std::u16string_view all(source_);
  SectionRecord* open = nullptr;
  for (std::size_t pos = 0; pos < all.size();) {
    std::size_t end = all.find(kCr, pos);
    if (end == std::u16string_view::npos) end = all.size();
    const std::size_t next = end < all.size() ? end + 1 : end;
    const std::u16string_view content = ContentOfLine(all.substr(pos, end - pos));
    if (content.empty()) {
      pos = next;
      continue;
    }
    if (content[0] == u'[') {
      const std::size_t close = content.find(u']');
      if (close != std::u16string_view::npos && close >= 2) {
        if (open) open->end = pos;
        sections_.push_back({std::u16string(content.substr(1, close - 1)), {}, pos, all.size(), next});
        open = &sections_.back();
      }
      pos = next;
      continue;
    }
    if (open) {
      const std::size_t eq = content.find(u'=');
      ValueRecord record;
      record.Name = std::u16string(content.substr(0, eq));
      if (eq != std::u16string_view::npos) record.Value = ReplaceChar(content.substr(eq + 1), kLineBreak, kCr);
      record.begin = pos;
      record.end = end;
      open->Values.push_back(std::move(record));
      open->insertAt = next;
    }
    pos = next;
  }
}

std::u16string clsINI::GetSettingText(std::u16string* CashText) {
  std::u16string text, cache;
  for (const auto& section : sections_) {
    text += u"\r[" + section.Name + u"]\r";
    if (UseCash) cache += u"\r\n[" + section.Name + u"]\r\n";
    for (const auto& key : section.Values) {
      const std::u16string value = ReplaceChar(key.Value, kCr, kLineBreak);
      text += value.empty() ? key.Name + kCr : key.Name + u"=" + value + kCr;
      if (UseCash) cache += CacheLine(key) + u"\r\n";
    }
  }
  if (CashText && UseCash) *CashText = cache;
  return text;
}

// A key line of the cache copy: "@File" values point at a copy of their file in the cache folder,
// "@Link" values hold what they resolve to, so that the copy stands alone.
std::u16string clsINI::CacheLine(const ValueRecord& key) {
  const IniValue stored(key.Value);
  std::u16string value = ReplaceChar(key.Value, kCr, kLineBreak);
  if (IsFileValue(stored)) {
    const std::u16string copy =
        API::JoinPath(CashDir(), u"~IniCashFile" + API::XorHashHex(key.Value, 10) + u".tmp");
    API::SaveTextFile(copy, API::ReadTextFile(ExtFilePath(key.Value)), 0, true);
    value = u"@File " + copy;
  } else if (IsLinkValue(stored)) {
    value = Encode(ResolveLink(stored));
  }
  return value.empty() ? key.Name : key.Name + u"=" + value;
}

// ---- clsINI: values ----------------------------------------------------------------------------

const std::u16string& clsINI::Section() {
  if (section_.empty()) section_ = u"Main";
  return section_;
}

IniValue clsINI::Value(std::u16string_view key) {
  const std::u16string current = Section();
  IniValue result = default_;
  bool found = false;
  for (const auto& section : sections_) {
    if (!EqualsNoCase(section.Name, current)) continue;
    for (const auto& record : section.Values) {
      if (EqualsNoCase(record.Name, key)) {
        result = Decode(record.Value);
        found = true;
        break;
      }
    }
    if (found) break;
  }
  result = ResolveLink(result);
  if (IsFileValue(result)) result = IniValue(API::ReadTextFile(ExtFilePath(result.ToText())));
  return result;
}

// "@Link <file>;<section>/<key>": that key of the other file when the file and the section exist;
// otherwise the value unchanged.
IniValue clsINI::ResolveLink(const IniValue& value) const {
  if (!IsLinkValue(value) || linkDepth_ >= kMaxLinkDepth) return value;
  const std::u16string text = value.ToText();
  const std::size_t semicolon = text.find(u';');
  if (semicolon == std::u16string::npos) return value;
  const std::u16string path = Trim(std::u16string_view(text).substr(0, semicolon).substr(6));
  const std::u16string right = text.substr(semicolon + 1);
  const std::size_t slash = right.find(u'/');
  if (slash == std::u16string::npos || !API::FileExists(path)) return value;
  const std::u16string section = right.substr(0, slash);
  clsINI other;
  other.linkDepth_ = linkDepth_ + 1;
  other.FileName(path);
  if (!other.SectionExists(section)) return value;
  return other.GetValue(right.substr(slash + 1), section);
}

void clsINI::Value(std::u16string_view key, const IniValue& value) {
  const std::u16string stored = Encode(value);
  SectionRecord& section = SectionOrAdd(Section());
  bool set = false;
  for (auto& record : section.Values) {
    if (EqualsNoCase(record.Name, key)) {
      if (record.Value != stored) {
        record.Value = stored;
        record.changed = true;
        ++changes_;
      }
      set = true;
      break;
    }
  }
  if (!set) {
    section.Values.push_back({std::u16string(key), stored});
    ++changes_;
  }
  if (AutoUpdateFile) UpdateFile();
}

IniValue clsINI::GetValue(std::u16string_view key, std::u16string_view section, const IniValue& defaultValue) {
  if (!section.empty()) Section(section);
  default_ = defaultValue;
  IniValue result = Value(key);
  default_ = IniValue();
  return result;
}

void clsINI::SetValue(std::u16string_view key, std::u16string_view section, const IniValue& value) {
  if (!section.empty()) Section(section);
  Value(key, value);
}

// ---- clsINI: sections and keys -----------------------------------------------------------------

const clsINI::SectionRecord* clsINI::FindSection(std::u16string_view name) const {
  for (const auto& section : sections_) {
    if (EqualsNoCase(section.Name, name)) return &section;
  }
  return nullptr;
}

clsINI::SectionRecord* clsINI::FindSection(std::u16string_view name) {
  return const_cast<SectionRecord*>(static_cast<const clsINI*>(this)->FindSection(name));
}

clsINI::SectionRecord& clsINI::SectionOrAdd(std::u16string_view name) {
  if (SectionRecord* found = FindSection(name)) return *found;
  AddSection(name);
  return sections_.back();
}

bool clsINI::SectionExists(std::u16string_view section) const { return FindSection(section) != nullptr; }

bool clsINI::AddSection(std::u16string_view section) {
  if (SectionExists(section)) return false;
  sections_.push_back({std::u16string(section), {}});
  ++changes_;
  return true;
}

bool clsINI::RemoveSection(std::u16string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (EqualsNoCase(it->Name, section)) {
      if (it->begin != kNoLine) cuts_.push_back({it->begin, it->end});
      sections_.erase(it);
      ++changes_;
      return true;
    }
  }
  return false;
}

std::u16string clsINI::SectionName(long index) const {
  if (index < 1 || index > SectionsCount()) return std::u16string(kNoName);
  return sections_[static_cast<std::size_t>(index - 1)].Name;
}

std::vector<std::u16string> clsINI::GetSections() const {
  std::vector<std::u16string> names(1);
  for (const auto& section : sections_) names.push_back(section.Name);
  return names;
}

bool clsINI::ValueExists(std::u16string_view section, std::u16string_view key) const {
  const SectionRecord* found = FindSection(section);
  if (!found) return false;
  for (const auto& record : found->Values) {
    if (EqualsNoCase(record.Name, key)) return true;
  }
  return false;
}

long clsINI::ValuesCount(std::u16string_view section) const {
  const SectionRecord* found = FindSection(section);
  return found ? static_cast<long>(found->Values.size()) : -1;
}

std::u16string clsINI::ValueName(std::u16string_view section, long index) const {
  const SectionRecord* found = FindSection(section);
  if (!found || index < 1 || index > static_cast<long>(found->Values.size())) return std::u16string(kNoName);
  return found->Values[static_cast<std::size_t>(index - 1)].Name;
}

bool clsINI::AddValue(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  if (ValueExists(section, key)) return false;
  SectionOrAdd(section).Values.push_back({std::u16string(key), std::u16string(value)});
  ++changes_;
  return true;
}

bool clsINI::RemoveValue(std::u16string_view section, std::u16string_view key) {
  SectionRecord* found = FindSection(section);
  if (!found) return false;
  for (auto it = found->Values.begin(); it != found->Values.end(); ++it) {
    if (EqualsNoCase(it->Name, key)) {
      // The line goes with its line end.
      if (it->begin != kNoLine) cuts_.push_back({it->begin, it->end + 1});
      found->Values.erase(it);
      ++changes_;
      return true;
    }
  }
  return false;
}

std::u16string clsINI::GetSection(std::u16string_view section) {
  std::u16string text;
  for (const auto& record : SectionOrAdd(section).Values) {
    if (!record.Name.empty()) text += record.Name + u"=" + record.Value + kCr;
  }
  return text;
}

std::u16string clsINI::GetSectionText(std::u16string_view section) const {
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
    if (!EqualsNoCase(it->Name, section)) continue;
    // Taken from the text as read, so that no section of a large file holds a copy of its lines.
    std::u16string text;
    if (it->begin == kNoLine) return text;
    const std::u16string_view all(source_);
    std::size_t pos = all.find(kCr, it->begin);
    pos = pos == std::u16string_view::npos ? all.size() : pos + 1;
    while (pos < it->end) {
      std::size_t end = all.find(kCr, pos);
      if (end == std::u16string_view::npos || end > it->end) end = it->end;
      const std::u16string_view content = ContentOfLine(all.substr(pos, end - pos));
      // Headers that open no section ("[]") are no body lines either.
      if (!content.empty() && content[0] != u'[') {
        if (!text.empty()) text += kCr;
        text += content;
      }
      pos = end + 1;
    }
    return text;
  }
  return {};
}

std::vector<std::u16string> clsINI::GetSectionValues(std::u16string_view section) {
  Section(section);
  std::vector<std::u16string> lines;
  for (const auto& record : SectionOrAdd(section).Values) {
    if (!record.Name.empty()) lines.push_back(record.Name + u"=" + record.Value);
  }
  return lines;
}

std::vector<std::u16string> clsINI::GetSectionValuesNames(std::u16string_view section) {
  Section(section);
  std::vector<std::u16string> names;
  for (const auto& record : SectionOrAdd(section).Values) {
    if (!record.Name.empty()) names.push_back(record.Name);
  }
  return names;
}

// ---- clsINI: paths -----------------------------------------------------------------------------

std::u16string clsINI::GetValueFromParameter(std::u16string_view ParameterString) {
  const std::size_t eq = ParameterString.find(u'=');
  if (eq == std::u16string_view::npos || eq == 0) return {};
  return std::u16string(ParameterString.substr(eq + 1));
}

std::u16string clsINI::ExtFilePath(std::u16string_view value) const {
  const std::u16string path = value.size() > 6 ? Trim(value.substr(6)) : std::u16string();
  if (IsPathExists(path)) return path;
  return API::JoinPath(API::GetParentFolder(fileName_), path);
}

bool clsINI::IsPathExists(std::u16string_view path) { return API::IsPathExists(path); }

std::u16string clsINI::GetFilePath(std::u16string_view path) { return API::GetParentFolder(path); }

}  // namespace parlavent
