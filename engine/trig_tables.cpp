#include "engine/trig_tables.h"

#include <cmath>

namespace glintora {

void BuildTrigTables(TrigTables& tables) {
  const double pi = static_cast<double>(3.1415927f);
  for (int k = 0; k <= kTrigSteps; ++k) {
    const double angle = k * pi / kTrigSteps;
    tables.Cos[k] = static_cast<float>(std::cos(angle));
    tables.Sin[k] = static_cast<float>(std::sin(angle));
  }
}

}  // namespace glintora
