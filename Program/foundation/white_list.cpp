#include "foundation/white_list.h"

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/api_files.h"
#include "foundation/host.h"
#include "foundation/ini_file.h"
#include "foundation/settings_object.h"
#include "platform/settings_store.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kOperaType = u"OperaWindowClass";

}  // namespace

void clsWindow::SetWndType(std::u16string_view type) {
  const std::size_t first = type.find(u':');
  const std::size_t second = first == std::u16string_view::npos ? first : type.find(u':', first + 1);
  wndType_ = std::u16string(type.substr(0, second));
}

std::u16string clsWindow::FileName() const { return API::GetFileName(ExePath); }

std::u16string clsWindow::Key() const { return FileName() + u"|" + TitleMask; }

bool AddWindow(WindowList& list, std::shared_ptr<clsWindow> entry) {
  if (!entry) return false;
  const std::u16string key = entry->WndType();
  return list.Add(key, std::move(entry));
}

WindowList ParseWhiteList(std::u16string_view text) {
  WindowList list;
  if (text.empty()) return list;
  for (const std::u16string& line : SplitText(text, u"\r\n")) {
    if (Trim(line).empty()) continue;
    const std::vector<std::u16string> fields = SplitText(line, u"\t");
    auto entry = std::make_shared<clsWindow>();
    const auto field = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : std::u16string(); };
    entry->ExePath = field(0);
    entry->AppName = field(1);
    entry->TitleMask = field(2);
    entry->SetWndType(field(3));
    // Converted as any number the program reads: "1.0" is 1; what is no number leaves 0.
    IniValue(field(4)).ToLong(entry->State);
    AddWindow(list, std::move(entry));
  }
  return list;
}

std::u16string FormatWhiteList(const WindowList& list) {
  std::u16string text;
  for (const auto& entry : list) {
    if (!entry) continue;
    if (!text.empty()) text += u"\r\n";
    text += entry->ExePath + u"\t" + entry->AppName + u"\t" + entry->TitleMask + u"\t" + entry->WndType() +
            u"\t" + NumberText(entry->State);
  }
  return text;
}

std::shared_ptr<clsWindow> EnsureOperaEntry(WindowList& list) {
  if (!list.Exists(kOperaType)) {
    auto entry = std::make_shared<clsWindow>();
    entry->ExePath = u"C:\\Program Files\\Opera\\Opera.exe";
    entry->AppName = u"Opera";  // the name users know it by; the window class is only its key
    entry->SetWndType(kOperaType);
    AddWindow(list, std::move(entry));
  }
  std::shared_ptr<clsWindow>& entry = *list.Find(kOperaType);
  if (entry) entry->State = 1;
  return entry;
}

}  // namespace parlavent

// ---- The per-application list of the settings object ------------------------------------------

namespace parlavent {
namespace {

std::u16string UserWhiteList() { return API::JoinPath(API::GetAppDataFolder(), u"WhiteList.inf"); }

// Whether saving the list writes back all that the file held: its lines in the same order, blank
// lines aside (the save loses no character: TextFileBytes falls back to UTF-16).
bool SavesAsRead(std::u16string_view text, const WindowList& list) {
  std::u16string lines;
  for (const std::u16string& line : SplitText(text, u"\r\n")) {
    if (Trim(line).empty()) continue;
    if (!lines.empty()) lines += u"\r\n";
    lines += line;
  }
  return lines == FormatWhiteList(list);
}

}  // namespace

void Setting::LoadWhiteCol() {
  const std::u16string user = UserWhiteList();
  const bool own = API::FileExists(user);
  const std::u16string path = own ? user : API::JoinPath(System().ProgramFolder(), u"DefaultWhiteList.inf");
  std::string bytes;
  const bool read = API::ReadFileBytes(path, bytes);
  const API::UserText decoded = read ? API::ReadUserText(bytes) : API::UserText();
  const std::u16string& text = decoded.text;
  ProcessValues().WhiteCol = ParseWhiteList(text);
  // The user's list held by another program that shares it with no reader is whole but unknown:
  // no save puts this session's entries in place of it, and the addition below waits for a
  // start that reads it.
  userListUnread_ = own && !read;
  if (userListUnread_) {
    API::LeaveUserFile(user);
    return;
  }
  // A list the next save would write back shorter (lines it cannot read, a window type twice,
  // bytes that are no list), or in another encoding than the one guessed, is first copied beside
  // it, as it is; without a copy it stays as it is for the session.
  if (own) {
    const bool whole = SavesAsRead(text, ProcessValues().WhiteCol);
    const std::string saved = API::TextFileBytes(FormatWhiteList(ProcessValues().WhiteCol));
    userListUnread_ = !API::MayReplaceUserFile(user, bytes, decoded, whole, saved);
    if (userListUnread_) return;
  }

  // Once per user: capture in Opera is switched on, whatever the list said.
  if (LeadingNumber(GetSetting(u"Main", u"CorrectOpera", u"0")) != 0) return;
  SaveSetting(u"Main", u"CorrectOpera", u"1");
  EnsureOperaEntry(ProcessValues().WhiteCol);
  SaveWhiteCol();
}

bool Setting::SaveWhiteCol() {
  // The list stays in memory; the caller says that the file kept what it held.
  if (userListUnread_) return false;
  return API::SaveTextFile(UserWhiteList(), FormatWhiteList(ProcessValues().WhiteCol), 0, true);
}

}  // namespace parlavent
