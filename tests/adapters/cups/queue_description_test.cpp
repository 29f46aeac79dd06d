// Decisions taken from CUPS's description of a queue: backend and readiness.
#include "adapters/cups/queue_description.h"

#include <gtest/gtest.h>

namespace quillon::adapters::cups {
namespace {

QueueDescription Queue(std::string make_and_model, std::string forced = "") {
  QueueDescription queue;
  queue.name = "Cocina";
  queue.make_and_model = std::move(make_and_model);
  queue.forced_backend = std::move(forced);
  return queue;
}

TEST(CupsBackend, RawQueuesGetBytesAndQueuesWithADriverGetPages) {
  EXPECT_EQ(ChooseBackend(Queue("Local Raw Printer")), Backend::kRaw);
  EXPECT_EQ(ChooseBackend(Queue("EPSON TM-T20II, driver 1.0")), Backend::kDriver);
  EXPECT_EQ(ChooseBackend(Queue("Generic PCL Laser Printer")), Backend::kDriver);
  EXPECT_EQ(ChooseBackend(Queue("")), Backend::kDriver);  // a remote queue says nothing of itself
  EXPECT_EQ(ChooseBackend(Queue("local raw printer")), Backend::kDriver);
}

TEST(CupsBackend, TheQueueOptionOverridesTheDescription) {
  EXPECT_EQ(ChooseBackend(Queue("Local Raw Printer", "driver")), Backend::kDriver);
  EXPECT_EQ(ChooseBackend(Queue("Generic PCL Laser Printer", "raw")), Backend::kRaw);
  EXPECT_EQ(ChooseBackend(Queue("Generic PCL Laser Printer", "RAW")), Backend::kRaw);
  // Anything else is not a choice: the description decides.
  EXPECT_EQ(ChooseBackend(Queue("Generic PCL Laser Printer", "escpos")), Backend::kDriver);
  EXPECT_EQ(ChooseBackend(Queue("Local Raw Printer", "pages")), Backend::kRaw);
}

TEST(CupsReadiness, StoppedOrRejectingQueuesCannotPrint) {
  QueueDescription queue = Queue("Local Raw Printer");
  for (const int state : {3, 4}) {
    queue.state = state;
    EXPECT_FALSE(NotReadyReason(queue)) << state;
  }
  queue.state = 5;
  EXPECT_EQ(NotReadyReason(queue), u"La impresora está detenida en CUPS.");
  queue.accepting_jobs = false;
  EXPECT_EQ(NotReadyReason(queue), u"La impresora está detenida en CUPS.");
  queue.state = 3;
  EXPECT_EQ(NotReadyReason(queue), u"La impresora no acepta trabajos en CUPS.");
}

}  // namespace
}  // namespace quillon::adapters::cups
