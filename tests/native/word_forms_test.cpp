// Inflected forms on the sample packages: a learner who types a form gets its base's entry
// (found through the ending rules, or as a known form whose translations name the base), never
// another word's. The list mixes noun plurals and cases, weak and strong verb forms and
// adjective forms of each language; alternatives are separated by "|" where a form belongs to two
// words ("leaves").
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/result_tree.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"
#include "load_command.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

// form base, separated by blanks, pairs by line ends or blanks.
constexpr const char* kGerman = R"(
Hunde Hund Kinder Kind Häuser Haus Bücher Buch Tische Tisch Frauen Frau Städte Stadt
Männer Mann Blumen Blume Autos Auto Straßen Straße Tage Tag Jahre Jahr Freunde Freund
Augen Auge Hundes Hund Hauses Haus Bäume Baum Vögel Vogel Wörter Wort Lehrerin Lehrerin
Schulen Schule Fenstern Fenster spielte spielen arbeitet arbeiten machte machen
gemacht machen gespielt spielen sagte sagen gesagt sagen lernst lernen wohnt wohnen
kaufte kaufen fragte fragen kochten kochen ging gehen gegangen gehen schläft schlafen
sah sehen sieht sehen fährt fahren kam kommen nahm nehmen gibt geben sprach sprechen
musste müssen konnte können hatte haben wurde werden trank trinken liest lesen
gefunden finden geschrieben schreiben größer groß kleiner klein schöne schön neuen neu
älter alt schnellste schnell kleinen klein schwarzes schwarz
)";
constexpr const char* kRussian = R"(
столе стол стола стол книги книга книгу книга домом дом городе город людей человек
детей ребёнок окна окно словами слово собаки собака сказал сказать шёл идти читал читать
читает читать пишет писать говорит говорить сделал сделать знаю знать работает работать
видел видеть пошёл пойти красного красный новая новый большие большой хорошую хороший
зелёные зелёный матери мать отца отец братом брат сестру сестра дня день годы год
ногами нога глаза глаз головы голова друга друг жены жена жил жить брала брать пьёт пить
спал спать стоит стоять|стоить сидела сидеть купил купить может мочь хочет хотеть
)";
constexpr const char* kEnglish = R"(
went go gone go ran run took take taken take children child bigger big houses house
books book boxes box dogs dog feet foot men man walked walk playing play plays play
worked work saw see seen see gave give given give larger large making make made make
knew know sold sell spoke speak sang sing told tell thought think stood stand lost lose
paid pay sent send cities city trees tree eyes eye brothers brother years year girls girl
tables table windows window knives knife leaves leaf|leave older old newest new
younger young higher high
)";

bool HasComment(const TranslationSet& entry, std::u16string_view comment) {
  for (std::size_t r = 1; r <= entry.RechSet.Count(); ++r) {
    const auto& themes = (*entry.RechSet.ItemAt(r))->ThemeSet;
    for (std::size_t t = 1; t <= themes.Count(); ++t) {
      const auto& comments = (*themes.ItemAt(t))->CommSet;
      for (std::size_t c = 1; c <= comments.Count(); ++c) {
        if (EqualsNoCase((*comments.ItemAt(c))->Comment, comment)) return true;
      }
    }
  }
  return false;
}

struct Tally {
  int forms = 0, base = 0, other = 0;
  std::string report;
};

void Use(Appl& app, std::u16string_view dictionary) {
  for (const auto& dic : app.ColDics) {
    if (dic->Name == dictionary && dic->Dicx) app.Dic = dic;  // the full package, paired with its common one
  }
  ASSERT_TRUE(app.Dic && app.Dic->Name == dictionary);
}

void LookUp(Appl& app, std::u16string_view dictionary, const char* list, Tally& tally) {
  Use(app, dictionary);
  std::istringstream in(list);
  std::string form, bases;
  while (in >> form >> bases) {
    ++tally.forms;
    std::u16string rendered;
    const std::int32_t score = app.GetTranslate(FromUtf8(form), rendered, {}, {});
    const auto entry = score > 0 && app.WordSet && app.WordSet->Words.Count() ? *app.WordSet->Words.ItemAt(1) : nullptr;
    bool ok = false;
    for (const auto& b : SplitText(FromUtf8(bases), u"|")) {
      ok = ok || (entry && (EqualsNoCase(entry->Word, b) || (EqualsNoCase(entry->Word, FromUtf8(form)) && HasComment(*entry, b))));
    }
    if (ok) {
      ++tally.base;
    } else {
      if (entry) ++tally.other;
      tally.report += "  " + form + " -> " + (entry ? ToUtf8(entry->Word) : std::string("(nothing)")) + "\n";
    }
  }
}

TEST(WordForms, AnsweredWithTheirBasesEntry) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  Tally tally;
  const auto folder = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries";
  dictool::WithLoadedFolder(folder, [&](Appl& app) {
    SetLookupDefaults(*app.Sett);
    app.State.gNotRepeatTrans = true;
    LookUp(app, u"De-Ru", kGerman, tally);
    LookUp(app, u"De-Ru", kRussian, tally);
    LookUp(app, u"En-Ru", kEnglish, tally);
    return 0;
  });
  const double share = tally.forms ? 100.0 * tally.base / tally.forms : 0;
  std::cout << tally.forms << " forms: " << share << "% answered with their base's entry, " << tally.other
            << " with another word's entry\n" << tally.report;
  EXPECT_GE(tally.forms, 100);
  EXPECT_GE(share, 95.0);
  EXPECT_EQ(tally.other, 0);
}

// On the real data: a compound of two found words is still cut; a word with one found fragment
// is not ("боль шие" was shown for "большие").
TEST(WordForms, CompoundsAreCutOnlyIntoFoundWords) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  const auto folder = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries";
  dictool::WithLoadedFolder(folder, [&](Appl& app) {
    SetLookupDefaults(*app.Sett);
    Use(app, u"De-Ru");
    std::u16string rendered, inText;
    EXPECT_GT(app.GetTranslate(u"Gartenhund", rendered, {}, {&inText}), 0);
    EXPECT_EQ(inText, u"Garten hund");
    EXPECT_EQ(app.GetTranslate(u"большие", rendered, {}, {&inText}), 0);
    return 0;
  });
}

}  // namespace
}  // namespace parlavent
