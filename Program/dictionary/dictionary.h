#pragma once
// A loaded dictionary package and the records it owns. InitDics (app/dic_loader.cpp) creates and
// fills them; the look-up, the word lists and the main window read them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/keyed_collection.h"

namespace parlavent {

class PackageFile;
class Picture;
class ToolbarButton;
class clsVoice;

/// One description of a dictionary's source, in one interface language.
class clsDicSrc {
 public:
  std::int32_t SrcID = 0;                      // not filled
  std::int32_t LangID = 0;                     // the interface language it is written for
  std::u16string Language1;                    // display names of the two languages
  std::u16string Language2;
  std::u16string Name;                         // full name of the dictionary
  std::vector<std::u16string> TranscrHelp;     // transcription help lines; empty when none
};

/// A theme (subject field) of the dictionary's translation records.
class clsTheme {
 public:
  std::int32_t ID = 0;
  std::u16string Name;    // full name
  std::u16string Short;   // short name
};

/// A word-ending rule: a word ending in sfx may end in any of Replaces instead.
class clsSfx {
 public:
  std::u16string sfx;
  std::vector<std::u16string> Replaces;
  std::uint8_t MinWordLen = 0;   // shortest word the rule applies to
  std::uint8_t ubReplaces = 0;   // last index of Replaces (0 also when Replaces is empty)
};

using SrcCollection = KeyedCollection<std::shared_ptr<clsDicSrc>>;
using ThemeCollection = KeyedCollection<std::shared_ptr<clsTheme>>;
using SfxCollection = KeyedCollection<std::shared_ptr<clsSfx>>;
using PictureCollection = KeyedCollection<std::shared_ptr<Picture>>;

/// One loaded dictionary package. Its public fields are properties of the automation interface,
/// in interface order.
class clsDic : public std::enable_shared_from_this<clsDic> {
 public:
  std::u16string Name;                 // short display name
  bool IsDef = false;
  bool Enabled = false;                // the current dictionary
  std::u16string IniFile;
  std::u16string IcoFile;              // the temporary file pictures are loaded through
  std::u16string ReplaceFile;
  std::u16string FileTitle;            // file name without folder and extension
  std::u16string ThemesFile;
  std::u16string path;                 // full path; the key in ColDics
  std::shared_ptr<Picture> Icon;       // both directions
  std::shared_ptr<Picture> Icon1;      // side 1 -> side 2
  std::shared_ptr<Picture> Icon2;      // side 2 -> side 1
  std::int32_t Index = 0;              // 1-based position in load order
  std::int32_t FileN = 0;              // number of the open package in the byte-file table
  std::int32_t FileLen = 0;
  // Section start and end offsets.
  std::int32_t bsWords = 0;
  std::int32_t bsWordsHash = 0;
  std::int32_t bsWordsSort = 0;
  std::int32_t bsTransW1 = 0;
  std::int32_t bsTransW2 = 0;
  std::int32_t bsTranscr = 0;
  std::int32_t beWords = 0;
  std::int32_t beWordsHash = 0;
  std::int32_t beWordsSort = 0;
  std::int32_t beTransW1 = 0;
  std::int32_t beTransW2 = 0;
  std::int32_t beTranscr = 0;
  std::int32_t MinTW1 = 0;
  std::int32_t MaxTW1 = 0;
  std::int32_t UBTW1 = 0;
  std::int32_t MinTW2 = 0;
  std::int32_t MaxTW2 = 0;
  std::int32_t UBTW2 = 0;
  double MinWordsHash = 0;
  double MaxWordsHash = 0;
  std::int32_t WordsHashUB = 0;
  std::int32_t Words = 0;              // number of words ("WordsSort" entries)
  std::shared_ptr<ThemeCollection> Themes = std::make_shared<ThemeCollection>();
  std::vector<std::u16string> ReplaceArr;
  std::shared_ptr<SfxCollection> SfxCol = std::make_shared<SfxCollection>();
  std::shared_ptr<clsDic> Dicx;        // on a full package: its paired common package
  bool Visible = false;
  bool Demo = false;                   // a common package
  // On a common package: its full package. Weak, because the full package holds this one as
  // Dicx and ColDics owns both.
  std::weak_ptr<clsDic> FullDic;
  std::u16string Lang1;
  std::u16string Lang2;
  std::u16string CharSet1;
  std::u16string CharSet2;
  std::int32_t Layout1 = 0;            // keyboard layouts of the two sides (0 = none)
  std::int32_t Layout2 = 0;
  PictureCollection Layer1;
  PictureCollection Layer2;
  bool Unicode = false;
  bool SupportDirection = false;       // can be used one way at a time
  bool SupportRech = false;            // records carry part-of-speech and gender codes
  std::u16string FullDicFile;
  std::shared_ptr<SrcCollection> Srcs = std::make_shared<SrcCollection>();
  std::shared_ptr<ToolbarButton> Button;
  bool HaveTranscrHelp = false;
  std::shared_ptr<clsVoice> Voice1;
  std::shared_ptr<clsVoice> Voice2;

