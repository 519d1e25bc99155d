#include "platform/rich_text_box.h"

#include <algorithm>

namespace parlavent {

void RichTextBox::AddListener(RichTextBoxEvents* listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void RichTextBox::RemoveListener(RichTextBoxEvents* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

// A handler may bind or unbind listeners (a link click that shows a new text rebinds the link
// layer), so the call runs over a copy and skips a listener that has left in the meantime.
template <typename Call>
void RichTextBox::Raise(Call call) {
  const std::vector<RichTextBoxEvents*> snapshot = listeners_;
  for (RichTextBoxEvents* listener : snapshot) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) call(*listener);
  }
}

void RichTextBox::RaiseChange() {
  Raise([this](RichTextBoxEvents& l) { l.OnChange(*this); });
}
void RichTextBox::RaiseKeyUp(int keyCode, int shift) {
  Raise([&](RichTextBoxEvents& l) { l.OnKeyUp(*this, keyCode, shift); });
}
void RichTextBox::RaiseMouseDown(int button, int shift, long x, long y) {
  Raise([&](RichTextBoxEvents& l) { l.OnMouseDown(*this, button, shift, x, y); });
}
void RichTextBox::RaiseMouseMove(int button, int shift, long x, long y) {
  Raise([&](RichTextBoxEvents& l) { l.OnMouseMove(*this, button, shift, x, y); });
}
void RichTextBox::RaiseMouseUp(int button, int shift, long x, long y) {
  Raise([&](RichTextBoxEvents& l) { l.OnMouseUp(*this, button, shift, x, y); });
}

}  // namespace parlavent
