// Word lists: the words that begin with a typed text, the phrases whose words begin with the
// typed words, and their display in the main window's output box as one "List" link per line.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/application.h"
#include "app/engine_operations.h"
#include "app/link_layer.h"
#include "app/view_history.h"
#include "app/view_host.h"
#include "app/word_list.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/rich_text_box.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int32_t kAllListLimit = 3000;
constexpr std::size_t kMaxPhrases = 3000;
constexpr std::int32_t kSourceLimit = 1'000'000;
constexpr std::size_t kPumpEvery = 100;
constexpr std::size_t kAllListCaretEntry = 50;  // the 51st entry, 0-based

// Appends to recs every word of dic that begins with any of words, until gListAbort is set.
void ForEachListSource(Appl& app, const std::shared_ptr<clsDic>& dic, const std::vector<std::u16string>& words,
                       std::vector<WordRec>& recs) {
  app.State.gListAbort = false;
  std::int32_t count = 0;
  for (const auto& w : words) {
    if (app.State.gListAbort) return;
    app.FindSorted(w, recs, kSourceLimit, false, dic, false, 2, true, count);
  }
}

// The words of a phrase query, each once (case-blind), in the order they first occur, and how
// often each occurs: what the matching needs of a query of any length.
struct QueryWords {
  std::vector<std::u16string> words;   // as first typed
  std::vector<std::u16string> folded;  // lower case
  std::vector<std::size_t> counts;
  std::size_t longest = 0;

  explicit QueryWords(const std::vector<std::u16string>& query) {
    std::unordered_map<std::u16string, std::size_t> at;
    for (const auto& w : query) {
      std::u16string f = LCase(w);
      const auto [it, added] = at.emplace(f, words.size());
      if (added) {
        words.push_back(w);
        folded.push_back(std::move(f));
        counts.push_back(1);
        longest = std::max(longest, w.size());
      } else {
        ++counts[it->second];
      }
    }
  }
};

// Whether every word of the query begins a word of entry: the entry's first word answers for
// one query word only (the first that it begins with), a later word for any. Plain prefix tests,
// not patterns: the query is what the user typed and may hold wildcard characters.
bool MatchesAllWords(std::u16string_view entry, const QueryWords& query) {
  // Each different query word is the beginning of a word of entry, so no more of them fit in it
  // than it has characters.
  if (query.words.size() > entry.size()) return false;
  bool firstUsed = false;
  for (std::size_t i = 0; i < query.words.size(); ++i) {
    const std::u16string& w = query.words[i];
    const bool later = FindNoCase(entry, u" " + w) != std::u16string::npos;
    if (!firstUsed && StartsWithNoCase(entry, w)) {
      firstUsed = true;
      // Its other occurrences need a later word of entry.
      if (query.counts[i] > 1 && !later) return false;
    } else if (!later) {
      return false;
    }
  }
  return true;
}

std::u16string PhraseQuery(std::u16string_view text) {
  std::vector<std::u16string> kept;
  if (!text.empty()) {
    for (auto& piece : SplitText(text, u" ")) {
      if (piece.size() >= 2) kept.push_back(std::move(piece));
    }
  }
  return Trim(JoinText(kept, u" "));
}

// The info line after a fill: which side the dictionary's direction filter lets through, or,
// when nothing was found, that the word was typed in the wrong layout (only when the other layout
// finds it: a pasted sentence is no word typed in the wrong layout).
void DirectionNotice(Appl& app, RichTextBox& out) {
  const Setting* sett = app.Sett.get();
  const bool noDirForType = sett && sett->NoDirForType;
  const auto& dic = app.Dic;
  ViewHost& views = app.ViewServices();
  if (noDirForType || !dic || dic->Direction() == 0) {
    const auto input = views.InputBox();
    if (sett && sett->TrlMode > 0 && out.Text().empty() && input) {
      const std::u16string typed = input->Text();
      if (typed.size() >= 2 && app.FoundInOtherLayout(typed)) views.Info(app.LZ(lang::kInfoNothingFound), false);
    }
    return;
  }
  const auto src = dic->GetSrc();
  const std::u16string language = !src ? std::u16string() : dic->Direction() == 1 ? src->Language1 : src->Language2;
  views.Info(app.LZ(lang::kInfoDirectionFilter) + u" " + language + u". " + app.LZ(lang::kInfoBothDirections),
             false);
}

