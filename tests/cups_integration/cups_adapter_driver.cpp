// Drives the CUPS adapter from the integration script: finds a printer, names the default one,
// checks a queue, prints a small ticket, sends raw bytes. Prints what happened; exit status 1 on
// a Failure or a printer that is not there.
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapters/cups/cups_printers.h"
#include "platform/text.h"

using namespace quillon::platform;

namespace {

Ticket SampleTicket(const char* logo) {
  auto run = [](int column, std::u16string text, double size, bool bold) {
    return TicketRun{column, std::move(text), TicketFont{u"Courier 17 CPI", size, bold, false}};
  };
  Ticket ticket;
  if (logo && *logo) ticket.pictures.push_back({logo, 0, 20, 2000, 600, 0});
  ticket.lines.push_back({{run(1, std::u16string(37, u'='), 10, false)}, 10});
  ticket.lines.push_back({{run(1, u"DIRECCIÓN: Calle Ñandú 5", 10, true)}, 10});
  ticket.lines.push_back({{run(1, u"TOTAL", 15, true), run(30, u"12.500", 10, false)}, 15});
  return ticket;
}

int Fail(const quillon::platform::Failure& error) {
  std::printf("error: %s\n", Utf16ToUtf8(error.Description()).c_str());
  return 1;
}

// follow COLA TRABAJO...: the state of each job; cancel COLA TRABAJO: cancels it first, then
// the queue's jobs as the system reports them.
void FollowOrCancel(quillon::adapters::cups::CupsPrinterSystem& system, bool cancel, int argc,
                    char** argv) {
  std::vector<std::int64_t> jobs;
  for (int i = 3; i < argc; ++i) jobs.push_back(std::stoll(argv[i]));
  if (cancel) {
    for (const std::int64_t job : jobs) system.CancelJob(Utf8ToUtf16(argv[2]), job);
    jobs.clear();
  }
  static const char* const kStates[] = {"en cola", "retenido", "completado", "cancelado",
                                        "abortado"};
  for (const JobReport& report : system.FollowJobs(Utf8ToUtf16(argv[2]), jobs)) {
    std::printf("%lld %s\n", static_cast<long long>(report.job),
                kStates[static_cast<int>(report.state)]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(
        "uso: cups_adapter_driver default | names | find COLA | check COLA | ticket COLA [LOGO] | "
        "raw COLA | follow COLA TRABAJO... | cancel COLA TRABAJO | fault COLA\n",
        stderr);
    return 2;
  }
  QGuiApplication app(argc, argv);
  quillon::adapters::cups::CupsPrinterSystem system;
  const std::string command = argv[1];
  try {
    if (command == "default") {
      std::printf("%s\n", Utf16ToUtf8(system.DefaultPrinterName()).c_str());
      return 0;
    }
    if (command == "names") {
      for (const std::u16string& name : system.PrinterNames()) {
        std::printf("%s\n", Utf16ToUtf8(name).c_str());
      }
      return 0;
    }
    if (argc < 3) return 2;
    if (command == "follow" || command == "cancel") {
      FollowOrCancel(system, command == "cancel", argc, argv);
      return 0;
    }
    const auto queue = system.FindPrinter(Utf8ToUtf16(argv[2]));
    if (!queue) {
      std::printf("error: La impresora no está instalada en CUPS.\n");
      return 1;
    }
    if (command == "find") {
      std::printf("%s\n", Utf16ToUtf8(queue->DeviceName()).c_str());
      return 0;
    }
    if (command == "fault") {
      std::printf("%s\n", Utf16ToUtf8(queue->Fault()).c_str());
      return 0;
    }
    queue->CheckReady();
    if (command == "ticket") {
      const std::int64_t job = queue->PrintTicket(SampleTicket(argc > 3 ? argv[3] : nullptr));
      std::printf("trabajo %lld\n", static_cast<long long>(job));
    } else if (command == "raw") {
      queue->SendRaw(std::string("\x1bp\x00\x3c\xf0", 5));
    } else if (command != "check") {
      return 2;
    }
  } catch (const quillon::platform::Failure& error) {
    return Fail(error);
  }
  std::printf("ok\n");
  return 0;
}
