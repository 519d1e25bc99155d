#include "list_commands.h"

#include <iostream>

#include "app/application.h"
#include "app/link_layer.h"
#include "app/view_host.h"
#include "app/word_list.h"
#include "foundation/api_files.h"
#include "foundation/api_strings.h"
#include "foundation/ini_file.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "load_command.h"
#include "platform/rich_text_box.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

constexpr const char* kUsage =
    "usage: dictool wordlist FOLDER TEXT [--all]\n"
    "       dictool abc FOLDER [LETTER]\n";

// A box that keeps its text only: the alphabet is shown in it and printed from it.
class TextBox final : public RichTextBox {
 public:
  std::u16string text;
  std::u16string Text() override { return text; }
  void SetText(std::u16string_view t) override { text = std::u16string(t); }
  std::int32_t SelStart() override { return 0; }
  void SetSelStart(std::int32_t) override {}
  std::int32_t SelLength() override { return 0; }
  void SetSelLength(std::int32_t) override {}
  void SetSelColor(Colour) override {}
  void SetSelBold(bool) override {}
  void SetSelItalic(bool) override {}
  void SetSelUnderline(bool) override {}
  void SetSelFontName(std::u16string_view) override {}
  void SetSelFontSize(double) override {}
  void SetSelBullet(bool) override {}
  bool Visible() override { return true; }
  void SetVisible(bool) override {}
  bool Enabled() override { return true; }
  void SetEnabled(bool) override {}
  bool HasFocus() override { return false; }
  void SetFocus() override {}
  std::int32_t CharIndexAtCursor() override { return 0; }
};

class OutputOnly final : public ViewHost {
 public:
  std::shared_ptr<TextBox> box = std::make_shared<TextBox>();
  clsLink links;
  std::shared_ptr<RichTextBox> OutputBox() override { return box; }
  clsLink* OutputLinks() override { return &links; }
};

// What start-up gives the lists: the settings they read, the interface texts and the alphabets
// of the program folder's preset.ini.
void PrepareLists(Appl& app) {
  app.Sett->Gray = 8421504;
  app.Sett->TextLink = u"||Crsr 1||U 1||Snd 1||C 8421504||S 8.5";
  std::u16string site, email;
  mdlPublic::LoadLang(app.Sett->CurLang, site, email);
  clsINI ini;
  ini.Unicode = true;
  ini.OpenForReading(API::JoinPath(System().ProgramFolder(), u"preset.ini"));
  for (const std::u16string& line : ini.GetSectionValues(u"ABC")) {
    app.State.colABC.Add(API::GetTextBefore(line, u"="), API::GetTextAfter(line, u"="));
  }
}

int WithLists(const std::string& folder, const std::function<int(Appl&)>& use) {
  return WithLoadedFolder(std::filesystem::path(std::u8string(folder.begin(), folder.end())), [&](Appl& app) {
    if (!app.Dic) {
      std::cerr << "dictool: no dictionary in " << folder << "\n";
      return 1;
    }
    PrepareLists(app);
    return use(app);
  });
}

int WordList(const std::vector<std::string>& args, std::ostream& out) {
  const bool all = args.size() == 3 && args[2] == "--all";
  if (args.size() != 2 && !all) return std::cerr << kUsage, 1;
  const std::u16string text = FromUtf8(args[1]);
  return WithLists(args[0], [&](Appl& app) {
    const std::int32_t limit = all ? 3000 : 50;
    auto entries = app.GetList(text, limit, false, 2);
    if (entries.empty()) entries = app.GetListExt(text);
    const WordListPage page = MakeWordListPage(app, text, std::move(entries), limit, all);
    out << ToUtf8(page.Text);
    return out ? 0 : 1;
  });
}

int Alphabet(const std::vector<std::string>& args, std::ostream& out) {
  if (args.empty() || args.size() > 2) return std::cerr << kUsage, 1;
  const std::u16string letter = args.size() == 2 ? FromUtf8(args[1]) : std::u16string();
  return WithLists(args[0], [&](Appl& app) {
    auto host = std::make_shared<OutputOnly>();
    app.Views = host;
    app.ShowABC(letter);
    out << ToUtf8(host->box->text) << "\n";
    for (const LinkItemPtr& l : host->links.Links) {
      out << ToUtf8(l->Caption) << '\t' << ToUtf8(l->Prefix) << '\t' << ToUtf8(l->Link) << "\n";
    }
    app.Views = nullptr;
    return out ? 0 : 1;
  });
}

}  // namespace

bool IsListCommand(const std::string& command) { return command == "wordlist" || command == "abc"; }

int RunListCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out) {
  return command == "abc" ? Alphabet(args, out) : WordList(args, out);
}

}  // namespace parlavent::dictool
