#pragma once
// Records what the dictionary engine asks of the main window and of the keyboard form, in order.
#include <string>
#include <vector>

#include "app/application.h"
#include "dictionary/keyboard_layers.h"
#include "text/text.h"

namespace parlavent::testing {

class FakeMainServices : public Appl::MainWindowServices {
 public:
  std::vector<std::string> calls;
  void Info(std::u16string_view text, bool autoHide) override {
    calls.push_back("Info(" + ToUtf8(text) + (autoHide ? ",auto)" : ")"));
  }
  void RefreshDicButtons() override { calls.push_back("RefreshDicButtons"); }
  void LoadDicButtons() override { calls.push_back("LoadDicButtons"); }
};

class FakeKeyboardForm : public KeyboardForm {
 public:
  std::vector<std::string> calls;
  void LoadLangLabel(std::int32_t k, std::u16string_view caption) override {
    calls.push_back("Label" + std::to_string(k) + "=" + ToUtf8(caption));
  }
  void HideTemplateLabel() override { calls.push_back("HideTemplate"); }
  void SetLang(std::int32_t n) override { calls.push_back("SetLang" + std::to_string(n)); }
};

}  // namespace parlavent::testing
