// A host with no window: a fixed-size framebuffer in memory, a fake millisecond clock that moves
// only when the show waits, and no events. Tests, the renderer and the benchmarks run shows on it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/frame_host.h"
#include "engine/framebuffer.h"

namespace glintora {

class NullHost : public FrameHost {
 public:
  NullHost(std::int32_t width, std::int32_t height, std::uint32_t startTick = 0);

  Framebuffer& Surface() { return surface_; }
  const Framebuffer& Surface() const { return surface_; }

  std::uint32_t TickCount() override { return clock_; }
  void ProcessPendingEvents() override { ++eventPasses_; }
  // Nothing ever arrives: the whole timeout passes at once.
  void WaitForEvent(std::uint32_t timeoutMs) override {
    ++waits_;
    clock_ += timeoutMs;
  }
  bool PreviewHostIsWindow() override { return previewHostAlive_; }
  void Present(const Framebuffer& surface) override;
  bool SurfaceIsWindow() override { return surfaceIsWindow_; }
  void ShowMessage(const MessageStyle& message) override {
    message_ = message;
    ++messages_;
  }

  // The fake clock; Advance moves it (drawing time in a test).
  std::uint32_t Now() const { return clock_; }
  void Advance(std::uint32_t ms) { clock_ += ms; }

  void SetPreviewHostAlive(bool alive) { previewHostAlive_ = alive; }
  void SetSurfaceIsWindow(bool window) { surfaceIsWindow_ = window; }
  // Called with the framebuffer at every Present (a renderer takes its frames here).
  void OnPresent(std::function<void(const Framebuffer&)> callback) { onPresent_ = std::move(callback); }

  std::uint64_t Presents() const { return presents_; }
  std::uint64_t Waits() const { return waits_; }
  std::uint64_t EventPasses() const { return eventPasses_; }
  std::uint64_t Messages() const { return messages_; }
  const MessageStyle& LastMessage() const { return message_; }

 private:
  std::vector<std::uint32_t> pixels_;
  Framebuffer surface_;
  std::uint32_t clock_;
  bool previewHostAlive_ = true;
  bool surfaceIsWindow_ = true;
  std::function<void(const Framebuffer&)> onPresent_;
  MessageStyle message_;
  std::uint64_t presents_ = 0;
  std::uint64_t waits_ = 0;
  std::uint64_t eventPasses_ = 0;
  std::uint64_t messages_ = 0;
};

}  // namespace glintora