// "n words" in the interface language: the table has the word after 1, after numbers ending in 1,
// after numbers ending in 2 to 4 (not 11 to 14) and after the others, as languages need them.
std::u16string WordsText(Appl& app, std::int64_t n) {
  const std::int64_t tens = n % 100, ones = n % 10;
  std::int32_t entry = lang::kInfoWords;
  if (n == 1) {
    entry = lang::kInfoWord;
  } else if (ones == 1 && tens != 11) {
    entry = lang::kInfoWordsEndingIn1;
  } else if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) {
    entry = lang::kInfoWordsEndingIn2To4;
  }
  std::u16string word = app.LZ(entry);
  if (word.empty()) word = app.LZ(lang::kInfoWords);  // a language table of an older installation
  return NumberText(n) + u" " + word;
}

}  // namespace

WordListPage MakeWordListPage(Appl& app, std::u16string_view text, std::vector<std::u16string> entries,
                              std::int32_t limit, bool allList) {
  WordListPage page;
  const auto n = static_cast<std::int64_t>(entries.size());
  if (n == 0) return page;
  if (!allList && n > limit) {
    entries.resize(static_cast<std::size_t>(std::max(0, limit)));
    const std::int32_t gray = app.Sett ? app.Sett->Gray : 0;
    entries.push_back(u"<" + app.LZ(lang::kLinkAllList) + u"=ALLLIST-" + std::u16string(text) + u"||C " +
                      NumberText(gray) + u"||U 1> ");
    page.AllListLink = true;
    page.Info = app.LZ(lang::kInfoShown) + u" " + WordsText(app, limit);
  } else if (allList && n > limit) {
    page.Info = app.LZ(lang::kInfoShown) + u" " + WordsText(app, n - 1);
  } else {
    page.Info = WordsText(app, n);
  }
  page.Text = JoinText(entries, u" \r\n") + u"\r\n";
  page.Entries = entries.size();
  // The all list opens at its 51st line, where the typing list ended.
  if (allList && entries.size() > kAllListCaretEntry) {
    for (std::size_t i = 0; i < kAllListCaretEntry; ++i) page.Caret += static_cast<std::int32_t>(entries[i].size()) + 3;
  }
  return page;
}

std::vector<std::u16string> Appl::GetList(std::u16string_view Text, std::int32_t Limit, bool AsIndex,
                                          std::int32_t RetDL) {
  std::vector<WordRec> recs;
  std::int32_t count = 0;
  if (Limit <= 0) {
    if (FindSorted(Text, recs, 0, true, nullptr, AsIndex, RetDL, false, count)) return {std::u16string(Text)};
    return {};
  }
  FindSorted(Text, recs, Limit + 1, true, nullptr, AsIndex, RetDL, false, count);
  std::vector<std::u16string> words;
  words.reserve(recs.size());
  for (auto& r : recs) words.push_back(std::move(r.Text));
  return words;
}

