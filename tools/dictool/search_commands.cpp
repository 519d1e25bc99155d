#include "search_commands.h"

#include <iostream>
#include <map>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/sections.h"
#include "load_command.h"
#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

struct Command {
  std::size_t arguments;  // after the package
  const char* usage;
};

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands{
      {"find", {1, "find PKG WORD"}},
      {"trans", {1, "trans PKG WORD"}},
      {"list", {2, "list PKG PREFIX LIMIT"}},
      {"index", {3, "index PKG PREFIX LIMIT DL"}},
      {"transcript", {1, "transcript PKG WORD"}},
  };
  return commands;
}

bool ParseNumber(const std::string& text, std::int32_t& out) {
  std::int64_t n = 0;
  if (!ParseInt64(FromUtf8(text), n) || n < INT32_MIN || n > INT32_MAX) return false;
  out = static_cast<std::int32_t>(n);
  return true;
}

std::string Utf8(std::u16string_view text) { return ToUtf8(text); }

int Fail(const std::string& message) {
  std::cerr << "dictool: " << message << "\n";
  return 1;
}

}  // namespace

bool IsSearchCommand(const std::string& command) { return Commands().count(command) != 0; }

int RunSearchCommand(const std::string& command, const std::vector<std::string>& argsIn, std::ostream& out) {
  const Command& form = Commands().at(command);
  std::vector<std::string> args = argsIn;
  if (args.size() >= 2 && args[0] == "--ansi") {
    std::int32_t id = 0;
    auto page = ParseNumber(args[1], id) && id > 0 ? MakeCodePage(static_cast<unsigned>(id)) : nullptr;
    if (!page) return Fail("unknown code page \"" + args[1] + "\"");
    SetAnsiCodePage(std::move(page));
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != form.arguments + 1) return Fail(std::string("usage: dictool ") + form.usage);

  const std::u16string word = FromUtf8(args[1]);
  // dic is the current dictionary: transcriptions come from its common package.
  const auto answer = [&](Searches& search, const std::shared_ptr<clsDic>& dic) -> int {
    if (command == "find") {
      std::vector<WordRec> recs;
      const std::int32_t side = search.FindWord(word, recs, *dic);
      out << side << "\n";
      if (side != 0) {
        for (const WordRec& r : recs) out << r.ID << "\t" << r.Dir << "\t" << Utf8(r.Text) << "\n";
      }
    } else if (command == "trans") {
      std::vector<TransRec> recs;
      search.GetTransRecs(word, recs, *dic);
      for (const TransRec& r : recs) {
        out << r.Word.ID << "\t" << r.Word.Dir << "\t" << r.Trans.ID << "\t" << Utf8(r.Trans.Text) << "\t"
            << Utf8(r.Theme1.Name) << "\t" << Utf8(r.Theme2.Name) << "\t" << Utf8(r.Theme3.Name) << "\t"
            << Utf8(r.Comment) << "\t" << r.Rech << "\t" << r.Rod << "\n";
      }
    } else if (command == "list" || command == "index") {
      const bool asIndex = command == "index";
      std::int32_t limit = 0, dl = 0, count = 0;
      if (!ParseNumber(args[2], limit) || (asIndex && !ParseNumber(args[3], dl))) {
        return Fail(std::string("usage: dictool ") + form.usage);
      }
      std::vector<WordRec> recs;
      search.FindSorted(word, recs, limit, true, dic, asIndex, dl, false, count);
      for (const WordRec& r : recs) out << Utf8(r.Text) << "\n";
    } else {
      out << Utf8(search.GetTranscript(word, dic)) << "\n";
    }
    return out ? 0 : 1;
  };

  const std::filesystem::path path(std::u8string(args[0].begin(), args[0].end()));
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    // A folder is loaded as at start-up and its current dictionary answers, with the common
    // package paired to it (transcriptions come from there).
    return WithLoadedFolder(path, [&](Appl& app) {
      return app.Dic ? answer(app.Search(), app.Dic) : Fail("no dictionary in " + args[0]);
    });
  }
  // One package needs the engine alone.
  DictionaryEngine engine;
  const auto dic = engine.OpenCurrent(path);
  if (!dic) return Fail("cannot open " + args[0]);
  return answer(engine.Search, dic);
}

}  // namespace parlavent::dictool
