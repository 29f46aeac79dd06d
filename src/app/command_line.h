#pragma once
// The options of quillon-agent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::app {

struct CommandLine {
  std::string server_host;  // empty: the built-in address
  int server_port = 3000;
  std::string data_dir;   // empty: the program's own folder
  std::string spool_dir;  // empty: the system's printers
  std::string default_printer;
  bool headless = false;
  std::string encoding;  // empty: not given (the wire is Windows-1252; job files are detected)
  std::string print_job;
  std::string check_job;
  std::string render_escpos;  // an ESC/POS file to draw, into render_output
  std::string render_output;
  bool list_tickets = false;
  std::optional<std::uint64_t> reprint;  // the number of the printed ticket to print again
  std::optional<std::uint64_t> discard;  // the number of the waiting ticket to set aside
  std::string printer;                   // where --reprint prints; empty: where the ticket printed
  std::string diagnostics;               // --diagnostico: the zip to write
  bool with_tickets = false;             // --con-tickets: the ticket files go into it too
  // [impresoras] and --printer NAME=VALUE: a printer name as the jobs use it, and tcp://HOST[:PORT]
  // or the name of a printer of the system; one entry a name, the command line's first.
  std::vector<std::pair<std::string, std::string>> printer_map;
  std::string test_print;  // the printer --test-print prints on
  // Seconds a printer may not respond before its tickets move to the default printer; 0 never,
  // -1 not given (the built-in time).
  int fallback_after = -1;
  // Days the files of registro/ are kept; -1 not given (the built-in days). Only agent.conf sets
  // it.
  int log_days = -1;
  bool help = false;
  bool version = false;
};

// Parses argv; on a bad option returns nullopt and puts a message in Spanish into `error`.
std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string* error);

const char* UsageText();

// HOST or HOST:PORT with a port from 1 to 65535 (`port` is left alone when none is given);
// false when the port is bad.
bool ParseServer(std::string server, std::string* host, int* port);
// Whole seconds from 0 to 86400; -1 when the text is not one.
int ParseSeconds(const std::string& text);
// A ticket number: decimal digits only, within 64 bits; nullopt with a Spanish message in
// `error` otherwise.
std::optional<std::uint64_t> ParseTicketNumber(const std::string& text, std::string_view option,
                                               std::string* error);
// Whole days from 1 to 3650; -1 when the text is not one.
int ParseDays(const std::string& text);
// windows-1252 or utf-8.
bool IsEncodingName(const std::string& name);
// What is wrong with the value of a printer name in [impresoras] or --printer; empty when it is
// tcp://HOST[:PORT] or the name of a printer of the system.
std::string PrinterTargetComplaint(const std::string& value);
// Maps `name` unless it is mapped already (names compare as printer names do).
void MapPrinter(CommandLine* line, const std::string& name, const std::string& value);

}  // namespace quillon::app
