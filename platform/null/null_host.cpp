#include "platform/null/null_host.h"

namespace glintora {

NullHost::NullHost(std::int32_t width, std::int32_t height, std::uint32_t startTick)
    : clock_(startTick) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
  surface_.Attach(pixels_.data(), width, height, width);
}

void NullHost::Present(const Framebuffer& surface) {
  ++presents_;
  if (onPresent_) onPresent_(surface);
}

}  // namespace glintora
