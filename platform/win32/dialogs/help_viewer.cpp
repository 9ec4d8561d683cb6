#include "platform/win32/dialogs/help_viewer.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/files/wide_text.h"

namespace glintora {

std::string HelpAnchor(const HelpRequest& request) {
  switch (request.Command) {
    case kHelpContext:
      return "topic-" + std::to_string(request.Topic);
    case kHelpFinder:
      return "index";
    case kHelpQuit:
      return {};
    default:
      return "contents";
  }
}

std::string FileAddress(const std::string& path, const std::string& anchor) {
  std::string out = "file:///";
  for (unsigned char c : path) {
    if (c == '\\') {
      out += '/';
    } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '/' || c == ':' || c == '.' || c == '-' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
  if (!anchor.empty()) out += "#" + anchor;
  return out;
}

std::string ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return ".";
    if (length < buffer.size()) {
      const std::string path = Narrow(std::wstring_view(buffer.data(), length));
      const auto slash = path.find_last_of("\\/");
      return slash == std::string::npos ? "." : path.substr(0, slash);
    }
    if (buffer.size() >= 32768) return ".";
    buffer.resize(buffer.size() * 2);
  }
}

void OpenHelpPage(HWND owner, const HelpRequest& request) {
  if (request.Command == kHelpQuit) return;
  const std::string page = ProgramFolder() + "\\" + kHelpPageName;
  const std::string address = FileAddress(page, HelpAnchor(request));
  // Opening a file: address through its association drops the anchor, so the browser that
  // opens .html files is started with the address itself.
  const std::wstring pageW = Widen(page);
  wchar_t browser[MAX_PATH] = {};
  if (reinterpret_cast<INT_PTR>(FindExecutableW(pageW.c_str(), nullptr, browser)) > 32 &&
      browser[0]) {
    const std::wstring quoted = L"\"" + Widen(address) + L"\"";
    if (reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", browser, quoted.c_str(), nullptr,
                                                SW_SHOWNORMAL)) > 32) {
      return;
    }
  }
  ShellExecuteW(owner, L"open", pageW.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace glintora
