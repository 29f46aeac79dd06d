// A job the server sends again because its reply may have been lost hands over only the tickets
// that did not go the first time; every other repeat prints again.
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/link_fixture.h"
#include "support/fake_status_reply.h"

namespace quillon::test {
namespace {

// One ticket per order of a kitchen order, named after its area. "Falla" fails before it is
// stored, "Guardado" once it is in the outbox.
void HandOverTickets(link::RecentJobs& recent, const json::Value& orders,
                     std::vector<std::u16string>& tickets) {
  for (const json::Value& order : orders.AsCollection()) {
    const std::u16string area = order[u"area"].ToText();
    recent.HandOverOnce([&] {
      if (area == u"Guardado") recent.TicketStored();
      if (area == u"Falla" || area == u"Guardado") {
        throw std::runtime_error("la impresora no lo tomó");
      }
      tickets.push_back(area);
    });
  }
}

const std::string kOrder = Job("comanda", R"([{"area":"Cocina"},{"area":"Bar"}])");
const std::string kOther = Job("comanda", R"([{"area":"Cocina"},{"area":"Postres"}])");

class ResentJobsTest : public LinkTest {
 protected:
  ResentJobsTest() : LinkTest(link::WireEncoding::kWindows1252, true) {
    handlers_.during_call = [this](const std::string&) {
      HandOverTickets(recent_, handlers_.calls.back().argument, tickets_);
    };
    ConnectAndForget();
  }

  void Deliver(const std::string& job) { socket_.Arrives(job + kTerminator); }
  // The server closes the connection; the watch opens a new one.
  void Reconnect() {
    socket_.PeerCloses();
    connection_.OnWatchTick();
    socket_.Connected();
  }
  void WatchTicks(int count) {
    for (int i = 0; i < count; ++i) connection_.OnWatchTick();
  }
  int ResentLines() const {
    int count = 0;
    for (const std::u16string& line : log_.history) {
      count += line == link::JobIntake::kResentLine ? 1 : 0;
    }
    return count;
  }
  // The balloons that told the staff of tickets left out as already printed.
  std::vector<std::u16string> ResentBalloons() const {
    std::vector<std::u16string> texts;
    for (const auto& balloon : notifier_.balloons) {
      if (balloon.title == link::JobIntake::kResentTitle) texts.push_back(balloon.text);
    }
    return texts;
  }
  int StatusReplies() const {
    int count = 0;
    for (const std::string& sent : socket_.sent) count += sent == kStatus0 ? 1 : 0;
    return count;
  }

