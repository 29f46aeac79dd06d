#include "app/ticket_commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <vector>

#include "app/agent.h"
#include "app/printers.h"
#include "app/test_print.h"
#include "platform/disk_file_system.h"
#include "platform/text.h"
#include "print/reprint_requests.h"
#include "shell/console_output.h"
#include "shell/printing_options.h"
#include "shell/ticket_rows.h"

namespace quillon::app {
namespace {

constexpr std::chrono::seconds kAgentPatience{15};

void PrintLine(std::FILE* out, const std::u16string& text) {
  std::fprintf(out, "%s\n", platform::Utf16ToUtf8(text).c_str());
}

int Answer(const print::RequestAnswer& answer) {
  PrintLine(answer.done ? stdout : stderr, answer.text);
  return answer.done ? 0 : 1;
}

// Does `act` with the printers of this command line and the data folder's outbox.
template <typename Act>
int WithOwnPrinting(const CommandLine& line, const std::filesystem::path& data_dir, Act act) {
  platform::SystemClock clock;
  shell::ConsoleOutput output(std::cout, clock);
  shell::ConsoleNotifier notifier(output);
  shell::ConsoleLog log(output);
  shell::PrintingOptions no_options([](const std::u16string&) {});
  platform::DiskFileSystem files;
  Printing printing(line, notifier, no_options, files, data_dir);
  printing.Start(log);
  return Answer(act(printing));
}

}  // namespace

int RunListTickets(const CommandLine& line) {
  const std::filesystem::path data_dir = DataDir(line);
  std::printf("Tickets en espera:\n");
  const platform::DiskFileSystem files;
  for (const print::TicketRecord& record : print::ReadWaitingTickets(files, data_dir)) {
    print::WaitingTicket ticket;
    ticket.id = record.id;
    ticket.printer = print::PrinterLabel(record.ticket.printer);
    ticket.kind = record.ticket.kind;
    ticket.created = record.created;
    ticket.in_printer = record.InPrinter();
    PrintLine(stdout, u"  " + platform::Utf8ToUtf16(std::to_string(record.id)) + u"  " +
                          shell::WaitingRow(ticket));
  }
  std::printf("Tickets impresos, del mas reciente:\n");
  for (const print::PrintedTicket& ticket : print::ReadPrintedTickets(files, data_dir)) {
    PrintLine(stdout, u"  " + shell::PrintedRow(ticket));
  }
  return 0;
}

int RunReprint(const CommandLine& line) {
  const std::filesystem::path data_dir = DataDir(line);
  const std::uint64_t id = *line.reprint;
  // A number that is not among the kept tickets is a mistake of the command, whoever prints.
  platform::DiskFileSystem files;
  const std::deque<print::PrintedTicket> printed = print::ReadPrintedTickets(files, data_dir);
  if (std::none_of(printed.begin(), printed.end(),
                   [id](const print::PrintedTicket& ticket) { return ticket.id == id; })) {
    PrintLine(stderr, print::NoPrintedTicketText(id) + u" (vea --list-tickets).");
    return 2;
  }
  const std::u16string printer = platform::Utf8ToUtf16(line.printer);
  const std::unique_ptr<platform::SingleInstance> instance = MakeSingleInstance(data_dir);
  if (instance->Acquire() == platform::SingleInstance::Result::kHeldByOther) {
    const auto answer = print::AskRunningAgent(files, data_dir, print::RequestKind::kReprint, id,
                                               printer, kAgentPatience);
    if (answer) return Answer(*answer);
    PrintLine(stderr, u"El agente en ejecución no respondió: el ticket no se reimprimió.");
    return 1;
  }
  return WithOwnPrinting(line, data_dir, [&](Printing& printing) {
    return print::Reprint(printing.service, id, printer);
  });
}

int RunDiscard(const CommandLine& line) {
  const std::filesystem::path data_dir = DataDir(line);
  const std::uint64_t id = *line.discard;
  platform::DiskFileSystem files;
  const std::vector<print::TicketRecord> waiting = print::ReadWaitingTickets(files, data_dir);
  if (std::none_of(waiting.begin(), waiting.end(),
                   [id](const print::TicketRecord& record) { return record.id == id; })) {
    PrintLine(stderr, print::NoWaitingTicketText(id) + u" (vea --list-tickets).");
    return 2;
  }
  const std::unique_ptr<platform::SingleInstance> instance = MakeSingleInstance(data_dir);
  if (instance->Acquire() == platform::SingleInstance::Result::kHeldByOther) {
    const auto answer = print::AskRunningAgent(files, data_dir, print::RequestKind::kDiscard, id,
                                               u"", kAgentPatience);
    if (answer) return Answer(*answer);
    PrintLine(stderr, u"El agente en ejecución no respondió: el ticket no se descartó.");
    return 1;
  }
  return WithOwnPrinting(line, data_dir,
                         [&](Printing& printing) { return print::Discard(printing.service, id); });
}

int RunTestPrint(const CommandLine& line) {
  const std::filesystem::path data_dir = DataDir(line);
  const std::unique_ptr<platform::SingleInstance> instance = MakeSingleInstance(data_dir);
  if (instance->Acquire() == platform::SingleInstance::Result::kHeldByOther) {
    PrintLine(stderr,
              u"Un agente en ejecución usa esta carpeta de datos: la prueba no se imprimió.");
    return 1;
  }
  return WithOwnPrinting(line, data_dir, [&](Printing& printing) {
    return PrintTestTicket(printing, platform::Utf8ToUtf16(line.test_print), kCommandPatienceMs);
  });
}

}  // namespace quillon::app
