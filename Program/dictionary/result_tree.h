#pragma once
// The result tree of one look-up: words, then parts of speech, theme triples, comment groups and
// translations, each level a keyed collection that drops duplicates (keys are case-blind), and
// the rendering of the tree as link markup or as plain text.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/keyed_collection.h"

namespace parlavent {

class Setting;

/// What a result tree reads when it files and renders: the settings, the interface texts and the
/// transcription of a new entry. A tree without one reads the application object's
/// (dictionary/lookup_deps.h); the engine without an application gives its trees its own.
class TreeEnvironment {
 public:
  virtual ~TreeEnvironment() = default;
  /// The settings object, or nullptr while there is none.
  virtual const Setting* Settings() = 0;
  /// Interface text n of the current language.
  virtual std::u16string Text(std::int32_t n) = 0;
  /// The transcription of word in the current dictionary's common package, or "".
  virtual std::u16string Transcript(std::u16string_view word) = 0;
};

/// One translation.
class TranslateItem {
 public:
  std::u16string Text;
  std::int32_t Dir = 0;   // dictionary side of the translation
};

/// The translations that share one comment.
class clsCommItem {
 public:
  KeyedCollection<std::shared_ptr<TranslateItem>> TransSet;   // "k" & translation
  std::u16string Comment;                                      // trimmed

  void AddTranslation(std::u16string_view TransWord, std::u16string_view Translation, std::int32_t Dir);
};

/// The translations of one theme triple, grouped by comment.
class ThemeItem {
 public:
  KeyedCollection<std::shared_ptr<clsCommItem>> CommSet;   // "k" & trimmed comment
  std::u16string Key;
  std::u16string StrThemes;                                 // the theme names joined by ", "

  void AddTranslation(std::u16string_view TransWord, std::u16string_view Translation, std::u16string_view Comment,
                      std::int32_t Dir);
};

/// The translations of one part of speech, grouped by theme triple.
class clsRechSet {
 public:
  std::int32_t ID = 0;                                // part-of-speech code
  KeyedCollection<std::shared_ptr<ThemeItem>> ThemeSet;

  /// Unicode: the key form of the themes' hashes, that of the package the records were read from.
  void AddTranslation(std::u16string_view TransWord, std::u16string_view Translation, std::u16string_view Comment,
                      std::u16string_view Theme1, std::u16string_view Theme2, std::u16string_view Theme3,
                      std::int32_t Dir, bool Unicode = false);
  /// The key of a theme triple: "k" & the mean of the three theme hashes (package keys in the
  /// Unicode or the ANSI form).
  static std::u16string ThemeKey(std::u16string_view Theme1, std::u16string_view Theme2, std::u16string_view Theme3,
                                 bool Unicode = false);
};

/// One looked-up word or phrase and its translations.
class TranslationSet {
 public:
  std::u16string Word;
  KeyedCollection<std::shared_ptr<clsRechSet>> RechSet;   // "k" & part-of-speech code
  bool ShortTrans = false;
  bool UseExtTrans = false;     // a translation carried the extended-translation marker
  bool IsTranslated = false;
  std::u16string Transcription;
  std::u16string TransString;   // the last rendering
  std::u16string SpeakString;   // the text to read aloud, made with the rendering
  std::int32_t WordW = 0, WordH = 0, TransH = 0, TransW = 0, TranscrH = 0, TranscrW = 0;
  std::int32_t WordDir = 0;     // sides of the word and of its translations, from the first one added
  std::int32_t TransDir = 0;
  std::shared_ptr<TreeEnvironment> Environment;  // its word set's

  /// Files one translation; nullptr (and nothing changed) for a blank translation. Unicode is
  /// the text mode of the package the record came from (the key form of its themes).
  std::shared_ptr<clsRechSet> AddTranslation(std::u16string_view TransWord, std::u16string_view Translation,
                                             std::u16string_view Comment, std::u16string_view Theme1,
                                             std::u16string_view Theme2, std::u16string_view Theme3,
                                             std::int32_t Rech, std::int32_t WDir, std::int32_t TDir,
                                             bool Unicode = false);
  /// Link markup (OnForm: for the main window; else for the popup), or plain text with Simple.
  std::u16string GetString(bool OnForm = false, bool Simple = false);
};

/// The result of one look-up; its look-up fields are the reuse buffer of the next one.
class WordSet {
 public:
  KeyedCollection<std::shared_ptr<TranslationSet>> Words;   // "k" & word
  std::u16string InString;     // the text that was looked up
  std::int32_t RetIndex = 0;   // score
  std::u16string RetString;    // the text the look-up covered
  bool IsTrans = false;
  bool UseExtTrans = false;
  std::u16string Translation;  // the rendered markup
  std::int32_t CheckDir = 0;   // -1 passed, 0 refused
  bool ExtTrans = false;       // a repeated (extended) look-up
  bool OnForm = false;
  std::shared_ptr<TreeEnvironment> Environment;  // none: the application object's

  /// The entry of Word, created (with its transcription when shown) when it is new.
  std::shared_ptr<TranslationSet> AddWord(std::u16string_view Word);
  /// Every entry: heading, transcription (with Transcription), translations; blank-line separated.
  std::u16string GetString(bool OnForm = false, bool Simple = false, bool Transcription = false);
};

/// A translation record with its dictionary, themes and comment (not used by the look-up).
class Translation {
 public:
  std::u16string Translation;
  std::u16string Comment;
  std::vector<std::u16string> Themes;
  std::u16string Dictionary;

  /// "(Dictionary: theme, theme) translation (comment)".
  std::u16string GetString() const;
};

}  // namespace parlavent
