#include "adapters/network_printer/network_printer.h"

#include <gtest/gtest.h>

#include "support/fake_notifier.h"
#include "support/fake_socket.h"
#include "support/fake_timer.h"

namespace quillon::adapters::network_printer {
namespace {

using platform::JobState;

const std::string kStatusRequest = "\x10\x04\x01\x10\x04\x02\x10\x04\x04";
const std::string kReady = "\x12\x12\x12";
const std::string kPaperOut = std::string("\x1a\x32\x7e");
const std::string kCoverOpen = std::string("\x1a\x16\x12");
const std::string kPaperLow = std::string("\x12\x12\x1e");
const std::string kProcessed(1, '\0');  // the GS r 1 answer: paper present
const std::string kTicket = "ticket\x1dV\x42\x03";
const std::string kKick("\x1bp\x00\x3c\xf0", 5);

class NetworkPrinterTest : public testing::Test {
 protected:
  NetworkPrinterTest() {
    auto socket_owner = std::make_unique<test::FakeSocket>();
    auto timer_owner = std::make_unique<test::FakeTimer>();
    socket_ = socket_owner.get();
    timer_ = timer_owner.get();
    PrinterEvents events{[this](const std::u16string& line) { log_.push_back(line); }, &notifier_,
                         [this] { return now_ms_; }, [this] { ++state_changes_; }};
    printer_ = std::make_unique<NetworkPrinter>(u"Cocina", PrinterAddress{"10.0.0.7", 9100},
                                                std::move(socket_owner), std::move(timer_owner),
                                                std::move(events));
  }

  // Everything sent since the connection was asked for, in one piece.
  std::string Sent() const {
    std::string all;
    for (const std::string& piece : socket_->sent) all += piece;
    return all;
  }
  void Answer(const std::string& bytes) { socket_->Arrives(bytes); }

