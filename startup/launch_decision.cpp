#include "startup/launch_decision.h"

#include <cctype>

#include "settings/numbers.h"

namespace glintora {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool HasSwitch(std::string_view text, char letter) {
  return text.size() >= 2 && text[0] == '/' && Upper(text[1]) == letter;
}

bool EndsWithGlx(std::string_view text) {
  if (text.size() < 4) return false;
  const std::string_view tail = text.substr(text.size() - 4);
  return tail[0] == '.' && Upper(tail[1]) == 'G' && Upper(tail[2]) == 'L' && Upper(tail[3]) == 'X';
}

// Windows hands a path with blanks over in double quotes; the quotes are not part of the name.
std::string_view WithoutSurroundingQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The .exe and .scr names beside the program file: folder\base.exe and folder\base.scr.
void TwinNames(std::string_view programPath, std::string& exeName, std::string& scrName) {
  const std::size_t slash = programPath.find_last_of("\\/");
  std::string folder;
  std::string_view file = programPath;
  if (slash != std::string_view::npos) {
    folder.assign(programPath.substr(0, slash + 1));
    file = programPath.substr(slash + 1);
  }
  const std::size_t dot = file.rfind('.');
  const std::string_view base = dot == std::string_view::npos ? file : file.substr(0, dot);
  exeName = folder;
  exeName.append(base).append(".exe");
  scrName = folder;
  scrName.append(base).append(".scr");
}

bool Ask(const std::function<bool(const std::string&)>& query, const std::string& what) {
  return query && query(what);
}

LaunchDecision Configuration(const LaunchQueries& queries) {
  LaunchDecision decision;
  decision.Action = Ask(queries.IsWindowPresent, kPropertiesCaption)
                        ? LaunchAction::BringPropertiesForward
                        : LaunchAction::ShowProperties;
  return decision;
}

}  // namespace

std::int64_t SwitchNumber(std::string_view rest) {
  return RoundToInt32(LeadingNumber(rest)).value_or(0);
}

std::string_view ArgumentText(std::string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::size_t close = commandLine.find('"', 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsSpace(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsSpace(commandLine[i])) ++i;
  return commandLine.substr(i);
}

LaunchDecision DecideLaunch(std::string_view programPath, std::string_view arguments,
                            const LaunchQueries& queries) {
  std::string exeName, scrName;
  TwinNames(programPath, exeName, scrName);
  if (Ask(queries.IsOrdinaryFile, exeName) && !Ask(queries.IsOrdinaryFile, scrName)) {
    LaunchDecision decision;
    decision.Mode = RunMode::Application;
    return decision;
  }

  if (TrimSpaces(arguments).empty() || HasSwitch(arguments, 'C')) return Configuration(queries);

  LaunchDecision decision;  // RunMode Saver from here on, except the preview
  const std::string_view rest = arguments.size() > 2 ? arguments.substr(2) : std::string_view();
  if (HasSwitch(arguments, 'S')) {
    if (Ask(queries.IsWindowPresent, kSaverCaption)) decision.Action = LaunchAction::Nothing;
  } else if (HasSwitch(arguments, 'P')) {
    decision.Mode = RunMode::Preview;
    decision.Action = LaunchAction::CreatePreview;
    decision.PreviewHostWindow = SwitchNumber(rest);
  } else if (HasSwitch(arguments, 'A')) {
    decision.Action = LaunchAction::ChangePassword;
    decision.PasswordParent = SwitchNumber(rest);
  } else {
    const std::string_view path = WithoutSurroundingQuotes(arguments);
    if (EndsWithGlx(path)) {
      decision.Action = LaunchAction::ImportTemplate;
      decision.TemplatePath.assign(path);
    }
  }
  return decision;
}

}  // namespace glintora
