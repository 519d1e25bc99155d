#include "app/view_host.h"

#include "app/application.h"
#include "app/view_history.h"

namespace parlavent {
namespace {

class QuietProgress final : public ProgressForm {
 public:
  void SetCaption(std::u16string_view) override {}
  void SetText(std::u16string_view) override {}
  void SetVal(double, double, double) override {}
  void Show() override {}
  void Unload() override {}
};

}  // namespace

ProgressForm& ViewHost::Progress() {
  static QuietProgress quiet;
  ProgressForm* form = HasAppl() ? gAppl().Progress() : nullptr;
  return form ? *form : quiet;
}

ViewHost& Appl::ViewServices() {
  static ViewHost quiet;
  return Views ? *Views : quiet;
}

clsUndo& Appl::History() {
  if (!Undo) Undo = std::make_shared<clsUndo>();
  return *Undo;
}

}  // namespace parlavent
