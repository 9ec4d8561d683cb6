// Loading the largest settings file and template the program accepts (just under 1 MB: comment
// lines, then every setting), the way a show start and a template import load them:
//   BM_LoadSettingsFile: LoadAdvancedParams and LoadFireParams over the settings file;
//   BM_ImportTemplate: ImportTemplateFile into a store in memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "settings/ini_store.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"
#include "settings/templates.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;

// A file of about a megabyte whose settings sit at its end, behind the filler a reader must pass.
std::string WriteLargeFile(const std::string& name) {
  const fs::path path = fs::temp_directory_path() / name;
  std::string text;
  while (text.size() < 1000000) text += "; a comment line that a reader has to pass over\n";
  std::map<std::string, std::string> sections;
  for (const SettingDef& def : AllSettings()) {
    sections[def.section] += std::string(def.key) + "=" + def.defaultText + "\n";
  }
  for (const auto& [section, lines] : sections) text += "[" + section + "]\n" + lines;
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

void BM_LoadSettingsFile(benchmark::State& state) {
  const std::string path = WriteLargeFile("glintora-bench-settings.ini");
  SettingsRecord record;
  for (auto _ : state) {
    IniStore store(path);
    LoadAdvancedParams(store, record, 1920, 1080, false, 15, 15);
    LoadFireParams(store, record);
    benchmark::DoNotOptimize(record);
  }
  fs::remove(path);
}

void BM_ImportTemplate(benchmark::State& state) {
  const std::string path = WriteLargeFile("glintora-bench-template.glx");
  for (auto _ : state) {
    MemoryStore store;
    Templates templates;
    ImportTemplateFile(store, templates, path);
    benchmark::DoNotOptimize(store.Size());
  }
  fs::remove(path);
}

BENCHMARK(BM_LoadSettingsFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTemplate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glintora
