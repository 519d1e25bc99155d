#pragma once
// dictool load: loads a dictionary folder as the program does at start-up and lists the result.
#include <filesystem>
#include <ostream>

namespace parlavent::dictool {

/// Loads the packages of folder and writes one line per dictionary, then one per language.
/// The user's settings store and folders are left alone. Returns the exit code.
int LoadFolder(const std::filesystem::path& folder, std::ostream& out);

}  // namespace parlavent::dictool
