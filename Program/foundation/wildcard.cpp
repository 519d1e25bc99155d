#include "foundation/wildcard.h"

#include <optional>
#include <vector>

#include "text/text.h"

namespace parlavent {
namespace {

struct Token {
  enum Kind { Literal, AnyChar, Digit, Set, Star, Empty } kind = Literal;
  char16_t ch = 0;
  bool negated = false;
  std::vector<std::pair<char16_t, char16_t>> ranges;  // inclusive, for Set
};

std::optional<std::vector<Token>> Parse(std::u16string_view pattern, MatchCase mode) {
  const auto fold = [mode](char16_t c) { return mode == MatchCase::Blind ? LowerChar(c) : c; };
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    Token t;
    const char16_t c = pattern[i];
    if (c == u'*') {
      if (!tokens.empty() && tokens.back().kind == Token::Star) continue;
      t.kind = Token::Star;
    } else if (c == u'?') {
      t.kind = Token::AnyChar;
    } else if (c == u'#') {
      t.kind = Token::Digit;
    } else if (c == u'[') {
      const std::size_t close = pattern.find(u']', i + 1);
      if (close == std::u16string_view::npos) return std::nullopt;
      std::u16string_view list = pattern.substr(i + 1, close - i - 1);
      i = close;
      if (list.empty()) {
        t.kind = Token::Empty;
      } else {
        t.kind = Token::Set;
        if (list[0] == u'!') {
          t.negated = true;
          list.remove_prefix(1);
        }
        for (std::size_t k = 0; k < list.size(); ++k) {
          if (k + 2 < list.size() && list[k + 1] == u'-') {
            t.ranges.emplace_back(fold(list[k]), fold(list[k + 2]));
            k += 2;
          } else {
            t.ranges.emplace_back(fold(list[k]), fold(list[k]));
          }
        }
      }
    } else {
      t.ch = fold(c);
    }
    tokens.push_back(std::move(t));
  }
  return tokens;
}

bool MatchesOne(const Token& t, char16_t c) {
  switch (t.kind) {
    case Token::Literal: return t.ch == c;
    case Token::AnyChar: return true;
    case Token::Digit: return IsDigit(c);
    case Token::Set: {
      bool in = false;
      for (const auto& [lo, hi] : t.ranges) in = in || (c >= lo && c <= hi);
      return in != t.negated;
    }
    default: return false;
  }
}

}  // namespace

bool Like(std::u16string_view text, std::u16string_view pattern, MatchCase mode) {
  const auto parsed = Parse(pattern, mode);
  if (!parsed) return false;
  std::vector<Token> tokens;
  for (const Token& t : *parsed) {
    if (t.kind != Token::Empty) tokens.push_back(t);
  }
  const std::u16string folded = mode == MatchCase::Blind ? LCase(text) : std::u16string(text);

  // Greedy match with backtracking to the last star: every token but the star takes one character.
  std::size_t ti = 0, pi = 0;
  std::size_t starPattern = std::u16string_view::npos, starText = 0;
  while (ti < folded.size()) {
    if (pi < tokens.size() && tokens[pi].kind == Token::Star) {
      starPattern = pi++;
      starText = ti;
    } else if (pi < tokens.size() && MatchesOne(tokens[pi], folded[ti])) {
      ++pi;
      ++ti;
    } else if (starPattern != std::u16string_view::npos) {
      pi = starPattern + 1;
      ti = ++starText;
    } else {
      return false;
    }
  }
  while (pi < tokens.size() && tokens[pi].kind == Token::Star) ++pi;
  return pi == tokens.size();
}

}  // namespace parlavent
