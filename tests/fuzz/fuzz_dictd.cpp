// Imports arbitrary bytes as a dictd database (an index, a NUL byte, then the data; with the
// first byte's low bit, in the layout with explanation lines), reads the source it gives and
// builds a package of it: the importer must write source the builder accepts, and the package
// must hold every word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "dictd_import.h"
#include "dictionary/package_file.h"
#include "dictionary_source.h"
#include "package_builder.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlavent;
  using namespace parlavent::dictool;
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t nul = input.find('\0');
  const std::string_view index = input.substr(0, nul);
  const std::string_view dict = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  ImportOptions options;
  options.explanations = (data[0] & 1) != 0;
  options.transcriptionsOnly = (data[0] & 2) != 0;
  std::ostringstream out;
  ImportReport report;
  ImportEntries(index, dict, options, out, report);

  DictionarySource source;
  std::string err;
  if (!ParseSource("@member Info\n[Main]\nSupportRech=1\n@end\n" + out.str(), "fuzz", ".", source, err)) std::abort();
  std::vector<std::uint8_t> bytes;
  BuildReport built;
  if (!BuildPackage(source, {}, bytes, built, err)) std::abort();
  const auto package = PackageFile::FromMemory(bytes);
  const MemberBounds sort = package.FindMember(u"WordsSort", true, AnsiCodePage());
  if (sort.Length() != 4 * static_cast<std::int64_t>(source.WordCount())) std::abort();
  return 0;
}
