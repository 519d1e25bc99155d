#pragma once
// dictool's search subcommands: one package opened as a dictionary (or a dictionary folder loaded
// as at start-up, its current dictionary), one question, the answer in UTF-8 on standard output.
//
//   dictool find PKG WORD                 side code 0..3, then ID TAB Dir TAB Text per match
//   dictool trans PKG WORD                one line per translation record
//   dictool list PKG PREFIX LIMIT         the word list, one word per line
//   dictool index PKG PREFIX LIMIT DL     the alphabet-index sample
//   dictool transcript PKG WORD           the transcription, or an empty line (a full package
//                                         alone has none: they come from its common package)
#include <ostream>
#include <string>
#include <vector>

namespace parlavent::dictool {

/// Whether command is one of the search subcommands.
bool IsSearchCommand(const std::string& command);
/// Runs it on args (the arguments after the command; "--ansi CODEPAGE" may come first). Returns
/// the exit code.
int RunSearchCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out);

}  // namespace parlavent::dictool
