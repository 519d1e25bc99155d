#pragma once
// A dictionary with just the fields the voice settings use (Visible, Lang1, Lang2, Voice1, Voice2,
// Dicx), for tests of the voice settings and of the settings dialog's speech page.
#include <memory>
#include <string>
#include <utility>

#include "foundation/voice.h"

namespace parlavent::testing {

struct TestDic {
  TestDic(bool visible, std::u16string lang1, std::u16string lang2)
      : Visible(visible), Lang1(std::move(lang1)), Lang2(std::move(lang2)) {}
  bool Visible = true;
  std::u16string Lang1, Lang2;
  std::shared_ptr<clsVoice> Voice1, Voice2;
  std::shared_ptr<TestDic> Dicx;
};

}  // namespace parlavent::testing
