#include "settings/atomic_file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace glintora {

namespace fs = std::filesystem;

namespace {

// A name beside target that no other writer uses at the same time.
fs::path SiblingName(const fs::path& target, const char* tag) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    fs::path candidate = target;
    candidate += "." + std::string(tag) + std::to_string(stamp % 1000000007) + "-" +
                 std::to_string(counter++);
    std::error_code ec;
    // On an error the name is used anyway: the write then fails rather than loop here.
    if (!fs::exists(candidate, ec)) return candidate;
  }
}

bool StdRename(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(fs::path(from), fs::path(to), ec);
  return !ec;
}

}  // namespace

// rename() over an existing file fails on some Windows runtimes: move the old file aside, put the
// new one in place, and move the old one back if that fails.
bool ReplaceFileWith(const std::string& from, const std::string& to, MoveFunction move) {
  if (move(from, to)) return true;
  std::error_code ec;
  if (!fs::exists(fs::path(to), ec)) return false;
  const std::string aside = SiblingName(fs::path(to), "old").string();
  if (!move(to, aside)) return false;
  if (!move(from, to)) {
    move(aside, to);
    return false;
  }
  fs::remove(fs::path(aside), ec);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(fs::path(path), ec)) return false;
  const auto size = fs::file_size(fs::path(path), ec);
  if (ec || size > kMaxSettingsFileBytes) return false;
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) return false;
  std::string data;
  data.resize(static_cast<std::size_t>(size));
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<std::size_t>(in.gcount()));
  // The file may have grown since its size was taken.
  char extra[4096];
  while (in.read(extra, sizeof extra) || in.gcount() > 0) {
    data.append(extra, static_cast<std::size_t>(in.gcount()));
    if (data.size() > kMaxSettingsFileBytes) return false;
  }
  content = std::move(data);
  return true;
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::path(path), ec);
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::path target(path);
  // Write through a link to the file it names, so the link stays a link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (ec) return false;
    target = resolved;
  }
  if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) return false;
  if (fs::exists(target, ec)) {
    if (fs::file_size(target, ec) > kMaxSettingsFileBytes) return false;
    // A rename would replace a read-only file; the user made it read-only to keep it.
    const fs::perms perms = fs::status(target, ec).permissions();
    if (ec || (perms & fs::perms::owner_write) == fs::perms::none) return false;
  }
  const fs::path temp = SiblingName(target, "new");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  if (!ReplaceFileWith(temp.string(), target.string(), StdRename)) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace glintora
