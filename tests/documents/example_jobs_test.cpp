// Every job of examples/jobs goes the whole road (framing, parsing, dispatch, document, printer)
// and each printer's ticket is compared whole with the reviewed ticket under expected/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/document_job_handlers.h"
#include "document_bench.h"
#include "link/job_intake.h"
#include "platform/text.h"
#include "support/fake_activity_log.h"
#include "support/fake_status_reply.h"

namespace quillon::test {
namespace {

const std::filesystem::path kJobs = std::filesystem::path(QUILLON_SOURCE_DIR) / "examples/jobs";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> ExpectedLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::istringstream text(ReadFile(path));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

class ExampleJobs : public ::testing::TestWithParam<const char*> {
 protected:
  void RunJob(const std::string& name) {
    bench_.context.data_dir = (kJobs / "data").string();
    app::DocumentJobHandlers handlers(bench_.context, bench_.service);
    link::JobIntake intake(log_, bench_.notifier, handlers, status_, link::WireEncoding::kUtf8,
                           nullptr);
    intake.ReceiveBytes(ReadFile(kJobs / (name + ".json")) + "_endMessage_");
  }

  DocumentBench bench_;
  FakeActivityLog log_;
  FakeStatusReply status_;
};

TEST_P(ExampleJobs, PrintsTheReviewedTickets) {
  const std::string name = GetParam();
  RunJob(name);
  const std::filesystem::path expected = kJobs / "expected" / name;
  ASSERT_TRUE(std::filesystem::is_directory(expected)) << expected;

  int tickets = 0;
  for (const char16_t* printer : {u"Cocina", u"Bar", u"Facturas"}) {
    const std::string printer_name = platform::Utf16ToUtf8(printer);
    const auto text_file = expected / (printer_name + ".txt");
    const auto raw_file = expected / (printer_name + ".raw");
    const auto& queue = *bench_.printers.Queue(printer);
    if (std::filesystem::exists(text_file)) {
      ASSERT_EQ(queue.tickets.size(), 1u) << printer_name;
      EXPECT_EQ(TicketLines(queue.tickets.front()), ExpectedLines(text_file)) << printer_name;
      ++tickets;
    } else {
      EXPECT_TRUE(queue.tickets.empty()) << printer_name;
    }
    if (std::filesystem::exists(raw_file)) {
      ASSERT_EQ(queue.raw_jobs.size(), 1u) << printer_name;
      EXPECT_EQ(queue.raw_jobs.front(), ReadFile(raw_file));
    } else {
      EXPECT_TRUE(queue.raw_jobs.empty()) << printer_name;
    }
  }
  // One information balloon per ticket, no warnings (a job left unprinted would add one).
  ASSERT_EQ(bench_.notifier.balloons.size(), static_cast<std::size_t>(tickets));
  for (const Balloon& balloon : bench_.notifier.balloons) {
    EXPECT_EQ(balloon.icon, platform::BalloonIcon::kInformation)
        << platform::Utf16ToUtf8(balloon.text);
  }
  EXPECT_EQ(status_.sent, 1);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleJobs,
                         ::testing::Values("comanda_mesa", "comanda_mostrador", "comanda_domicilio",
                                           "anulacion", "prefactura_propina", "factura_cerrada",
                                           "factura_domicilio", "factura_comun", "factura_55mm",
                                           "cajon"));

}  // namespace
}  // namespace quillon::test