  test::FakeSocket* socket_;
  test::FakeTimer* timer_;
  test::FakeNotifier notifier_;
  std::vector<std::u16string> log_;
  std::int64_t now_ms_ = 0;
  int state_changes_ = 0;
  std::unique_ptr<NetworkPrinter> printer_;
};

TEST_F(NetworkPrinterTest, AReadyPrinterPrintsAndIsDoneOnlyWhenItAnswersGsR) {
  EXPECT_TRUE(socket_->attempts.empty());  // nothing is opened while nothing prints
  const std::int64_t job = printer_->Submit(kTicket);
  ASSERT_EQ(socket_->attempts.size(), 1U);
  EXPECT_EQ(socket_->attempts[0].host, "10.0.0.7");
  EXPECT_EQ(socket_->attempts[0].port, 9100);
  socket_->Connected();
  EXPECT_EQ(Sent(), kStatusRequest);
  EXPECT_EQ(timer_->delay, NetworkPrinter::kStatusWaitMs);
  Answer(kReady);
  EXPECT_EQ(Sent(), kStatusRequest + kTicket + "\x1dr\x01");
  EXPECT_EQ(printer_->StateOf(job), JobState::kQueued);
  EXPECT_EQ(timer_->delay, NetworkPrinter::kPrintWaitMs);
  Answer(kProcessed);
  EXPECT_EQ(printer_->StateOf(job), JobState::kCompleted);
  EXPECT_EQ(socket_->state, platform::kSocketClosed);
  EXPECT_EQ(printer_->StateText(), u"listo");
  EXPECT_TRUE(log_.empty());
}

TEST_F(NetworkPrinterTest, JobsFollowOneAnotherOnTheSameConnection) {
  const std::int64_t first = printer_->Submit(kTicket);
  const std::int64_t second = printer_->Submit("second");
  socket_->Connected();
  Answer(kReady);
  Answer(kProcessed);
  EXPECT_EQ(printer_->StateOf(first), JobState::kCompleted);
  EXPECT_EQ(printer_->StateOf(second), JobState::kQueued);
  EXPECT_EQ(socket_->attempts.size(), 1U);
  EXPECT_EQ(Sent(), kStatusRequest + kTicket + "\x1dr\x01" + kStatusRequest);
  Answer(kReady);
  Answer(kProcessed);
  EXPECT_EQ(printer_->StateOf(second), JobState::kCompleted);
}

TEST_F(NetworkPrinterTest, AFaultKeepsTheJobBackUntilThePrinterIsReady) {
  const std::int64_t job = printer_->Submit(kTicket);
  socket_->Connected();
  Answer(kPaperOut);
  EXPECT_EQ(printer_->StateOf(job), JobState::kHeld);
  EXPECT_EQ(printer_->Fault(), u"sin papel");
  EXPECT_EQ(Sent(), kStatusRequest);  // the ticket did not go
  EXPECT_EQ(socket_->state, platform::kSocketClosed);
  EXPECT_EQ(timer_->delay, NetworkPrinter::kRecheckMs);
  // Asked again: now the cover is open.
  timer_->Fire();
  socket_->Connected();
  Answer(kCoverOpen);
  EXPECT_EQ(printer_->Fault(), u"tapa abierta");
  EXPECT_EQ(printer_->StateOf(job), JobState::kHeld);
  timer_->Fire();
  socket_->Connected();
  Answer(kReady);
  EXPECT_EQ(printer_->Fault(), u"");
  EXPECT_EQ(printer_->StateOf(job), JobState::kQueued);
  Answer(kProcessed);
  EXPECT_EQ(printer_->StateOf(job), JobState::kCompleted);
  EXPECT_EQ(socket_->attempts.size(), 3U);
  // Told of each new state, once: paper out, cover open, ready; not of a ready answer again.
  EXPECT_EQ(state_changes_, 3);
}

TEST_F(NetworkPrinterTest, APrinterThatCannotBeReachedIsOffAndItsJobWaits) {
  const std::int64_t job = printer_->Submit(kTicket);
  socket_->Fails(10061, u"Conexión rechazada por el servidor");
  EXPECT_EQ(printer_->StateOf(job), JobState::kHeld);
  EXPECT_EQ(printer_->Fault(), u"apagada o desconectada");
  // A connection attempt that never ends counts the same.
  timer_->Fire();
  ASSERT_EQ(socket_->attempts.size(), 2U);
  EXPECT_EQ(timer_->delay, NetworkPrinter::kConnectWaitMs);
  timer_->Fire();
  EXPECT_EQ(printer_->StateOf(job), JobState::kHeld);
  EXPECT_EQ(socket_->state, platform::kSocketClosed);
}

TEST_F(NetworkPrinterTest, APrinterThatAnswersNoStatusIsPrintedToBlindly) {
  const std::int64_t first = printer_->Submit(kTicket);
  socket_->Connected();
  timer_->Fire();  // a second without an answer
  EXPECT_EQ(log_, std::vector<std::u16string>{u"La impresora Cocina no informa su estado"});
  EXPECT_EQ(Sent(), kStatusRequest + kTicket);
  EXPECT_EQ(printer_->StateOf(first), JobState::kCompleted);
  EXPECT_EQ(printer_->StateText(), u"sin estado");
  EXPECT_EQ(state_changes_, 1);
  timer_->Fire();  // the written bytes had their time to leave
  EXPECT_EQ(socket_->state, platform::kSocketClosed);
  // The next job goes without asking, and the log is not told again.
  const std::int64_t second = printer_->Submit("second");
  socket_->Connected();
  EXPECT_EQ(socket_->sent.back(), "second");
  EXPECT_EQ(printer_->StateOf(second), JobState::kCompleted);
  EXPECT_EQ(log_.size(), 1U);
}

TEST_F(NetworkPrinterTest, AJobSentButNotProcessedStaysInThePrinterWithWhatItReports) {
  const std::string big(3 * NetworkPrinter::kChunkBytes, 'x');
  const std::int64_t job = printer_->Submit(big);
  socket_->Connected();
  Answer(kReady);
  EXPECT_EQ(timer_->delay, NetworkPrinter::kPrintWaitMs + 3 * NetworkPrinter::kPrintWaitPerChunkMs);
  socket_->sent.clear();
  timer_->Fire();  // no GS r answer in time: the printer is asked what is wrong
  EXPECT_EQ(Sent(), kStatusRequest);
  Answer(kPaperOut);
  EXPECT_EQ(printer_->Fault(), u"sin papel");
  EXPECT_EQ(printer_->StateOf(job), JobState::kQueued);  // still in the printer, not sent again
  timer_->Fire();
  Answer(kPaperOut);
  EXPECT_EQ(printer_->StateOf(job), JobState::kQueued);
  // The paper is back: the printer prints its buffer and answers GS r.
  Answer(kProcessed);
  EXPECT_EQ(printer_->StateOf(job), JobState::kCompleted);
  EXPECT_EQ(printer_->Fault(), u"");
  EXPECT_EQ(std::count(socket_->sent.begin(), socket_->sent.end(), big), 0);
}

TEST_F(NetworkPrinterTest, TakenBackFromTheBufferOrGivenBackWhenTheConnectionIsLost) {
  const std::int64_t canceled = printer_->Submit(kTicket);
  socket_->Connected();
  Answer(kReady);
  printer_->Cancel(canceled);
  EXPECT_EQ(socket_->sent.back(), std::string(kClearBuffers));
  EXPECT_EQ(printer_->StateOf(canceled), JobState::kCanceled);

  const std::int64_t lost = printer_->Submit(kTicket);
  socket_->Connected();
  Answer(kReady);
  socket_->PeerCloses();
  EXPECT_EQ(printer_->StateOf(lost), JobState::kAborted);
  EXPECT_EQ(printer_->Fault(), u"apagada o desconectada");
  // Its bytes may still be in the buffer: the next connection clears it first.
  socket_->sent.clear();
  printer_->Submit(kTicket);
  socket_->Connected();
  EXPECT_EQ(Sent(), std::string(kClearBuffers) + kStatusRequest);
}

TEST_F(NetworkPrinterTest, AJobOfAnEarlierRunIsGivenBackAndTheBufferClearedBeforeTheNext) {
  EXPECT_EQ(printer_->StateOf(12345), JobState::kAborted);
  printer_->Submit(kTicket);
  socket_->Connected();
  EXPECT_EQ(Sent(), std::string(kClearBuffers) + kStatusRequest);
}

TEST_F(NetworkPrinterTest, PaperNearItsEndIsToldOnceAnHourAndStillPrints) {
  for (int i = 0; i < 3; ++i) {
    const std::int64_t job = printer_->Submit(kTicket);
    socket_->Connected();
    Answer(kPaperLow);
    Answer("\x03");  // GS r: near the end
    EXPECT_EQ(printer_->StateOf(job), JobState::kCompleted);
    now_ms_ += 20 * 60 * 1000;
  }
  ASSERT_EQ(notifier_.balloons.size(), 1U);
  EXPECT_EQ(notifier_.balloons[0].text, u"La impresora Cocina se está quedando sin papel");
  EXPECT_EQ(printer_->StateText(), u"papel por acabarse");
  printer_->Submit(kTicket);
  socket_->Connected();
  Answer(kPaperLow);
  EXPECT_EQ(notifier_.balloons.size(), 2U);
}

TEST_F(NetworkPrinterTest, RawBytesGoNowOrNever) {
  printer_->SubmitNowOrNever(kKick);
  socket_->Connected();
  Answer(kReady);
  EXPECT_EQ(socket_->sent.back(), std::string("\x1bp\x00\x3c\xf0\x1dr\x01", 8));
  Answer(kProcessed);
  // A printer found out of paper drops the kick instead of keeping it.
  printer_->SubmitNowOrNever("kick");
  socket_->Connected();
  Answer(kPaperOut);
  EXPECT_EQ(log_.back(), u"No se envió a la impresora Cocina: está sin papel");
  // Known to be out of paper: refused at once.
  EXPECT_THROW(printer_->SubmitNowOrNever("kick"), platform::Failure);
}

TEST_F(NetworkPrinterTest, APrinterLeftWithAFaultIsAskedOnceAMinute) {
  const std::int64_t job = printer_->Submit(kTicket);
  socket_->Fails(10061, u"Conexión rechazada por el servidor");
  printer_->Cancel(job);  // its ticket moved to another printer
  EXPECT_EQ(timer_->delay, NetworkPrinter::kIdleRecheckMs);
  timer_->Fire();
  ASSERT_EQ(socket_->attempts.size(), 2U);
  socket_->Connected();
  EXPECT_EQ(Sent(), kStatusRequest);
  Answer(kReady);
  EXPECT_EQ(printer_->StateText(), u"listo");
  EXPECT_EQ(socket_->state, platform::kSocketClosed);
  EXPECT_FALSE(timer_->running);  // ready again: nothing more is asked
}

}  // namespace
}  // namespace quillon::adapters::network_printer
