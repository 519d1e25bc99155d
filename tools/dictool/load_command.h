#pragma once
// dictool load: loads a dictionary folder as the program does at start-up and lists the result.
#include <filesystem>
#include <functional>
#include <ostream>

namespace parlavent {
class Appl;
}

namespace parlavent::dictool {

/// Loads the packages of folder into a fresh application object, as the program does at
/// start-up, and hands it to use; its exit code is returned. The user's settings store and
/// folders are left alone.
int WithLoadedFolder(const std::filesystem::path& folder, const std::function<int(Appl&)>& use);

/// Loads the packages of folder and writes one line per dictionary, then one per language.
/// The user's settings store and folders are left alone. Returns the exit code.
int LoadFolder(const std::filesystem::path& folder, std::ostream& out);

}  // namespace parlavent::dictool
