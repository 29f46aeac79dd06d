// The print service: printers found by name when a ticket prints, the fallback to the default
// printer, and what the user is told when neither can print.
#include "print/print_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "adapters/spool/ticket_text.h"
#include "platform/text.h"
#include "support/fake_printers.h"
#include "support/one_line_tickets.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

class PrintServiceTest : public ::testing::Test {
 protected:
  PrintServiceTest() {
    caja_ = printers_.AddPrinter(u"Caja");
    printers_.SetDefaultName(u"Caja");
  }
  print::Delivery Print(std::u16string printer, std::u16string text = u"PEDIDO") {
    return service_.Print(OneLineTicket(std::move(printer), std::move(text)));
  }

  FakePrinterSystem printers_;
  ServiceParts parts_{printers_};
  print::PrintService& service_ = parts_.service;
  FakeNotifier& notifier_ = parts_.notifier;
  std::shared_ptr<FakePrinterQueue> caja_;
};

TEST_F(PrintServiceTest, PrintersAreFoundByNameWhenTheTicketPrints) {
  // Installed after the service started: a list read at start-up would not know it.
  auto cocina = printers_.AddPrinter(u" COCINA ");
  printers_.AddPrinter(u"Cocina");
  const print::Delivery delivery = Print(u"cocina");
  EXPECT_TRUE(delivery.sent);
  EXPECT_EQ(delivery.printer, u" COCINA ");
  EXPECT_EQ(ReceivedLines(*cocina), std::vector<std::u16string>{u"PEDIDO"});
  // One question to the system and one readiness check for a ticket whose printer works.
  EXPECT_EQ(printers_.finds, 1);
  EXPECT_EQ(cocina->ready_checks, 1);
  EXPECT_TRUE(notifier_.balloons.empty());
}

TEST_F(PrintServiceTest, AMissingOfflineOrRefusingPrinterFallsBackSilently) {
  auto cocina = printers_.AddPrinter(u"Cocina");
  EXPECT_EQ(Print(u"Horno", u"UNO").printer, u"Caja");
  cocina->SetOffline(true);
  EXPECT_EQ(Print(u"Cocina", u"DOS").printer, u"Caja");
  cocina->SetOffline(false);
  cocina->SetRefusing(true);
  EXPECT_EQ(Print(u"Cocina", u"TRES").printer, u"Caja");
  EXPECT_EQ(ReceivedLines(*caja_), (std::vector<std::u16string>{u"UNO", u"DOS", u"TRES"}));
  EXPECT_TRUE(cocina->tickets.empty());
  EXPECT_TRUE(notifier_.balloons.empty());
}

TEST_F(PrintServiceTest, TheDefaultPrinterIsTheOneOfTheMomentOfPrinting) {
  auto facturas = printers_.AddPrinter(u"Facturas");
  Print(u"");
  printers_.SetDefaultName(u"Facturas");
  Print(u"");
  EXPECT_EQ(caja_->tickets.size(), 1u);
  EXPECT_EQ(facturas->tickets.size(), 1u);
}

TEST_F(PrintServiceTest, BothFailingShowsOneBalloonNamingTheDefault) {
  auto cocina = printers_.AddPrinter(u"Cocina");
  cocina->SetOffline(true, u"Sin papel");
  caja_->SetOffline(true, u"Tapa abierta");
  EXPECT_FALSE(Print(u"Cocina").sent);
  ASSERT_EQ(notifier_.balloons.size(), 2u);  // the second says the ticket waits
  const Balloon& balloon = notifier_.balloons[0];
  EXPECT_EQ(
      balloon.text,
      u"Error al imprimir, La impresora Caja no esta disponible. \r\nTapa abierta Tapa abierta");
  EXPECT_EQ(balloon.icon, platform::BalloonIcon::kError);
  EXPECT_EQ(balloon.title, u"Error al imprimir");
  EXPECT_EQ(balloon.timeout_ms, 30000);
  EXPECT_TRUE(caja_->tickets.empty());
  EXPECT_TRUE(cocina->tickets.empty());
}

