#pragma once
// Command line of the demo print server.
#include <optional>
#include <string>
#include <vector>

namespace print_server {

struct Options {
  int port = 0;                   // 0: any free port
  std::vector<std::string> jobs;  // job files, in sending order
  bool pieces = false;            // cut the stream into random pieces
  unsigned seed = 1;
  int pause_ms = 0;           // between jobs
  long long drop_after = -1;  // drop the first connection after this many bytes
  int cut_percent = 0;        // share of the jobs whose connection drops inside them
  bool resend = false;        // a job cut by a drop goes again whole on the next connection
  bool wait_id = false;       // send only once the agent has identified itself
  // Each job waits for the agent's status reply; one still unanswered when its connection ends
  // goes again, whole, first on the next connection.
  bool await_status = false;
  bool drop_after_each = false;  // the first time each job is sent, drop right after it, unread
  long long exit_after_statuses = -1;
  int timeout_s = 0;  // 0: run until stopped
  bool help = false;
};

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error);
const char* UsageText();

}  // namespace print_server
