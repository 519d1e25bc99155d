// GetWordsTree grows a phrase from the current word to the right as long as the word index knows
// it as the beginning of an entry (keys of phrase beginnings end in one blank, see
// docs/package-format.md), then falls back to the word as written, joined to the words before it
// by blanks or hyphens, then to the word with its ending replaced by the dictionary's rules.
#include "dictionary/phrases.h"

#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/lookup_deps.h"
#include "foundation/api_strings.h"
#include "foundation/text.h"
#include "platform/shell.h"

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

// The words of a text: A holds the parts between blanks and hyphens, B the same parts where a
// part followed by another part of its token keeps its hyphen.
struct WordParts {
  std::vector<std::u16string> A, B;
  explicit WordParts(std::u16string_view fraze) {
    for (const std::u16string& token : SplitText(fraze, u" ")) {
      const std::vector<std::u16string> parts = SplitText(token, u"-");
      for (std::size_t i = 0; i < parts.size(); ++i) {
        A.push_back(parts[i]);
        B.push_back(i + 1 < parts.size() ? parts[i] + u"-" : parts[i]);
      }
    }
  }
};

// One call of GetWordsTree: the word, its context and the tests it makes.
class PhraseSearch {
 public:
  PhraseSearch(Appl& app, std::shared_ptr<clsDic> dic, bool ext, bool doEvent)
      : app_(app), dicPtr_(std::move(dic)), dic_(*dicPtr_), ext_(ext), doEvent_(doEvent) {}

  std::u16string Run(std::u16string_view fraze, std::int32_t wordN) {
    if (HasEntry(fraze)) return std::u16string(fraze);
    const WordParts parts(fraze);
    const auto current = static_cast<std::size_t>(wordN - 1);
    if (wordN < 1 || current >= parts.A.size()) return {};
    w_ = parts.A[current];
    for (std::size_t i = 0; i < current; ++i) {
      p1_ += parts.A[i] + u" ";
      p2_ += EndsWithHyphen(parts.B[i]) ? parts.B[i] : parts.B[i] + u" ";
    }
    for (std::size_t i = current + 1; i < parts.B.size(); ++i) {
      if (i > current + 1 && !EndsWithHyphen(t_)) t_ += u' ';
      t_ += parts.B[i];
    }
    hyphenBefore_ = EndsWithHyphen(parts.B[current]);
    wordN_ = wordN;
    const bool growth = !t_.empty() || ext_;

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
  bool HasEntry(std::u16string_view text) { return lookup::HasEntry(text, dic_, doEvent_); }
  bool HasKey(std::u16string_view text) { return lookup::HasKey(text, dic_, doEvent_); }

  // The phrase through c, when the index knows P1 & c as a beginning and a longer entry follows.
  std::u16string Grow(const std::u16string& c, bool ext, bool doEvent) {
    if (!HasKey(p1_ + c + u" ")) return {};
    const std::u16string x = c + (hyphenBefore_ ? u"-" : u" ");
    return app_.GetWordsTree(p2_ + x + t_, wordN_ + 1, dicPtr_, ext, doEvent);
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

  Appl& app_;
  // Held, not referred to: a handler run while the search pumps messages may replace Appl.Dic.
  const std::shared_ptr<clsDic> dicPtr_;
  const clsDic& dic_;
  bool ext_;
  bool doEvent_;
  std::int32_t wordN_ = 0;
  std::u16string w_, p1_, p2_, t_;
  bool hyphenBefore_ = false;
};

}  // namespace

std::u16string SplitWords(std::u16string_view t) {
  std::u16string s(t);
  for (char16_t& c : s) {
    if (c < 32 || kBlanked.find(c) != std::u16string_view::npos) c = u' ';
  }
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (IsDigit(s[i]) != IsDigit(s[i + 1])) {
      s.insert(i + 1, 1, u' ');
      ++i;
    }
  }
  return s;
}

std::u16string Appl::GetWordsTree(std::u16string_view Fraze, std::int32_t WordN, const std::shared_ptr<clsDic>& Dic,
                                  bool Ext, bool DoEvent) {
  std::shared_ptr<clsDic> dic = Dic;  // Dic may be Appl.Dic itself, which the pump may change
  if (DoEvent) Pump().DoEvents();
  if (!dic) return {};
  return PhraseSearch(*this, std::move(dic), Ext, DoEvent).Run(Fraze, WordN);
}

}  // namespace parlavent
