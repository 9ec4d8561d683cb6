#include "platform/win32/startup_win32.h"

namespace glintora {

void ImportTemplateIntoStore(Program& program, const std::string& path) {
  (void)program;
  (void)path;
}

}  // namespace glintora
