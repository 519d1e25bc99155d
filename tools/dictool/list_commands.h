#pragma once
// dictool's word-list and alphabet subcommands, on a dictionary folder loaded as at start-up:
//
//   dictool wordlist FOLDER TEXT [--all]   the markup of the word list for typed TEXT
//   dictool abc FOLDER [LETTER]            the alphabet index (or LETTER's words): text, then links
#include <ostream>
#include <string>
#include <vector>

namespace parlavent::dictool {

/// Whether command is "wordlist" or "abc".
bool IsListCommand(const std::string& command);
/// Runs it on args (the arguments after the command). Returns the exit code.
int RunListCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out);

}  // namespace parlavent::dictool
