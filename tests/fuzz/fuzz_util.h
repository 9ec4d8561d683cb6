// What the fuzz targets share: a check that stops the run, and the input cut into parts at NULs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace glintora {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The part of data up to its first NUL (all of it when there is none), taken off data with the NUL.
inline std::string_view NextPart(std::string_view& data) {
  const std::string_view part = data.substr(0, data.find('\0'));
  data.remove_prefix(std::min(part.size() + 1, data.size()));
  return part;
}

}  // namespace glintora
