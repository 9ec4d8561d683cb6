// Arbitrary command lines of the native show: the input's NUL-separated parts are the arguments
// (the first part, when it starts with '=', is $XSCREENSAVER_WINDOW). Whatever is accepted is
// within its range and applies to a store; whatever is refused says why on one short line.
#include <vector>

#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "tests/fuzz/fuzz_util.h"
#include "display/show_options.h"
#include "display/show_overrides.h"

using namespace glintora;

// One line that quotes at most a short excerpt of any argument.
static void CheckMessage(const std::string& error) {
  Check(!error.empty() && error.size() < 256);
  for (const char c : error) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  std::vector<std::string> args;
  while (!data.empty() && args.size() < 64) args.emplace_back(NextPart(data));
  const bool hasEnv = !args.empty() && !args[0].empty() && args[0][0] == '=';
  const std::string env = hasEnv ? args[0].substr(1) : "";
  if (hasEnv) args.erase(args.begin());

  ParsedOptions parsed = ParseShowOptions(args, hasEnv ? env.c_str() : nullptr);
  if (!parsed.ok) {
    CheckMessage(parsed.error);
    return 0;
  }
  const ShowOptions& o = parsed.options;
  Check((o.target == ShowTarget::ForeignWindow) == (o.windowId != 0));
  Check(!o.delayMs || (*o.delayMs >= 0 && *o.delayMs <= 999));
  Check(!o.theme || (*o.theme >= 1 && *o.theme <= 13));

  parsed.options.templatePath.clear();  // the file system is not the input
  MemoryStore store;
  std::string error;
  if (!ApplyShowOverrides(store, parsed.options, error)) {
    CheckMessage(error);
    return 0;
  }
  SettingsRecord record;
  LoadFireParams(store, record);
  LoadColorParams(store, record);
  LoadAdvancedParams(store, record, 64, 48, false, 15, 15);
  return 0;
}
