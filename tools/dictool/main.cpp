// dictool: builds dictionary packages from their source, imports dictd databases into that
// source, and prints a package's members.
//
//   dictool build [--ansi CODEPAGE] [--without-transcriptions] SOURCE OUT.dic
//   dictool member [--ansi CODEPAGE] PACKAGE NAME
//   dictool check PACKAGE
//   dictool import-dictd [--explanations] [--transcriptions-only] [--head FILE]... INDEX DICT OUT.txt
//   dictool load FOLDER
//   dictool forms [--sideN PAIRS]... [--rulesN PAIRS]... SOURCE RULES.txt OUT.txt
//   dictool forms-check [--list] [--sideN PAIRS]... FOLDER NAME SOURCE
//   dictool batch        (commands from standard input, one per line, arguments TAB-separated)
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dictd_import.h"
#include "dictionary/package_file.h"
#include "dictionary_source.h"
#include "forms_command.h"
#include "text/text.h"
#include "list_commands.h"
#include "load_command.h"
#include "package_builder.h"
#include "search_commands.h"
#include "translate_command.h"
#include "platform/code_page.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/win32/win32_services.h"
#endif

namespace parlavent::dictool {
namespace {

constexpr const char* kUsage =
    "usage: dictool build [--ansi CODEPAGE] [--without-transcriptions] SOURCE OUT.dic\n"
    "       dictool member [--ansi CODEPAGE] PACKAGE NAME\n"
    "       dictool check PACKAGE\n"
    "       dictool import-dictd [--explanations] [--transcriptions-only] [--head FILE]... INDEX DICT\n"
    "                            OUT.txt\n"
    "       dictool load FOLDER\n"
    "       dictool translate FOLDER TEXT [options] (translate_command.h)\n"
    "       dictool wordlist FOLDER TEXT [--all]\n"
    "       dictool abc FOLDER [LETTER]\n"
    "       dictool forms [--sideN PAIRS]... [--rulesN PAIRS]... SOURCE RULES.txt OUT.txt\n"
    "       dictool forms-check [--list] [--sideN PAIRS]... FOLDER NAME SOURCE\n"
    "       dictool batch\n"
    "\n"
    "build: fails, leaving no package, when the package written would not pass check.\n"
    "check: reads every section and record of PACKAGE and says what keeps it from serving (exit 1),\n"
    "or that it is sound.\n"
    "load: loads the packages of FOLDER as the program does at start-up and prints one line per\n"
    "dictionary, fields separated by TAB: Index, file name, FileTitle, Name, Lang1, Lang2,\n"
    "Unicode, Visible, Demo, Enabled, direction, Words, the numbers of sources, ending rules and\n"
    "themes, and the FileTitle of the paired common package (Dicx) and of the full package\n"
    "(FullDic); then one line per language: its code and Index:side of each of its dictionaries.\n"
    "\n"
    "wordlist: the markup of the word list shown for typed TEXT (50 words and a link to the all\n"
    "list; with --all the all list of up to 3000), one entry per line; a text of several words\n"
    "lists the phrases whose words begin with its words.\n"
    "abc: the alphabet index of the current dictionary (with LETTER, that letter's words) as shown\n"
    "in the output box, then one line per link: caption, kind and argument, separated by TAB.\n"
    "forms: from PAIRS files of \"form TAB base\" lines of side N (1 or 2), the \"Replace\" member of\n"
    "SOURCE's packages and the form words the common package must know (RULES.txt, source lines);\n"
    "OUT.txt is SOURCE with that member and the links of the forms of --sideN files that its rules\n"
    "do not lead to their base (--rulesN files only teach rules). It reports per side the share of\n"
    "the forms that reach their base.\n"
    "forms-check: looks up in dictionary NAME of FOLDER (its full package with its common one) every\n"
    "form of the PAIRS files whose base is a word of SOURCE (the imported source) and which is none,\n"
    "and prints per side the share answered with the base's entry and how many with another word's or\n"
    "nothing; then every word of SOURCE with translations, and prints per side the share that shows\n"
    "all its own translations, one of them first (--list names those that miss). Exit code 1 when a\n"
    "word misses or NAME has no usable full package.\n"
    "batch: runs the commands of standard input, one per line with its arguments separated by TAB;\n"
    "before each command's output a line \"### \" and the command, after it \"### exit N\".\n";

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Options before the positional arguments: flags, and options that take a value.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  std::optional<std::string> Get(const std::string& name) const {
    for (const auto& [n, v] : options) {
      if (n == name) return v;
    }
    return std::nullopt;
  }
};

bool ParseArgs(const std::vector<std::string>& in, const std::vector<std::string>& valued, Args& out) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i].rfind("--", 0) != 0) {
      out.positional.push_back(in[i]);
      continue;
    }
    const bool takesValue = std::find(valued.begin(), valued.end(), in[i]) != valued.end();
    if (takesValue && i + 1 >= in.size()) return false;
    const std::string name = in[i];
    if (takesValue) ++i;
    out.options.emplace_back(name, takesValue ? in[i] : std::string());
  }
  return true;
}

