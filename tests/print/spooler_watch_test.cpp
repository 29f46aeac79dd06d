// Tickets a spooler holds: printed only when the spooler says so, a printer that holds them or
// reports a fault does not respond, its tickets move once to the default printer, and a restart
// follows the jobs of the run before instead of sending their tickets again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "adapters/spool/ticket_text.h"
#include "print/print_service.h"
#include "support/fake_printers.h"
#include "support/one_line_tickets.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

using platform::JobState;

std::size_t TicketFiles(const std::filesystem::path& folder) {
  std::error_code error;
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".ticket") ++count;
  }
  return count;
}

class SpoolerWatchTest : public ::testing::Test {
 protected:
  SpoolerWatchTest() {
    caja_ = printers_.AddPrinter(u"Caja");
    cocina_ = printers_.AddPrinter(u"Cocina");
    caja_->SetSpooling(&printers_);
    cocina_->SetSpooling(&printers_);
    printers_.SetDefaultName(u"Caja");
  }
  print::Delivery Print(std::u16string printer, std::u16string text) {
    return service().Print(OneLineTicket(std::move(printer), std::move(text)));
  }
  // The watch's turns, as the event loop would run them two seconds apart.
  void Watch(int turns) {
    for (int i = 0; i < turns && parts_->watch.running; ++i) parts_->watch.Fire();
  }
  std::vector<std::u16string> BalloonTexts() const {
    std::vector<std::u16string> texts;
    for (const Balloon& balloon : parts_->notifier.balloons) texts.push_back(balloon.text);
    return texts;
  }
  bool Said(std::u16string_view text) const {
    const auto texts = BalloonTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  print::PrintService& service() { return parts_->service; }
  std::filesystem::path Outbox() const { return parts_->data.Path() / "outbox"; }

  FakePrinterSystem printers_;
  std::unique_ptr<ServiceParts> parts_ = std::make_unique<ServiceParts>(printers_);
  std::shared_ptr<FakePrinterQueue> caja_, cocina_;
};

TEST_F(SpoolerWatchTest, ATicketIsPrintedOnlyOnceItsJobCompletedAndTheIdleAgentAsksNothing) {
  EXPECT_FALSE(parts_->watch.running);  // nothing in flight: no question to the spooler
  const print::Delivery delivery = Print(u"Cocina", u"UNO");
  EXPECT_TRUE(delivery.sent);
  EXPECT_EQ(delivery.printer, u"Cocina");
  ASSERT_EQ(service().Waiting().size(), 1u);
  EXPECT_TRUE(service().Waiting()[0].in_printer);
  EXPECT_TRUE(service().Waiting()[0].stuck_on.empty());
  EXPECT_TRUE(service().Printed().empty());
  EXPECT_EQ(TicketFiles(Outbox()), 1u);

  ASSERT_TRUE(parts_->watch.running);
  EXPECT_EQ(parts_->watch.delay, print::PrintService::kWatchIntervalMs);
  const int finds_before = printers_.finds;
  printers_.SetJobState(1, JobState::kCompleted);
  Watch(1);
  EXPECT_TRUE(service().Waiting().empty());
  ASSERT_EQ(service().Printed().size(), 1u);
  EXPECT_EQ(service().Printed().front().printer, u"Cocina");
  EXPECT_EQ(TicketFiles(Outbox()), 0u);
  // One question for a job that completed within one turn, none about the printer, none after.
  EXPECT_EQ(printers_.follows, 1);
  EXPECT_EQ(printers_.finds, finds_before);
  EXPECT_FALSE(parts_->watch.running);
  EXPECT_TRUE(parts_->notifier.balloons.empty());
}

TEST_F(SpoolerWatchTest, APrinterThatHoldsATicketDoesNotRespondAndItsNewTicketsWaitBehind) {
  Print(u"Cocina", u"UNO");
  Watch(7);  // 14 s
  EXPECT_TRUE(parts_->notifier.balloons.empty());
  Watch(1);  // 16 s
  ASSERT_EQ(BalloonTexts(),
            std::vector<std::u16string>{u"La impresora Cocina no responde: 1 ticket sin imprimir"});
  EXPECT_EQ(parts_->notifier.balloons[0].icon, platform::BalloonIcon::kWarning);
  EXPECT_EQ(parts_->monitor.lines.back(),
            u"La impresora Cocina no responde: 1 ticket sin imprimir");

  // Not sent blind to a printer known not to respond.
  EXPECT_FALSE(Print(u"Cocina", u"DOS").sent);
  EXPECT_EQ(printers_.UnfinishedJobs(), std::vector<std::int64_t>{1});
  const auto waiting = service().Waiting();
  ASSERT_EQ(waiting.size(), 2u);
  EXPECT_TRUE(waiting[0].in_printer);
  EXPECT_FALSE(waiting[1].in_printer);
  EXPECT_EQ(waiting[0].stuck_on, u"Cocina");
  EXPECT_EQ(waiting[1].stuck_on, u"Cocina");

  // Back before the move: its own tickets print there, in order, once, and nothing moves.
  printers_.SetJobState(1, JobState::kCompleted);
  Watch(1);
  ASSERT_EQ(printers_.UnfinishedJobs().size(), 1u);
  printers_.SetJobState(printers_.UnfinishedJobs()[0], JobState::kCompleted);
  Watch(1);
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"UNO", u"DOS"}));
  EXPECT_TRUE(caja_->tickets.empty());
  EXPECT_TRUE(printers_.canceled.empty());
  EXPECT_TRUE(service().Waiting().empty());
  EXPECT_TRUE(Said(u"La impresora Cocina volvió: se imprimieron los 2 tickets"));
  EXPECT_FALSE(parts_->watch.running);
}

