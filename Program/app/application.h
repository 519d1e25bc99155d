#pragma once
// Appl: the application object. Outside callers and the rest of the program reach each other
// through it. It holds the state the system gives it and delegates: each operation's body lives
// with its subsystem (the look-up in dictionary/, the views in app/, ...).
//
// Each subsystem keeps its declarations in its own section below, so that work on one subsystem
// does not touch the lines of another.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/plugin_host.h"
#include "app/process_state.h"
#include "foundation/keyed_collection.h"

namespace parlavent {

class Setting;
class clsDic;
class clsDicLang;
class clsStat;
class clsUndo;
class clsVoice;
class WordSet;
class clsLinkItem;
class RichTextBox;

class Appl {
 public:
  Appl();
  ~Appl();
  Appl(const Appl&) = delete;
  Appl& operator=(const Appl&) = delete;

  // ---- Public fields, in slot order ----------------------------------------------------------
  std::int32_t ByteFileN = 0;
  std::int32_t ByteFileLen = 0;
  std::vector<std::u16string> Languages;          // names of the interface languages
  std::shared_ptr<clsDic> Dic;                    // the current dictionary
  KeyedCollection<std::shared_ptr<clsDic>> ColDics;
  std::shared_ptr<clsStat> stat;
  std::shared_ptr<Setting> Sett;                  // the same object as gSetting
  std::shared_ptr<parlavent::WordSet> WordSet;    // result of the last look-up
  std::shared_ptr<clsUndo> Undo;
  std::int32_t OutPutMode = 0;
  KeyedCollection<std::shared_ptr<clsVoice>> Voices;
  KeyedCollection<std::shared_ptr<clsDicLang>> DicLanguages;
  bool SAPIEnabled = false;
  std::int32_t SAPIVoices = 0;
  bool SAPIWork = false;
  std::shared_ptr<clsVoice> DefVoice;
  bool IsTextInClip = false;
  bool IsWindowsNT = false;

  /// The process-wide flags and values (gListAbort, gCurDic, ...), fresh for every Appl.
  ProcessState State;

  // ---- Foundation: language table, files, settings ---------------------------------------------
  /// Interface text number n of the current language (mdlPublic::GetLangStr).
  std::u16string LZ(std::int32_t n);

  // ---- Dictionary engine: packages, loading, searches, look-up ---------------------------------
  // The operations of the package files, the searches and the look-up hand over to the engine's
  // parts, made with the application object (app/engine_operations.cpp).
  class PackageFiles& Files();
  class Searches& Search();
  class Lookup& LookupEngine();

  // Package files (what each does: dictionary/package_files.h), in the mode of the Unicode flag
  // State.gUnicode; the byte file is ByteFileN/ByteFileLen.
  double GetHash(std::u16string_view StrIn) const;
  std::vector<std::uint8_t> ExtractBytes(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle);
  void GetFileBounds(std::int32_t FileN, std::u16string_view ExtractedFileTitle, std::int32_t& RetSB,
                     std::int32_t& RetEB);
  std::u16string ExtractFile(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle,
                             const std::filesystem::path& OutPath = {});
  std::vector<std::filesystem::path> GetFiles(const std::filesystem::path& Folder, std::u16string_view Filter = {});
  std::vector<std::uint8_t> GetBinaryFile(const std::filesystem::path& File);
  bool OpenByteFileRead(const std::filesystem::path& path);
  bool OpenByteFileWrite(const std::filesystem::path& path);
  void CloseByteFile();
  std::u16string GetByteTrans(std::int32_t Offset, std::int32_t l);
  bool SetByteTrans(std::int32_t Offset, std::u16string_view strng);
  static std::int32_t FromByte(const std::vector<std::uint8_t>& b);
  static std::vector<std::uint8_t> ToByte(std::int32_t l);
  class ByteFileTable& OpenFiles();

  /// What the dictionary engine asks of the main window. The main window installs its own in
  /// MainServices; without one the calls go nowhere.
  class MainWindowServices {
   public:
    virtual ~MainWindowServices() = default;
    /// Shows text in the info line (cleared after 2 s with autoHide).
    virtual void Info(std::u16string_view text, bool autoHide) = 0;
    /// Brings the dictionary buttons and menu entries up to date.
    virtual void RefreshDicButtons() = 0;
    /// Rebuilds the dictionary buttons and menu entries from ColDics.
    virtual void LoadDicButtons() = 0;
  };
  std::shared_ptr<MainWindowServices> MainServices;

