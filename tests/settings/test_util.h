// Shared by the settings tests: a throw-away folder and a compact check of stored texts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>

#include "settings/file_system.h"
#include "settings/store.h"

namespace glintora::testing {

// A fresh folder for one test's files, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() { std::filesystem::create_directories(path_); }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }
  static void Write(const std::string& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
  }
  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  const std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                      ("glintora-settings-" + std::to_string(std::random_device()()));
};

// The system's files with one step of a whole-file write made to fail, the way a full disk, a
// dropped share or a scanner holding the file would: Write stores half the bytes then fails;
// Replace refuses the swap and leaves the target as it was, TargetGone after deleting it,
// TargetAside after renaming it to the backup name (what ReplaceFileW may leave). With
// stuckNames every rename fails too. Counts the reads and writes.
class FailingFiles : public FileSystem {
 public:
  enum class Step { None, Write, Replace, TargetGone, TargetAside };
  static constexpr const char* kReason = "the device is not ready";
  explicit FailingFiles(Step step, bool stuckNames = false) : step_(step), stuck_(stuckNames) {}
  int reads = 0;
  int writes = 0;

  bool FileExists(const std::string& p) override { return real_.FileExists(p); }
  bool PathExists(const std::string& p) override { return real_.PathExists(p); }
  bool CreateNewEmptyFile(const std::string& p) override { return real_.CreateNewEmptyFile(p); }
  bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
  char Separator() const override { return real_.Separator(); }
  bool ReadFile(const std::string& p, std::string& b, std::size_t m) override {
    ++reads;
    return real_.ReadFile(p, b, m);
  }
  FileTarget Inspect(const std::string& p) override { return real_.Inspect(p); }
  std::string LegacyToUtf8(std::string_view b) const override { return real_.LegacyToUtf8(b); }
  bool MarksUtf8() const override { return real_.MarksUtf8(); }
  bool WriteNewFile(const std::string& p, std::string_view bytes, std::string& reason) override {
    ++writes;
    if (step_ != Step::Write) return real_.WriteNewFile(p, bytes, reason);
    real_.WriteNewFile(p, bytes.substr(0, bytes.size() / 2), reason);
    real_.RemoveFile(p);  // what the platform does with a write that failed
    reason = kReason;
    return false;
  }
  bool ReplaceFile(const std::string& from, const std::string& to, const std::string& backup,
                   std::string& reason) override {
    if (step_ == Step::None || step_ == Step::Write) {
      return real_.ReplaceFile(from, to, backup, reason);
    }
    if (step_ == Step::TargetGone) real_.RemoveFile(to);
    if (step_ == Step::TargetAside) real_.RenameFile(to, backup);
    reason = kReason;
    return false;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return !stuck_ && real_.RenameFile(from, to);
  }

 private:
  Step step_;
  bool stuck_;
  FileSystem& real_ = SystemFileSystem();
};

// Rows of {section, key, text as stored}; "<absent>" for a key never written.
inline void ExpectStored(Store& store, std::initializer_list<std::array<const char*, 3>> rows) {
  for (const auto& row : rows) {
    std::string text;
    EXPECT_EQ(store.Read(row[0], row[1], text) ? text : "<absent>", row[2]) << row[0] << "/" << row[1];
  }
}

}  // namespace glintora::testing
