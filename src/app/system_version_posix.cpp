#include <sys/utsname.h>

#include "app/version_report.h"

namespace quillon::app {

std::string SystemDescription() {
  utsname system{};
  if (uname(&system) != 0) return "desconocido";
  return std::string(system.sysname) + " " + system.release + " " + system.version + " " +
         system.machine;
}

}  // namespace quillon::app