  std::vector<std::u16string> tickets_;
};

TEST_F(ResentJobsTest, AJobSentAgainFirstAfterADropRightAfterItsReplyPrintsOnce) {
  Deliver(kOrder);
  Reconnect();
  Deliver(kOrder);
  EXPECT_EQ(tickets_, (std::vector<std::u16string>{u"Cocina", u"Bar"}));
  EXPECT_EQ(ResentLines(), 1);
  EXPECT_EQ(StatusReplies(), 2);  // the repeat is answered like any job
  // Had the server meant a second order, the staff knows what to reprint.
  ASSERT_EQ(ResentBalloons().size(), 1u);
  EXPECT_EQ(ResentBalloons()[0].rfind(u"2 tickets ya impresos no se imprimieron de nuevo", 0), 0u);

  // Dropped again before its second reply settled: still once.
  Reconnect();
  Deliver(kOrder);
  EXPECT_EQ(tickets_.size(), 2u);

  // A waiter asking twice on the same connection gets two tickets.
  Deliver(kOrder);
  EXPECT_EQ(tickets_.size(), 4u);
  EXPECT_EQ(ResentLines(), 2);
  EXPECT_EQ(ResentBalloons().size(), 2u);
}

TEST_F(ResentJobsTest, RepeatsThatTheServerMeantPrintAgain) {
  // The connection stayed up long enough after the reply: the server had it.
  Deliver(kOrder);
  WatchTicks(link::RecentJobs::kSettleTicks);
  Reconnect();
  Deliver(kOrder);
  EXPECT_EQ(tickets_.size(), 4u);

  // A first job of a connection that is not a repeat settles the earlier ones: a server that
  // sends again what went unanswered sends it first.
  Reconnect();
  Deliver(kOther);
  Reconnect();
  Deliver(kOrder);
  EXPECT_EQ(tickets_.size(), 8u);

  // Only the last jobs are remembered.
  Reconnect();
  Deliver(kOther);
  for (int i = 0; i < static_cast<int>(link::RecentJobs::kKept); ++i) {
    Deliver(Job("comanda", R"([{"area":"Bar","n":)" + std::to_string(i) + "}]"));
  }
  tickets_.clear();
  Reconnect();
  Deliver(kOther);
  EXPECT_EQ(tickets_.size(), 2u);
  EXPECT_EQ(ResentLines(), 0);
  EXPECT_TRUE(ResentBalloons().empty());
}

TEST_F(ResentJobsTest, AReplyNeverWrittenLeavesTheJobToBeSentAgain) {
  handlers_.during_call = [this](const std::string&) {
    HandOverTickets(recent_, handlers_.calls.back().argument, tickets_);
    socket_.PeerCloses();  // the link goes while the job prints: no reply goes out
  };
  Deliver(kOrder);
  EXPECT_EQ(StatusReplies(), 0);
  connection_.OnWatchTick();
  socket_.Connected();
  WatchTicks(link::RecentJobs::kSettleTicks);
  handlers_.during_call = [this](const std::string&) {
    HandOverTickets(recent_, handlers_.calls.back().argument, tickets_);
  };
  Deliver(kOrder);
  EXPECT_EQ(tickets_.size(), 2u);
  EXPECT_EQ(ResentLines(), 1);
}

TEST_F(ResentJobsTest, ATicketStoredBeforeItsHandOverEndedIsTaken) {
  const std::string job = Job("comanda", R"([{"area":"Cocina"},{"area":"Guardado"}])");
  Deliver(job);
  Reconnect();
  handlers_.during_call = [this](const std::string&) {
    for (const json::Value& order : handlers_.calls.back().argument.AsCollection()) {
      recent_.HandOverOnce([&] { tickets_.push_back(order[u"area"].ToText()); });
    }
  };
  Deliver(job);
  EXPECT_EQ(tickets_, (std::vector<std::u16string>{u"Cocina"}));
  EXPECT_EQ(ResentLines(), 1);
}

// After a crash the file tells what the job had put in the outbox: only the rest goes.
TEST(ResentJobsAfterRestartTest, OnlyTheTicketsNotTakenBeforeGo) {
  TempFolder folder;
  platform::DiskFileSystem disk;
  const auto file = folder.Path() / "trabajos_recientes";
  const std::string job = Job("comanda", R"([{"area":"Cocina"},{"area":"Falla"}])");
  std::vector<std::u16string> tickets;
  FakeActivityLog log;
  FakeNotifier notifier;
  FakeStatusReply status;
  {
    link::RecentJobs recent(disk, file);
    FakeJobHandlers handlers;
    handlers.during_call = [&](const std::string&) {
      HandOverTickets(recent, handlers.calls.back().argument, tickets);
    };
    link::JobIntake intake(log, notifier, handlers, status, link::WireEncoding::kUtf8, nullptr,
                           &recent);
    intake.ReceiveBytes(job + kTerminator);
  }
  EXPECT_EQ(tickets, (std::vector<std::u16string>{u"Cocina"}));

  // The second ticket's printer takes it now; a damaged line in the file is no memory.
  std::ofstream(file, std::ios::app) << "basura 1 2\n";
  link::RecentJobs recent(disk, file);
  FakeJobHandlers handlers;
  handlers.during_call = [&](const std::string&) {
    for (const json::Value& order : handlers.calls.back().argument.AsCollection()) {
      recent.HandOverOnce([&] { tickets.push_back(order[u"area"].ToText()); });
    }
  };
  link::JobIntake intake(log, notifier, handlers, status, link::WireEncoding::kUtf8, nullptr,
                         &recent);
  intake.ReceiveBytes(job + kTerminator);
  EXPECT_EQ(tickets, (std::vector<std::u16string>{u"Cocina", u"Falla"}));
  EXPECT_EQ(log.history.back(), kFin);
  EXPECT_EQ(status.sent, 2);
}

// A job of three tickets stopped while its second is handed over, then sent again after the
// restart; `reached_outbox`: whether that ticket got to the outbox before the stop.
void StopWhileHandingOver(bool reached_outbox) {
  const std::string job =
      Job("comanda", R"([{"area":"Cocina"},{"area":"Parrilla"},{"area":"Bar"}])");
  TempFolder folder;
  platform::DiskFileSystem disk;
  const auto file = folder.Path() / "trabajos_recientes";
  std::set<std::string> outbox;  // the origins of the tickets the outbox holds
  std::string on_disk;           // the record file as the stop left it
  FakeActivityLog log;
  FakeNotifier notifier;
  FakeStatusReply status;
  {
    link::RecentJobs recent(disk, file);
    FakeJobHandlers handlers;
    const auto hand_over = [&](const json::Value& order) {
      recent.HandOverOnce([&] {
        const bool stop_here = order[u"area"].ToText() == u"Parrilla";
        if (!stop_here || reached_outbox) outbox.insert(recent.TicketOrigin());
        if (stop_here && on_disk.empty()) on_disk = folder.Read("trabajos_recientes");
      });
    };
    handlers.during_call = [&](const std::string&) {
      for (const json::Value& order : handlers.calls.back().argument.AsCollection()) {
        hand_over(order);
      }
    };
    link::JobIntake intake(log, notifier, handlers, status, link::WireEncoding::kUtf8, nullptr,
                           &recent);
    intake.ReceiveBytes(job + kTerminator);
  }
  ASSERT_FALSE(on_disk.empty());
  folder.Write("trabajos_recientes", on_disk);
  const std::set<std::string> kept_at_stop = outbox;

  link::RecentJobs recent(disk, file,
                          [&](const std::string& origin) { return kept_at_stop.contains(origin); });
  std::vector<std::u16string> again;
  FakeJobHandlers handlers;
  handlers.during_call = [&](const std::string&) {
    for (const json::Value& order : handlers.calls.back().argument.AsCollection()) {
      recent.HandOverOnce([&] { again.push_back(order[u"area"].ToText()); });
    }
  };
  link::JobIntake intake(log, notifier, handlers, status, link::WireEncoding::kUtf8, nullptr,
                         &recent);
  intake.ReceiveBytes(job + kTerminator);
  if (reached_outbox) {
    EXPECT_EQ(again, std::vector<std::u16string>{u"Bar"});
  } else {
    EXPECT_EQ(again, (std::vector<std::u16string>{u"Parrilla", u"Bar"}));
  }
}

// A stop in the instant a ticket is handed over: the record says which ticket that was, and the
// outbox whether it got there; each ticket goes once either way.
TEST(ResentJobsAfterRestartTest, ATicketCaughtByAStopWhileHandedOverGoesOnce) {
  for (const bool reached_outbox : {true, false}) {
    SCOPED_TRACE(reached_outbox ? "en el outbox" : "sin llegar al outbox");
    StopWhileHandingOver(reached_outbox);
  }
}

}  // namespace
}  // namespace quillon::test
