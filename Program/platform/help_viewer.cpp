#include "platform/help_viewer.h"

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class NoHelp final : public HelpViewer {
 public:
  void DisplayTopic(WindowHandle, std::u16string_view, std::u16string_view) override {}
};

}  // namespace

HelpViewer& Help() { return *ServiceSlot<HelpViewer, NoHelp>(); }

void SetHelpViewer(std::shared_ptr<HelpViewer> viewer) { InstallService<HelpViewer, NoHelp>(std::move(viewer)); }

}  // namespace parlavent
