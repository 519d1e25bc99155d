#include "platform/window_effects.h"

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class QuietEffects final : public WindowEffects {
 public:
  bool WindowSize(WindowHandle, long& width, long& height) override {
    width = height = 0;
    return false;
  }
  void SetTransparency(WindowHandle, std::int32_t) override {}
  void SetRegion(WindowHandle, const std::vector<Rect>&) override {}
  void Repaint(WindowHandle) override {}
  void SetCursor(std::uintptr_t) override {}
};

}  // namespace

WindowEffects& Effects() { return *ServiceSlot<WindowEffects, QuietEffects>(); }
void SetEffects(std::shared_ptr<WindowEffects> effects) {
  InstallService<WindowEffects, QuietEffects>(std::move(effects));
}

}  // namespace parlavent