TEST_F(SpoolerWatchTest, AFaultTheSpoolerReportsIsSaidAtOnceWithItsReason) {
  Print(u"Cocina", u"UNO");
  cocina_->fault = u"sin papel";
  Watch(1);
  EXPECT_EQ(BalloonTexts(),
            std::vector<std::u16string>{
                u"La impresora Cocina no responde: 1 ticket sin imprimir (sin papel)"});
  ASSERT_EQ(service().Waiting().size(), 1u);
  EXPECT_EQ(service().Waiting()[0].failure, u"sin papel");
}

// The printers as the Status page lists them: "Nota" is no printer, so its ticket went to the
// default, which is listed by its own name.
std::vector<std::pair<std::u16string, bool>> Used(const print::PrintService& service) {
  std::vector<std::pair<std::u16string, bool>> used;
  for (const print::UsedPrinter& printer : service.UsedPrinters())
    used.emplace_back(printer.name, printer.not_responding);
  return used;
}

TEST_F(SpoolerWatchTest, ThePrintersUsedSinceTheStartAreKnownWithThoseThatDoNotRespond) {
  EXPECT_TRUE(service().UsedPrinters().empty());
  Print(u"Nota", u"UNO");
  Print(u"Cocina", u"DOS");
  cocina_->fault = u"sin papel";
  Watch(1);
  using Row = std::pair<std::u16string, bool>;
  EXPECT_EQ(Used(service()), (std::vector<Row>{{u"Caja", false}, {u"Cocina", true}}));

  // A printer that is off refuses its ticket: known by the ticket that waits for it.
  auto barra = printers_.AddPrinter(u"Barra");
  barra->SetOffline(true);
  caja_->SetOffline(true);
  Print(u"Barra", u"TRES");
  EXPECT_EQ(Used(service()),
            (std::vector<Row>{{u"Caja", false}, {u"Cocina", true}, {u"Barra", true}}));

  // Back: Cocina finished its ticket, Barra took its own.
  cocina_->fault.clear();
  printers_.SetJobState(2, JobState::kCompleted);
  barra->SetOffline(false);
  service().RetryNow();
  Watch(1);
  EXPECT_EQ(Used(service()),
            (std::vector<Row>{{u"Barra", false}, {u"Caja", false}, {u"Cocina", false}}));
}

TEST_F(SpoolerWatchTest, AfterTheFallbackTimeTheTicketsPrintOnceOnTheDefaultMarkedAsCopies) {
  service().SetFallbackAfter(20);
  Print(u"Cocina", u"UNO");
  Print(u"Cocina", u"DOS");
  Watch(8);  // not responding once the first ticket was held 15 s
  EXPECT_TRUE(printers_.canceled.empty());
  EXPECT_FALSE(Print(u"Cocina", u"TRES").sent);
  Watch(10);  // 20 s not responding
  EXPECT_EQ(printers_.canceled, (std::vector<std::int64_t>{1, 2}));
  EXPECT_TRUE(cocina_->tickets.empty());
  // On the default printer's spooler now, each ticket once, in order.
  const auto waiting = service().Waiting();
  ASSERT_EQ(waiting.size(), 3u);
  for (const auto& ticket : waiting) {
    EXPECT_TRUE(ticket.in_printer);
    EXPECT_EQ(ticket.printer, u"Caja");
  }
  for (const std::int64_t job : printers_.UnfinishedJobs()) {
    printers_.SetJobState(job, JobState::kCompleted);
  }
  Watch(1);
  EXPECT_EQ(ReceivedLines(*caja_),
            (std::vector<std::u16string>{u"COPIA: la impresora Cocina no respondió", u"UNO",
                                         u"COPIA: la impresora Cocina no respondió", u"DOS",
                                         u"COPIA: la impresora Cocina no respondió", u"TRES"}));
  EXPECT_TRUE(Said(u"Los tickets de Cocina se imprimieron en Caja"));
  EXPECT_TRUE(service().Waiting().empty());
  EXPECT_EQ(service().Printed().size(), 3u);
  EXPECT_EQ(TicketFiles(Outbox()), 0u);
  // Cocina switched on afterwards has nothing of ours left to print.
  EXPECT_TRUE(printers_.UnfinishedJobs().empty());
  EXPECT_FALSE(parts_->watch.running);
}

