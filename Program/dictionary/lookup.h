#pragma once
// The look-up, its options and outputs. While it works it drives the busy indicator beside the
// pointer and may show a numbered notification balloon (through its owner: the main window
// installs the real forms; natively quiet defaults stand in and tests install fakes).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace parlavent {

class BusyIndicator;
class Searches;
class Setting;
class TreeEnvironment;
class WordSet;
class clsDic;
struct EngineState;

/// The Boolean parameters of GetTranslate, all False unless set.
struct TranslateArgs {
  bool OneWord = false;           // only the first phrase of the text
  bool FullText = false;          // the whole text as one phrase: no cutting, no word limit
  bool SplitMode = false;         // a nested try of compound splitting
  bool CheckCursorShift = false;  // abandon when a mouse button is down or the pointer moves
  bool BusyShowed = false;        // show the busy indicator while working
  bool CheckDir = false;          // check the text's side against the chosen direction
  bool DirSilent = false;         // refuse the look-up when that check fails
  bool ClrBuffer = false;         // never reuse the last result
  bool OnForm = false;            // the result is meant for the main window
  bool Tochno = false;            // common-translation list mode
  bool RepeatTrans = false;       // the user asks again, for the extended translation
};

/// The optional outputs of GetTranslate; each is written only when given.
struct TranslateOut {
  std::u16string* RetInText = nullptr;             // the part of the text the result covers
  bool* RetCheckDir = nullptr;                     // False when refused for the wrong direction
  std::shared_ptr<WordSet>* RetWordSet = nullptr;  // the result tree
};

/// The look-up: GetTranslate and Translate, the phrase search GetWordsTree, the direction
/// choice, compound splitting and the common-translation list. Appl's operations of the same
/// names hand over to it.
class Lookup {
 public:
  /// What the look-up reads and writes of its owner (Appl.Dic, Appl.WordSet, Appl.TransAbort and
  /// Appl.frmBusy in the program).
  struct Slots {
    std::shared_ptr<clsDic>& Dic;          // the current dictionary
    std::shared_ptr<WordSet>& Result;      // the result of the last look-up, its reuse buffer
    bool& Abort;                           // the abort flag, shared by nested look-ups
    std::shared_ptr<BusyIndicator>& Busy;  // the busy indicator; may be empty
  };
  /// Interface text n of the current language.
  using Texts = std::function<std::u16string(std::int32_t n)>;
  /// Notification ID with Text, once a run, clickable: the refusal for the wrong direction.
  using Notify = std::function<void(std::int32_t ID, std::u16string_view Text)>;

  /// settings is where the settings object is held (it may be empty, and may be replaced later).
  /// Without texts or notify there is no text and no notification.
  Lookup(EngineState& state, Searches& search, const std::shared_ptr<Setting>& settings, Slots slots, Texts texts = {},
         Notify notify = {});

  /// Translates Text: cleans it, cuts it into the longest known phrases, checks the direction,
  /// files the records into a result tree and renders it into rettext. The score, 0 for nothing.
  std::int32_t GetTranslate(std::u16string_view Text, std::u16string& rettext, const TranslateArgs& Args,
                            const TranslateOut& Out);
  /// The plain text of a full look-up of the first phrase of Word (Exact: all of Word), or "".
  std::u16string Translate(std::u16string_view Word, bool Exact = false);
  /// The longest entry of Dic that starts at word WordN (1-based) of Fraze, or "".
  std::u16string GetWordsTree(std::u16string_view Fraze, std::int32_t WordN, const std::shared_ptr<clsDic>& Dic,
                              bool Ext = false, bool DoEvent = false);
  /// The side of t in Dic (or its companion, else its full package): 0 none, 1, 2, 3 both.
  std::int32_t GetDir(std::u16string_view t, const std::shared_ptr<clsDic>& Dic);
  /// Whether t lies on a side that the current dictionary's direction accepts.
  bool CheckDirection(std::u16string_view t);

  EngineState& State() { return state_; }
  Searches& Search() { return search_; }
  /// The settings object, or nullptr while there is none.
  const Setting* Settings() const { return settings_.get(); }
  const Slots& Owner() const { return slots_; }
  std::u16string Text(std::int32_t n) const { return texts_ ? texts_(n) : std::u16string(); }
  void ShowNotify(std::int32_t ID, std::u16string_view Text) const {
    if (notify_) notify_(ID, Text);
  }
  /// What the result trees of this look-up read (dictionary/result_tree.h); none: the
  /// application object's.
  const std::shared_ptr<TreeEnvironment>& Trees() const { return trees_; }
  void SetTrees(std::shared_ptr<TreeEnvironment> trees) { trees_ = std::move(trees); }

 private:
  EngineState& state_;
  Searches& search_;
  const std::shared_ptr<Setting>& settings_;
  Slots slots_;
  Texts texts_;
  Notify notify_;
  std::shared_ptr<TreeEnvironment> trees_;
};


}  // namespace parlavent
