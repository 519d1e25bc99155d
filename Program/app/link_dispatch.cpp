#include "app/application.h"
#include "app/link_layer.h"

namespace parlavent {

void Appl::LinkHandler(const std::shared_ptr<clsLinkItem>& Link, std::int16_t Button, RichTextBox* Sender, long X,
                       long Y) {
  if (LinkHandlerHook) LinkHandlerHook(Link, Button, Sender, X, Y);
}

}  // namespace parlavent