TEST_F(PrintServiceTest, FailuresSayWhatIsMissingAndAnUnreachableSystemSaysSo) {
  auto failure_of = [&](std::u16string printer) {
    notifier_.balloons.clear();
    EXPECT_FALSE(Print(std::move(printer)).sent);
    EXPECT_EQ(notifier_.balloons.size(), 2u);
    return notifier_.balloons.empty() ? std::u16string() : notifier_.balloons[0].text;
  };
  printers_.SetDefaultName(u"");
  EXPECT_NE(failure_of(u"Horno").find(
                u"No se encontró la impresora \"Horno\" y no hay impresora predeterminada"),
            std::u16string::npos);
  EXPECT_NE(failure_of(u"").find(u"La impresora predeterminada no esta disponible"),
            std::u16string::npos);
  printers_.SetDefaultName(u"Desinstalada");
  // Each printer's first failure is told with this balloon; the tickets after it only wait.
  EXPECT_NE(failure_of(u"Parrilla")
                .find(u"No se encontró la impresora \"Parrilla\" ni la "
                      u"impresora predeterminada \"Desinstalada\""),
            std::u16string::npos);
  printers_.SetUnreachable(true);
  const std::u16string unreachable = failure_of(u"Caja");
  EXPECT_NE(unreachable.find(u"No se pudo consultar el servidor de impresión CUPS"),
            std::u16string::npos);
  EXPECT_EQ(unreachable.find(u"No se encontró"), std::u16string::npos);
}

TEST_F(PrintServiceTest, RawBytesGoNowOrRaise) {
  auto facturas = printers_.AddPrinter(u"Facturas");
  service_.SendRaw(u"facturas", "abc");
  EXPECT_EQ(facturas->raw_jobs, std::vector<std::string>{"abc"});
  facturas->SetOffline(true);
  service_.SendRaw(u"Facturas", "def");
  EXPECT_EQ(caja_->raw_jobs, std::vector<std::string>{"def"});
  caja_->SetOffline(true);
  EXPECT_THROW(service_.SendRaw(u"Facturas", "ghi"), platform::Failure);
  EXPECT_EQ(notifier_.balloons.size(), 1u);
  EXPECT_EQ(facturas->raw_jobs.size() + caja_->raw_jobs.size(), 2u);
}

namespace fs = std::filesystem;

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Tickets kept in the outbox until a printer takes them: retried by themselves, in order per
// printer, across a restart, visible and discardable, and the printed ones kept for a reprint.
class OutboxTest : public PrintServiceTest {
 protected:
  OutboxTest() {
    cocina_ = printers_.AddPrinter(u"Cocina");
    bar_ = printers_.AddPrinter(u"Bar");
  }
  std::vector<std::string> Outbox() { return FileNames(parts_.data.Path() / "outbox"); }
  std::vector<std::string> Printed() { return FileNames(parts_.data.Path() / "impresos"); }
  std::vector<std::u16string> BalloonTexts() {
    std::vector<std::u16string> texts;
    for (const Balloon& balloon : notifier_.balloons) texts.push_back(balloon.text);
    return texts;
  }

  std::shared_ptr<FakePrinterQueue> cocina_;
  std::shared_ptr<FakePrinterQueue> bar_;
};

TEST_F(OutboxTest, ATicketIsInTheOutboxWhileItIsSentAndLeavesItOnceAccepted) {
  std::vector<std::string> while_sending;
  cocina_->on_accept = [&] { while_sending = Outbox(); };
  EXPECT_TRUE(Print(u"Cocina").sent);
  EXPECT_EQ(while_sending, std::vector<std::string>{"000000000001.ticket"});
  EXPECT_TRUE(Outbox().empty());
  EXPECT_EQ(Printed(), (std::vector<std::string>{"000000000001.ticket", "indice"}));
  EXPECT_FALSE(parts_.timer.running);
}

