#pragma once
// quillon-agent --check-job: shows how the agent reads a job text, for integrators.
#include <string>

namespace quillon::app {

// Reads the file (or standard input for "-"), parses its bytes in the encoding JobFileEncoding
// gives, writes the value tree as one line of JSON on standard output and the parser's error
// text on standard error. Returns 0 when the text parsed cleanly, 1 when it has
// errors, 2 when the file cannot be read.
int CheckJob(const std::string& file, const std::string& encoding);

}  // namespace quillon::app
