#include "app/view_host.h"

#include "app/application.h"
#include "app/view_history.h"

namespace parlavent {
namespace {

class QuietProgress final : public ProgressWindow {
 public:
  void SetCaption(std::u16string_view) override {}
  void SetText(std::u16string_view) override {}
  void SetVal(double, double, double) override {}
  void Show() override {}
  void Refresh() override {}
};

}  // namespace

ProgressWindow& ViewHost::Progress() {
  static QuietProgress quiet;
  return quiet;
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
