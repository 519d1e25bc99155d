#pragma once
// The host side of the optional skin plug-in ("ParlaventPlugIn.Skin") and its hint companion
// ("ParlaventPlugIn.Hint"): late-bound objects whose members are called by name. A member the
// object lacks reads as a failure, and a failing plug-in reads as not loaded.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace parlavent {

class Appl;

/// A value an automation client gave, kept in the platform's own form so that it reaches the
/// plug-in exactly as given.
class ClientValue {
 public:
  virtual ~ClientValue() = default;
};

/// One argument of a plug-in event: absent, a text, a whole number (a position, a window), or a
/// client's value as given.
using EventArg = std::variant<std::monostate, std::u16string, std::int64_t, std::shared_ptr<const ClientValue>>;

class PlugInObject {
 public:
  virtual ~PlugInObject() = default;
  /// The skin plug-in's Loaded property; nullopt when it has no such member.
  virtual std::optional<bool> Loaded() { return std::nullopt; }
  /// The Parlavent property.
  virtual void SetParlavent(Appl* app) {}
  virtual void Init() {}
  /// EventHandler(Name, Arg1 ... Arg8), converted to Boolean; nullopt when it failed.
  virtual std::optional<bool> EventHandler(std::u16string_view name, const std::vector<EventArg>& args) {
    return std::nullopt;
  }
  /// The hint plug-in's setplugin.
  virtual void setplugin(PlugInObject* skin) {}
  virtual void Unload() {}
};

namespace mdlPublic {
/// The skin plug-in's Loaded; False without a plug-in or on any failure.
bool IsPlugInLoaded();
}  // namespace mdlPublic

/// Writes every word of the current dictionary without a blank or hyphen and its translations
/// ("word TAB t1; t2" lines) to file. False when the file cannot be written.
bool ExportRetDic(Appl& app, const std::filesystem::path& file);

}  // namespace parlavent
