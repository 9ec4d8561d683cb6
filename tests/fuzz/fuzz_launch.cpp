// Arbitrary command lines through the start-up decision: the program path and the line are the
// input's two parts; the file and window queries answer from the input too.
#include "settings/text.h"
#include "startup/launch_decision.h"
#include "tests/fuzz/fuzz_util.h"

using namespace glintora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t answers = bytes[0];  // which queries say yes
  std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  const std::string program(NextPart(data));
  const std::string line(data);

  const std::string_view args = ArgumentText(line);
  Check(args.size() <= line.size() && line.compare(line.size() - args.size(), args.size(), args) == 0);
  Check(args.empty() || (args[0] != ' ' && args[0] != '\t'));

  LaunchQueries queries;
  queries.IsOrdinaryFile = [&](const std::string& p) {
    return (answers & (p.size() > 3 && p.compare(p.size() - 4, 4, ".exe") == 0 ? 1 : 2)) != 0;
  };
  queries.IsWindowPresent = [&](const std::string& c) { return (answers & (c[0] == 'K' ? 4 : 8)) != 0; };
  const LaunchDecision d = DecideLaunch(program, args, queries);

  Check((d.Mode == RunMode::Preview) == (d.Action == LaunchAction::CreatePreview));
  if (d.Mode == RunMode::Application) Check(d.Action == LaunchAction::StartDisplay);
  Check(d.PreviewHostWindow == static_cast<std::int32_t>(d.PreviewHostWindow));  // handles are 32-bit
  Check(d.PasswordParent == static_cast<std::int32_t>(d.PasswordParent));
  if (d.Action == LaunchAction::ImportTemplate) {
    const std::string& path = d.TemplatePath;
    Check(path.size() >= 4 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".glx"));
    Check(args.find(d.TemplatePath) != std::string_view::npos);
    Check(d.TemplatePath.size() == args.size() || d.TemplatePath.size() + 2 == args.size());
  } else {
    Check(d.TemplatePath.empty());
  }
  return 0;
}
