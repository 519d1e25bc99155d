#include "translate_command.h"

#include <iostream>

#include "app/application.h"
#include "app/link_layer.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/lookup.h"
#include "dictionary/result_tree.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "load_command.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

constexpr const char* kUsage =
    "usage: dictool translate FOLDER TEXT [--one-word] [--full-text] [--tochno] [--repeat] [--check-dir]\n"
    "                         [--dir-silent] [--direction 0|1|2] [--on-form] [--plain | --links]\n";

struct Options {
  TranslateArgs args;
  int direction = -1;  // -1: as loading left it
  bool plain = false;
  bool links = false;
};

bool ParseOptions(const std::vector<std::string>& in, std::vector<std::string>& positional, Options& o) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const std::string& a = in[i];
    if (a == "--one-word") o.args.OneWord = true;
    else if (a == "--full-text") o.args.FullText = true;
    else if (a == "--tochno") o.args.Tochno = true;
    else if (a == "--repeat") o.args.RepeatTrans = true;
    else if (a == "--check-dir") o.args.CheckDir = true;
    else if (a == "--dir-silent") o.args.DirSilent = true;
    else if (a == "--on-form") o.args.OnForm = true;
    else if (a == "--plain") o.plain = true;
    else if (a == "--links") o.links = true;
    else if (a == "--direction" && i + 1 < in.size() && in[i + 1].size() == 1 && in[i + 1][0] >= '0' && in[i + 1][0] <= '2')
      o.direction = in[++i][0] - '0';
    else if (a.rfind("--", 0) == 0) return false;
    else positional.push_back(a);
  }
  return positional.size() == 2 && !(o.plain && o.links);
}

// The settings the look-up reads, as start-up leaves them with the default settings file.
void LookupSettings(Setting& s) {
  SetLookupDefaults(s);
  s.Gray = 8421504;
  s.TextLink = u"||Crsr 1||U 1||Snd 1||C 8421504||S 8.5";
}

void PrintLinks(std::u16string_view markup, std::ostream& out) {
  clsLink link;
  std::u16string plain;
  std::vector<LinkItemPtr> items;
  link.GetLinks(markup, plain, items);
  out << ToUtf8(plain) << "\n";
  for (const LinkItemPtr& l : items) {
    out << l->p1 << '\t' << l->p2 << '\t' << ToUtf8(l->Prefix) << '\t' << ToUtf8(l->Link) << '\t' << l->Bold << '\t'
        << l->Italic << '\t' << l->Underline << '\t' << l->Bullet << '\t' << l->Color << '\t' << ToUtf8(l->Font)
        << '\t' << l->Size << '\t' << l->Dir << "\n";
  }
}

}  // namespace

int RunTranslate(const std::vector<std::string>& args, std::ostream& out) {
  std::vector<std::string> positional;
  Options o;
  if (!ParseOptions(args, positional, o)) {
    std::cerr << kUsage;
    return 1;
  }
  const std::filesystem::path folder(std::u8string(positional[0].begin(), positional[0].end()));
  const std::u16string text = FromUtf8(positional[1]);
  return WithLoadedFolder(folder, [&](Appl& app) {
    if (!app.Dic) {
      std::cerr << "dictool: no dictionary in " << positional[0] << "\n";
      return 1;
    }
    LookupSettings(*app.Sett);
    std::u16string site, email;
    mdlPublic::LoadLang(app.Sett->CurLang, site, email);
    app.State.gNotRepeatTrans = true;
    if (o.direction >= 0) app.Dic->Direction(o.direction);
    std::u16string rendered, inText;
    bool checkDir = true;
    const std::int32_t score = app.GetTranslate(text, rendered, o.args, {&inText, &checkDir, nullptr});
    out << score << (checkDir ? "" : "\t(refused for its direction)") << "\n" << ToUtf8(inText) << "\n";
    if (o.plain) {
      out << ToUtf8(app.WordSet ? app.WordSet->GetString(false, true, true) : std::u16string()) << "\n";
    } else if (o.links) {
      PrintLinks(rendered, out);
    } else {
      out << ToUtf8(rendered) << "\n";
    }
    return out ? 0 : 1;
  });
}

}  // namespace parlavent::dictool
