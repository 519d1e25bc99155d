// Inflected forms on the sample packages: a learner who types a form gets its base's entry
// (found through the ending rules, or as a known form whose translations name the base), never
// another word's. The list mixes noun plurals and cases, weak and strong verb forms and
// adjective forms of each language; alternatives are separated by "|" where a form belongs to two
// words ("leaves").
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <tuple>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/result_tree.h"
#include "foundation/settings_object.h"
#include "text/text.h"
#include "forms_command.h"
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
Gärten Garten Äpfel Apfel Mütter Mutter Väter Vater Brüder Bruder Töchter Tochter Nächte Nacht
Hände Hand Füße Fuß Stühle Stuhl gegessen essen aß essen isst essen gelesen lesen las lesen
schrieb schreiben fand finden lief laufen läuft laufen gesungen singen
trägt tragen wusste wissen dachte denken gedacht denken brachte bringen blieb bleiben
saß sitzen schlief schlafen kälter kalt wärmer warm jünger jung kürzeste kurz roten rot
)";
constexpr const char* kRussian = R"(
столе стол стола стол книги книга книгу книга домом дом городе город людей человек
детей ребёнок окна окно словами слово собаки собака сказал сказать шёл идти читал читать
читает читать пишет писать говорит говорить сделал сделать знаю знать работает работать
видел видеть пошёл пойти красного красный новая новый большие большой хорошую хороший
зелёные зелёный матери мать отца отец братом брат сестру сестра дня день годы год
ногами нога глаза глаз головы голова друга друг жены жена жил жить брала брать пьёт пить
спал спать стоит стоять|стоить сидела сидеть купил купить может мочь хочет хотеть
окон окно столы стол столов стол книгами книга книгах книга городов город словах слово
собакой собака рукой рука руками рука домах дом домов дом деревья дерево
деревьев дерево братья брат братьев брат матерью мать дочери дочь улицы улица школе школа
лошади лошадь друзья друг друзей друг стулья стул листья лист
времени время имени имя сердца сердце ключи ключ яблоки яблоко письма письмо девушки девушка
большого большой большая большой красивая красивый красивые красивый нового новый новым новый
старая старый старые старый маленькие маленький синие синий русского русский молодые молодой
белую белый длинные длинный высокая высокий
идёт идти идут идти иду идти бежит бежать бегут бежать делает делать делают делать
говорю говорить говорят говорить читаю читать знает знать видит видеть вижу видеть
любит любить люблю любить спит спать сплю спать думает думать понимаю понимать живёт жить
берёт брать ждёт ждать поёт петь едет ехать сидит сидеть лежит лежать
пил пить пили пить бежал бежать делала делать говорили говорить читала читать знали знать
видела видеть любил любить писал писать ехал ехать сидел сидеть ждал ждать
пела петь думал думать понимали понимать
)";
constexpr const char* kEnglish = R"(
went go gone go ran run took take taken take children child bigger big houses house
books book boxes box dogs dog feet foot men man walked walk playing play plays play
worked work saw see seen see gave give given give larger large making make made make
knew know sold sell spoke speak sang sing told tell thought think stood stand lost lose
paid pay sent send cities city trees tree eyes eye brothers brother years year girls girl
tables table windows window knives knife leaves leaf|leave older old newest new
younger young higher high
running run sitting sit swimming swim planned plan hotter hot biggest big
getting get hitting hit shopping shop putting put cries cry cried cry drank drink drunk drink
sung sing became become understood understand halves half buses bus classes class
watches watch dishes dish countries country families family stories story easier easy
heavier heavy busier busy
)";

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
    std::u16string shown;
    const dictool::FormAnswer answer = dictool::AnswerOf(app, FromUtf8(form), SplitText(FromUtf8(bases), u"|"), shown);
    if (answer == dictool::FormAnswer::kBase) {
      ++tally.base;
    } else {
      if (answer == dictool::FormAnswer::kOther) ++tally.other;
      tally.report += "  " + form + " -> " + (shown.empty() ? std::string("(nothing)") : ToUtf8(shown)) + "\n";
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
  EXPECT_GE(tally.forms, 300);
  EXPECT_GE(share, 97.0);
  EXPECT_EQ(tally.other, 0);
}

