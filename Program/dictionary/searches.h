#pragma once
// The searches of the record sections (records in dictionary/sections.h): words by hash and by
// ID, translation links, sorted prefix lists, transcriptions and the translations of a word. Each
// takes the dictionary it reads; every search first sets the Unicode flag from it, and wild
// offsets in a package give the empty answer. Appl's operations of the same names hand over to
// these with the current dictionary.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/sections.h"

namespace parlavent {

class PackageFiles;
class Setting;
class clsDic;
struct EngineState;

class Searches {
 public:
  /// settings is where the settings object is held (it may be empty, and may be replaced later):
  /// the sorted search reads NoDirForType from it.
  Searches(EngineState& state, PackageFiles& files, const std::shared_ptr<Setting>& settings);

  /// 8-bit section text through the ANSI code page, one character per byte.
  static std::u16string GetByteStr(const std::vector<std::uint8_t>& b);
  /// S's UTF-16LE bytes passed through the ANSI code page and read back as UTF-16LE.
  static std::u16string GetCurCharSetString(std::u16string_view S);
  /// Word ID of Dic; an empty record for 0, beyond Words or outside the section.
  WordRec ReadWordRec(std::int32_t ID, const clsDic& Dic);
  /// 0 not found; full mode: the side 1, 2 or 3 and the matches in Ret (from index 0);
  /// SideOnly: the side of the hash match; FirstOnly: -1 at the first text match.
  std::int32_t FindWord(std::u16string_view Word, std::vector<WordRec>& Ret, const clsDic& Dic, bool SideOnly = false,
                        bool FirstOnly = false, bool DoEvent = false);
  bool WordExist(std::u16string_view Word, const clsDic& Dic);
  /// The text of word ID of dc ("" without dc); RetDir receives the word's side.
  std::u16string GetWordStrByID(std::int32_t ID, const std::shared_ptr<clsDic>& dc, std::int32_t* RetDir = nullptr);
  /// Appends one TransRec per link of Word (or of WordID alone when it is not 0).
  void GetTransRecs(std::u16string_view Word, std::vector<TransRec>& Ret, const clsDic& Dic, bool DoEvent = false,
                    bool UseDir = false, bool Clear = false, std::int32_t WordID = 0);
  /// Every link of W, sorted by RecNo, from index 0; Links untouched when there is none.
  void GetTransLinks(const WordRec& W, const clsDic& Dic, std::vector<TransLink>& Links);
  /// Record N of the "TransW1" section [Start, End): Mode 0 whole, 1 WordID1 only, 2 WordID2 only.
  TransLink ReadLinkRec(std::int32_t N, std::int32_t FileN, std::int32_t Start, std::int32_t End, std::int32_t Mode,
                        std::int32_t HeaderLen);
  void AddTransRec(std::vector<TransRec>& Ret, const WordRec& W, const TransLink& L, const clsDic& Dic);
  static ThemeRec GetThemeRec(const clsDic& Dic, std::int32_t ID);
  static long SafeUBoundTransRecs(const std::vector<TransRec>& A);
  static long SafeUBoundWordRecs(const std::vector<WordRec>& A);
  static long SafeUBoundTransLinks(const std::vector<TransLink>& A);
  /// Limit 0: whether some word of Dic begins with Text. Otherwise appends up to Limit words
  /// beginning with Text (lower case, dictionary order; AsIndex: a sample cut to Len(Text) + DL)
  /// and counts them in Count; False. No Dic: False and nothing found.
  bool FindSorted(std::u16string_view Text, std::vector<WordRec>& Ret, std::int32_t Limit, bool Clear,
                  std::shared_ptr<clsDic> Dic, bool AsIndex, std::int32_t DL, bool DoEvent, std::int32_t& Count);
  static void SortRecs(std::vector<TransLink>& A, long First, long Last);
  static void SortByKey(std::vector<WordRec>& A, long First, long Last);
  static void SortRecsByText(std::vector<WordRec>& A, long First, long Last);
  /// The transcription of Word in the common package of current (itself when it is one), or "".
  std::u16string GetTranscript(std::u16string_view Word, const std::shared_ptr<clsDic>& current);
  /// The translations of Word in dc; with Random, one of them chosen at random (no element when
  /// there is none).
  std::vector<std::u16string> GetWordTrans(std::u16string_view Word, const std::shared_ptr<clsDic>& dc,
                                           bool Random = false);
  /// The translations of the trimmed Text in current (its common package first) joined by "; ".
  std::u16string GetSimpleTrans(std::u16string_view Text, const std::shared_ptr<clsDic>& current);

  PackageFiles& Files() { return files_; }

 private:
  EngineState& state_;
  PackageFiles& files_;
  const std::shared_ptr<Setting>& settings_;
};

}  // namespace parlavent
