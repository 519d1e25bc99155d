#include "app/statistics.h"

#include <algorithm>
#include <unordered_set>

#include "app/application.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int32_t kMaxCount = 0x7FFFFFFF;

// The longest word kept: no dictionary entry comes near it, while a line of binary damage
// usually runs far beyond it.
constexpr std::size_t kMaxWordLength = 256;

bool BadUnit(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE || c == 0xFEFF;
}

// No look-up counts a word with a control character, a byte-order mark, a non-character or half a
// surrogate pair in it, nor one of that length; a file line with one is damage.
bool SoundWord(std::u16string_view w) {
  if (w.empty() || w.size() > kMaxWordLength) return false;
  for (std::size_t i = 0; i < w.size(); ++i) {
    const char16_t c = w[i];
    if (BadUnit(c)) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= w.size() || w[i + 1] < 0xDC00 || w[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

std::int32_t CountOf(std::u16string_view field) {
  const std::int64_t n = LeadingNumber(field);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 1, kMaxCount));
}

std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes += "\xFF\xFE";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// Walks the lines of a text (ended by LF or CR LF) that hold more than spaces, each without its CR.
class NonBlankLines {
 public:
  explicit NonBlankLines(std::u16string_view text) : text_(text) {
    if (!text_.empty() && text_.front() == 0xFEFF) text_.remove_prefix(1);
  }
  /// The next such line; false at the end of the text.
  bool Next(std::u16string_view& line) {
    while (pos_ < text_.size()) {
      std::size_t end = text_.find(u'\n', pos_);
      if (end == std::u16string_view::npos) end = text_.size();
      line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
      if (!TrimView(line).empty()) return true;
    }
    return false;
  }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

// Whether two texts hold the same lines, blank lines and line ends aside.
bool SameLines(std::u16string_view a, std::u16string_view b) {
  NonBlankLines left(a), right(b);
  std::u16string_view x, y;
  while (true) {
    const bool more = left.Next(x);
    if (more != right.Next(y)) return false;
    if (!more) return true;
    if (x != y) return false;
  }
}

}  // namespace

std::u16string clsStat::FilePath() const {
  std::u16string folder = Folder;
  if (folder.empty() && HasAppl() && G().gSetting) folder = G().gSetting->AppFolder;
  if (folder.empty()) return {};
  return API::JoinPath(folder, u"statistics.dat");
}

void clsStat::LoadStat() {
  items_.clear();
  changed_ = false;
  leaveFile_ = false;
  const std::u16string path = FilePath();
  if (path.empty()) return;
  // Held by another program that shares it with no reader, the file is whole but unknown: a save
  // would put this session's few words in place of it.
  std::string bytes;
  if (!API::ReadFileBytes(path, bytes)) {
    leaveFile_ = API::FileExists(path);
    if (leaveFile_) API::LeaveUserFile(path);
    return;
  }
  // Written as UTF-16LE, but an editor may have saved it otherwise.
  const API::UserText read = API::ReadUserText(bytes);
  Parse(read.text);
  // What the next save would not write back (lines that are no statistics, words past the
  // limit, a file in no encoding read here), or would write in another encoding than the one
  // guessed, is first copied beside it as it is; without a copy the file stays as it is.
  const std::u16string text = Serialize();
  leaveFile_ = !API::MayReplaceUserFile(path, bytes, read, SameLines(read.text, text), Utf16Bytes(text));
}

bool clsStat::SaveStat() {
  // Unchanged statistics stay as the file holds them, even where it held more than was read.
  if (!changed_) return true;
  if (leaveFile_) return false;
  const std::u16string path = FilePath();
  if (path.empty()) return false;
  if (!API::ReplaceFileContents(path, Utf16Bytes(Serialize()))) return false;
  changed_ = false;
  return true;
}

void clsStat::Parse(std::u16string_view text) {
  // The words read so far in lower case: a file of one word repeated is read in linear time.
  std::unordered_set<std::u16string> seen;
  NonBlankLines lines(text);
  std::u16string_view line;
  while (items_.size() < kMaxWords && lines.Next(line)) {
    const std::size_t tab = line.find(u'\t');
    const std::u16string_view word = TrimView(line.substr(0, tab));
    if (!SoundWord(word) || !seen.insert(LCase(word)).second) continue;
    auto item = std::make_shared<clsStatItem>();
    item->Word = std::u16string(word);
    item->Mass = tab == std::u16string_view::npos ? 1 : CountOf(line.substr(tab + 1));
    items_.push_back(std::move(item));
  }
}

std::u16string clsStat::Serialize() const {
  std::u16string text;
  for (const auto& item : items_) {
    text += item->Word;
    text += u'\t';
    text += NumberText(item->Mass);
    text += u"\r\n";
  }
  return text;
}

void clsStat::AddItem(std::u16string_view word) {
  std::u16string w = Trim(word);
  if (!SoundWord(w)) return;
  auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return EqualsNoCase(item->Word, w); });
  std::shared_ptr<clsStatItem> item;
  if (found != items_.end()) {
    item = *found;
    items_.erase(found);
    if (item->Mass < kMaxCount) ++item->Mass;
  } else {
    item = std::make_shared<clsStatItem>();
    item->Word = std::move(w);
    item->Mass = 1;
  }
  items_.insert(items_.begin(), std::move(item));
  if (items_.size() > kMaxWords) items_.resize(kMaxWords);
  changed_ = true;
}

std::vector<std::shared_ptr<clsStatItem>> clsStat::MostFrequent(std::int32_t n) const {
  std::vector<std::shared_ptr<clsStatItem>> sorted = items_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a->Mass > b->Mass; });
  if (n > 0 && sorted.size() > static_cast<std::size_t>(n)) sorted.resize(static_cast<std::size_t>(n));
  return sorted;
}

std::vector<std::shared_ptr<clsStatItem>> clsStat::Last(std::int32_t n) const {
  std::vector<std::shared_ptr<clsStatItem>> last = items_;
  if (n > 0 && last.size() > static_cast<std::size_t>(n)) last.resize(static_cast<std::size_t>(n));
  return last;
}

}  // namespace parlavent
