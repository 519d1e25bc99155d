#include "foundation/api_files.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "foundation/api_messages.h"
#include "foundation/host.h"
#include "foundation/wildcard.h"
#include "platform/code_page.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent::API {
namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kSeparators = u"\\/";

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string FromFsPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

std::u16string ErrorText(const std::error_code& ec) { return FromUtf8(ec.message()); }

// The streams report only that they failed; the C library has left the reason in errno.
std::u16string LastErrorText() {
  const int code = errno;
  return code != 0 ? ErrorText(std::error_code(code, std::generic_category())) : u"Input/output error";
}

std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// UTF-16 code units; an odd last byte is ignored.
std::u16string Utf16Text(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  return text;
}

// UTF-16LE code units, a leading FF FE mark dropped.
std::u16string Utf16LeText(std::string_view bytes) {
  std::u16string text = Utf16Text(bytes, false);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  return text;
}

// A line of a text stream ends at LF, at CR LF or at a lone CR.
std::vector<std::u16string> StreamLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
    start = end + 1;
  }
  return lines;
}

void CollectFiles(const fs::path& folder, std::u16string_view folderText, std::u16string_view mask,
                  bool includeFiles, bool includeFolders, bool recurse, bool doEvents,
                  std::vector<std::u16string>& out) {
  if (doEvents) Pump().DoEvents();
  std::vector<std::u16string> folders, files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    const std::u16string name = FromFsPath(it->path().filename());
    if (it->is_directory(typeError)) {
      folders.push_back(name);
    } else if (it->is_regular_file(typeError)) {
      files.push_back(name);
    }
  }
  // Windows lists a folder in name order; sorting gives the same order on every file system.
  const auto byName = [](const std::u16string& a, const std::u16string& b) { return CompareDictOrder(a, b) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  const auto matches = [mask](const std::u16string& name) { return mask.empty() || Like(name, mask); };

  if (includeFolders || recurse) {
    for (const auto& name : folders) {
      if (includeFolders && matches(name)) out.push_back(name);
      // A link to a folder is listed but not entered: it may lead back up the tree.
      std::error_code linkError;
      if (recurse && !fs::is_symlink(folder / ToFsPath(name), linkError)) {
        Pump().DoEvents();
        CollectFiles(folder / ToFsPath(name), JoinPath(folderText, name), mask, includeFiles, includeFolders,
                     recurse, doEvents, out);
      }
    }
  }
  if (!includeFiles) return;
  std::size_t counted = 0;
  for (const auto& name : files) {
    if (matches(name)) out.push_back(JoinPath(folderText, name));
    if (doEvents && ++counted % 100 == 0) Pump().DoEvents();
  }
}

}  // namespace

fs::path ToFsPath(std::u16string_view path) {
  std::u16string text(path);
#ifndef _WIN32
  std::replace(text.begin(), text.end(), u'\\', u'/');
#endif
  const std::string utf8 = ToUtf8(text);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  if (!folder.empty() && IsSeparator(folder.back())) return std::u16string(folder) + std::u16string(name);
  const std::size_t last = folder.find_last_of(kSeparators);
  const char16_t separator = last == std::u16string_view::npos ? u'\\' : folder[last];
  return std::u16string(folder) + separator + std::u16string(name);
}

bool ReadFileBytes(std::u16string_view path, std::string& bytes) {
  // Only ordinary files: a device or a pipe could be read without end.
  if (!FileExists(path)) return false;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) return false;
  // In blocks, through read(): taken a character at a time, a file of tens of megabytes costs a
  // good part of a second, and a read error (a region another program has locked) escapes the
  // stream iterators as an exception.
  bytes.clear();
  std::string block(64 * 1024, '\0');
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    bytes.append(block.data(), static_cast<std::size_t>(in.gcount()));
  }
  return !in.bad();
}

std::u16string ReadUnicodeFile(std::u16string_view path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return {};
  return Utf16LeText(bytes);
}

std::string TextFileBytes(std::u16string_view text) {
  bool lossless = true;
  std::string ansi = AnsiCodePage().Encode(text, &lossless);
  if (lossless) return ansi;
  return "\xFF\xFE" + Utf16LeBytes(text);
}

std::u16string TextFromFileBytes(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Utf16LeText(bytes);
  return AnsiCodePage().Decode(bytes);
}

