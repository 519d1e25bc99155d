#include "platform/process.h"

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class QuietProcess final : public ProcessServices {
 public:
  std::u16string CommandLine() override { return {}; }
  void EndNow() override {}
  std::u16string DecimalSeparator() override { return u"."; }
};

}  // namespace

ProcessServices& Process() { return *ServiceSlot<ProcessServices, QuietProcess>(); }
void SetProcess(std::shared_ptr<ProcessServices> process) {
  InstallService<ProcessServices, QuietProcess>(std::move(process));
}

}  // namespace parlavent