std::unique_ptr<CodePage> CodePageOption(const Args& args) {
  const auto value = args.Get("--ansi");
  if (!value) return nullptr;
  std::int64_t id = 0;
  if (!ParseInt64(FromUtf8(*value), id) || id <= 0) return nullptr;
  return MakeCodePage(static_cast<unsigned>(id));
}

int Fail(const std::string& message) {
  std::cerr << "dictool: " << message << "\n";
  return 1;
}

int Build(const Args& args) {
  if (args.positional.size() != 2) return Fail(std::string("build needs SOURCE and OUT.dic\n") + kUsage);
  const auto page = CodePageOption(args);
  if (args.Get("--ansi") && !page) return Fail("unknown code page \"" + *args.Get("--ansi") + "\"");
  DictionarySource source;
  std::string err;
  if (!ReadSource(PathOf(args.positional[0]), source, err)) return Fail(err);
  BuildReport report;
  BuildOptions options{page.get(), args.Get("--without-transcriptions").has_value()};
  if (!WritePackage(source, options, PathOf(args.positional[1]), report, err)) return Fail(err);
  if (const std::string problem = CheckPackage(PathOf(args.positional[1])); !problem.empty()) {
    std::error_code ec;
    std::filesystem::remove(PathOf(args.positional[1]), ec);
    return Fail(args.positional[1] + " would not be used: " + problem);
  }
  std::cerr << args.positional[1] << ": " << source.members.size() << " members, " << source.WordCount()
            << " words, " << source.LinkCount() << " links, " << (report.supportRech ? 16 : 14)
            << "-byte link headers, " << report.packageBytes << " bytes\n";
  for (const MemberSize& m : report.members) std::cerr << "  " << ToUtf8(m.name) << '\t' << m.bytes << '\n';
  if (report.lossyTexts) std::cerr << "warning: " << report.lossyTexts << " texts lost characters to the code page\n";
  if (report.droppedCodes) {
    std::cerr << "warning: " << report.droppedCodes
              << " links lost their part of speech or gender: \"Info\" does not set SupportRech\n";
  }
  return 0;
}

int Check(const Args& args) {
  if (args.positional.size() != 1) return Fail(std::string("check needs PACKAGE\n") + kUsage);
  if (const std::string problem = CheckPackage(PathOf(args.positional[0])); !problem.empty()) {
    return Fail(args.positional[0] + ": " + problem);
  }
  std::cout << args.positional[0] << ": sound\n";
  return 0;
}

int Member(const Args& args) {
  if (args.positional.size() != 2) return Fail(std::string("member needs PACKAGE and NAME\n") + kUsage);
  const auto page = CodePageOption(args);
  const CodePage& ansi = page ? *page : AnsiCodePage();
  const PackageFile package = PackageFile::Open(PathOf(args.positional[0]));
  if (!package.IsOpen()) return Fail("cannot open " + args.positional[0]);
  // The kind of package shows in whether "Info" is found under its Unicode key, as on loading.
  const bool unicode = !package.Member(u"Info", true, ansi).empty();
  const auto bytes = package.Member(FromUtf8(args.positional[1]), unicode, ansi);
  if (bytes.empty()) return Fail("no member \"" + args.positional[1] + "\" in " + args.positional[0]);
  const std::string text = ToUtf8(ReplaceAll(DecodePackageText(bytes, unicode, ansi), u"\r\n", u"\n"));
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
  return 0;
}

int Import(const Args& args) {
  if (args.positional.size() != 3) return Fail(std::string("import-dictd needs INDEX, DICT and OUT.txt\n") + kUsage);
  std::ofstream out(PathOf(args.positional[2]), std::ios::binary | std::ios::trunc);
  if (!out) return Fail("cannot write " + args.positional[2]);
  // Several heads are written one after the other: the members a full package shares with its
  // common package, then those of the one package.
  std::string heads;
  for (const auto& [name, value] : args.options) {
    if (name != "--head") continue;
    std::ifstream in(PathOf(value), std::ios::binary);
    if (!in) return Fail("cannot read " + value);
    std::ostringstream text;
    if (in.peek() != std::char_traits<char>::eof()) text << in.rdbuf();
    heads += text.str() + '\n';
  }
  out << heads;
  ImportOptions options;
  options.explanations = args.Get("--explanations").has_value();
  options.transcriptionsOnly = args.Get("--transcriptions-only").has_value();
  options.themes = ThemesOfSource(FromUtf8(heads));
  ImportReport report;
  std::string err;
  if (!ImportDictd(PathOf(args.positional[0]), PathOf(args.positional[1]), options, out, report, err)) {
    return Fail(err);
  }
  if (!out.flush()) return Fail("cannot write " + args.positional[2]);
  std::cerr << args.positional[0] << ":\n" << DescribeImport(report);
  return 0;
}