namespace {

// Strict UTF-8: no overlong form, no surrogate, nothing past U+10FFFF. multiByte tells whether a
// sequence of more than one byte occurs.
bool ValidUtf8(std::string_view bytes, bool& multiByte) {
  multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    multiByte = true;
    i += extra + 1;
  }
  return true;
}

// UTF-16 without a mark: its zero bytes are the high bytes of the line ends, TABs, digits and
// Latin letters, so they stand at odd places (LE) or at even ones (BE), and there are many of
// them; a few characters whose low byte is zero ("一", U+4E00) stand on the other side. A stray
// zero is no such pattern, and a run of zeros a crash left holds whole units of two zero bytes,
// which no text holds and which are left out of the count.
bool SteadyUtf16(std::string_view bytes, bool& bigEndian) {
  std::size_t odd = 0, even = 0;
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const bool first = bytes[2 * i] == 0, second = bytes[2 * i + 1] == 0;
    if (first != second) ++(second ? odd : even);
  }
  bigEndian = even > odd;
  const std::size_t steady = std::max(odd, even), other = std::min(odd, even);
  return steady >= 2 && other * 4 <= steady && steady * 16 >= units;
}

}  // namespace

UserText ReadUserText(std::string_view bytes) {
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (starts("\xFF\xFE")) return {Utf16Text(bytes.substr(2), false), TextForm::Utf16Le, true};
  if (starts("\xFE\xFF")) return {Utf16Text(bytes.substr(2), true), TextForm::Utf16Be, true};
  if (starts("\xEF\xBB\xBF")) return {FromUtf8(bytes.substr(3)), TextForm::Utf8, true};
  bool multiByte = false, bigEndian = false;
  if (ValidUtf8(bytes, multiByte) && multiByte) return {FromUtf8(bytes), TextForm::Utf8, false};
  if (SteadyUtf16(bytes, bigEndian)) {
    return {Utf16Text(bytes, bigEndian), bigEndian ? TextForm::Utf16Be : TextForm::Utf16Le, false};
  }
  return {AnsiCodePage().Decode(bytes), TextForm::Ansi, false};
}

std::u16string DecodeUserText(std::string_view bytes) { return ReadUserText(bytes).text; }

std::u16string ReadTextFile(std::u16string_view path, long lineCount) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return {};
  const std::u16string text = TextFromFileBytes(bytes);
  if (lineCount == 0) return text;
  if (lineCount < 0) return {};
  std::vector<std::u16string> lines = StreamLines(text);
  if (lines.size() > static_cast<std::size_t>(lineCount)) lines.resize(static_cast<std::size_t>(lineCount));
  return JoinText(lines, u"\r\n");
}

bool SaveTextFile(std::u16string_view path, std::u16string_view text, long lineCount, bool showError) {
  std::u16string content;
  if (lineCount == 0) {
    content = text;
  } else if (lineCount > 0) {
    const std::vector<std::u16string> lines = SplitText(text, u"\r\n");
    const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(lineCount));
    for (std::size_t i = 0; i < count; ++i) content += lines[i] + u"\r\n";
  }
  std::u16string error;
  if (ReplaceFileContents(path, TextFileBytes(content), &error)) return true;
  if (showError) {
    const ErrObject err{75, error, u"API.SaveTextFile"};
    ShowErrorMessage(&err, u"Не удается сохранить файл " + std::u16string(path));
  }
  return false;
}

bool SaveBytesToFile(std::u16string_view path, std::string_view bytes) { return ReplaceFileContents(path, bytes); }

bool SaveBytesToFile(std::u16string_view path, std::u16string_view text) {
  return ReplaceFileContents(path, Utf16LeBytes(text));
}

bool ReplaceFileContents(std::u16string_view path, std::string_view bytes, std::u16string* error) {
  const auto fail = [error](std::u16string text) {
    if (error) *error = std::move(text);
    return false;
  };
  if (path.empty()) return fail(ErrorText(std::make_error_code(std::errc::invalid_argument)));
  const fs::path target = ToFsPath(path);
  fs::path temporary = target;
  temporary += u8".~new";
  {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return fail(LastErrorText());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return fail(LastErrorText());
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return fail(ErrorText(ec));
  }
  return true;
}

