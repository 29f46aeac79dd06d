// Drives the winspool adapter from the Wine test: names the default printer, finds a printer and
// says how it prints, prints a small ticket. Prints what happened; exit status 1 on a Failure or
// a printer that is not there.
#include <cstdio>
#include <string>

#include "adapters/winspool/winspool_printers.h"
#include "platform/text.h"

using namespace quillon::platform;

namespace {

Ticket SampleTicket() {
  const TicketFont font{u"Courier 17 CPI", 10, false, false};
  Ticket ticket;
  ticket.lines.push_back({{TicketRun{1, u"DIRECCIÓN: Calle Ñandú 5", font}}, 10});
  ticket.lines.push_back({{TicketRun{1, u"TOTAL", font}, TicketRun{30, u"12.500", font}}, 10});
  return ticket;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(
        "uso: winspool_driver default | find IMPRESORA | ticket IMPRESORA | "
        "follow IMPRESORA TRABAJO\n",
        stderr);
    return 2;
  }
  quillon::adapters::winspool::WinspoolPrinterSystem system;
  const std::string command = argv[1];
  try {
    if (command == "default") {
      std::printf("%s\n", Utf16ToUtf8(system.DefaultPrinterName()).c_str());
      return 0;
    }
    if (argc < 3) return 2;
    if (command == "follow" && argc > 3) {
      static const char* const kStates[] = {"en cola", "retenido", "completado", "cancelado",
                                            "abortado"};
      for (const JobReport& report :
           system.FollowJobs(Utf8ToUtf16(argv[2]), {std::stoll(argv[3])})) {
        std::printf("%s\n", kStates[static_cast<int>(report.state)]);
      }
      return 0;
    }
    const auto printer = system.FindPrinter(Utf8ToUtf16(argv[2]));
    if (!printer) {
      std::printf("error: La impresora no está instalada.\n");
      return 1;
    }
    if (command == "find") {
      std::printf("%s\n", Utf16ToUtf8(printer->DeviceName()).c_str());
      return 0;
    }
    if (command == "ticket") {
      printer->CheckReady();
      const std::int64_t job = printer->PrintTicket(SampleTicket());
      std::printf("impreso, trabajo %lld\n", static_cast<long long>(job));
      return 0;
    }
  } catch (const Failure& error) {
    std::printf("error: %s\n", Utf16ToUtf8(error.Description()).c_str());
    return 1;
  }
  return 2;
}
