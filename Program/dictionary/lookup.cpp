// GetTranslate: text in, a scored result tree and its rendering out. The text is cleaned and cut
// from left to right into the longest known phrases; each pass watches the user (Esc, mouse
// buttons, a pointer moved away) so that a look-up started from the mouse stops at once.
#include "dictionary/lookup.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dictionary/busy_indicator.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/lookup_deps.h"
#include "dictionary/lookup_modes.h"
#include "dictionary/phrases.h"
#include "dictionary/result_tree.h"
#include "foundation/api_input.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kVkEscape = 27;
constexpr std::int32_t kMaxWords = 8;
constexpr std::int32_t kWrongDirectionText = 150;
constexpr std::int32_t kWrongDirectionNotice = 1;

constexpr std::u16string_view kWordEnds = u" -";

// The words of a text for counting and cutting: every hyphen ends a word.
std::vector<std::u16string> HyphenWords(std::u16string_view text) {
  if (text.empty()) return {};
  return SplitText(ReplaceAll(text, u"-", u"- "), u" ");
}

bool IsNumber(std::u16string_view text) {
  const std::u16string_view t = TrimView(text);
  return !t.empty() && std::all_of(t.begin(), t.end(), IsDigit);
}

// Blanks, then hyphens, then blanks again off both ends, as API::TrimString and Trim do it.
std::u16string_view TrimRest(std::u16string_view text) {
  text = TrimView(text);
  while (!text.empty() && text.front() == u'-') text.remove_prefix(1);
  while (!text.empty() && text.back() == u'-') text.remove_suffix(1);
  return TrimView(text);
}

// The first word of a text as the passes count words: up to a blank, or through a hyphen.
std::u16string_view FirstWord(std::u16string_view text) {
  const std::size_t end = text.find_first_of(kWordEnds);
  if (end == std::u16string_view::npos) return text;
  return text.substr(0, text[end] == u'-' ? end + 1 : end);
}

std::u16string Clean(std::u16string_view text, bool fullText) {
  std::u16string c = API::TrimString(API::TrimString(API::TrimString(text, u"\r\n"), u"\r"), u"\n");
  c = ReplaceAll(c, u"\u2022 ", u"");
  if (fullText) return c;
  if (const auto stop = c.find(u'.'); stop != std::u16string::npos) c.erase(stop);
  c = Trim(c);
  c = ReplaceAll(ReplaceAll(c, u"\r\n", u" "), u"\r", u" ");
  c = SplitWords(c);
  // Every run of blanks becomes one blank, and only the first eight words stay.
  std::u16string limited;
  limited.reserve(c.size());
  std::size_t words = 0;
  for (const char16_t ch : c) {
    if (ch == u' ' && !limited.empty() && limited.back() == u' ') continue;
    if (ch == u' ' && ++words == static_cast<std::size_t>(kMaxWords)) break;
    limited.push_back(ch);
  }
  return Trim(limited);
}

// One look-up, from the start of the passes to the stored result.
class LookupRun {
 public:
  LookupRun(Lookup& lookup, const TranslateArgs& args, bool& retCheckDir)
      : lookup_(lookup),
        dic_(lookup.Owner().Dic),
        args_(args),
        retCheckDir_(retCheckDir),
        words_(std::make_shared<WordSet>()) {
    words_->Environment = lookup.Trees();
    const Setting* sett = lookup.Settings();
    allowShort_ = sett && sett->GlbAllowShort;
    extTransString_ = sett ? sett->ExtTransString : std::u16string();
  }

  const std::shared_ptr<WordSet>& Words() const { return words_; }
  bool Found() const { return found_; }
  std::int32_t Score() const { return score_; }
  const std::u16string& Covered() const { return covered_; }
  bool ExtTransOffered() const { return extTrans_; }

  /// Runs the passes over the cleaned text; false when abandoned or refused. The rest of the
  /// text is always a part of it, so a pass costs what it looks at, not what remains.
  bool Passes(const std::u16string& cleaned, Point start) {
    std::u16string_view rest = cleaned;
    for (std::int32_t n = 1; !rest.empty(); ++n) {
      if (args_.FullText) {
        phrase_ = rest;
        fromCompanion_ = true;
      } else {
        const Point now = Input().CursorPos();
        Pump().DoEvents();
        if (IsNumber(rest)) {
          phrase_.clear();  // a number is no phrase: it enters the result untranslated
        } else {
          if (Abandoned(start, now)) return false;
          SearchPhrase(rest);
        }
      }
      phrase_ = Trim(API::TrimString(Trim(phrase_), u"-"));
      // In full-text mode the whole text counts as one word.
      auto m = args_.FullText ? 0 : static_cast<std::int32_t>(HyphenWords(phrase_).size()) - 1;
      if (phrase_.empty()) {
        words_->AddWord(std::u16string(FirstWord(rest)));
      } else if (!FilePhrase(n, m)) {
        return false;
      }
      if (args_.FullText) {
        covered_ = rest;
        break;
      }
      rest = Advance(rest, std::max(m, 0));
      if (args_.OneWord) break;
    }
    return true;
  }