int Forms(const Args& args) {
  if (args.positional.size() != 3) return Fail(std::string("forms needs SOURCE, RULES.txt and OUT.txt\n") + kUsage);
  FormsInput in;
  in.source = PathOf(args.positional[0]);
  for (const auto& [name, value] : args.options) {
    // --rulesN: pairs that teach rules only; --sideN: pairs whose forms may become words as well.
    if (name == "--side1" || name == "--side2" || name == "--rules1" || name == "--rules2") {
      in.pairs.push_back({name.back() - '0', PathOf(value), name.starts_with("--side")});
    }
  }
  FormsReport report;
  std::string err;
  if (!MakeForms(in, PathOf(args.positional[1]), PathOf(args.positional[2]), report, err)) return Fail(err);
  for (int s = 0; s < 2; ++s) {
    const std::size_t reached = report.byRules[s] + report.asWords[s];
    std::cerr << args.positional[0] << ": side " << s + 1 << ": " << report.pairs[s] << " forms of its words, "
              << ShareText(reached, report.pairs[s]) << " reach their base (" << report.byRules[s] << " by the rules, " << report.asWords[s]
              << " as words, " << report.inCommon[s] << " of them in the common package too), "
              << report.elsewhere[s] << " another word, " << report.nowhere[s] << " nothing; " << report.rules[s]
              << " ending rules, " << report.added[s] << " replacements added, " << report.dropped[s] << " dropped\n";
  }
  std::cerr << "  " << report.links << " links of forms\n";
  return 0;
}

int FormsCheck(const Args& args) {
  if (args.positional.size() != 3) return Fail(std::string("forms-check needs FOLDER, NAME and SOURCE\n") + kUsage);
  FormsCheckInput in{PathOf(args.positional[0]), FromUtf8(args.positional[1]), PathOf(args.positional[2]), {}, false};
  for (const auto& [name, value] : args.options) {
    if (name == "--side1" || name == "--side2") in.pairs.push_back({name.back() - '0', PathOf(value), true});
    if (name == "--list") in.list = true;
  }
  return CheckForms(in, std::cout);
}

int Run(const std::vector<std::string>& argv);

// Many commands in one process: the engine comparisons run hundreds of thousands of them.
int Batch() {
  std::string line;
  int worst = 0;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> argv;
    std::size_t begin = 0;
    for (std::size_t tab; (tab = line.find('\t', begin)) != std::string::npos; begin = tab + 1) {
      argv.push_back(line.substr(begin, tab - begin));
    }
    argv.push_back(line.substr(begin));
    std::cout << "### " << line << '\n';
    const int rc = argv[0] == "batch" ? Fail("batch does not nest") : Run(argv);
    std::cout << "### exit " << rc << '\n' << std::flush;
    worst = std::max(worst, rc);
  }
  return worst;
}

int Run(const std::vector<std::string>& argv) {
  if (argv.empty()) return Fail(kUsage);
  const std::string command = argv[0];
  if (command == "batch" && argv.size() == 1) return Batch();
  if (IsSearchCommand(command)) return RunSearchCommand(command, {argv.begin() + 1, argv.end()}, std::cout);
  if (IsListCommand(command)) return RunListCommand(command, {argv.begin() + 1, argv.end()}, std::cout);
  if (command == "translate") return RunTranslate({argv.begin() + 1, argv.end()}, std::cout);
  Args args;
  if (!ParseArgs({argv.begin() + 1, argv.end()}, {"--ansi", "--head", "--side1", "--side2", "--rules1", "--rules2"}, args)) return Fail(kUsage);
  if (command == "build") return Build(args);
  if (command == "member") return Member(args);
  if (command == "check") return Check(args);
  if (command == "import-dictd") return Import(args);
  if (command == "forms") return Forms(args);
  if (command == "forms-check") return FormsCheck(args);
  if (command == "load") {
    if (args.positional.size() != 1) return Fail(std::string("load needs FOLDER\n") + kUsage);
    return LoadFolder(PathOf(args.positional[0]), std::cout);
  }
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  return Fail(kUsage);
}

}  // namespace
}  // namespace parlavent::dictool

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  parlavent::InstallWin32Services();
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(parlavent::ToUtf8(parlavent::FromWide(argv[i])));
  return parlavent::dictool::Run(args);
}
#else
int main(int argc, char** argv) { return parlavent::dictool::Run({argv + 1, argv + argc}); }
#endif