  /// Finds, migrates, reads, pairs and opens the dictionary packages (ColDics, DicLanguages).
  void InitDics();
  /// Treats every package that a search found damaged (clsDic::Damaged) as one found damaged at
  /// opening: not visible, not current (its twin, else the first visible one, serves instead and
  /// the stored choice stays), not paired; the languages and buttons follow and the info line
  /// names it, once. True when there was one.
  bool SetAsideDamaged();
  /// Moves a file of an older installation to its new name, or deletes it when the new one
  /// exists (both relative to the program folder).
  void RemoveOldFiles(std::u16string_view oldName, std::u16string_view newName);

  /// Part-of-speech and gender tags of translation-record codes ("" for unknown codes).
  static std::u16string GetRech(std::int32_t ID);
  static std::u16string GetRod(std::int32_t ID);

  // Record sections and searches (records in dictionary/sections.h): every search first sets the
  // Unicode flag from the dictionary it reads; wild offsets in a package give the empty answer.
  /// 8-bit section text through the ANSI code page, one character per byte.
  static std::u16string GetByteStr(const std::vector<std::uint8_t>& b);
  /// S's UTF-16LE bytes passed through the ANSI code page and read back as UTF-16LE.
  static std::u16string GetCurCharSetString(std::u16string_view S);
  /// Word ID of Dic; an empty record for 0, beyond Words or outside the section.
  struct WordRec ReadWordRec(std::int32_t ID, const clsDic& Dic);
  /// 0 not found; full mode: the side 1, 2 or 3 and the matches in Ret (from index 0);
  /// SideOnly: the side of the hash match; FirstOnly: -1 at the first text match.
  std::int32_t FindWord(std::u16string_view Word, std::vector<struct WordRec>& Ret, const clsDic& Dic,
                        bool SideOnly = false, bool FirstOnly = false, bool DoEvent = false);
  bool WordExist(std::u16string_view Word, const clsDic& Dic);
  /// dc defaults to Dic; RetDir receives the word's side.
  std::u16string GetWordStrByID(std::int32_t ID, std::shared_ptr<clsDic> dc = nullptr, std::int32_t* RetDir = nullptr);
  /// Appends one TransRec per link of Word (or of WordID alone when it is not 0).
  void GetTransRecs(std::u16string_view Word, std::vector<struct TransRec>& Ret, const clsDic& Dic,
                    bool DoEvent = false, bool UseDir = false, bool Clear = false, std::int32_t WordID = 0);
  /// Every link of W, sorted by RecNo, from index 0; Links untouched when there is none.
  void GetTransLinks(const struct WordRec& W, const clsDic& Dic, std::vector<struct TransLink>& Links);
  /// Record N of the "TransW1" section [Start, End): Mode 0 whole, 1 WordID1 only, 2 WordID2 only.
  struct TransLink ReadLinkRec(std::int32_t N, std::int32_t FileN, std::int32_t Start, std::int32_t End,
                               std::int32_t Mode, std::int32_t HeaderLen);
  void AddTransRec(std::vector<struct TransRec>& Ret, const struct WordRec& W, const struct TransLink& L,
                   const clsDic& Dic);
  static struct ThemeRec GetThemeRec(const clsDic& Dic, std::int32_t ID);
  static long SafeUBoundTransRecs(const std::vector<struct TransRec>& A);
  static long SafeUBoundWordRecs(const std::vector<struct WordRec>& A);
  static long SafeUBoundTransLinks(const std::vector<struct TransLink>& A);
  /// Limit 0: whether some word begins with Text. Otherwise appends up to Limit words beginning
  /// with Text (lower case, dictionary order; AsIndex: a sample cut to Len(Text) + DL) and
  /// counts them in Count; False. Dic nullptr: the current dictionary.
  bool FindSorted(std::u16string_view Text, std::vector<struct WordRec>& Ret, std::int32_t Limit, bool Clear,
                  std::shared_ptr<clsDic> Dic, bool AsIndex, std::int32_t DL, bool DoEvent, std::int32_t& Count);
  static void SortRecs(std::vector<struct TransLink>& A, long First, long Last);
  static void SortByKey(std::vector<struct WordRec>& A, long First, long Last);
  static void SortRecsByText(std::vector<struct WordRec>& A, long First, long Last);
  /// The transcription of Word in the current dictionary's common package, or "".
  std::u16string GetTranscript(std::u16string_view Word);
  /// The translations of Word (dc defaults to Dic); with Random, one of them chosen at random
  /// (no element when there is none).
  std::vector<std::u16string> GetWordTrans(std::u16string_view Word, std::shared_ptr<clsDic> dc = nullptr,
                                           bool Random = false);
  /// The translations of the trimmed Text joined by "; ".
  std::u16string GetSimpleTrans(std::u16string_view Text);

