#include "dictionary/result_tree.h"

#include <cstdint>

#include "dictionary/lookup_deps.h"
#include "dictionary/package_file.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// Interface texts of the rendering.
constexpr std::int32_t kNoTranslation = 50;
constexpr std::int32_t kExtTransOnForm = 193;
constexpr std::int32_t kGoBack = 194;
constexpr std::int32_t kExtTransPopup = 307;

// The system cuts a separator off with Left(s, Len(s) - n), which fails (and so changes nothing)
// on a text shorter than n.
void DropLast(std::u16string& s, std::size_t n) {
  if (s.size() >= n) s.erase(s.size() - n);
}

// DropLast for the part of s from position from on.
void DropFrom(std::u16string& s, std::size_t from, std::size_t n) {
  if (s.size() - from >= n) s.erase(s.size() - n);
}

// ReplaceAll(s, ";)", ")") in place: the pattern cannot overlap itself, so every ";" directly
// followed by ")" goes.
void DropSemicolonsBeforeParens(std::u16string& s) {
  std::size_t w = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u';' && i + 1 < s.size() && s[i + 1] == u')') continue;
    s[w++] = s[i];
  }
  s.resize(w);
}

// What the tree reads: of its environment, or of the application object without one.
const Setting* SettingsOf(const std::shared_ptr<TreeEnvironment>& environment) {
  return environment ? environment->Settings() : lookup::Settings();
}
std::u16string TextOf(const std::shared_ptr<TreeEnvironment>& environment, std::int32_t n) {
  return environment ? environment->Text(n) : lookup::LangStr(n);
}

template <typename T>
std::shared_ptr<T> FindOrAdd(KeyedCollection<std::shared_ptr<T>>& collection, const std::u16string& key, bool& added) {
  added = false;
  if (auto* found = collection.Find(key)) return *found;
  auto item = std::make_shared<T>();
  collection.Add(key, item);
  added = true;
  return item;
}

// Authors' signatures and web addresses are not shown as comments (the patterns "*автор:*",
// "*http://*" and "*www.*", matched case-sensitively: plain containment).
bool IsHiddenComment(std::u16string_view comment) {
  for (std::u16string_view part : {u"автор:", u"http://", u"www."}) {
    if (comment.find(part) != std::u16string_view::npos) return true;
  }
  return false;
}

void AppendTranslationLink(std::u16string& out, const TranslateItem& x, bool onForm, std::u16string_view gray,
                           std::u16string_view dir) {
  out += u'<';
  out += x.Text;
  out += onForm ? u"=BackTrans-" : u"=BackTTTrans-";
  out += x.Text;
  out += u"||Blt ";
  out += gray;
  out += u"||dir ";
  out += dir;
  out += u">; ";
}

// A caption in grey in brackets: a tag without a link.
void AppendGrayNote(std::u16string& out, std::u16string_view text, std::u16string_view gray) {
  out += u"<(";
  out += text;
  out += u")=||C ";
  out += gray;
  out += u'>';
}

}  // namespace

void clsCommItem::AddTranslation(std::u16string_view, std::u16string_view Translation, std::int32_t Dir) {
  auto item = std::make_shared<TranslateItem>();
  item->Text = std::u16string(Translation);
  item->Dir = Dir;
  TransSet.Add(API::MakeKey(Translation), std::move(item));  // the same translation again is refused
}

void ThemeItem::AddTranslation(std::u16string_view TransWord, std::u16string_view Translation,
                               std::u16string_view Comment, std::int32_t Dir) {
  const std::u16string comment = Trim(Comment);
  bool added = false;
  const auto group = FindOrAdd(CommSet, API::MakeKey(comment), added);
  if (added) group->Comment = comment;
  group->AddTranslation(TransWord, Translation, Dir);
}

std::u16string clsRechSet::ThemeKey(std::u16string_view Theme1, std::u16string_view Theme2,
                                    std::u16string_view Theme3, bool Unicode) {
  // Each hash lies below 2^33, so the sum of three fits in 64 bits; it is the mean that keys.
  const auto hash = [&](std::u16string_view theme) {
    return static_cast<std::int64_t>(PackageKey(theme, Unicode, AnsiCodePage()));
  };
  const auto sum = hash(Theme1) + hash(Theme2) + hash(Theme3);
  return API::MakeKey(sum / 3);
}

void clsRechSet::AddTranslation(std::u16string_view TransWord, std::u16string_view Translation,
                                std::u16string_view Comment, std::u16string_view Theme1, std::u16string_view Theme2,
                                std::u16string_view Theme3, std::int32_t Dir, bool Unicode) {
  const std::u16string key = ThemeKey(Theme1, Theme2, Theme3, Unicode);
  bool added = false;
  const auto theme = FindOrAdd(ThemeSet, key, added);
  if (added) {
    theme->Key = key;
    theme->StrThemes = API::TrimString(std::u16string(Theme1) + u", " + std::u16string(Theme2) + u", " +
                                           std::u16string(Theme3),
                                       u", ");
  }
  theme->AddTranslation(TransWord, Translation, Comment, Dir);
}

