#include "dictionary/result_tree.h"

#include <cstdint>

#include "app/application.h"
#include "dictionary/lookup_deps.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"
#include "foundation/wildcard.h"

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

template <typename T>
std::shared_ptr<T> FindOrAdd(KeyedCollection<std::shared_ptr<T>>& collection, const std::u16string& key, bool& added) {
  added = false;
  if (auto* found = collection.Find(key)) return *found;
  auto item = std::make_shared<T>();
  collection.Add(key, item);
  added = true;
  return item;
}

// Authors' signatures and web addresses are not shown as comments.
bool IsHiddenComment(std::u16string_view comment) {
  return Like(comment, u"*автор:*", MatchCase::Sensitive) || Like(comment, u"*http://*", MatchCase::Sensitive) ||
         Like(comment, u"*www.*", MatchCase::Sensitive);
}

std::u16string TranslationLink(const TranslateItem& x, bool onForm, std::u16string_view gray) {
  std::u16string s = u"<" + x.Text + (onForm ? u"=BackTrans-" : u"=BackTTTrans-") + x.Text;
  s += u"||Blt ";
  s += gray;
  s += u"||dir " + NumberText(x.Dir) + u">; ";
  return s;
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
                                    std::u16string_view Theme3) {
  // Each hash lies below 2^33, so the sum of three fits in 64 bits; it is the mean that keys.
  Appl& app = gAppl();
  const auto sum = static_cast<std::int64_t>(app.GetHash(Theme1)) + static_cast<std::int64_t>(app.GetHash(Theme2)) +
                   static_cast<std::int64_t>(app.GetHash(Theme3));
  return API::MakeKey(sum / 3);
}

void clsRechSet::AddTranslation(std::u16string_view TransWord, std::u16string_view Translation,
                                std::u16string_view Comment, std::u16string_view Theme1, std::u16string_view Theme2,
                                std::u16string_view Theme3, std::int32_t Dir) {
  const std::u16string key = ThemeKey(Theme1, Theme2, Theme3);
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
                                                           std::int32_t Rech, std::int32_t WDir, std::int32_t TDir) {
  if (Trim(Translation).empty()) return nullptr;
  if (WordDir + TransDir == 0) {
    WordDir = WDir;
    TransDir = TDir;
  }
  IsTranslated = true;
  std::u16string comment(Comment);
  const Setting* sett = lookup::Settings();
  // An unset marker would mark every translation that has no comment.
  if (sett && !sett->ExtTransString.empty() && comment == sett->ExtTransString) {
    comment.clear();
    UseExtTrans = true;
  }
  if (!sett || !sett->ShowComment || IsHiddenComment(comment)) comment.clear();
  bool added = false;
  const auto rech = FindOrAdd(RechSet, API::MakeKey(Rech), added);
  if (added) rech->ID = Rech;
  rech->AddTranslation(TransWord, Translation, comment, Theme1, Theme2, Theme3, TDir);
  return rech;
}

std::u16string TranslationSet::GetString(bool OnForm, bool Simple) {
  const Setting* sett = lookup::Settings();
  const std::u16string gray = NumberText(sett ? sett->Gray : 0);
  const std::u16string textLink = sett ? sett->TextLink : std::u16string();
  SpeakString.clear();
  std::u16string r;
  for (const auto& rech : RechSet) {
    std::u16string p;
    for (const auto& theme : rech->ThemeSet) {
      std::u16string q, v;
      for (const auto& group : theme->CommSet) {
        std::u16string k;
        for (const auto& x : group->TransSet) {
          k += Simple ? x->Text + u"; " : TranslationLink(*x, OnForm, gray);
          v += x->Text + u". ";
        }
        DropLast(k, 2);
        if (Simple) {
          q += k + u"; ";
        } else {
          q += k;
          if (!group->Comment.empty()) q += u" <(" + group->Comment + u")=||C " + gray + u">";
          q += kCrLf;
        }
      }
      DropLast(q, 2);
      if (Simple) {
        p += q + u"; ";
      } else {
        if (!theme->StrThemes.empty()) p += u"<(" + theme->StrThemes + u")=||C " + gray + u"> ";
        p += q;
        p += kCrLf;
      }
      SpeakString += v + u". ";
    }
    DropLast(p, 2);
    r += p;
    r += Simple ? std::u16string_view(u"; ") : kCrLf;
  }
  DropLast(r, 2);
  r = ReplaceAll(r, u";)", u")");
  if (!Simple && Trim(r).empty()) r = lookup::LangStr(kNoTranslation);
  if (!Simple && !r.empty()) {
    if (OnForm) {
      r += std::u16string(kCrLf) + u"<" + lookup::LangStr(kGoBack) + u"=GoBack" + textLink + u">";
      if (UseExtTrans) r += u"   <" + lookup::LangStr(kExtTransOnForm) + u"=ExtTransOnForm-" + Word + textLink + u"> ";
      r += u" ";
    } else if (UseExtTrans) {
      r += std::u16string(kCrLf) + u"  <" + lookup::LangStr(kExtTransPopup) + u"=ExtTransTT-" + Word + u"||Std >";
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
  const Setting* sett = lookup::Settings();
  if (sett && sett->ShowTranscript) entry->Transcription = lookup::Transcript(Word);
  Words.Add(key, entry);
  return entry;
}

std::u16string WordSet::GetString(bool OnForm, bool Simple, bool Transcription) {
  const Setting* sett = lookup::Settings();
  const bool showTranscript = sett && sett->ShowTranscript && Transcription;
  const std::u16string dir = NumberText(Words.Empty() ? 0 : (*Words.ItemAt(1))->WordDir);
  std::u16string out;
  for (const auto& s : Words) {
    if (Trim(s->Word).empty() || API::TrimString(s->Word, u"-").empty()) continue;
    std::u16string u;
    if (showTranscript && !s->Transcription.empty()) {
      u = Simple ? u" [" + s->Transcription + u"] "
                 : u" <[" + s->Transcription + u"]=ShowTranscription-" + s->Transcription + u"||F Vovedorirada> ";
    }
    const std::u16string head = Simple ? s->Word : u"<" + s->Word + u"=TransWord-" + s->Word + u"||B ||dir " + dir + u">";
    out += head + u + std::u16string(kCrLf) + s->GetString(OnForm, Simple) + u"\r\n\r\n";
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