  // The look-up (dictionary/lookup.h for its options and outputs).
  /// Translates Text: cleans it, cuts it into the longest known phrases, checks the direction,
  /// files the records into a result tree and renders it into rettext. The score, 0 for nothing.
  std::int32_t GetTranslate(std::u16string_view Text, std::u16string& rettext, const struct TranslateArgs& Args,
                            const struct TranslateOut& Out);
  std::int32_t GetTranslate(std::u16string_view Text, std::u16string& rettext);
  /// The longest entry of Dic that starts at word WordN (1-based) of Fraze, or "".
  std::u16string GetWordsTree(std::u16string_view Fraze, std::int32_t WordN, const std::shared_ptr<clsDic>& Dic,
                              bool Ext = false, bool DoEvent = false);
  /// The side of t in Dic (or its companion, else its full package): 0 none, 1, 2, 3 both.
  std::int32_t GetDir(std::u16string_view t, const std::shared_ptr<clsDic>& Dic);
  /// Whether t lies on a side that the current dictionary's direction accepts.
  bool CheckDirection(std::u16string_view t);
  /// The plain text of a full look-up of the first phrase of Word (Exact: all of Word), or "".
  std::u16string Translate(std::u16string_view Word, bool Exact = false);
  /// The language the words of Text belong to, and in RetVoice the voice to read it with.
  std::u16string GetTextLang(std::u16string_view Text, std::shared_ptr<clsVoice>* RetVoice = nullptr,
                             std::shared_ptr<clsDic>* RetDic = nullptr, std::int32_t* RetDir = nullptr);
  bool TransAbort = false;   // the look-up abort flag, shared by nested look-ups

  // ---- Application core: start-up, main-window services, links, history -----------------------
  /// Acts on a link the user points at, clicks or walks onto. Button is the link layer's action
  /// code (0 pointer, 1/2/4 button released, 10 caret moved, 13 Enter); Sender is the box the link
  /// is in; X and Y are client pixels of the pointer, 0 for the keyboard.
  void LinkHandler(const std::shared_ptr<clsLinkItem>& Link, std::int16_t Button, RichTextBox* Sender, long X,
                   long Y);
  /// Sees every LinkHandler call first (tests and plug-ins watch the links acted on).
  std::function<void(const std::shared_ptr<clsLinkItem>&, std::int16_t, RichTextBox*, long, long)>
      LinkHandlerHook;

  // ---- Application core: start-up, single instance, shut-down, visibility, tray ----------------
  /// The start-up: settings object, CheckRun, Init, PrepareForm, InstallFonts, InitDics, InitSpk,
  /// Launch, then the capture window. Returns when the program is up (or at once in a second copy).
  void Run();
  /// Clears a quit request; in a second copy leaves a show request (unless "/h") and ends.
  void CheckRun();
  /// System facts, folders, sounds, settings, interface texts, statistics, conflicting programs.
  void Init();
  /// Loads the indicators and the main window and adds the tray icon.
  void PrepareForm();
  /// First view, main window, learning cards, test menus, mode message, then StartEvents.
  void Launch();
  /// Registers the transcription font and refreshes the font list.
  void InstallFonts();
  /// Ends the program in order: placement, layout table, statistics, tray icons, packages,
  /// windows, plug-ins, settings. With terminate the process ends inside the call.
  void CloseMe(bool terminate = false);
  void StartEvents();
  void StopEvents();
  void ShowMe(bool Focus = false);
  void HideMe();
  void SetAutoMode(bool Enable, bool ShowTT = false);
  void CreateApplIcon();
  /// A balloon at the main tray icon: Text's first line is the title, the rest the body.
  void ShowNotify(std::int32_t ID, std::u16string_view Text, bool OnePerRun = false, bool AllowClick = false,
                  bool Error = false, bool Exclamation = false,
                  const std::optional<std::u16string>& ClickMessage = std::nullopt);
  /// The user clicked the last balloon: a clickable one is never shown again.
  void ClickLastNotify();
  /// The main window's once-a-second look at the requests of other copies and programs.
  void OnRemoteControlTick();