TEST_F(SpoolerWatchTest, NothingMovesWhenTheDefaultIsTheSamePrinterOrDoesNotRespondOrMovingIsOff) {
  service().SetFallbackAfter(4);
  Print(u"Caja", u"UNO");  // its own printer is the default
  Watch(12);
  EXPECT_TRUE(printers_.canceled.empty());
  printers_.SetJobState(1, JobState::kCompleted);
  Watch(1);

  Print(u"Cocina", u"DOS");
  Print(u"Caja", u"TRES");  // the default does not respond either
  Watch(12);
  EXPECT_TRUE(printers_.canceled.empty());
  for (const std::int64_t job : printers_.UnfinishedJobs()) {
    printers_.SetJobState(job, JobState::kCompleted);
  }
  Watch(2);

  service().SetFallbackAfter(0);
  Print(u"Cocina", u"CUATRO");
  Watch(60);
  EXPECT_TRUE(printers_.canceled.empty());
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"DOS"}));
  EXPECT_EQ(service().Waiting().size(), 1u);
}

TEST_F(SpoolerWatchTest, AnAbortedJobIsSentAgainAndAnOperatorsCancelIsKeptNotReprinted) {
  Print(u"Cocina", u"UNO");
  printers_.SetJobState(1, JobState::kAborted);
  Watch(1);
  ASSERT_EQ(service().Waiting().size(), 1u);
  EXPECT_FALSE(service().Waiting()[0].in_printer);
  parts_->timer.Fire();  // the retry
  ASSERT_EQ(printers_.UnfinishedJobs(), std::vector<std::int64_t>{2});
  printers_.SetJobState(2, JobState::kCompleted);
  Watch(1);
  EXPECT_EQ(ReceivedLines(*cocina_), std::vector<std::u16string>{u"UNO"});

  Print(u"Cocina", u"DOS");
  printers_.SetJobState(3, JobState::kCanceled);
  Watch(1);
  parts_->timer.Fire();
  EXPECT_TRUE(service().Waiting().empty());
  EXPECT_TRUE(printers_.UnfinishedJobs().empty());
  EXPECT_EQ(TicketFiles(Outbox() / "descartados"), 1u);
  EXPECT_TRUE(Said(
      u"El ticket 2 (comanda) se canceló en la impresora Cocina: queda en outbox/descartados"));
}

TEST_F(SpoolerWatchTest, ARestartFollowsTheJobsItFoundBeforeSendingAnythingNewToTheirPrinter) {
  Print(u"Cocina", u"UNO");
  Print(u"Cocina", u"DOS");
  printers_.SetJobState(2, JobState::kCompleted);
  // A stop without a word: what the outbox holds on the disk is all that is left.
  parts_->service.SetMonitor(nullptr);
  const std::filesystem::path data = parts_->data.Path();
  {
    print::Outbox reopened(parts_->disk, data, parts_->clock);
    FakeTimer retry, watch;
    print::PrintService after(printers_, parts_->notifier, reopened, retry, watch);
    after.Start();
    // Job 2 completed while the agent was away; job 1 is still in the spooler: neither sent again.
    EXPECT_EQ(printers_.follows, 1);
    EXPECT_EQ(reopened.Printed().size(), 1u);
    ASSERT_EQ(after.Waiting().size(), 1u);
    EXPECT_TRUE(after.Waiting()[0].in_printer);
    retry.Fire();
    EXPECT_EQ(printers_.UnfinishedJobs(), std::vector<std::int64_t>{1});
  }
  {
    // The spooler cannot be asked at the start: the printer's new tickets wait, unsent.
    printers_.SetUnreachable(true);
    print::Outbox reopened(parts_->disk, data, parts_->clock);
    FakeTimer retry, watch;
    print::PrintService after(printers_, parts_->notifier, reopened, retry, watch);
    after.Start();
    printers_.SetUnreachable(false);
    EXPECT_FALSE(after.Print(OneLineTicket(u"Cocina", u"TRES")).sent);
    EXPECT_EQ(printers_.UnfinishedJobs(), std::vector<std::int64_t>{1});
    // Once it answers that job 1 printed, the new ticket goes.
    printers_.SetJobState(1, JobState::kCompleted);
    watch.Fire();
    EXPECT_EQ(printers_.UnfinishedJobs().size(), 1u);
    EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"DOS", u"UNO"}));
  }
}

}  // namespace
}  // namespace quillon::test