Backup KeepBackup(std::u16string_view path, std::string_view bytes, bool announce) {
  constexpr int kMaxCopies = 99;
  for (int n = 1; n <= kMaxCopies; ++n) {
    const std::u16string backup = std::u16string(path) + u".bak" + (n == 1 ? u"" : NumberText(n));
    if (!IsPathExists(backup)) {
      if (!ReplaceFileContents(backup, bytes)) return Backup::Failed;
      if (announce && HasFoundationHost()) ProcessValues().gKeptFiles.push_back(GetFileName(path));
      return Backup::Written;
    }
    // An older copy of other bytes stays; what cannot be read cannot be told from one.
    std::string kept;
    if (!ReadFileBytes(backup, kept)) return Backup::Failed;
    if (kept == bytes) return Backup::AlreadyKept;
  }
  return Backup::Failed;
}

bool MayReplaceUserFile(std::u16string_view path, std::string_view bytes, const UserText& read, bool whole,
                        std::string_view saveBytes) {
  if (bytes.empty()) return true;
  bool copy = !whole;
  if (!copy && !read.marked) {
    // A guess may have been wrong: before the file is written in another encoding, its bytes are
    // kept as they were. The copy is not announced: nothing of the file was lost.
    const UserText written = ReadUserText(saveBytes);
    copy = written.form != read.form || written.marked;
  }
  if (!copy) return true;
  if (KeepBackup(path, bytes, !whole) != Backup::Failed) return true;
  LeaveUserFile(path);
  return false;
}

void LeaveUserFile(std::u16string_view path) {
  if (!HasFoundationHost()) return;
  std::vector<std::u16string>& left = ProcessValues().gLeftFiles;
  const std::u16string name = GetFileName(path);
  if (std::find(left.begin(), left.end(), name) == left.end()) left.push_back(name);
}

void RemoveSaveLeftovers(std::u16string_view folder) {
  for (const auto* mask : {u"*.~new", u"*.~probe"}) {
    for (const std::u16string& file : FindFiles(folder, mask, true, false, false, false)) {
      std::error_code ignored;
      fs::remove(ToFsPath(file), ignored);
    }
  }
}

bool IsPathExists(std::u16string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::exists(ToFsPath(path), ec);
}

bool FileExists(std::u16string_view path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(ToFsPath(path), ec);
}

bool FolderExists(std::u16string_view path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(ToFsPath(path), ec);
}

bool CreateFolderPath(std::u16string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(ToFsPath(path), ec);
  return FolderExists(path);
}

std::u16string GetParentFolder(std::u16string_view path) {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, last));
}

std::u16string GetFileName(std::u16string_view path) {
  const std::size_t last = path.find_last_of(kSeparators);
  return std::u16string(last == std::u16string_view::npos ? path : path.substr(last + 1));
}

std::u16string GetFileBaseName(std::u16string_view path) {
  std::u16string name = GetFileName(path);
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos) name.resize(dot);
  return name;
}

std::u16string GetTempFolder(std::u16string_view fileName) {
  std::u16string folder = System().TempFolder();
  if (folder.empty()) folder = u"c:\\temp";
  return fileName.empty() ? folder : JoinPath(folder, fileName);
}

std::u16string GetSystemFolder() { return System().SystemFolder(); }

double GetFileDateCreated(std::u16string_view path) { return System().FileDateCreated(path); }

std::u16string GetAppDataFolder(std::u16string& defaultFolder) {
  if (defaultFolder.empty()) defaultFolder = System().ProgramFolder();
  const std::u16string appData = System().EnvironmentVariable(u"AppData");
  if (appData.empty()) return defaultFolder;
  const std::u16string folder = JoinPath(appData, System().ExeName());
  if (!FolderExists(folder)) {
    std::error_code ec;
    fs::create_directory(ToFsPath(folder), ec);
    if (!FolderExists(folder)) return defaultFolder;
  }
  return folder;
}

std::u16string GetAppDataFolder() {
  std::u16string defaultFolder;
  return GetAppDataFolder(defaultFolder);
}

std::vector<std::u16string> FindFiles(std::u16string_view folder, std::u16string_view mask, bool includeFiles,
                                      bool includeFolders, bool recurse, bool doEvents) {
  std::vector<std::u16string> out;
  if (!FolderExists(folder)) return out;
  CollectFiles(ToFsPath(folder), folder, mask, includeFiles, includeFolders, recurse, doEvents, out);
  return out;
}

}  // namespace parlavent::API