  /// Makes the windows (the shell installs its own; without one no window is made).
  std::shared_ptr<class FormLoader> Forms;
  std::shared_ptr<class MainForm> frmMain;
  std::shared_ptr<class CopyIndicator> frmCopy;
  std::shared_ptr<class BusyIndicator> frmBusy;
  std::shared_ptr<class ProgressForm> frmProgress;
  /// The progress window, made on first use; null without a form loader.
  class ProgressForm* Progress();

  /// What start-up and shut-down ask of neighbours; an empty hook does nothing.
  struct NeighbourHooks {
    std::function<void()> LoadClipHook;      // hidden clipboard and capture window
    std::function<void()> PlugInUnload;
    std::function<void()> ShowModeMessage;
    std::function<void()> StopAutomation;   // clients are cut off before the process ends
  };
  NeighbourHooks Hooks;

 private:
  void DetectConflictingApps();
  void DeleteTrayIcon();
  void ShowNoDictionaryMessage();
  void OpenQuickReferenceOnce();
  bool ending_ = false;  // CheckRun found another copy: nothing more starts
  std::unique_ptr<PackageFiles> files_;
  std::unique_ptr<Searches> searches_;
  std::unique_ptr<Lookup> lookup_;
  // What foundation asks of this object; installed with it by SetAppl.
  std::unique_ptr<class FoundationHost> foundationHost_;
  friend void SetAppl(Appl* app);

 public:

  // ---- Application core: view history, word lists and alphabet -------------------------------
  /// The main window and the neighbours as the views see them (app/view_host.h).
  std::shared_ptr<class ViewHost> Views;
  /// Views, or a quiet stand-in while none is installed.
  ViewHost& ViewServices();
  /// Undo, created empty on first use.
  clsUndo& History();

  // Word lists (app/word_list.cpp).
  /// Limit 0: {Text} when some word of Dic begins with Text, else empty. Otherwise up to
  /// Limit + 1 words that begin with Text (lower case, dictionary order), so that a caller sees
  /// that more exist.
  std::vector<std::u16string> GetList(std::u16string_view Text, std::int32_t Limit, bool AsIndex = false,
                                      std::int32_t RetDL = 0);
  /// The entries (at most 3000) whose words begin with the words of Text, each word of 2
  /// characters or more; RetInText receives the query searched.
  std::vector<std::u16string> GetListExt(std::u16string_view Text, std::u16string* RetInText = nullptr);
  /// Shows the list for Text in the output box; no Limit: the all list (3000).
  void FillWordList(std::u16string_view Text, std::optional<std::int32_t> Limit = std::nullopt, bool Focus = false,
                    bool AsIndex = false, std::int32_t MinLen = 0);
  /// Writes Text into the input box and shows its list (from 2 characters).
  void ShowList(std::u16string_view Text);
  /// The all list of Text (from 1 character).
  void ShowAllList(std::u16string_view Text);
  /// The info line's count of the word list shown last: a translation shown after it clears it.
  std::u16string ListInfo;
  /// The last phrase search of GetListExt.
  struct PhraseSearchCache {
    std::u16string Query;      // the query of Result
    std::u16string Candidate;  // the query of the search last started
    std::vector<std::u16string> Result;
    bool Complete = false;     // the last search ran to its end
  } ListCache;

  // Alphabet index (app/alphabet.cpp).
  /// Without lit the alphabet of the side gCurABC, with lit the letter view of lit.
  void ShowABC(std::u16string_view lit = {});
  /// The single letter lit (fewer than 2 characters) as a large heading.
  void ShowLit(std::u16string_view lit);