TEST_F(OutboxTest, WaitingTicketsPrintByThemselvesOnceInOrderWithoutHoldingOtherPrinters) {
  cocina_->SetOffline(true);
  caja_->SetOffline(true);
  for (const char16_t* text : {u"UNO", u"DOS", u"TRES"}) EXPECT_FALSE(Print(u"Cocina", text).sent);
  EXPECT_FALSE(Print(u"", u"FACTURA").sent);
  // Another printer's tickets do not wait behind them.
  EXPECT_TRUE(Print(u"Bar", u"BAR").sent);
  EXPECT_EQ(Outbox().size(), 4u);
  ASSERT_EQ(service_.Waiting().size(), 4u);
  EXPECT_EQ(service_.Waiting()[0].printer, u"Cocina");
  EXPECT_EQ(service_.Waiting()[0].failure, u"La impresora está fuera de línea");
  EXPECT_EQ(service_.Waiting()[3].printer, u"predeterminada");
  const auto texts = BalloonTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"3 tickets esperando la impresora Cocina"),
            texts.end());
  EXPECT_EQ(parts_.monitor.lines.at(0),
            u"Ticket 1 (comanda) en espera de la impresora Cocina: La impresora está fuera de "
            u"línea");

  // Tried again by itself, backing off up to a minute between tries.
  std::vector<int> delays;
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(parts_.timer.running);
    delays.push_back(parts_.timer.delay);
    parts_.timer.Fire();
  }
  EXPECT_EQ(delays, (std::vector<int>{2000, 4000, 8000, 16000, 32000, 60000, 60000}));
  EXPECT_TRUE(cocina_->tickets.empty());

  cocina_->SetOffline(false);
  parts_.timer.Fire();
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"UNO", u"DOS", u"TRES"}));
  EXPECT_EQ(BalloonTexts().back(),
            u"Se imprimieron los 3 tickets que esperaban la impresora Cocina");
  EXPECT_EQ(service_.Waiting().size(), 1u);
  caja_->SetOffline(false);
  parts_.timer.Fire();
  EXPECT_EQ(ReceivedLines(*caja_), std::vector<std::u16string>{u"FACTURA"});
  EXPECT_EQ(BalloonTexts().back(),
            u"Se imprimió el ticket que esperaba la impresora predeterminada");
  EXPECT_TRUE(Outbox().empty());
  EXPECT_FALSE(parts_.timer.running);
  parts_.timer.running = true;
  parts_.timer.Fire();  // a late turn of the timer sends nothing twice
  EXPECT_EQ(cocina_->tickets.size() + caja_->tickets.size() + bar_->tickets.size(), 5u);
}

TEST_F(OutboxTest, ATicketForAPrinterWithTicketsWaitingGoesBehindThem) {
  cocina_->SetOffline(true);
  caja_->SetOffline(true);
  Print(u"Cocina", u"UNO");
  cocina_->SetOffline(false);
  // The printer is back when the next ticket comes: the one that waited goes first.
  const print::Delivery delivery = Print(u"Cocina", u"DOS");
  EXPECT_TRUE(delivery.sent);
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"UNO", u"DOS"}));
  EXPECT_TRUE(service_.Waiting().empty());
}

TEST_F(OutboxTest, WaitingTicketsOutliveTheProgramAndPrintOnceAfterARestart) {
  cocina_->SetOffline(true);
  caja_->SetOffline(true);
  Print(u"Cocina", u"UNO");
  Print(u"Cocina", u"DOS");
  // What a crash can leave: a whole ticket not yet renamed, and a file cut short.
  const fs::path outbox = parts_.data.Path() / "outbox";
  fs::path last = outbox / "000000000002.ticket";
  std::string text;
  {
    std::ifstream in(last, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::string third = std::regex_replace(text, std::regex("id\\t2"), "id\t3");
  std::ofstream(outbox / "000000000003.ticket.part", std::ios::binary)
      << std::regex_replace(third, std::regex("DOS"), "TRES");
  std::ofstream(outbox / "000000000004.ticket", std::ios::binary) << text.substr(0, 40);

  cocina_->SetOffline(false);
  print::Outbox reopened(parts_.disk, parts_.data.Path(), parts_.clock);
  FakeNotifier notifier_after;
  FakeTimer timer_after;
  FakeTimer watch_after;
  RecordingMonitor monitor_after;
  print::PrintService after(printers_, notifier_after, reopened, timer_after, watch_after);
  after.SetMonitor(&monitor_after);
  after.Start();
  ASSERT_EQ(after.Waiting().size(), 3u);
  EXPECT_EQ(FileNames(outbox / "descartados"), std::vector<std::string>{"000000000004.ticket"});
  EXPECT_EQ(monitor_after.lines.at(0),
            u"No se pudo leer el ticket 000000000004.ticket de la bandeja de salida: se apartó en "
            u"outbox/descartados");
  ASSERT_TRUE(timer_after.running);
  EXPECT_EQ(timer_after.delay, 0);
  timer_after.Fire();
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"UNO", u"DOS", u"TRES"}));
  EXPECT_TRUE(Outbox().empty());
  // New tickets take numbers after every one already used.
  EXPECT_TRUE(after.Print(OneLineTicket(u"Cocina", u"CUATRO")).sent);
  EXPECT_EQ(after.Printed().front().id, 5u);
}

