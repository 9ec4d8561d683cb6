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

#include "settings/store.h"

namespace glintora::testing {

// A fresh folder for one test's files, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("glintora-settings-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
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
  std::filesystem::path path_;
};

// Rows of {section, key, text as stored}; "<absent>" for a key never written.
inline void ExpectStored(Store& store, std::initializer_list<std::array<const char*, 3>> rows) {
  for (const auto& row : rows) {
    std::string text;
    EXPECT_EQ(store.Read(row[0], row[1], text) ? text : "<absent>", row[2]) << row[0] << "/" << row[1];
  }
}

}  // namespace glintora::testing
