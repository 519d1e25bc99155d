// Speech, the on-screen keyboard, the statistics and the learning cards in the real program,
// driven from outside; and the SAPI 5 server as this system offers it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/main_window_core.h"
#include "app/win32/main_window.h"
#include "companions/win32/companion_forms.h"
#include "companions/win32/sapi_engine.h"
#include "program_driver.h"

namespace parlavent {
namespace {

using testing::ControlText;
using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::SetRequest;
using testing::WaitForMainWindow;
using testing::WaitForWindow;
using testing::WaitUntil;

constexpr int kInputId = 201;
constexpr int kKeybButtonId = 206;
constexpr int kSpeakButton = frmMain::kTB1Base + 1;  // the second button: "Trans", "Speak", ...

std::wstring UserFile(const wchar_t* name) {
  wchar_t appData[MAX_PATH] = {};
  GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  return std::wstring(appData) + L"\\Parlavent\\" + name;
}

std::string FileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return bytes;
}

/// The text of a list-view cell in another process (the item structure lives in its memory).
std::wstring RemoteItemText(HWND list, DWORD processId, int item, int column) {
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return {};
  constexpr int kChars = 256;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  std::wstring text;
  if (remote) {
    LVITEMW row{};
    row.iSubItem = column;
    row.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    row.cchTextMax = kChars;
    WriteProcessMemory(process, remote, &row, sizeof(row), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote));
    wchar_t buffer[kChars] = {};
    ReadProcessMemory(process, remote + sizeof(LVITEMW), buffer, sizeof(buffer) - sizeof(wchar_t), nullptr);
    text = buffer;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

/// Types word into the input box and translates it with Enter, waiting for the output.
void LookUp(HWND main, const std::wstring& word) {
  HWND input = GetDlgItem(main, kInputId);
  HWND output = GetDlgItem(main, 202);
  const auto waitFor = [output](auto shown) {
    const DWORD start = GetTickCount();
    while (!shown(ControlText(output)) && GetTickCount() - start < kReactTimeoutMs) Sleep(50);
  };
  const auto beginsWithWord = [&word](const std::wstring& text) {
    return text.size() >= word.size() && _wcsnicmp(text.c_str(), word.c_str(), word.size()) == 0;
  };
  // A click puts the focus in the input box, as a user's does: Enter goes where the focus is, and a
  // translation leaves it in the output box.
  PostMessageW(input, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(input, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (wchar_t c : word) PostMessageW(input, WM_CHAR, c, 0);
  // The word list first, so that Enter does not meet a list still being filled on a slow machine;
  // then the translation, which has the word's transcription where the list has none.
  waitFor([&](const std::wstring& text) { return beginsWithWord(text) && text.find(L'[') == std::wstring::npos; });
  PostMessageW(input, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(input, WM_KEYUP, VK_RETURN, 0);
  waitFor([&](const std::wstring& text) { return beginsWithWord(text) && text.find(L'[') != std::wstring::npos; });
}

void Menu(HWND main, MenuItem item) {
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(item), 0);
}

class CompanionsInProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, testing::kProgramKey);
    DeleteFileW(UserFile(L"statistics.dat").c_str());
    DeleteFileW(UserFile(L"trl.dat").c_str());
  }
};

TEST_F(CompanionsInProgram, KeyboardStatisticsLearningAndTheirFilesAcrossTwoRuns) {
  {
    Program program;
    ASSERT_TRUE(program.Started());
    HWND main = WaitForMainWindow(program.Id(), true, kStartTimeoutMs);
    ASSERT_NE(main, nullptr);

    // No voice under this system: the speaker button stays off.
    HWND tb1 = FindWindowExW(main, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_NE(tb1, nullptr);
    EXPECT_FALSE(SendMessageW(tb1, TB_ISBUTTONENABLED, kSpeakButton, 0)) << "speech is off without voices";

    // "kb": the keyboard docked below the main window; a key types into the input box.
    SendMessageW(GetDlgItem(main, kKeybButtonId), BM_CLICK, 0, 0);
    HWND keyb = WaitForWindow(program.Id(), frmKeyb::kClassName);
    ASSERT_NE(keyb, nullptr) << "the keyboard opens";
    RECT mainRect{}, keybRect{};
    GetWindowRect(main, &mainRect);
    GetWindowRect(keyb, &keybRect);
    EXPECT_EQ(keybRect.top, mainRect.bottom) << "docked below the main window";
    EXPECT_EQ(keybRect.left, mainRect.left);
    SendMessageW(GetDlgItem(main, kInputId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    const RECT q = frmKeyb::KeyRect(1, 0);  // the first letter key of the second row
    const LPARAM at = MAKELPARAM((q.left + q.right) / 2, (q.top + q.bottom) / 2);
    SendMessageW(keyb, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(keyb, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(ControlText(GetDlgItem(main, kInputId)), L"q") << "the first layer is German: its key q";
    SendMessageW(GetDlgItem(main, kKeybButtonId), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(keyb); })) << "kb again closes it";

    // Three look-ups, one of them twice: the statistics list them, the most frequent first.
    for (const wchar_t* word : {L"Haus", L"Hund", L"Haus"}) LookUp(main, word);
    // The output shows a translation while its handler still pumps messages, before the words are
    // counted: the list is asked for again until the last look-up is in.
    HWND stat = nullptr, list = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kReactTimeoutMs; Sleep(200)) {
      Menu(main, MenuItem::Stat);
      stat = WaitForWindow(program.Id(), frmStat::kClassName);
      ASSERT_NE(stat, nullptr);
      list = FindWindowExW(stat, nullptr, WC_LISTVIEWW, nullptr);
      ASSERT_NE(list, nullptr);
      if (RemoteItemText(list, program.Id(), 0, 1) == L"2") break;
    }
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    // The words of the results, as the dictionary writes them: the typed word was translated, not
    // the word list's line (which lists it in lower case).
    EXPECT_EQ(RemoteItemText(list, program.Id(), 0, 0), L"Haus");
    EXPECT_EQ(RemoteItemText(list, program.Id(), 0, 1), L"2");
    EXPECT_EQ(RemoteItemText(list, program.Id(), 1, 0), L"Hund");

    // A learning card with a word of the sample dictionary.
    Menu(main, MenuItem::Learn);
    HWND card = WaitForWindow(program.Id(), frmLearn::kClassName);
    ASSERT_NE(card, nullptr) << "a learning card shows";
    EXPECT_FALSE(ControlText(card).empty());
    // It stands above the taskbar, clear of the tray icon, though Wine's work area holds the bar.
    // Wine's shell gives a line at the screen's bottom as the taskbar's place: the window drawn counts.
    RECT bar{};
    const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_TRUE(tray && IsWindowVisible(tray) && GetWindowRect(tray, &bar)) << "the program's tray icon shows the taskbar";
    RECT cardRect{};
    GetWindowRect(card, &cardRect);
    EXPECT_LE(cardRect.bottom, bar.top) << "card bottom " << cardRect.bottom << ", taskbar top " << bar.top;

    SetRequest(L"NeedUnload", L"1");
    ASSERT_EQ(program.ExitCodeWithin(kReactTimeoutMs), 0u);
  }
  const std::string stat = FileBytes(UserFile(L"statistics.dat"));
  EXPECT_EQ(stat.substr(0, 2), "\xFF\xFE") << "written at exit, as UTF-16";
  const std::string table = FileBytes(UserFile(L"trl.dat"));
  EXPECT_NE(table.find("hu\t"), std::string::npos) << "the typed prefixes, written at exit";

  // The next start reads both: the statistics are listed again, and typing only adds to the table.
  Program again;
  HWND main = WaitForMainWindow(again.Id(), true, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  Menu(main, MenuItem::Stat);
  HWND statWindow = WaitForWindow(again.Id(), frmStat::kClassName);
  ASSERT_NE(statWindow, nullptr);
  HWND list = FindWindowExW(statWindow, nullptr, WC_LISTVIEWW, nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  LookUp(main, L"Tag");
  SetRequest(L"NeedUnload", L"1");
  ASSERT_EQ(again.ExitCodeWithin(kReactTimeoutMs), 0u);
  const std::string after = FileBytes(UserFile(L"trl.dat"));
  EXPECT_NE(after.find("hu\t"), std::string::npos) << "the first run's prefixes were read and kept";
  EXPECT_NE(after.find("ta\t"), std::string::npos);
}

TEST(Sapi5, TheSystemsServerStartsAndItsVoicesCanBeListed) {
  std::shared_ptr<SpeechEngine> engine = StartSapi5();
  if (!engine) GTEST_SKIP() << "this system has no SAPI 5 server";
  const auto voices = engine->Voices();
  for (const EngineVoice& v : voices) EXPECT_FALSE(v.Name.empty()) << "only voices a user can choose";
  EXPECT_FALSE(engine->Speak(voices.size(), u"no such voice", 0, 100)) << "a voice that is not there is refused";
  EXPECT_FALSE(engine->IsSpeaking());
  engine->Stop();
}

}  // namespace
}  // namespace parlavent
