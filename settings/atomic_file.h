// Whole-file reads and writes for settings files. A write never leaves a half-written file: the
// new content goes to a file beside the target, which then replaces the target.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glintora {

// Larger files are not settings files; they are neither read nor replaced.
inline constexpr std::size_t kMaxSettingsFileBytes = 16 * 1024 * 1024;

// The whole file into content; false when it is missing, unreadable or too large.
bool ReadWholeFile(const std::string& path, std::string& content);

// True when something exists at path (a file that exists but cannot be read must not be
// replaced by one built from nothing).
bool PathExists(const std::string& path);

// Replaces the file at path with content (creating it when missing; its folder must exist).
// A read-only file is not replaced. On failure the old file is left as it was and false is
// returned.
bool WriteFileAtomically(const std::string& path, std::string_view content);

// Moves the file from onto to, replacing it, with move as the primitive: when move will not
// replace an existing file, the old one is moved aside first and put back if the second move
// fails. WriteFileAtomically uses std::filesystem::rename as move.
using MoveFunction = bool (*)(const std::string& from, const std::string& to);
bool ReplaceFileWith(const std::string& from, const std::string& to, MoveFunction move);

}  // namespace glintora