 private:
  bool Abandoned(Point start, Point now) {
    bool& abort = lookup_.Owner().Abort;
    if (API::GetPressedKey(kVkEscape)) abort = true;
    if (args_.CheckCursorShift) {
      if (API::IsMouseButtonDown(1) || API::IsMouseButtonDown(2)) abort = true;
      if (std::abs(now.x - start.x) > 3 || std::abs(now.y - start.y) > 3) abort = true;
    }
    return abort;
  }

  void SearchPhrase(std::u16string_view rest) {
    fallback_ = false;
    const auto companion = dic_ ? dic_->Dicx : nullptr;
    if (companion && lookup_.State().gNotRepeatTrans && allowShort_) {
      CompanionRule(rest);
      return;
    }
    phrase_ = lookup_.GetWordsTree(rest, 1, dic_, false, true);
    fromCompanion_ = false;
    if (phrase_.empty() && !lookup_.State().gNotRepeatTrans && allowShort_ && companion) {
      fallback_ = true;
      CompanionRule(rest);
    }
  }

  // The companion (common) dictionary first; the main one wins with a longer phrase.
  void CompanionRule(std::u16string_view rest) {
    phrase_ = lookup_.GetWordsTree(rest, 1, dic_->Dicx, false, false);
    fromCompanion_ = true;
    if (EqualsNoCase(phrase_, rest)) return;
    const std::u16string main = lookup_.GetWordsTree(rest, 1, dic_, false, false);
    if (main.size() > phrase_.size()) {
      phrase_ = main;
      fromCompanion_ = false;
    }
  }

  bool FilePhrase(std::int32_t n, std::int32_t m) {
    EngineState& state = lookup_.State();
    state.gTextDir = 0;
    if (args_.CheckDir && !lookup_.CheckDirection(phrase_) && args_.DirSilent) {
      retCheckDir_ = false;
      lookup_.ShowNotify(kWrongDirectionNotice, lookup_.Text(kWrongDirectionText));
      const auto& current = lookup_.Owner().Dic;
      state.gTextDir = 3 - (current ? current->Direction() : 0);
      return false;
    }
    const auto& busy = lookup_.Owner().Busy;
    if (args_.BusyShowed && n < 2 && busy) busy->Start();
    found_ = true;
    AddScore(score_, static_cast<std::int64_t>(phrase_.size()) * 1000 + static_cast<std::int64_t>(m + 1) * 1000000);
    if (args_.SplitMode) AddScore(score_, static_cast<std::int64_t>(2 - n) * 10000);
    FileRecords();
    return true;
  }

  void FileRecords() {
    const auto entry = words_->AddWord(phrase_);
    std::vector<TransRec> recs;
    const auto& dic = dic_;
    const auto companion = dic ? dic->Dicx : nullptr;
    if (companion && allowShort_ && (lookup_.State().gNotRepeatTrans || fallback_)) {
      lookup::GatherRecords(lookup_.Search(), phrase_, recs, *companion, args_.CheckDir, true);
      if (fallback_) {
        extTrans_ = false;
      } else if (recs.empty() || !fromCompanion_) {
        lookup::GatherRecords(lookup_.Search(), phrase_, recs, *dic, args_.CheckDir, true);
      } else {
        recs.back().Comment = extTransString_;  // the entry offers its extended translation
        extTrans_ = true;
      }
    } else if (dic) {
      lookup::GatherRecords(lookup_.Search(), phrase_, recs, *dic, args_.CheckDir, true);
    }
    AddScore(score_, static_cast<std::int64_t>(recs.size()) * 100);
    // The themes are keyed in the form of the package the records were just read from.
    const bool unicode = lookup_.State().gUnicode;
    for (const TransRec& r : recs) {
      entry->AddTranslation(r.Word.Text, r.Trans.Text, r.Comment, r.Theme1.Short, r.Theme2.Short, r.Theme3.Short,
                            r.Rech, r.Word.Dir, r.Trans.Dir, unicode);
    }
  }

  // Moves the phrase's words (0..m) into the covered text, each followed by a blank (a hyphen
  // that ends a word keeps its own blank); the rest of the text after them for the next pass.
  std::u16string_view Advance(std::u16string_view rest, std::int32_t m) {
    std::size_t end = 0;
    for (std::int32_t i = 0; i <= m; ++i) {
      end = rest.find_first_of(kWordEnds, end);
      if (end == std::u16string_view::npos) {
        covered_ += ReplaceAll(rest, u"-", u"- ") + u" ";
        return {};
      }
      ++end;
    }
    covered_ += ReplaceAll(rest.substr(0, end), u"-", u"- ");
    return TrimRest(rest.substr(end));
  }

  Lookup& lookup_;
  // The dictionary the look-up started with: a handler run by the pump may replace Appl.Dic.
  const std::shared_ptr<clsDic> dic_;
  const TranslateArgs& args_;
  bool& retCheckDir_;
  std::shared_ptr<WordSet> words_;
  bool allowShort_ = false;
  std::u16string extTransString_;
  std::u16string phrase_;
  std::u16string covered_;
  std::int32_t score_ = 0;
  bool found_ = false;
  bool fromCompanion_ = false;
  bool fallback_ = false;
  bool extTrans_ = false;
};

}  // namespace

