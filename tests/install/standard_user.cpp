// glintora_standard_user.exe COMMAND...: runs the command the way a standard user (or an
// administrator without elevation) runs it, the Administrators group kept for deny only and
// every privilege but change-notify dropped; prints its whole exit status (Wine passes on only
// the low byte) and returns it. For the setup program's test, whose Wine prefix otherwise runs
// everything as an administrator.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int main() {
  // The command line rebuilt from the arguments after this program's name. An argument that
  // begins with _?= goes unquoted, as an NSIS uninstaller told where it lives needs it.
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return 2;
  std::wstring command;
  for (int i = 1; i < count; ++i) {
    const std::wstring arg = args[i];
    const bool bare = arg.rfind(L"_?=", 0) == 0 ||
                      (!arg.empty() && arg.find_first_of(L" \t") == std::wstring::npos);
    if (i > 1) command += L' ';
    command += bare ? arg : L'"' + arg + L'"';
  }

  HANDLE token = nullptr, restricted = nullptr;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  SID_AND_ATTRIBUTES deny{};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token) ||
      !AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                0, 0, 0, 0, 0, &admins) ||
      (deny.Sid = admins, !CreateRestrictedToken(token, DISABLE_MAX_PRIVILEGE, 1, &deny, 0,
                                                 nullptr, 0, nullptr, &restricted)) ||
      !CreateProcessAsUserW(restricted, nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &process)) {
    return 3;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 3;
  GetExitCodeProcess(process.hProcess, &status);
  std::printf("%lu\n", static_cast<unsigned long>(status));
  return static_cast<int>(status);
}
