// Opens arbitrary bytes as a dictionary package and extracts members in both text modes: every
// look-up must give a member inside the file or an empty one. The section checks (those that
// decide whether a package is offered, and the whole check of dictool check) walk the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dictionary/dictionary.h"
#include "dictionary/package_file.h"
#include "dictionary/sections.h"
#include "platform/code_page.h"

namespace {

constexpr std::u16string_view kNames[] = {u"Info",      u"TranscrHelp0", u"Icon",      u"Icon1",  u"Icon2",
                                          u"Replace",   u"Prefix",       u"Themes",    u"Words",  u"Transcript",
                                          u"WordsHash", u"WordsSort",    u"TransW1",   u"TransW2", u"de1"};

void Check(const parlavent::PackageFile& package, bool unicode) {
  using namespace parlavent;
  for (std::u16string_view name : kNames) {
    const MemberBounds m = package.FindMember(name, unicode, AnsiCodePage());
    if (!m.Empty() && (m.Start < 0 || m.End > package.Size())) std::abort();
    const auto bytes = package.Member(name, unicode, AnsiCodePage());
    volatile std::uint8_t sink = 0;
    for (std::uint8_t b : bytes) sink = sink ^ b;  // touches every byte under ASan
    (void)DecodePackageText(bytes, unicode, AnsiCodePage());
  }
}

// The sections' bounds as the loader reads them from the directory, then their checks.
void CheckSections(const parlavent::PackageFile& package, bool unicode) {
  using namespace parlavent;
  clsDic dic;
  const struct {
    std::u16string_view name;
    std::int32_t& bs;
    std::int32_t& be;
  } sections[] = {{u"Words", dic.bsWords, dic.beWords},         {u"Transcript", dic.bsTranscr, dic.beTranscr},
                  {u"WordsHash", dic.bsWordsHash, dic.beWordsHash}, {u"WordsSort", dic.bsWordsSort, dic.beWordsSort},
                  {u"TransW1", dic.bsTransW1, dic.beTransW1},   {u"TransW2", dic.bsTransW2, dic.beTransW2}};
  for (const auto& s : sections) {
    const MemberBounds m = package.FindMember(s.name, unicode, AnsiCodePage());
    s.bs = static_cast<std::int32_t>(m.Start);
    s.be = static_cast<std::int32_t>(m.End);
  }
  for (bool rech : {false, true}) {
    dic.SupportRech = rech;
    (void)SectionsSound(package, dic);
    (void)PackageProblem(package, dic);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto package = parlavent::PackageFile::FromMemory({data, size});
  Check(package, true);
  Check(package, false);
  CheckSections(package, true);
  CheckSections(package, false);
  // Checked reads at offsets taken from the input itself, as record readers will take them.
  std::int32_t offset = 0;
  for (std::int64_t at = 0; at < 64 && package.ReadI32(at, offset); at += 4) {
    std::int32_t i = 0;
    double d = 0;
    package.ReadI32(offset, i);
    package.ReadF64(offset, d);
    (void)package.Bytes(offset, i);
  }
  return 0;
}
