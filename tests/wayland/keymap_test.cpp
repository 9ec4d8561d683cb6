// The host's keymap reading: a compositor announcing more bytes than its file holds is read to
// the file's end, not past it (which faults).
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/wayland/wayland_display.h"

namespace glintora::wayland {
namespace {

TEST(Keymap, ReadNoFurtherThanTheFileHolds) {
  const int fd = memfd_create("keymap", MFD_CLOEXEC);
  // A whole page without a NUL: reading on looks into the next page.
  const std::string text(4096, 'k');
  ASSERT_EQ(write(fd, text.data(), text.size()), 4096);
  EXPECT_EQ(ReadKeymap(fd, 3 * 4096), text);
  EXPECT_EQ(ReadKeymap(fd, 4), "kkkk");
  ASSERT_EQ(ftruncate(fd, 0), 0);
  EXPECT_EQ(ReadKeymap(fd, 4096), "");
  close(fd);
}

}  // namespace
}  // namespace glintora::wayland