  /// The flag picture for the current direction; without SupportDirection always Icon.
  std::shared_ptr<Picture> Flag() const;
  /// Transcription help lines of GetSrc (or of Dicx's GetSrc); empty when there are none.
  std::vector<std::u16string> GetTranscrHelp() const;
  /// Dicx when set, else this dictionary.
  std::shared_ptr<clsDic> GetDemoDic();
  /// 0 both ways, 1 side 1 -> side 2, 2 side 2 -> side 1.
  std::int32_t Direction() const { return direction_; }
  /// Sets the direction here and on Dicx.
  void Direction(std::int32_t value);
  /// The source for the interface language, else source "k0"; nullptr when neither exists.
  std::shared_ptr<clsDicSrc> GetSrc() const;
  /// Makes this the current dictionary and stores it as the user's choice ("Main"/"Dic"); with
  /// Refr the info line and buttons follow.
  void SetEnabled(bool Refr = false);
  /// As SetEnabled, but the stored choice stays: this one serves only until it can be used again.
  void ServeInstead();
  /// The theme record under ID; nullptr when there is none.
  std::shared_ptr<clsTheme> GetTheme(std::int32_t ID) const;
  /// The direction text ("English --> Russian") or, one-way-less dictionaries, the full name.
  std::u16string GetDirStr() const;
  /// Characters of the longest word text of the package (phrases included), or upTo when it has
  /// a text that long: no search can find a longer text, so none is tried. Read from its "Words"
  /// through package (the file open under FileN), only as far as upTo needs: the offset table is
  /// walked from where the last call stopped until a text of upTo characters turns up
  /// (sections.cpp). So opening a package and looking up ordinary texts read a few entries, and
  /// only a text longer than every word reads the whole table, once.
  std::int64_t LongestText(const PackageFile& package, std::int64_t upTo = INT64_MAX) const;
  /// A search found the package's records damaged where it read them (out of bounds or out of
  /// order): from then on every search of it answers nothing, and the application sets it aside as
  /// a package found damaged at opening (Appl::SetAsideDamaged).
  bool Damaged() const { return damaged_; }
  void FoundDamaged() const { damaged_ = true; }

 private:
  void MakeCurrent(bool Refr);
  // How far LongestText has walked the "Words" offset table: the next span, the entry that opens
  // it, the longest span so far in bytes, and the number of spans there are (-1 before the
  // first walk).
  struct TextScan {
    std::int64_t next = 1;
    std::int32_t entry = 0;
    std::int64_t longest = 0;
    std::int64_t spans = -1;
  };
  std::int32_t direction_ = 0;
  mutable TextScan scan_;
  mutable bool damaged_ = false;
};

/// One dictionary that serves a language, and on which side.
class clsDicLangItem {
 public:
  std::shared_ptr<clsDic> Dic;
  std::int32_t Dir = 0;   // 1 when the language is side 1 of Dic, 2 when side 2
};

/// One language across all visible dictionaries (items of Appl.DicLanguages, key = code).
class clsDicLang {
 public:
  std::u16string Lang;
  KeyedCollection<std::shared_ptr<clsDicLangItem>> Dics;   // in load order, unkeyed

  /// The language's display name, from the first dictionary that serves it.
  std::u16string Name() const;
  /// The dictionary of item Index (1-based); nullptr outside the collection.
  std::shared_ptr<clsDic> GetDic(std::int32_t Index) const;
  /// The side of item Index (1-based); 0 outside the collection.
  std::int32_t GetDir(std::int32_t Index) const;
};

}  // namespace parlavent
