#include "platform/shell.h"

#include <chrono>
#include <thread>

#include "platform/service_slot.h"

namespace parlavent {
namespace {

// Natively there is no shell: nothing opens and nothing is reported.
class NoShell final : public Shell {
 public:
  int Open(std::u16string_view) override { return 33; }
  void OpenWith(std::u16string_view) override {}
  void PlaySoundAlias(std::u16string_view) override {}
};

// Answers every box as if the user had closed it: the cautious button.
class DismissedBoxes final : public MessageBoxes {
 public:
  int Show(std::u16string_view, std::u16string_view, int style) override {
    switch (style & 0xF) {
      case kMbOk: return kIdOk;
      case kMbYesNo: return kIdNo;
      default: return kIdCancel;
    }
  }
};

class NoMessages final : public MessagePump {
 public:
  void DoEvents() override {}
  void Sleep(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0));
  }
};

}  // namespace

Shell& SystemShell() { return *ServiceSlot<Shell, NoShell>(); }
MessageBoxes& Boxes() { return *ServiceSlot<MessageBoxes, DismissedBoxes>(); }
MessagePump& Pump() { return *ServiceSlot<MessagePump, NoMessages>(); }
void SetSystemShell(std::shared_ptr<Shell> shell) { InstallService<Shell, NoShell>(std::move(shell)); }
void SetBoxes(std::shared_ptr<MessageBoxes> boxes) { InstallService<MessageBoxes, DismissedBoxes>(std::move(boxes)); }
void SetPump(std::shared_ptr<MessagePump> pump) { InstallService<MessagePump, NoMessages>(std::move(pump)); }

}  // namespace parlavent
