// The outbox when the disk fails it, through a file system that refuses calls or fills up: no
// ticket is lost and none prints twice, and what a failure left is put right at the next start.
#include "print/outbox.h"

#include <gtest/gtest.h>

#include <memory>

#include "print/print_service.h"
#include "support/fake_file_system.h"
#include "support/fake_printers.h"
#include "support/one_line_tickets.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

class FailingDiskTest : public ::testing::Test {
 protected:
  FailingDiskTest() {
    cocina_ = printers_.AddPrinter(u"Cocina");
    printers_.SetDefaultName(u"Cocina");
  }

  // The next run of the program on the same files.
  struct Restart {
    Restart(FakePrinterSystem& printers, FakeFileSystem& files, const ServiceParts& before)
        : outbox(files, before.data.Path(), before.clock),
          service(printers, notifier, outbox, timer, watch) {
      service.SetMonitor(&monitor);
      service.Start();
    }
    FakeNotifier notifier;
    FakeTimer timer;
    FakeTimer watch;
    RecordingMonitor monitor;
    print::Outbox outbox;
    print::PrintService service;
  };

  FakePrinterSystem printers_;
  FakeFileSystem files_;
  ServiceParts parts_{printers_, files_};
  std::shared_ptr<FakePrinterQueue> cocina_;
  const std::filesystem::path outbox_ = parts_.data.Path() / "outbox";
  const std::filesystem::path impresos_ = parts_.data.Path() / "impresos";
};

TEST_F(FailingDiskTest, APrintedTicketWhoseMoveIsRefusedStaysListedAndNeverPrintsAgain) {
  // The move out of the outbox refused alone, and together with the removal of the ticket there.
  for (const bool removal_refused : {false, true}) {
    SCOPED_TRACE(removal_refused);
    const std::uint64_t id = removal_refused ? 2 : 1;
    const std::filesystem::path ticket = outbox_ / ("00000000000" + std::to_string(id) + ".ticket");
    files_.Refuse(FileCall::kRename, ticket);
    if (removal_refused) files_.Refuse(FileCall::kRemove, ticket);
    const std::size_t printed_before = cocina_->tickets.size();
    const int refused_before = files_.RefusedCalls(FileCall::kRename);

    EXPECT_TRUE(parts_.service.Print(OneLineTicket(u"Cocina", u"UNO")).sent);
    EXPECT_EQ(files_.RefusedCalls(FileCall::kRename), refused_before + 1);
    ASSERT_FALSE(parts_.service.Printed().empty());
    EXPECT_EQ(parts_.service.Printed().front().id, id);
    EXPECT_TRUE(parts_.service.Waiting().empty());
    EXPECT_TRUE(files_.Exists(impresos_ / ticket.filename()));
    EXPECT_EQ(files_.Exists(ticket), removal_refused);

    files_.Allow();
    Restart after(printers_, files_, parts_);
    EXPECT_TRUE(after.service.Waiting().empty());
    after.timer.Fire();
    EXPECT_EQ(cocina_->tickets.size(), printed_before + 1);
    EXPECT_FALSE(files_.Exists(ticket));
    ASSERT_FALSE(after.service.Printed().empty());
    EXPECT_EQ(after.service.Printed().front().id, id);
    EXPECT_TRUE(after.outbox.ReadPrinted(id).has_value());
  }
}

TEST_F(FailingDiskTest, ADiskThatFillsWhileATicketIsWrittenPrintsItWithoutCopyAndLeavesNoPart) {
  // Room for part of an index line, not for a ticket.
  files_.SetSpaceLeft(10);
  EXPECT_TRUE(parts_.service.Print(OneLineTicket(u"Cocina", u"UNO")).sent);
  EXPECT_EQ(ReceivedLines(*cocina_), std::vector<std::u16string>{u"UNO"});
  ASSERT_FALSE(parts_.notifier.balloons.empty());
  EXPECT_EQ(parts_.notifier.balloons.back().text, u"No hay espacio en disco: 1 ticket sin copia");
  EXPECT_EQ(parts_.notifier.balloons.back().icon, platform::BalloonIcon::kError);
  ASSERT_FALSE(parts_.monitor.lines.empty());
  EXPECT_TRUE(parts_.monitor.lines.front().ends_with(u": se envía sin copia"));
  EXPECT_EQ(files_.Names(outbox_), std::vector<std::string>{});
  EXPECT_EQ(files_.Names(impresos_), std::vector<std::string>{"indice"});
  EXPECT_EQ(files_.ReadFile(impresos_ / "indice")->size(), 10u);

  // Room again: the start after it finds the index line cut short and writes the index anew.
  files_.SetSpaceLeftUnbounded();
  Restart after(printers_, files_, parts_);
  ASSERT_FALSE(after.monitor.lines.empty());
  EXPECT_EQ(after.monitor.lines.front(),
            u"El índice de impresos/ tenía 1 líneas dañadas: se rehízo con los tickets que "
            u"guarda (0 recuperados de sus archivos)");
  EXPECT_EQ(files_.ReadFile(impresos_ / "indice"), "");
  EXPECT_TRUE(after.service.Waiting().empty());
  EXPECT_EQ(cocina_->tickets.size(), 1u);
}

}  // namespace
}  // namespace quillon::test
