#pragma once
// The API module's files and folders. Paths are text, as the program passes them around; every
// helper that takes a path apart accepts both "\" and "/" as separators, so the same code runs on
// Windows and natively. Failures give the empty result, never an exception.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent::API {

/// The file-system path of a program path ("\" becomes "/" where that is the separator).
std::filesystem::path ToFsPath(std::u16string_view path);

/// folder & separator & name, with the separator the folder already uses ("\" when it has none);
/// no second separator when folder ends in one.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

/// The whole file's bytes; false when it is missing or cannot be read (only ordinary files are read).
bool ReadFileBytes(std::u16string_view path, std::string& bytes);

/// The whole file as UTF-16LE, a leading FF FE mark dropped (an odd last byte is ignored); "" when
/// the file is missing or unreadable.
std::u16string ReadUnicodeFile(std::u16string_view path);

/// The bytes of a text file: ANSI when the code page holds every character of text; otherwise
/// UTF-16LE behind the FF FE mark, so that no character is written as "?".
std::string TextFileBytes(std::u16string_view text);
/// The text of a text file's bytes: UTF-16LE when they begin with FF FE (the mark dropped),
/// otherwise ANSI.
std::u16string TextFromFileBytes(std::string_view bytes);

/// The encodings a user's file is read in.
enum class TextForm { Ansi, Utf8, Utf16Le, Utf16Be };

/// A user's file as read: its text, the encoding it was read in, and whether a byte-order mark
/// named that encoding (false: it was guessed from the bytes).
struct UserText {
  std::u16string text;
  TextForm form = TextForm::Ansi;
  bool marked = false;
};

/// The text of a user's file in whichever form a Windows editor may have left it: UTF-16LE,
/// UTF-16BE or UTF-8 behind their marks; without a mark, UTF-8 when the bytes are valid UTF-8 and
/// hold a character beyond ASCII; then UTF-16 when the zero bytes stand in a steady pattern, at
/// odd places (LE) or at even ones (BE), as in the line ends and Latin letters of UTF-16 text (an
/// odd last byte ignored); otherwise ANSI, so that a stray zero or a run of zeros left by a crash
/// does not turn an ANSI file into UTF-16.
UserText ReadUserText(std::string_view bytes);
std::u16string DecodeUserText(std::string_view bytes);

/// Text in the form TextFileBytes writes. lineCount above 0: that many lines (fewer at the end of
/// the file) joined by CR LF; otherwise the whole text. "" when the file cannot be read.
std::u16string ReadTextFile(std::u16string_view path, long lineCount = 0);

/// Writes text in the form of TextFileBytes, replacing the file whole. lineCount not 0: the first
/// lineCount lines of text (split at CR LF) each ended by CR LF, a negative count none; otherwise
/// text as it is. With showError a failure is shown as "Не удается сохранить файл " & path.
bool SaveTextFile(std::u16string_view path, std::u16string_view text, long lineCount = 0, bool showError = false);

/// Replaces the file whole with raw bytes; text is written as its UTF-16LE code units, no mark.
bool SaveBytesToFile(std::u16string_view path, std::string_view bytes);
bool SaveBytesToFile(std::u16string_view path, std::u16string_view text);

/// Replaces the file whole: the bytes go to a temporary file beside it, which is then renamed over
/// the old one, so that a failure leaves the old file as it was. error (when given) receives the
/// system's description of a failure.
bool ReplaceFileContents(std::u16string_view path, std::string_view bytes, std::u16string* error = nullptr);

/// What KeepBackup did.
enum class Backup {
  Written,      // a new copy stands beside the file
  AlreadyKept,  // a copy of these bytes stood there already
  Failed,       // no copy could be made: the file must not be replaced
};

/// Before a save replaces a user's file the program could not read whole, its bytes are kept in
/// "<path>.bak", or, when that holds other bytes (an older copy), in the first of "<path>.bak2" …
/// "<path>.bak99" that is free or holds them: no copy is written over an older different one.
/// A name there that is no readable file (a folder, a file held by another program) counts as
/// failure, as does a copy that cannot be written. With announce, a written copy's file name joins
/// the kept files that start-up names once on the info line.
Backup KeepBackup(std::u16string_view path, std::string_view bytes, bool announce = true);

/// The one rule for a user's file the program rewrites, applied once it is read: when the next
/// save would not write back all that bytes hold (whole false), or would write them in another
/// encoding than the one guessed for them (saveBytes: what a save would write now; a marked file
/// is never copied for that), a copy is kept first. False when no copy could be made: the caller
/// then leaves the file as it is for the session, keeping its changes in memory, and the info line
/// names it once at start-up (LeaveUserFile).
bool MayReplaceUserFile(std::u16string_view path, std::string_view bytes, const UserText& read, bool whole,
                        std::string_view saveBytes);

/// Names the file once on the info line at start-up as one this session leaves as it is (it is
/// there but could not be read, or no copy of it could be made).
void LeaveUserFile(std::u16string_view path);

/// Removes what saves cut short left beside the files of folder: their temporaries "*.~new" and
/// the write probes "*.~probe". The files themselves stay as the last whole save left them.
void RemoveSaveLeftovers(std::u16string_view folder);

/// A file or folder of that name exists; false for "".
bool IsPathExists(std::u16string_view path);
bool FileExists(std::u16string_view path);
bool FolderExists(std::u16string_view path);

/// Creates every missing folder of the path; true when the folder exists afterwards.
bool CreateFolderPath(std::u16string_view path);

/// path without its last component and the separator before it; "" without a separator.
std::u16string GetParentFolder(std::u16string_view path);
/// The last component.
std::u16string GetFileName(std::u16string_view path);
/// The last component without its last dot and extension.
std::u16string GetFileBaseName(std::u16string_view path);

/// The temporary folder ("c:\temp" when the system has none); with fileName, that file in it.
std::u16string GetTempFolder(std::u16string_view fileName = {});
std::u16string GetSystemFolder();
/// Creation time as an automation date; 0 when unknown.
double GetFileDateCreated(std::u16string_view path);

/// The per-user data folder "%AppData%\Parlavent", created when missing. defaultFolder (the
/// program folder when empty, and then updated) is the answer when there is no AppData or the
/// folder cannot be made.
std::u16string GetAppDataFolder(std::u16string& defaultFolder);
std::u16string GetAppDataFolder();

/// Subfolder names (includeFolders) and full file paths (includeFiles) of folder whose names
/// match mask (case-blind pattern; "" matches all), subfolders first, each group in name order;
/// recurse descends into subfolders. doEvents pumps messages during a long walk. Empty when the
/// folder does not exist.
std::vector<std::u16string> FindFiles(std::u16string_view folder, std::u16string_view mask, bool includeFiles,
                                      bool includeFolders, bool recurse, bool doEvents);

}  // namespace parlavent::API