std::shared_ptr<clsRechSet> TranslationSet::AddTranslation(std::u16string_view TransWord,
                                                           std::u16string_view Translation,
                                                           std::u16string_view Comment, std::u16string_view Theme1,
                                                           std::u16string_view Theme2, std::u16string_view Theme3,
                                                           std::int32_t Rech, std::int32_t WDir, std::int32_t TDir,
                                                           bool Unicode) {
  if (TrimView(Translation).empty()) return nullptr;
  if (WordDir + TransDir == 0) {
    WordDir = WDir;
    TransDir = TDir;
  }
  IsTranslated = true;
  std::u16string_view comment = Comment;
  const Setting* sett = SettingsOf(Environment);
  // An unset marker would mark every translation that has no comment.
  if (sett && !sett->ExtTransString.empty() && comment == sett->ExtTransString) {
    comment = {};
    UseExtTrans = true;
  }
  if (!sett || !sett->ShowComment || IsHiddenComment(comment)) comment = {};
  bool added = false;
  const auto rech = FindOrAdd(RechSet, API::MakeKey(Rech), added);
  if (added) rech->ID = Rech;
  rech->AddTranslation(TransWord, Translation, comment, Theme1, Theme2, Theme3, TDir, Unicode);
  return rech;
}

std::u16string TranslationSet::GetString(bool OnForm, bool Simple) {
  const Setting* sett = SettingsOf(Environment);
  const std::u16string gray = NumberText(sett ? sett->Gray : 0);
  const std::u16string textLink = sett ? sett->TextLink : std::u16string();
  SpeakString.clear();
  // Every level is written straight into r; a level's closing separator is dropped from where
  // the level began (DropFrom), as cutting it off a text of the level's own would.
  std::u16string r;
  std::int32_t lastDir = 0;
  std::u16string dirText = NumberText(lastDir);
  for (const auto& rech : RechSet) {
    const std::size_t p = r.size();
    for (const auto& theme : rech->ThemeSet) {
      if (!Simple && !theme->StrThemes.empty()) {
        AppendGrayNote(r, theme->StrThemes, gray);
        r += u' ';
      }
      const std::size_t q = r.size();
      for (const auto& group : theme->CommSet) {
        const std::size_t k = r.size();
        for (const auto& x : group->TransSet) {
          if (Simple) {
            r += x->Text;
            r += u"; ";
          } else {
            if (x->Dir != lastDir) {
              lastDir = x->Dir;
              dirText = NumberText(lastDir);
            }
            AppendTranslationLink(r, *x, OnForm, gray, dirText);
          }
          SpeakString += x->Text;
          SpeakString += u". ";
        }
        DropFrom(r, k, 2);
        if (Simple) {
          r += u"; ";
        } else {
          if (!group->Comment.empty()) {
            r += u' ';
            AppendGrayNote(r, group->Comment, gray);
          }
          r += kCrLf;
        }
      }
      DropFrom(r, q, 2);
      r += Simple ? std::u16string_view(u"; ") : kCrLf;
      SpeakString += u". ";
    }
    DropFrom(r, p, 2);
    r += Simple ? std::u16string_view(u"; ") : kCrLf;
  }
  DropLast(r, 2);
  DropSemicolonsBeforeParens(r);
  if (!Simple && TrimView(r).empty()) r = TextOf(Environment, kNoTranslation);
  if (!Simple && !r.empty()) {
    if (OnForm) {
      r += std::u16string(kCrLf) + u"<" + TextOf(Environment, kGoBack) + u"=GoBack" + textLink + u">";
      if (UseExtTrans) r += u"   <" + TextOf(Environment, kExtTransOnForm) + u"=ExtTransOnForm-" + Word + textLink + u"> ";
      r += u" ";
    } else if (UseExtTrans) {
      r += std::u16string(kCrLf) + u"  <" + TextOf(Environment, kExtTransPopup) + u"=ExtTransTT-" + Word + u"||Std >";
    }
  }
  TransString = r;
  return r;
}

std::shared_ptr<TranslationSet> WordSet::AddWord(std::u16string_view Word) {
  const std::u16string key = API::MakeKey(Word);
  if (auto* found = Words.Find(key)) return *found;
  auto entry = std::make_shared<TranslationSet>();
  entry->Word = std::u16string(Word);
  const Setting* sett = SettingsOf(Environment);
  entry->Environment = Environment;
  if (sett && sett->ShowTranscript) {
    entry->Transcription = Environment ? Environment->Transcript(Word) : lookup::Transcript(Word);
  }
  Words.Add(key, entry);
  return entry;
}

std::u16string WordSet::GetString(bool OnForm, bool Simple, bool Transcription) {
  const Setting* sett = SettingsOf(Environment);
  const bool showTranscript = sett && sett->ShowTranscript && Transcription;
  const std::u16string dir = NumberText(Words.Empty() ? 0 : (*Words.ItemAt(1))->WordDir);
  std::u16string out;
  for (const auto& s : Words) {
    if (TrimView(s->Word).empty() || API::TrimString(s->Word, u"-").empty()) continue;
    std::u16string u;
    if (showTranscript && !s->Transcription.empty()) {
      u = Simple ? u" [" + s->Transcription + u"] "
                 : u" <[" + s->Transcription + u"]=ShowTranscription-" + s->Transcription + u"||F Vovedorirada> ";
    }
    if (Simple) {
      out += s->Word;
    } else {
      out += u'<';
      out += s->Word;
      out += u"=TransWord-";
      out += s->Word;
      out += u"||B ||dir ";
      out += dir;
      out += u'>';
    }
    out += u;
    out += kCrLf;
    out += s->GetString(OnForm, Simple);
    out += u"\r\n\r\n";
  }
  if (out.size() < 4) return std::u16string();
  out.erase(out.size() - 4);
  return out;
}

std::u16string Translation::GetString() const {
  std::u16string a = Dictionary;
  if (!Themes.empty()) {
    if (!a.empty()) a += u": ";
    for (const auto& name : Themes) a += name + u", ";
    DropLast(a, 2);
  }
  if (!a.empty()) a = u"(" + a + u") ";
  std::u16string out = a + this->Translation;
  if (!Comment.empty()) out += u" (" + Comment + u")";
  return out;
}

}  // namespace parlavent