void AddScore(std::int32_t& total, std::int64_t score) {
  const std::int64_t sum = static_cast<std::int64_t>(total) + score;
  if (sum >= INT32_MIN && sum <= INT32_MAX) total = static_cast<std::int32_t>(sum);
}

Lookup::Lookup(EngineState& state, Searches& search, const std::shared_ptr<Setting>& settings, Slots slots,
               Texts texts, Notify notify)
    : state_(state),
      search_(search),
      settings_(settings),
      slots_(slots),
      texts_(std::move(texts)),
      notify_(std::move(notify)) {}

std::int32_t Lookup::GetTranslate(std::u16string_view Text, std::u16string& rettext, const TranslateArgs& Args,
                                  const TranslateOut& Out) {
  std::shared_ptr<parlavent::WordSet>& WordSet = slots_.Result;
  bool& TransAbort = slots_.Abort;
  const std::shared_ptr<BusyIndicator>& frmBusy = slots_.Busy;
  EngineState& State = state_;
  bool ownCheckDir = true;
  bool& retCheckDir = Out.RetCheckDir ? *Out.RetCheckDir : ownCheckDir;
  retCheckDir = true;
  const auto finish = [&](std::int32_t result) {
    if (Args.BusyShowed && frmBusy) frmBusy->stopme();
    return result;
  };

  if (!Args.SplitMode) {
    // The rendering carries its window's own links (the main window's "Back"), so a result made for
    // the other window is never handed out again.
    if (WordSet && EqualsNoCase(WordSet->InString, Text) && !Args.ClrBuffer && WordSet->ExtTrans == Args.RepeatTrans &&
        WordSet->OnForm == Args.OnForm) {
      rettext = WordSet->Translation;
      if (Out.RetInText) *Out.RetInText = WordSet->RetString;
      retCheckDir = WordSet->CheckDir != 0;
      return finish(WordSet->IsTrans ? -1 : 0);
    }
    if (WordSet) WordSet->InString = std::u16string(Text);
    WordSet = std::make_shared<parlavent::WordSet>();
    WordSet->Environment = trees_;
    WordSet->CheckDir = -1;
    WordSet->ExtTrans = Args.RepeatTrans;
  }

  TransAbort = false;
  State.gNotRepeatTrans = !Args.RepeatTrans;
  LookupRun run(*this, Args, retCheckDir);
  const auto& w = run.Words();
  std::u16string cleaned;
  if (Args.Tochno) {
    FillCommonList(*this, Text, *w);
  } else {
    Point start;
    if (Args.CheckCursorShift) {
      if (API::IsMouseButtonDown(1) || API::IsMouseButtonDown(2)) TransAbort = true;
      start = Input().CursorPos();
    }
    cleaned = Clean(Text, Args.FullText);
    if (cleaned.empty() || !run.Passes(cleaned, start)) {
      State.gNotRepeatTrans = cleaned.empty() || TransAbort ? true : State.gNotRepeatTrans;
      return finish(0);
    }
  }

  std::u16string inText = run.Covered();
  if (Out.RetInText) *Out.RetInText = inText;
  rettext = w->GetString(Args.OnForm, false, true);

  if (!Args.SplitMode && !Args.Tochno && !run.Found() && cleaned.size() > 4) {
    CompoundSplit best;
    if (!SplitCompound(*this, cleaned, Args, retCheckDir, best)) return finish(0);
    if (best.score > 0) {
      rettext = best.rendering;
      if (Out.RetInText) *Out.RetInText = best.inText;
      WordSet = best.words;
      return finish(best.score);
    }
  }

  w->UseExtTrans = run.ExtTransOffered();
  w->OnForm = Args.OnForm;
  w->RetString = inText;
  w->RetIndex = run.Score();
  w->Translation = rettext;
  w->InString = std::u16string(Text);
  w->IsTrans = run.Score() != 0;
  w->CheckDir = retCheckDir ? -1 : 0;
  w->ExtTrans = Args.RepeatTrans;
  if (Out.RetWordSet) *Out.RetWordSet = w;
  if (Args.SplitMode) return run.Score();
  WordSet = w;
  return finish(run.Score());
}

}  // namespace parlavent

namespace parlavent {

std::u16string Lookup::Translate(std::u16string_view Word, bool Exact) {
  const std::shared_ptr<parlavent::WordSet>& WordSet = slots_.Result;
  TranslateArgs args;
  args.OneWord = true;
  args.FullText = Exact;
  args.BusyShowed = true;
  args.DirSilent = true;
  args.ClrBuffer = true;
  std::u16string scratch;
  if (GetTranslate(Word, scratch, args, {}) == 0 || !WordSet) return {};
  return WordSet->GetString(false, true, false);
}

}  // namespace parlavent
