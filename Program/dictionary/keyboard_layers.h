#pragma once
// What the dictionary loader hands to the on-screen keyboard and the layout-switch learner: the
// keyboard layers of the dictionaries' languages and the prefix statistics of typed key sequences.
// The loader fills them from the packages; the companions read and extend them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dictionary/dictionary.h"

namespace parlavent {

/// The keyboard layer of one language (items of gLayers, key = language code).
class clsLayer {
 public:
  PictureCollection Layers;   // pictures, key = language code & 1, 2, 3
  std::u16string Lang;
  std::u16string CharSet;
  std::int32_t Layout = 0;
};

/// Statistics of one typed key sequence (items of gPrefixes, key = the prefix text).
class clsPrefix {
 public:
  std::u16string Prefix;
  std::u16string Layouts;     // "layout:count" pairs joined by ","
  std::int32_t Mass = 0;
  bool ByUser = false;        // the user's own statistics have touched it

  /// The layout number of a "layout:count" pair; -1 when it has none.
  static std::int64_t PairLayout(std::u16string_view pair);
  /// Whether Layouts holds a pair for this layout number (the whole number, not a part of one).
  bool HasLayout(std::int64_t layout) const;
};

/// The on-screen keyboard form's language labels. The keyboard form installs its own in
/// Appl.Keyb; without one the calls go nowhere.
class KeyboardForm {
 public:
  virtual ~KeyboardForm() = default;
  /// Loads label k (1-based, layer order) with the language code as its caption, visible.
  virtual void LoadLangLabel(std::int32_t k, std::u16string_view caption) = 0;
  /// Hides the template label 0.
  virtual void HideTemplateLabel() = 0;
  /// Selects layer n of gLayers: its label highlighted, its picture shown.
  virtual void SetLang(std::int32_t n) = 0;
};

}  // namespace parlavent
