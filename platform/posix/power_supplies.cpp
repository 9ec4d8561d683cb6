#include "platform/posix/power_supplies.h"

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>

namespace glintora::posix {

namespace {

const char kFolder[] = "/sys/class/power_supply";

// The first line at most: a sysfs attribute is short, and a file that is not must not cost much.
std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (in) std::getline(in, line);
  return line.substr(0, 64);
}

}  // namespace

std::vector<PowerSupplyText> ReadPowerSupplies() {
  std::vector<PowerSupplyText> supplies;
  DIR* dir = opendir(kFolder);
  if (!dir) return supplies;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string base = std::string(kFolder) + "/" + entry->d_name + "/";
    supplies.push_back({FirstLine(base + "type"), FirstLine(base + "online")});
  }
  closedir(dir);
  return supplies;
}

}  // namespace glintora::posix
