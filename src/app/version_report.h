#pragma once
// What this program is and what it runs on, for the people who look after it.
#include <string>

namespace quillon::app {

// "quillon-agent 0.1.0", then the compiler, the build type and the build's date, one a line.
std::string BuildDescription();
// The operating system's name, version and machine, on one line.
std::string SystemDescription();

}  // namespace quillon::app
