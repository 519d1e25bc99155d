#include "app/ending_scanner.h"

#include <cmath>
#include <filesystem>

#include "app/application.h"
#include "app/view_host.h"
#include "dictionary/dictionary.h"
#include "foundation/api_files.h"
#include "foundation/api_messages.h"
#include "foundation/api_strings.h"
#include "foundation/interface_helpers.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kStemLength = 4;
constexpr std::int32_t kCandidates = 50;
constexpr std::int32_t kChunkSize = 1024;
constexpr std::int64_t kWordsPerProgress = 100;
constexpr std::size_t kNodesPerProgress = 10;
constexpr std::u16string_view kResultFile = u"replace.txt";

// Punctuation that separates words. Lone CR, LF and TAB separate them too, so that texts with
// Unix line ends do not glue the last word of a line to the first of the next.
constexpr std::u16string_view kSeparators[] = {u"\r\n", u".", u",", u";", u"!", u")", u"(", u"-",
                                               u":",    u"\"", u"?", u"\r", u"\n", u"\t"};

std::vector<std::u16string> WordsOf(std::u16string_view piece) {
  std::u16string text(piece);
  for (const auto sep : kSeparators) text = ReplaceAll(text, sep, u" ");
  return SplitText(text, u" ");
}

std::shared_ptr<clsMass> NodeFor(EndingTable& table, std::u16string_view ending) {
  const std::u16string key = API::MakeKey(ending);
  if (auto* found = table.Find(key)) return *found;
  auto node = std::make_shared<clsMass>();
  node->Key = std::u16string(ending);
  node->Tag = std::make_shared<EndingTable>();
  table.Add(key, node);
  return node;
}

std::int64_t FileSize(std::u16string_view path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(API::ToFsPath(path), ec);
  return ec ? 0 : static_cast<std::int64_t>(size);
}

// Counts the endings of the words of one file; false when the user cancelled.
bool ScanFile(Appl& app, std::u16string_view file, std::int64_t done, std::int64_t total, std::int64_t& words,
              std::int64_t& position, EndingTable& table) {
  ProgressForm& progress = app.ViewServices().Progress();
  const std::shared_ptr<clsDic> checkDic = app.Dic->Dicx ? app.Dic->Dicx : app.Dic;
  std::u16string piece;
  std::int64_t length = 0;
  mdlPublic::ReadFileLine(piece, position, length, file, false, u" ", kChunkSize);
  position = 0;
  while (mdlPublic::ReadFileLine(piece, position, length)) {
    for (const auto& w : WordsOf(piece)) {
      if (w.size() <= kStemLength) continue;
      if (++words % kWordsPerProgress == 0) {
        progress.SetText(w);
        progress.SetVal(static_cast<double>(done + position), 0, static_cast<double>(total));
        Pump().DoEvents();
        if (app.State.gProgressCancel) {
          app.State.gProgressCancel = false;
          return false;
        }
      }
      if (app.WordExist(w, *checkDic)) continue;
      const auto candidates = app.GetList(std::u16string_view(w).substr(0, kStemLength), kCandidates, false, 2);
      if (!candidates.empty()) CountEndings(w, candidates, table);
    }
  }
  return true;
}

}  // namespace

void CountEndings(std::u16string_view word, const std::vector<std::u16string>& candidates, EndingTable& table) {
  for (std::size_t p = kStemLength + 1; p <= word.size() + 1; ++p) {
    const std::u16string_view stem = word.substr(0, p - 1);
    const std::u16string_view ending = word.substr(p - 1);
    std::shared_ptr<clsMass> node;
    for (const auto& c : candidates) {
      if (c.find(u' ') != std::u16string::npos || c.size() < stem.size()) continue;
      if (!EqualsNoCase(std::u16string_view(c).substr(0, stem.size()), stem)) continue;
      if (!node) {
        node = NodeFor(table, ending);
        ++node->Mass;
      }
      const auto replacement = NodeFor(*node->Tag, std::u16string_view(c).substr(stem.size()));
      ++replacement->Mass;
      ++node->TagN;
    }
  }
}

std::u16string EndingRules(const EndingTable& table, std::int64_t words, ProgressForm& progress) {
  // Halves go to the even neighbour, as the runtime rounds.
  const double threshold = std::nearbyint(static_cast<double>(words) / 1000.0);
  progress.SetText(u"Ordering...");
  std::u16string output;
  for (std::size_t i = 1; i <= table.Count(); ++i) {
    if (i % kNodesPerProgress == 0) {
      progress.SetVal(static_cast<double>(i), 0, static_cast<double>(table.Count()));
      Pump().DoEvents();
    }
    const clsMass& node = **table.ItemAt(i);
    if (node.Mass <= threshold) continue;
    std::vector<const clsMass*> ordered;
    for (std::size_t j = 1; node.Tag && j <= node.Tag->Count(); ++j) {
      const clsMass* r = node.Tag->ItemAt(j)->get();
      if (r->Mass <= node.TagN / 10.0) continue;
      auto at = ordered.begin();
      while (at != ordered.end() && (*at)->Mass >= r->Mass) ++at;
      ordered.insert(at, r);
    }
    std::vector<std::u16string> keys;
    for (const clsMass* r : ordered) keys.push_back(r->Key);
    output += node.Key + u"\t" + JoinText(keys, u",") + u"\r\n";
  }
  if (output.size() >= 2) output.resize(output.size() - 2);
  return output;
}

bool ScanFolder(Appl& app, std::u16string_view folder) {
  ProgressForm& progress = app.ViewServices().Progress();
  app.State.gProgressCancel = false;
  const std::vector<std::u16string> entries = API::FindFiles(folder, u"", true, true, false, false);
  std::int64_t total = 0;
  for (const auto& e : entries) total += API::FileExists(e) ? FileSize(e) : 0;

  EndingTable table;
  std::int64_t words = 0, done = 0;
  for (std::size_t i = 0; i < entries.size() && app.Dic; ++i) {
    const std::u16string& entry = entries[i];
    // A subfolder is counted but has nothing to read; an earlier result is no input.
    if (!API::FileExists(entry) || EqualsNoCase(API::GetFileName(entry), kResultFile)) continue;
    progress.SetCaption(u"ScanSFX");
    progress.SetText(u"File " + NumberText(static_cast<std::int64_t>(i + 1)) + u" from " +
                     NumberText(static_cast<std::int64_t>(entries.size())));
    progress.Show();
    std::int64_t position = 0;
    const bool goOn = ScanFile(app, entry, done, total, words, position, table);
    done += position;
    if (!goOn) break;
  }

  const std::u16string rules = EndingRules(table, words, progress);
  const std::u16string path = API::JoinPath(folder, kResultFile);
  const bool saved = API::SaveBytesToFile(path, rules);
  if (saved) {
    progress.SetText(u"Saved as " + path);
  } else {
    API::ShowErrorMessage(nullptr, u"Error in save!");
  }
  progress.Refresh();
  return saved;
}

void Appl::ScanSFX() {
  // Without a chosen folder there is nowhere the result may go: the tool ends without writing.
  const std::u16string folder = ViewServices().BrowseForFolder(u"Выбери папку:");
  if (folder.empty() || !Dic) return;
  ScanFolder(*this, folder);
}

}  // namespace parlavent
