#include "app/version_report.h"

namespace quillon::app {

std::string BuildDescription() {
  const std::string build_type = QUILLON_BUILD_TYPE;
  return std::string("quillon-agent ") + QUILLON_VERSION + "\nCompilador: " + QUILLON_COMPILER +
         "\nTipo de construcción: " + (build_type.empty() ? "sin tipo" : build_type) +
         "\nFecha de construcción: " + QUILLON_BUILD_DATE + "\n";
}

}  // namespace quillon::app
