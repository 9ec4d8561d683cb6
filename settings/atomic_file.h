// Whole-file reads and writes for settings files. A write never leaves a half-written file: the
// new content goes to a file beside the target under a short name, reaches the disk, and then
// takes the target's place in one step.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/file_system.h"

namespace glintora {

// Larger files are not settings files or templates (a full one is a few kilobytes); they are
// neither read nor replaced.
inline constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// The whole file into content; false when it is missing, unreadable or too large.
bool ReadWholeFile(FileSystem& files, const std::string& path, std::string& content);

// Part of the reason when a failed write could not keep the old file in its place.
inline constexpr std::string_view kOldFileNotInPlace = "the old file is no longer in its place";

// Replaces the file at path with content (creating it when missing; its folder must exist).
// A read-only file is not replaced. On failure false is returned, reason says why, and the old
// file is left as it was; should the system have moved it aside and it cannot be put back, the
// reason says so and where the old and the new text are, and neither is removed.
bool WriteFileAtomically(FileSystem& files, const std::string& path, std::string_view content,
                         std::string& reason);

// The same for text (UTF-8): decoded from whatever encoding the file has, written all-ASCII as
// it is and otherwise as UTF-8 (marked where the system expects the mark).
bool ReadTextFile(FileSystem& files, const std::string& path, std::string& text);
bool WriteTextFileAtomically(FileSystem& files, const std::string& path, std::string_view text,
                             std::string& reason);

}  // namespace glintora