TEST_F(OutboxTest, ADiscardedTicketIsKeptApartAndNeverPrinted) {
  cocina_->SetOffline(true);
  caja_->SetOffline(true);
  Print(u"Cocina", u"UNO");
  Print(u"Cocina", u"DOS");
  EXPECT_TRUE(service_.Discard(1));
  EXPECT_FALSE(service_.Discard(1));
  EXPECT_EQ(FileNames(parts_.data.Path() / "outbox" / "descartados"),
            std::vector<std::string>{"000000000001.ticket"});
  cocina_->SetOffline(false);
  service_.RetryNow();
  EXPECT_EQ(ReceivedLines(*cocina_), std::vector<std::u16string>{u"DOS"});
}

TEST_F(OutboxTest, TheLastPrintedTicketsAreKeptNewestFirstAndCanBePrintedAgain) {
  printers_.SetDefaultName(u"");
  for (int i = 0; i < 205; ++i)
    Print(u"Cocina", u"T" + platform::Utf8ToUtf16(std::to_string(i + 1)));
  ASSERT_EQ(service_.Printed().size(), 200u);
  EXPECT_EQ(service_.Printed().front().id, 205u);
  EXPECT_EQ(service_.Printed().front().printer, u"Cocina");
  EXPECT_EQ(service_.Printed().back().id, 6u);
  // The files of the tickets no longer kept go when the timer comes round.
  EXPECT_EQ(Printed().size(), 206u);
  ASSERT_TRUE(parts_.timer.running);
  parts_.timer.Fire();
  EXPECT_EQ(Printed().size(), 201u);  // the 200 tickets and the index
  EXPECT_FALSE(parts_.timer.running);

  EXPECT_FALSE(service_.Reprint(3, u""));  // no longer kept
  const auto again = service_.Reprint(205, u"");
  ASSERT_TRUE(again && again->sent);
  EXPECT_EQ(ReceivedLines(*cocina_).back(), u"T205");
  EXPECT_EQ(service_.Reprint(204, u"bar")->printer, u"Bar");
  EXPECT_EQ(ReceivedLines(*bar_), std::vector<std::u16string>{u"T204"});

  // The list survives the program.
  print::Outbox reopened(parts_.disk, parts_.data.Path(), parts_.clock);
  std::vector<std::u16string> set_aside;
  reopened.Load(set_aside);
  ASSERT_EQ(reopened.Printed().size(), 200u);
  EXPECT_EQ(reopened.Printed().front().id, 207u);
  EXPECT_EQ(reopened.Printed().front().printer, u"Bar");
  EXPECT_EQ(reopened.Printed().front().kind, u"comanda");
}

TEST_F(OutboxTest, TicketsTheDiskDoesNotTakeAreSaidAndWrittenOnceThereIsRoom) {
  // A full disk: the outbox cannot write the files of tickets 1 to 3.
  const std::filesystem::path outbox = parts_.data.Path() / "outbox";
  for (int id = 1; id <= 3; ++id) {
    std::filesystem::create_directories(outbox /
                                        ("00000000000" + std::to_string(id) + ".ticket.part"));
  }
  cocina_->SetOffline(true);
  caja_->SetOffline(true);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Print(u"Cocina").sent);
  const auto& balloons = notifier_.balloons;
  ASSERT_FALSE(balloons.empty());
  const auto full = std::find_if(balloons.rbegin(), balloons.rend(), [](const Balloon& b) {
    return b.text.starts_with(u"No hay espacio en disco");
  });
  ASSERT_NE(full, balloons.rend());
  EXPECT_EQ(full->text, u"No hay espacio en disco: 3 tickets sin copia");
  EXPECT_EQ(full->icon, platform::BalloonIcon::kError);
  EXPECT_TRUE(Outbox().empty());

  // Room again: written at the next turn of the retry, so that a stop now loses nothing.
  for (int id = 1; id <= 3; ++id) {
    std::filesystem::remove(outbox / ("00000000000" + std::to_string(id) + ".ticket.part"));
  }
  ASSERT_TRUE(parts_.timer.running);
  parts_.timer.Fire();
  EXPECT_EQ(Outbox(), (std::vector<std::string>{"000000000001.ticket", "000000000002.ticket",
                                                "000000000003.ticket"}));
  print::Outbox reopened(parts_.disk, parts_.data.Path(), parts_.clock);
  std::vector<std::u16string> set_aside;
  EXPECT_EQ(reopened.Load(set_aside).size(), 3u);

  // A ticket that prints at once without a copy is said too.
  std::filesystem::create_directories(outbox / "000000000004.ticket.part");
  cocina_->SetOffline(false);
  parts_.timer.Fire();
  EXPECT_TRUE(Print(u"Cocina").sent);
  EXPECT_EQ(balloons.back().text, u"No hay espacio en disco: 1 ticket sin copia");
  EXPECT_EQ(cocina_->tickets.size(), 4u);
}

