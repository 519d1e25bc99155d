// GetWordsTree grows a phrase from the current word to the right as long as the word index knows
// it as the beginning of an entry (keys of phrase beginnings end in one blank, see
// docs/package-format.md), then falls back to the word as written, joined to the words before it
// by blanks or hyphens, then to the word with its ending replaced by the dictionary's rules.
#include "dictionary/phrases.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/lookup.h"
#include "dictionary/lookup_deps.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "foundation/api_strings.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kBlanked = u"/.,;\\|+*&%$#@:^~()=][}{><\"_";

bool EndsWithHyphen(std::u16string_view s) { return !s.empty() && s.back() == u'-'; }

// s with its last character replaced by a hyphen (the blank before the current word); s itself
// when it is empty.
std::u16string HyphenJoint(std::u16string_view s) {
  std::u16string out(s);
  if (!out.empty()) out.back() = u'-';
  return out;
}

constexpr std::u16string_view kWordEnds = u" -";

// How much of a text GetWordsTree can reach in a package whose longest text has longest
// characters. A phrase grows only through known beginnings (at most longest + 1 characters,
// one blank after each part), and an ending rule shortens a word by at most ten characters and
// a final mark; so no word that starts further in takes part in any test. Past that the text
// keeps room for one more word that is too long to match, so that what follows the last word
// that can take part still looks the same. The rest is never looked at.
std::size_t Reach(std::int64_t longest) {
  const std::int64_t start = longest + 1 + 11 * ((longest + 1) / 2 + 1);
  const std::int64_t reach = start + longest + 13;
  return reach < 0 || static_cast<std::uint64_t>(reach) > SIZE_MAX ? SIZE_MAX : static_cast<std::size_t>(reach);
}

