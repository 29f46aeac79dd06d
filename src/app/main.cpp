// quillon-agent: parses the command line, wires the adapters, runs the loop.
#include <cstdio>
#include <string>

#include "app/check_job.h"
#include "app/command_line.h"

int main(int argc, char** argv) {
  std::string error;
  const auto line = quillon::app::ParseCommandLine(argc, argv, &error);
  if (!line) {
    std::fprintf(stderr, "%s\n\n%s", error.c_str(), quillon::app::UsageText());
    return 2;
  }
  if (line->help) {
    std::fputs(quillon::app::UsageText(), stdout);
    return 0;
  }
  if (line->version) {
    std::printf("quillon-agent %s\n", QUILLON_VERSION);
    return 0;
  }
  if (!line->check_job.empty()) return quillon::app::CheckJob(line->check_job, line->encoding);
  std::fputs("Falta por construir: el agente todavia no se conecta.\n", stderr);
  return 1;
}
