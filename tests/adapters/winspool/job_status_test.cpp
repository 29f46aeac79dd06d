// Windows job and printer states as the print service follows them: what each Status word means,
// and the service acting on them as it does on any spooler's.
#include "adapters/winspool/job_status.h"

#include <gtest/gtest.h>

#include "print/print_service.h"
#include "support/fake_printers.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

using adapters::winspool::JobStateOf;
using platform::JobState;

// JOB_STATUS_* and PRINTER_STATUS_* values.
constexpr std::uint32_t kSpooling = 0x8, kPrinting = 0x10, kError = 0x2, kOffline = 0x20,
                        kPaperOut = 0x40, kPrinted = 0x80, kDeleting = 0x4, kComplete = 0x1000,
                        kPaused = 0x1;

TEST(WinspoolJobStatus, EachStatusWordReadsAsTheStateTheServiceActsOn) {
  EXPECT_EQ(JobStateOf(0), JobState::kQueued);
  EXPECT_EQ(JobStateOf(kSpooling), JobState::kQueued);
  EXPECT_EQ(JobStateOf(kPrinting), JobState::kQueued);
  EXPECT_EQ(JobStateOf(kPrinting | kPrinted), JobState::kCompleted);
  EXPECT_EQ(JobStateOf(kComplete), JobState::kCompleted);
  // Deleting a job that printed is the spooler tidying up, not a cancel.
  EXPECT_EQ(JobStateOf(kPrinted | kDeleting), JobState::kCompleted);
  EXPECT_EQ(JobStateOf(kDeleting), JobState::kCanceled);
  EXPECT_EQ(JobStateOf(kError | kOffline), JobState::kHeld);
  EXPECT_EQ(JobStateOf(kPaperOut), JobState::kHeld);
  EXPECT_EQ(JobStateOf(kPaused), JobState::kHeld);
}

TEST(WinspoolJobStatus, APrintersFaultIsSaidInWordsAndOnlyOnce) {
  adapters::winspool::PrinterDescription printer;
  EXPECT_EQ(adapters::winspool::PrinterFault(printer), u"");
  printer.status = 0x10 | 0x40;  // paper out, paper problem
  EXPECT_EQ(adapters::winspool::PrinterFault(printer), u"sin papel");
  printer.status = 0x80 | 0x400000;  // offline, door open
  EXPECT_EQ(adapters::winspool::PrinterFault(printer), u"apagada o desconectada, tapa abierta");
  printer.status = 0;
  printer.attributes = 0x400;  // work offline
  EXPECT_EQ(adapters::winspool::PrinterFault(printer), u"apagada o desconectada");
}

TEST(WinspoolJobStatus, AJobTheSpoolerCannotSendMakesThePrinterNotRespondUntilItPrints) {
  FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  cocina->SetSpooling(&printers);
  printers.SetDefaultName(u"Cocina");
  ServiceParts parts(printers);
  ASSERT_TRUE(parts.service.Print({u"Cocina", u"comanda", {}}).sent);
  printers.SetJobState(1, JobStateOf(kPrinting | kError | kOffline));
  parts.watch.Fire();
  ASSERT_EQ(parts.notifier.balloons.size(), 1u);
  EXPECT_EQ(parts.notifier.balloons[0].text,
            u"La impresora Cocina no responde: 1 ticket sin imprimir (no se pudo enviar el "
            u"trabajo)");
  EXPECT_TRUE(printers.UnfinishedJobs() == std::vector<std::int64_t>{1});
  printers.SetJobState(1, JobStateOf(kPrinting | kPrinted));
  parts.watch.Fire();
  EXPECT_TRUE(parts.service.Waiting().empty());
  EXPECT_EQ(parts.service.Printed().size(), 1u);
  EXPECT_EQ(parts.notifier.balloons.back().text,
            u"La impresora Cocina volvió: se imprimió el ticket");
}

}  // namespace
}  // namespace quillon::test