std::vector<std::u16string> Appl::GetListExt(std::u16string_view Text, std::u16string* RetInText) {
  const std::u16string q = PhraseQuery(Text);
  if (ListCache.Complete && EqualsNoCase(q, ListCache.Query)) return ListCache.Result;
  // A single word is no phrase: the cached list of another query would be a wrong answer.
  if (q.find(u' ') == std::u16string::npos || !Dic) return {};

  ListCache.Candidate = q;
  const QueryWords words(SplitText(q, u" "));
  ViewHost& views = ViewServices();
  std::vector<WordRec> recs;
  views.Wait(true);
  views.Info(LZ(lang::kInfoSearching), false);
  State.gEscUsed = true;
  const auto dic = Dic;
  // An entry holds every query word at the start of one of its words: a query with more
  // different words, or a longer word, than the longest text has characters matches nothing,
  // and a pasted page of text is not searched word by word. A word typed twice is searched once.
  const std::int64_t need = static_cast<std::int64_t>(std::max(words.words.size(), words.longest));
  std::int64_t longest = LongestText(*this, *dic, need);
  if (dic->Dicx) longest = std::max(longest, LongestText(*this, *dic->Dicx, need));
  if (longest >= need) {
    if (dic->Dicx) ForEachListSource(*this, dic->Dicx, words.words, recs);
    if (!State.gListAbort) ForEachListSource(*this, dic, words.words, recs);
  } else {
    State.gListAbort = false;
  }

  std::vector<std::u16string> result;
  bool complete = false;
  std::unordered_set<std::u16string> seen;  // the entries are lower case
  if (!State.gListAbort) {
    complete = true;
    for (std::size_t i = 0; i < recs.size() && result.size() < kMaxPhrases; ++i) {
      if ((i + 1) % kPumpEvery == 0) {
        Pump().DoEvents();
        if (State.gListAbort) {
          complete = false;
          break;
        }
      }
      // A repeated query word, or both packages, find an entry twice; it is listed once.
      if (MatchesAllWords(recs[i].Text, words) && seen.insert(recs[i].Text).second) result.push_back(recs[i].Text);
    }
  }
  // The Esc that stopped the search must not hide the window too: gEscUsed stays set until the
  // main window's one-shot timer clears it. The hourglass stays until the fill has shown the list.
  views.StartEscUsedClearTimer();
  views.InfoClear();
  ListCache.Query = q;
  ListCache.Result = result;
  ListCache.Complete = complete;
  if (RetInText) *RetInText = q;
  return result;
}

void Appl::FillWordList(std::u16string_view Text, std::optional<std::int32_t> Limit, bool Focus, bool AsIndex,
                        std::int32_t MinLen) {
  ViewHost& views = ViewServices();
  if (static_cast<std::int64_t>(Text.size()) < MinLen || !State.gUserTyped) return;
  const bool allList = !Limit.has_value();
  const std::int32_t limit = Limit.value_or(kAllListLimit);
  State.gListArg = std::u16string(Text);
  State.gListKind = allList ? u"AllList" : u"List";
  views.Wait(true);
  State.gUserTyped = false;
  State.gFillAbort = false;
  OutPutMode = 0;

  std::vector<std::u16string> list = GetList(Text, limit, AsIndex, 2);
  if (list.empty()) list = GetListExt(Text);
  const auto out = views.OutputBox();
  if (State.gFillAbort || !out) {
    // An abandoned fill leaves gUserTyped to the translation that abandoned it.
    if (!State.gFillAbort) State.gUserTyped = true;
    views.Wait(false);
    return;
  }

  const WordListPage page = MakeWordListPage(*this, Text, std::move(list), limit, allList);
  if (page.Entries == 0) {
    // Nothing left of the last list: neither its count nor the pane of its chosen word may stay
    // to describe it. The pending pane update is replaced too, or it would refill the pane.
    out->SetText(u"");
    if (const auto line = views.InfoLine(); line && !ListInfo.empty() && line->Text() == ListInfo) views.InfoClear();
    ClearBackTrans();
    views.StartBackTransTimer(u"");
  } else {
    ListInfo = page.Info;
    views.Info(page.Info, false);
    History().AddUndo(allList ? u"AllList" : u"List", Text);
    if (clsLink* links = views.OutputLinks()) {
      links->Reset();
      links->DefLink->Prefix = u"List";
      if (page.AllListLink) {
        links->SetLink(out, page.Text, true, u"\r\n");
      } else {
        // Plain text, and every line a "List" link for its word.
        out->SetText(page.Text);
        links->SetLink(out, u"", true, u"\r\n");
      }
    } else {
      out->SetText(page.Text);
    }
    out->SetSelStart(page.Caret);
    mdlPublic::SelectCurrentLine(*out);
    if (allList) out->SetFocus();
  }
  State.gUserTyped = true;
  out->SetVisible(true);
  if (Focus && page.Entries > 0) out->SetFocus();
  DirectionNotice(*this, *out);
  views.Wait(false);
}

void Appl::ShowList(std::u16string_view Text) {
  State.gUserTyped = false;
  if (const auto input = ViewServices().InputBox()) input->SetText(Text);
  State.gUserTyped = true;
  FillWordList(Text, 50, true, false, 2);
}

void Appl::ShowAllList(std::u16string_view Text) { FillWordList(Text, std::nullopt, true, false, 1); }

}  // namespace parlavent