  /// The ending scanner: learns ending rules from a folder of texts into its "replace.txt".
  void ScanSFX();

  // ---- Application core: the main window's controls, toolbars, menus, timers -----------------
  /// The main window's behaviour, once the window is loaded (it is also Views).
  std::shared_ptr<class MainWindowCore> MainCore;

  // ---- Application core: main-window services, result output, link dispatch, menus, help -----
  // The neighbours these services reach (app/neighbour_services.h); a quiet stand-in answers
  // for one not installed.
  std::shared_ptr<class CaptureServices> Capture;
  std::shared_ptr<class SpeechServices> Speech;
  std::shared_ptr<class SettingsDialog> frmSetting;
  /// Makes the About window (the shell installs it; without one nothing is shown).
  std::function<std::shared_ptr<class AboutWindow>()> LoadAbout;
  std::shared_ptr<class AboutWindow> frmAbout;  // the About window last shown; unloaded by CloseMe
  CaptureServices& CaptureSide();
  SpeechServices& SpeechSide();

  // Main-window services (app/main_window_services.cpp): writes into the main window's boxes.
  /// Shows Text in the info line; with AutoHide it clears 2 s after the last message.
  void Info(std::u16string_view Text, bool AutoHide = false);
  void InfoClear();
  /// Forgets the last look-up, so the next one is made afresh.
  void ClearBuffer();
  /// Writes the input box; NoList keeps the word list from following.
  void SetInput(std::u16string_view Text, bool NoList = false);
  std::u16string GetInput();
  /// Plain text into the output box (its links stay as they were).
  void SetOutPut(std::u16string_view Text, std::int32_t Mode, bool Focus = false);
  /// Notification of the manual or automatic mode, once per run.
  void ShowModeMessage();
  void OpenBackTrans();
  void CloseBackTrans();
  /// The translations of txt as links in the back-translation pane (when it is open).
  void ShowBackTrans(std::u16string_view txt, bool Caption = false);
  void ClearBackTrans();

  // Result output (app/result_output.cpp).
  /// Gives a link the plain look of translation links: no hand cursor, sound or underline.
  static void FormatTransLink(clsLinkItem& Link);
  /// Shows the looked-up text and its rendered markup in the main window.
  void TransOnForm(std::u16string_view RetInText, std::u16string_view rettext, bool IsTrans,
                   bool RepeatTrans = false);
  /// Looks Text up and shows it on the main window (OnForm) or in the popup.
  void ShowTrans(std::u16string_view Text, const struct ShowTransArgs& Args);

  // Popup menu (app/popup_menu.cpp).
  /// Prepares mnuMain for the toolbar (OnForm) or the tray and pops it up.
  void ShowMenu(bool OnForm);

  // Help, About, settings entry (app/help_about.cpp).
  /// "<program folder>\Help\<interface language>.chm".
  std::u16string GetHelpFile();
  void ShowHelp(std::u16string_view topic = {}, std::u16string_view window = {});
  void ShowAbout();
  /// The About template of the interface language with its placeholders filled.
  std::u16string AboutText();
  /// The settings dialog, modal; the polling stops meanwhile.
  void ShowSetting();
  /// The hourglass on (WaitOn) or off.
  void Wait(bool WaitOn = false);

  // Plug-in host and minor services (app/plugin_host.cpp).
  std::shared_ptr<class PlugInObject> PlugIn;
  std::shared_ptr<class PlugInObject> Hint;
  /// Makes a plug-in object by ProgID (null when none is registered); none installed: no plug-ins.
  std::function<std::shared_ptr<PlugInObject>(std::u16string_view progId)> CreatePlugIn;
  /// Hands an event of the popup window to the skin plug-in; True when it took that step over.
  bool SendEvent(std::u16string_view Name, const std::vector<EventArg>& Args = {});
  void PlugInInit();
  void PlugInUnload();
  /// The clipboard changed: IsTextInClip follows, and copied text may be spoken.
  void ClipboardEventsChanged();
  /// Developer timing test.
  void Test();

