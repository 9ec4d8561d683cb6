#include "settings/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_util.h"

namespace glintora {
namespace {

using testing::TempDir;

// A move like old Windows runtimes' rename(): it never replaces an existing file.
bool MoveWithoutReplace(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (std::filesystem::exists(to, ec)) return false;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

int moves = 0;
// Fails the third move: the one that would put the new file in place after the old moved aside.
bool MoveFailingThird(const std::string& from, const std::string& to) {
  return ++moves != 3 && MoveWithoutReplace(from, to);
}

TEST(ReplaceFileWith, ReplacesThroughAMoveThatWillNotOverwriteOrPutsTheOldFileBack) {
  for (bool failing : {false, true}) {
    TempDir dir;
    TempDir::Write(dir.File("old"), "old");
    TempDir::Write(dir.File("new"), "new");
    moves = 0;
    EXPECT_EQ(ReplaceFileWith(dir.File("new"), dir.File("old"),
                              failing ? MoveFailingThird : MoveWithoutReplace), !failing);
    EXPECT_EQ(TempDir::Read(dir.File("old")), failing ? "old" : "new");
    EXPECT_EQ(dir.Entries(), failing ? 2u : 1u);  // after a failure the caller removes its file
  }
}

TEST(WriteFileAtomically, ReplacesWholeAndRefusesWhatItMustNotTouch) {
  TempDir dir;
  const std::string file = dir.File("settings.ini");
  EXPECT_TRUE(WriteFileAtomically(file, "one"));
  EXPECT_TRUE(WriteFileAtomically(file, std::string("t\0o", 3)));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ(content, std::string("t\0o", 3));
  EXPECT_EQ(dir.Entries(), 1u);
  EXPECT_FALSE(WriteFileAtomically(dir.File("missing/settings.ini"), "x"));
  EXPECT_FALSE(WriteFileAtomically("", "x"));
  EXPECT_FALSE(ReadWholeFile(dir.File("missing"), content));
  EXPECT_FALSE(ReadWholeFile(dir.Path().string(), content));
}

}  // namespace
}  // namespace glintora
