#pragma once
// The package operations of dictionary/sections.h through the application object's open files
// (app/engine_operations.cpp), for the loader, the word lists and tests that hold an Appl.
#include <cstdint>
#include <filesystem>
#include <memory>

namespace parlavent {

class Appl;
class clsDic;

void ReadSectionBounds(Appl& app, clsDic& dic);
bool PackageWhole(Appl& app, const clsDic& dic);
std::int64_t LongestText(Appl& app, const clsDic& dic, std::int64_t upTo = INT64_MAX);
std::shared_ptr<clsDic> OpenPackageDic(Appl& app, const std::filesystem::path& path);

}  // namespace parlavent
