#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "settings/atomic_file.h"
#include "settings/text_encoding.h"
#include "test_util.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;
using testing::FailingFiles;
using testing::TempDir;

// "Jürgen €’" in UTF-8, and the same words in each encoding a template may come in.
const std::string kText = "J\xC3\xBCrgen \xE2\x82\xAC\xE2\x80\x99";

TEST(TextFiles, ReadEveryEncodingATemplateComesInAndWriteUtf8) {
  const struct { const char* what; std::string bytes, text; } rows[] = {
      {"ASCII", "[A]\r\nb=1\r\n", "[A]\r\nb=1\r\n"},
      {"UTF-8, up to the last code point", "b=" + kText + "\xF4\x8F\xBF\xBF", "b=" + kText + "\xF4\x8F\xBF\xBF"},
      {"UTF-8 with mark", "\xEF\xBB\xBF" "b=" + kText, "b=" + kText},
      {"Windows-1252", "b=J\xFCrgen \x80\x92", "b=" + kText},
      {"Windows-1252 unassigned", "\x81", "\xEF\xBF\xBD"},
      {"UTF-16LE with mark", std::string("\xFF\xFE" "b\0=\0J\0\xFC\0r\0g\0e\0n\0 \0\xAC\x20\x19\x20", 24),
       "b=" + kText},
      {"UTF-16LE beyond the plane", std::string("\xFF\xFE\x3D\xD8\x86\xDE\xFF\xDB\xFF\xDF", 10),
       "\xF0\x9F\x9A\x86\xF4\x8F\xBF\xBF"},
      {"UTF-16LE lone surrogate, odd byte", std::string("\xFF\xFE\x3D\xD8x", 5),
       "\xEF\xBF\xBD\xEF\xBF\xBD"},
      // Overlong, surrogate and truncated sequences are not UTF-8: each byte is 1252.
      {"overlong", "\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
      {"encoded surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"truncated", "a\xE2\x82", "a\xC3\xA2\xE2\x80\x9A"}, {"no continuation", "\xC3(", "\xC3\x83("},
  };
  TempDir dir;
  for (const auto& row : rows) {
    TempDir::Write(dir.File("t.glx"), row.bytes);
    std::string text;
    ASSERT_TRUE(ReadTextFile(SystemFileSystem(), dir.File("t.glx"), text)) << row.what;
    EXPECT_EQ(text, row.text) << row.what;
  }
  // Written back, ASCII stays as it is and other text is UTF-8, with no mark on this system.
  std::string reason;
  for (const std::string& text : {std::string("[A]\r\nb=1\r\n"), "b=" + kText}) {
    ASSERT_TRUE(WriteTextFileAtomically(SystemFileSystem(), dir.File("t.glx"), text, reason));
    EXPECT_EQ(TempDir::Read(dir.File("t.glx")), text);
  }
  EXPECT_EQ(EncodeTextFile("b=1", true), "b=1");
  EXPECT_EQ(EncodeTextFile(kText, true), "\xEF\xBB\xBF" + kText);
  // A limit in UTF-16 units that cuts a pair in two keeps neither half.
  EXPECT_EQ(WholeUtf16Units(u"a\U0001F386"), 3u);
  EXPECT_EQ(WholeUtf16Units(std::u16string_view(u"a\U0001F386", 2)), 1u);
}

TEST(WriteFileAtomically, ReplacesWholeOrLeavesTheOldFileAndSaysWhy) {
  TempDir dir;
  const std::string file = dir.File("settings.ini");
  const std::string old("t\0o", 3);
  std::string reason;
  FileSystem& files = SystemFileSystem();
  EXPECT_TRUE(WriteFileAtomically(files, file, "one", reason));
  EXPECT_TRUE(WriteFileAtomically(files, file, old, reason));
  EXPECT_EQ(TempDir::Read(file), old);
  EXPECT_EQ(dir.Entries(), 1u);

  const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  const auto none = fs::perms::none;
  using Step = FailingFiles::Step;
  FailingFiles unwritten(Step::Write), refused(Step::Replace), aside(Step::TargetAside),
      gone(Step::TargetGone), asideForGood(Step::TargetAside, true), goneForGood(Step::TargetGone, true),
      taken(Step::NamesTaken);
  // saved: the write reports success; content: the file afterwards ("" when missing); left: what
  // the other files of the folder hold, each named in the reason.
  const struct {
    const char* what; FileSystem& files; std::string path; fs::perms remove; const char* reason;
    bool saved; std::string content; std::multiset<std::string> left;
  } rows[] = {
      {"read-only", files, file, writable, "the file is read-only", false, old, {}},
      {"a folder", files, dir.Path().string(), none, "it is not a file", false, old, {}},
      {"no folder", files, dir.File("missing/settings.ini"), none, "", false, old, {}},  // the system's words
      {"no name", files, "", none, "no file name was given", false, old, {}},
      {"temporary not written", unwritten, file, none, FailingFiles::kReason, false, old, {}},
      {"every temporary name taken", taken, file, none, "no temporary file could be made beside it", false, old, {}},
      {"swap refused", refused, file, none, FailingFiles::kReason, false, old, {}},
      {"target renamed aside", aside, file, none, FailingFiles::kReason, false, old, {}},
      {"target gone, temporary kept", gone, file, none, "", true, "new", {}},
      {"renamed aside for good", asideForGood, file, none, FailingFiles::kReason, false, "", {old, "new"}},
      {"gone for good", goneForGood, file, none, FailingFiles::kReason, false, "", {"new"}},
  };
  for (const auto& row : rows) {
    for (const auto& entry : fs::directory_iterator(dir.Path())) fs::remove(entry.path());
    TempDir::Write(file, old);
    fs::permissions(file, row.remove, fs::perm_options::remove);
    reason.clear();
    EXPECT_EQ(WriteFileAtomically(row.files, row.path, "new", reason), row.saved) << row.what;
    if (!row.saved) {
      EXPECT_EQ(reason.substr(0, std::string(row.reason).size()), row.reason) << row.what;
      EXPECT_EQ(reason == row.reason, *row.reason && row.left.empty()) << row.what << ": " << reason;
      EXPECT_EQ(reason.find(kOldFileNotInPlace) != std::string::npos, !row.left.empty()) << reason;
    }
    std::error_code missing;
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, missing);
    EXPECT_EQ(fs::exists(file) ? TempDir::Read(file) : "", row.content) << row.what;
    std::multiset<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
      if (entry.path() == file) continue;
      left.insert(TempDir::Read(entry.path().string()));
      EXPECT_NE(reason.find(entry.path().string()), std::string::npos) << row.what << ": " << reason;
    }
    EXPECT_EQ(left, row.left) << row.what;
  }
  // The permissions of the file it replaced carry over.
  TempDir::Write(file, old);
  fs::permissions(file, fs::perms::others_read, fs::perm_options::remove);
  EXPECT_TRUE(WriteFileAtomically(files, file, "new", reason));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::others_read, fs::perms::none);
  // The temporary file has a short name of its own: a name as long as names go is replaced too.
  const std::string longName = dir.File(std::string(251, 'n') + ".glx");
  TempDir::Write(longName, "old");
  EXPECT_TRUE(WriteFileAtomically(files, longName, "new", reason)) << reason;
  EXPECT_EQ(TempDir::Read(longName), "new");
}

}  // namespace
}  // namespace glintora
