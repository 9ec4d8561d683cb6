// The settings' files on Windows: UTF-8 paths through the W calls, long paths in the \\?\ form,
// writes flushed to the disk and swapped in with ReplaceFileW.
#include <windows.h>

#include <algorithm>

#include "platform/win32/files/wide_text.h"
#include "settings/file_system.h"

namespace glintora {

namespace {

std::string ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  if (text.empty()) return "system error " + std::to_string(error);
  return Narrow(text);
}

bool GetAttributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return !path.empty() &&
         GetFileAttributesExW(FilePathW(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetAttributes(path, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool PathExists(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetAttributes(path, data);
  }
  bool CreateNewEmptyFile(const std::string& path) override {
    if (path.empty()) return false;
    HANDLE file = CreateFileW(FilePathW(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    return CloseHandle(file) != 0;
  }
  bool RemoveFile(const std::string& path) override {
    return !path.empty() && DeleteFileW(FilePathW(path).c_str()) != 0;
  }
  char Separator() const override { return '\\'; }

  bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) override {
    if (path.empty()) return false;
    HANDLE file = CreateFileW(FilePathW(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string data;
    bool ok = GetFileType(file) == FILE_TYPE_DISK;
    LARGE_INTEGER size{};
    if (ok && GetFileSizeEx(file, &size)) {
      ok = static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    }
    // The file may grow while it is read: read until the end, within the limit.
    char chunk[65536];
    while (ok) {
      DWORD got = 0;
      if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) ok = false;
      if (!ok || got == 0) break;
      data.append(chunk, got);
      if (data.size() > maxBytes) ok = false;
    }
    CloseHandle(file);
    if (ok) bytes = std::move(data);
    return ok;
  }

  FileTarget Inspect(const std::string& path) override {
    FileTarget target;
    target.writePath = path;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetAttributes(path, data)) return target;
    target.exists = true;
    target.isFile = !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    target.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    target.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return target;
  }

  bool WriteNewFile(const std::string& path, std::string_view bytes,
                    std::string& reason) override {
    const std::wstring wide = FilePathW(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      reason = ErrorText(GetLastError());
      return false;
    }
    bool ok = true;
    while (ok && !bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
      DWORD written = 0;
      ok = ::WriteFile(file, bytes.data(), chunk, &written, nullptr) && written == chunk;
      bytes.remove_prefix(written);
    }
    ok = ok && FlushFileBuffers(file);
    if (!ok) reason = ErrorText(GetLastError());
    CloseHandle(file);
    if (!ok) DeleteFileW(wide.c_str());
    return ok;
  }

  // With a backup name ReplaceFileW's documented failures leave: 1175 and any other error,
  // both files under their own names; 1176, both under their own names too (without a backup
  // the old file would be gone); 1177, the old file under the backup name. Whatever it left, the
  // caller finds it by name and puts it right.
  bool ReplaceFile(const std::string& source, const std::string& target, const std::string& backup,
                   std::string& reason) override {
    const std::wstring from = FilePathW(source), to = FilePathW(target);
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const std::wstring aside = FilePathW(backup);
      if (ReplaceFileW(to.c_str(), from.c_str(), aside.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr)) {
        DeleteFileW(aside.c_str());
        return true;
      }
      reason = ErrorText(GetLastError());
      return false;
    }
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    reason = ErrorText(GetLastError());
    return false;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return !from.empty() && !to.empty() &&
           MoveFileExW(FilePathW(from).c_str(), FilePathW(to).c_str(), MOVEFILE_WRITE_THROUGH);
  }

  std::string LegacyToUtf8(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
  }
  bool MarksUtf8() const override { return true; }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static Win32FileSystem files;
  return files;
}

}  // namespace glintora