  // ---- Neighbours: capture, speech and companions, settings dialog -----------------------------
  // The capture side (capture/): the clipboard, the copy indicator, link hints, dropped text and
  // the per-application list.
  /// The clipboard's Unicode text, "" when there is none.
  std::u16string GetClipboard();
  /// A non-empty Text replaces the clipboard content; with Show the info line tells of it.
  void CopyText(std::u16string_view Text, bool Show = false);
  /// Copies the text of the last translation result.
  void CopyTrans();
  /// A new text becomes the pending copy at the pointer; the same text again is copied at once.
  void ShowCopyCursor(std::u16string_view CopyText);
  /// The hint of a link the pointer rests on.
  void ToolTipHandler(const std::shared_ptr<clsLinkItem>& Link);
  /// Translates text dropped on the main window.
  void TransDrop(std::u16string_view Data);
  /// False when window (or, by mouse, "explorer.exe" or this program) is in the per-application
  /// list; True otherwise. ClearCache forgets the last window looked up.
  bool CheckWindow(std::uintptr_t hWnd, bool ByMouse = false, bool ClearCache = false);
  /// A number key of the word.
  double getWordX(std::u16string_view w);
  /// The on-screen keyboard's language labels (installed by the keyboard form).
  std::shared_ptr<class KeyboardForm> Keyb;
  /// Merges the user's "trl.dat" into the global prefix collection.
  void LoadUserSwitch();

  // Speech, the on-screen keyboard, layout switching, learning cards and statistics
  // (companions/). They reach the platform through Companion; without one nothing is shown or
  // spoken.
  std::shared_ptr<class CompanionServices> Companion;
  std::shared_ptr<class CompanionState> Companions;  // their state, made on first use
  class CompanionState& CompanionData();
  /// stat, created empty on first use.
  clsStat& Stat();
  /// After a look-up of Text was shown: with AddStat its words go into the statistics, and the
  /// translation may be read aloud.
  void LookupShown(std::u16string_view Text, const struct ShowTransArgs& Args);
  /// The statistics window: most frequent words first, or most recent first.
  void ShowStat(bool MostFrequently);
  /// Starts the speech server, enumerates its voices into Voices, then Setting.LoadVoices.
  void InitSpk();
  /// Reads t aloud with the voice of Dic's side Dir, or of the language of t. Offset: where t
  /// starts in the output box (Src 1), so that the word being read is highlighted there.
  void SpeakText(std::u16string_view t, std::shared_ptr<clsDic> Dic, bool Delay = false, std::int32_t Offset = 0,
                 std::int32_t Src = 0, std::int32_t Dir = 0);
  void SpeakClick(bool OnForm);
  void StopSpeak();
  bool IsSpeaking();
  /// side 1 copied text, 2 a translation: spoken shortly when automatic speaking of it is on.
  void ArmAutoSpeak(std::int32_t side);
  void PasteSpkSrc();
  void SpeakSrc(std::u16string_view Text = {}, std::int32_t Dir = 0);
  /// The word being read (Length > 0), or where reading the output box starts (Length 0).
  void SAPI5EventSpeakWord(std::int32_t Start, std::int32_t Length);
  void ShowSpkIco(bool Show = true, std::int32_t Speaking = 0);
  void ShowKeyb(bool dock = false);
  void HideKeyb();
  void ShowKeybIco(bool Show = true);
  /// Hides the on-screen keyboard when it is docked and visible.
  void HideDockedKeyb();
  void StartLearn();
  void RefreshLrnSrc(bool Clear);
  /// Writes the user's layout-switch statistics to "trl.dat" (when the recorder changed them and
  /// the file may be replaced); false when changes were not written.
  bool SaveUserSwitch();
  /// Whether Text is one word that, typed on the keys of one of the current dictionary's layouts
  /// and read in its other one, begins a word of the dictionary.
  bool FoundInOtherLayout(std::u16string_view Text);
};

/// The application object of the process (Main stores it; tests install their own).
Appl& gAppl();
/// Makes app the process's application object; nullptr clears it.
void SetAppl(Appl* app);
/// Whether an application object is installed.
bool HasAppl();

/// Creates the settings object of app: Appl.Sett and G().gSetting are then the same object.
std::shared_ptr<Setting> CreateSettings(Appl& app);

/// The process-wide state of the current application object.
inline ProcessState& G() { return gAppl().State; }

}  // namespace parlavent
