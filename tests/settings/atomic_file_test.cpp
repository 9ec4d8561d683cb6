#include "settings/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "temp_dir.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// A move like old Windows runtimes' rename(): it never replaces an existing file.
bool MoveWithoutReplace(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (fs::exists(to, ec)) return false;
  fs::rename(from, to, ec);
  return !ec;
}

int moves = 0;
// Fails the third move: the one that would put the new file in place after the old moved aside.
bool MoveFailingThird(const std::string& from, const std::string& to) {
  return ++moves != 3 && MoveWithoutReplace(from, to);
}

std::size_t Entries(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ReplaceFileWith, ReplacesThroughAMoveThatWillNotOverwrite) {
  TempDir dir;
  TempDir::Write(dir.File("old"), "old");
  TempDir::Write(dir.File("new"), "new");
  EXPECT_TRUE(ReplaceFileWith(dir.File("new"), dir.File("old"), MoveWithoutReplace));
  EXPECT_EQ(TempDir::Read(dir.File("old")), "new");
  EXPECT_EQ(Entries(dir.Path()), 1u);
}

TEST(ReplaceFileWith, PutsTheOldFileBackWhenTheNewOneCannotMove) {
  TempDir dir;
  TempDir::Write(dir.File("old"), "old");
  TempDir::Write(dir.File("new"), "new");
  moves = 0;
  EXPECT_FALSE(ReplaceFileWith(dir.File("new"), dir.File("old"), MoveFailingThird));
  EXPECT_EQ(TempDir::Read(dir.File("old")), "old");
  EXPECT_EQ(Entries(dir.Path()), 2u);  // the caller removes its new file
}

TEST(WriteFileAtomically, ReplacesWholeAndRefusesWhatItMustNotTouch) {
  TempDir dir;
  const std::string file = dir.File("settings.ini");
  EXPECT_TRUE(WriteFileAtomically(file, "one"));
  EXPECT_TRUE(WriteFileAtomically(file, std::string("t\0o", 3)));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ(content, std::string("t\0o", 3));
  EXPECT_EQ(Entries(dir.Path()), 1u);
  EXPECT_FALSE(WriteFileAtomically(dir.File("missing/settings.ini"), "x"));
  EXPECT_FALSE(WriteFileAtomically("", "x"));
  EXPECT_FALSE(ReadWholeFile(dir.File("missing"), content));
  EXPECT_FALSE(ReadWholeFile(dir.Path().string(), content));
}

}  // namespace
}  // namespace glintora