// The least longest text whose Reach covers size characters: a package with a text that long
// leaves a text of size characters whole, whatever its longest text is.
std::int64_t LongestCovering(std::size_t size) {
  std::int64_t lo = 0, hi = static_cast<std::int64_t>(std::min<std::size_t>(size, INT64_MAX / 16));
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (Reach(mid) >= size) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

// One call of GetWordsTree: the word, its context and the tests it makes. The words of the text
// are its parts between blanks and hyphens; only those up to the current one are taken apart.
class PhraseSearch {
 public:
  PhraseSearch(Lookup& lookup, std::shared_ptr<clsDic> dic, bool ext, bool doEvent)
      : lookup_(lookup), dicPtr_(std::move(dic)), dic_(*dicPtr_), ext_(ext), doEvent_(doEvent) {}

  std::u16string Run(std::u16string_view fraze, std::int32_t wordN) {
    if (HasEntry(fraze)) return std::u16string(fraze);
    if (wordN < 1) return {};
    std::size_t begin = 0;
    for (std::int32_t i = 1; i < wordN; ++i) {
      const std::size_t end = fraze.find_first_of(kWordEnds, begin);
      if (end == std::u16string_view::npos) return {};
      p1_.append(fraze.substr(begin, end - begin)).push_back(u' ');
      begin = end + 1;
    }
    // The words before, as the text joins them: by their blanks and hyphens.
    p2_ = fraze.substr(0, begin);
    std::size_t end = fraze.find_first_of(kWordEnds, begin);
    if (end == std::u16string_view::npos) end = fraze.size();
    w_ = fraze.substr(begin, end - begin);
    hyphenBefore_ = end < fraze.size() && fraze[end] == u'-';
    // What follows the current word; nothing, or one empty word, leaves no rest.
    if (end + 1 < fraze.size()) rest_ = fraze.substr(end + 1);
    wordN_ = wordN;
    const bool growth = !rest_.empty() || ext_;

    if (growth) {
      if (auto r = Grow(w_, ext_, false); !r.empty()) return r;
    }
    if (HasEntry(p1_ + w_)) return p1_ + w_;
    if (!EqualsNoCase(p2_, p1_) && HasEntry(p2_ + w_)) return p2_ + w_;
    if (!p1_.empty() || ext_) {
      p2_ = HyphenJoint(p1_);
      if (HasEntry(p2_ + w_)) return p2_ + w_;
    }
    return growth ? Endings(true) : Endings(false);
  }

 private:
  bool HasEntry(std::u16string_view text) { return lookup::HasEntry(lookup_.Search(), text, dic_, doEvent_); }
  bool HasKey(std::u16string_view text) { return lookup::HasKey(lookup_.Search(), text, dic_, doEvent_); }

  // The words after the current one as the phrase grows through them: each joined to the next
  // by its own blank or hyphen, except that no blank follows a hyphen (an empty word after a
  // hyphen joins without one).
  std::u16string Tail() const {
    if (rest_.find(u"- ") == std::u16string_view::npos) return std::u16string(rest_);
    std::u16string tail;
    tail.reserve(rest_.size());
    for (const char16_t c : rest_) {
      if (c == u' ' && !tail.empty() && tail.back() == u'-') continue;
      tail.push_back(c);
    }
    return tail;
  }

  // The phrase through c, when the index knows P1 & c as a beginning and a longer entry follows.
  std::u16string Grow(const std::u16string& c, bool ext, bool doEvent) {
    if (!HasKey(p1_ + c + u" ")) return {};
    std::u16string grown;
    grown.reserve(p2_.size() + c.size() + 1 + rest_.size());
    grown.append(p2_).append(c).push_back(hyphenBefore_ ? u'-' : u' ');
    grown += Tail();
    return lookup_.GetWordsTree(grown, wordN_ + 1, dicPtr_, ext, doEvent);
  }

  // The three ways a candidate joins the words before it.
  std::u16string Joined(const std::u16string& c, bool hyphenJoint) {
    if (HasEntry(p1_ + c)) return p1_ + c;
    if (!EqualsNoCase(p2_, p1_) && HasEntry(p2_ + c)) return p2_ + c;
    if (hyphenJoint) {
      const std::u16string p3 = HyphenJoint(p1_);
      if (HasEntry(p3 + c)) return p3 + c;
    }
    return {};
  }

  std::u16string Endings(bool growth) {
    const std::size_t len = w_.size();
    std::u16string suffix;
    if (len >= 2 && (w_.back() == u'!' || w_.back() == u'?')) suffix = w_.substr(len - 1);
    const std::size_t last = len > 10 ? 10 : (len == 0 ? 0 : len - 1);
    std::vector<std::u16string> candidates;
    for (std::size_t j = 1; j <= last; ++j) {
      // With a final mark the ending is the j characters before it.
      if (!suffix.empty() && j + 1 > len) break;
      const std::size_t cut = suffix.empty() ? len - j : len - j - 1;
      const std::u16string ending = w_.substr(cut, j);
      const std::u16string stem = w_.substr(0, cut);
      const auto* rule = dic_.SfxCol ? dic_.SfxCol->Find(API::MakeKey(ending)) : nullptr;
      if (!rule || !*rule || static_cast<std::size_t>(len) < (*rule)->MinWordLen) continue;
      const clsSfx& sfx = **rule;
      for (std::size_t k = 0; k <= sfx.ubReplaces && k < sfx.Replaces.size(); ++k) {
        for (std::size_t m = suffix.size() + 1; m-- > 0;) {
          const std::u16string c = stem + sfx.Replaces[k] + suffix.substr(0, m);
          if (growth) {
            candidates.push_back(c);
            if (auto r = Grow(c, true, doEvent_); !r.empty()) return r;
          } else if (auto r = Joined(c, !p1_.empty()); !r.empty()) {
            return r;
          }
        }
      }
    }
    if (growth) {
      for (const std::u16string& c : candidates) {
        if (auto r = Joined(c, !p1_.empty() || ext_); !r.empty()) return r;
      }
      return {};
    }
    if (!suffix.empty()) {
      const std::u16string x = w_.substr(0, len - 1);
      if (HasKey(p1_ + x)) return p1_ + x;
    }
    return {};
  }

  Lookup& lookup_;
  // Held, not referred to: a handler run while the search pumps messages may replace Appl.Dic.
  const std::shared_ptr<clsDic> dicPtr_;
  const clsDic& dic_;
  bool ext_;
  bool doEvent_;
  std::int32_t wordN_ = 0;
  std::u16string w_, p1_, p2_;
  std::u16string_view rest_;
  bool hyphenBefore_ = false;
};

}  // namespace

std::u16string SplitWords(std::u16string_view t) {
  std::u16string s;
  s.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char16_t c = t[i];
    // The blank between a digit and a letter is written once, whatever the text's length.
    if (i > 0 && IsDigit(t[i - 1]) != IsDigit(c)) s.push_back(u' ');
    s.push_back(c < 32 || kBlanked.find(c) != std::u16string_view::npos ? u' ' : c);
  }
  return s;
}

std::u16string Lookup::GetWordsTree(std::u16string_view Fraze, std::int32_t WordN, const std::shared_ptr<clsDic>& Dic,
                                    bool Ext, bool DoEvent) {
  std::shared_ptr<clsDic> dic = Dic;  // Dic may be Appl.Dic itself, which the pump may change
  if (DoEvent) Pump().DoEvents();
  if (!dic) return {};
  std::u16string_view fraze = Fraze;
  // A phrase grows from the first word: what lies beyond the reach of its tests is cut off once.
  if (WordN == 1) {
    const std::int64_t longest = LongestText(search_.Files(), *dic, LongestCovering(fraze.size()));
    fraze = fraze.substr(0, std::min(fraze.size(), Reach(longest)));
  }
  return PhraseSearch(*this, std::move(dic), Ext, DoEvent).Run(fraze, WordN);
}

}  // namespace parlavent