// Every entry the look-up shows for text, with its translations.
std::vector<std::pair<std::u16string, std::vector<std::u16string>>> Entries(Appl& app, std::u16string_view text) {
  std::u16string rendered;
  std::vector<std::pair<std::u16string, std::vector<std::u16string>>> out;
  if (app.GetTranslate(std::u16string(text), rendered, {}, {}) <= 0 || !app.WordSet) return out;
  for (std::size_t w = 1; w <= app.WordSet->Words.Count(); ++w) {
    const auto& entry = **app.WordSet->Words.ItemAt(w);
    out.emplace_back(entry.Word, dictool::ShownTranslations(entry));
  }
  return out;
}

bool Has(const std::vector<std::u16string>& list, std::u16string_view t) {
  return std::find(list.begin(), list.end(), t) != list.end();
}

void CheckOwnEntries(Appl& app) {
  SetLookupDefaults(*app.Sett);
  app.State.gNotRepeatTrans = true;
  Use(app, u"En-Ru");
  const auto go = Entries(app, u"go");
  ASSERT_FALSE(go.empty());
  EXPECT_TRUE(Has(go[0].second, u"идти"));
  Use(app, u"De-Ru");
  const auto gehen = Entries(app, u"gehen");
  ASSERT_FALSE(gehen.empty());
  EXPECT_TRUE(Has(gehen[0].second, u"идти"));
  for (const auto* entries : {&go, &gehen}) {
    for (const auto& [word, translations] : *entries) {
      for (std::u16string_view form : {u"шёл", u"шла", u"шли", u"пошёл", u"пошла", u"иду", u"идёт", u"пойду"}) {
        EXPECT_FALSE(Has(translations, form)) << ToUtf8(word) << " lists " << ToUtf8(form);
      }
    }
  }
  const auto eaten = Entries(app, u"gegessen");
  ASSERT_EQ(eaten.size(), 1u);
  EXPECT_TRUE(Has(eaten[0].second, u"есть"));
  for (std::u16string_view other : {u"еда", u"Эссен"}) EXPECT_FALSE(Has(eaten[0].second, other)) << ToUtf8(other);
  // "gärten" is a form of "gären" as well: the look-up compares case-blind, so both readings
  // show, the noun's first.
  const auto gardens = Entries(app, u"Gärten");
  ASSERT_FALSE(gardens.empty());
  ASSERT_FALSE(gardens[0].second.empty());
  EXPECT_EQ(gardens[0].second[0], u"сад");
  // A word that is also a form of another word shows its own translations first, then its
  // base's: "пила" (saw) is a form of "пить" (drink), "дорога" (road) of "дорогой" (dear).
  const auto firstShown = [&](std::u16string_view dictionary, std::u16string_view word) {
    Use(app, dictionary);
    const auto entries = Entries(app, word);
    return entries.empty() ? std::vector<std::u16string>{} : entries[0].second;
  };
  for (const auto& [dictionary, word, own] : std::initializer_list<std::tuple<std::u16string_view, std::u16string_view, std::u16string_view>>{
           {u"En-Ru", u"дорога", u"road"}, {u"En-Ru", u"дома", u"at home"}, {u"De-Ru", u"мыло", u"Seife"},
           {u"De-Ru", u"пила", u"Säge"}, {u"De-Ru", u"Валентина", u"Valentina"}, {u"De-Ru", u"Афины", u"Athen"}}) {
    const auto shown = firstShown(dictionary, word);
    EXPECT_TRUE(!shown.empty() && shown[0] == own) << ToUtf8(word) << " shows " << ToUtf8(JoinText(shown, u"; "));
  }
  EXPECT_TRUE(Has(firstShown(u"De-Ru", u"пила"), u"trinken"));
}

// A form's links stay its own: a headword does not list the forms of its translations among
// them, and a form shows the translations of its own reading's base alone.
TEST(WordForms, FormsKeepToTheirOwnEntries) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  const auto folder = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries";
  dictool::WithLoadedFolder(folder, [&](Appl& app) {
    CheckOwnEntries(app);
    return 0;
  });
}

// On the real data: a compound of two found words is still cut; a word with one found fragment
// is not ("Haus xyz" would show Haus).
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
    EXPECT_EQ(app.GetTranslate(u"Hausxyz", rendered, {}, {&inText}), 0);
    return 0;
  });
}

}  // namespace
}  // namespace parlavent
