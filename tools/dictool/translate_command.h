#pragma once
// dictool translate: loads a dictionary folder and looks a text up as the program does.
//
//   dictool translate FOLDER TEXT [--one-word] [--full-text] [--tochno] [--repeat] [--check-dir]
//                     [--dir-silent] [--direction 0|1|2] [--on-form] [--plain | --links]
//
// Prints the score, then RetInText, then the rendered link markup. --plain prints the plain
// rendering instead of the markup; --links the plain text of the markup as the link layer shows
// it, then one line per link: p1, p2, Prefix, Link, bold, italic, underline, bullet, colour, font,
// size, direction, TAB-separated.
#include <ostream>
#include <string>
#include <vector>

namespace parlavent::dictool {

/// args: the arguments after "translate". Returns the exit code.
int RunTranslate(const std::vector<std::string>& args, std::ostream& out);

}  // namespace parlavent::dictool