TEST_F(OutboxTest, ATicketItsPrinterKeepsRefusingIsSetAsideSoTheOnesBehindItGo) {
  int attempts = 0;
  cocina_->on_accept = [&] {
    if (++attempts <= print::PrintService::kRefusalsBeforeSetAside) {
      throw platform::Failure(platform::kPrinterError, u"El controlador rechazó el ticket");
    }
  };
  caja_->SetOffline(true);
  EXPECT_FALSE(Print(u"Cocina", u"UNO").sent);
  EXPECT_FALSE(Print(u"Cocina", u"DOS").sent);
  for (int i = 0; i < 3; ++i) parts_.timer.Fire();
  EXPECT_EQ(ReceivedLines(*cocina_), std::vector<std::u16string>{u"DOS"});
  const auto waiting = service_.Waiting();
  ASSERT_EQ(waiting.size(), 1u);
  EXPECT_TRUE(waiting[0].set_aside);
  EXPECT_EQ(notifier_.balloons.back().text,
            u"Ticket 1 (comanda) no se puede imprimir en Cocina: El controlador rechazó el "
            u"ticket; se aparta para que pasen los siguientes");
  // Kept, not tried by itself again, and printed on "Reintentar".
  parts_.timer.Fire();
  EXPECT_EQ(ReceivedLines(*cocina_).size(), 1u);
  EXPECT_EQ(Outbox(), std::vector<std::string>{"000000000001.ticket"});
  service_.RetryNow();
  EXPECT_EQ(ReceivedLines(*cocina_), (std::vector<std::u16string>{u"DOS", u"UNO"}));
  EXPECT_TRUE(service_.Waiting().empty());
}

TEST_F(OutboxTest, ADamagedIndexOfPrintedTicketsIsRebuiltFromTheirFilesAndKeepsThem) {
  for (const char16_t* text : {u"UNO", u"DOS", u"TRES"}) EXPECT_TRUE(Print(u"Cocina", text).sent);
  const std::filesystem::path impresos = parts_.data.Path() / "impresos";
  {
    std::ofstream index(impresos / "indice", std::ios::binary | std::ios::trunc);
    index << "1\t2024-05-17 13:45:07\tCocina\tcomanda\n"
          << "\x01\x02"
          << "basura\n3\t2024-05";
  }
  print::Outbox reopened(parts_.disk, parts_.data.Path(), parts_.clock);
  FakeTimer timer_after, watch_after;
  RecordingMonitor monitor_after;
  FakeNotifier notifier_after;
  print::PrintService after(printers_, notifier_after, reopened, timer_after, watch_after);
  after.SetMonitor(&monitor_after);
  after.Start();
  ASSERT_EQ(after.Printed().size(), 3u);
  EXPECT_EQ(after.Printed().front().id, 3u);
  EXPECT_EQ(after.Printed().back().id, 1u);
  EXPECT_EQ(Printed(), (std::vector<std::string>{"000000000001.ticket", "000000000002.ticket",
                                                 "000000000003.ticket", "indice"}));
  ASSERT_FALSE(monitor_after.lines.empty());
  EXPECT_EQ(monitor_after.lines[0],
            u"El índice de impresos/ tenía 2 líneas dañadas: se rehízo con los tickets que "
            u"guarda (2 recuperados de sus archivos)");
  EXPECT_TRUE(after.Reprint(2, u"").has_value());
}

}  // namespace
}  // namespace quillon::test
