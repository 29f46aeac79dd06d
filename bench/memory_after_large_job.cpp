// How much larger the process stays after one very large job. A kitchen order and an invoice of
// 100,000 products each (or the count given as the first argument) go through the agent's job
// path: Windows-1252 bytes received, framed, parsed, printed through the outbox on spool
// printers, all in a temporary folder. The resident size is read before and after, with small jobs
// run before (so that both figures include what every job leaves, such as the thread's kept blocks)
// and none after (so that nothing of the large job is let go by a later job). Exits 1 when the
// process stays more than 16 MiB larger.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "adapters/spool/spool_printers.h"
#include "app/document_job_handlers.h"
#include "link/job_intake.h"
#include "platform/clock.h"
#include "platform/disk_file_system.h"
#include "platform/text.h"
#include "platform/timer.h"
#include "print/outbox.h"
#include "print/print_engine.h"
#include "print/print_service.h"
#include "shell/printing_options.h"

namespace {

namespace fs = std::filesystem;
using namespace quillon;

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kAllowedMiB = 16.0;

class QuietLog final : public link::ActivityLog {
 public:
  void WriteLog(const std::u16string&) override {}
  void Clear() override {}
};
class NoStatus final : public link::StatusReply {
 public:
  bool SendStatus() override { return false; }
};
class QuietNotifier final : public platform::Notifier {
 public:
  void ShowBalloonTip(const std::u16string&, platform::BalloonIcon, const std::u16string&,
                      int) override {}
};
// Spool printers take every ticket: nothing waits to be tried again.
class NoRetries final : public platform::Timer {
 public:
  void StartOnce(int, std::function<void()>) override {}
  void Stop() override {}
};

double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / kMiB;
}

nlohmann::ordered_json Example(const std::string& name) {
  std::ifstream in(fs::path(QUILLON_SOURCE_DIR) / "examples/jobs" / name);
  return nlohmann::ordered_json::parse(in);
}

// The example job with its list of products repeated up to `count`, as the wire carries it.
std::string LargeJob(const std::string& name, int count) {
  nlohmann::ordered_json job = Example(name);
  nlohmann::ordered_json& products =
      job["tipo"] == "comanda" ? job["dato"][0]["productos"] : job["dato"]["pedido"];
  const nlohmann::ordered_json model = products;
  products = nlohmann::ordered_json::array();
  for (int i = 0; i < count; ++i)
    products.push_back(model[static_cast<std::size_t>(i) % model.size()]);
  return platform::Utf16ToCp1252(platform::Utf8ToUtf16(job.dump()));
}

std::string SmallJob(const std::string& name) {
  return platform::Utf16ToCp1252(platform::Utf8ToUtf16(Example(name).dump()));
}

int Measure(int count) {
  const fs::path work = fs::temp_directory_path() / ("quillon-memoria-" + std::to_string(getpid()));
  const fs::path spool = work / "spool";
  for (const char* printer : {"Cocina", "Bar", "Facturas"}) fs::create_directories(spool / printer);

  const std::string order = LargeJob("comanda_mesa.json", count);
  const std::string invoice = LargeJob("factura_comun.json", count);
  std::string small_jobs = SmallJob("comanda_mostrador.json");
  small_jobs.append(link::MessageFramer::kTerminator)
      .append(SmallJob("factura_comun.json"))
      .append(link::MessageFramer::kTerminator);

  adapters::spool::SpoolPrinterSystem printers(spool, u"Facturas");
  QuietNotifier notifier;
  platform::SystemClock clock;
  platform::DiskFileSystem disk;
  print::Outbox outbox(disk, work, clock);
  NoRetries retries;
  NoRetries watch;
  print::PrintService service(printers, notifier, outbox, retries, watch);
  service.Start();
  print::PrintEngine engine;
  shell::PrintingOptions options([](const std::u16string&) {});
  options.Restore(u"Facturas y PreFactruas,Mesa,Mostrador,Domicilio");
  documents::DocumentContext context{
      engine,  service, notifier,
      options, clock,   (fs::path(QUILLON_SOURCE_DIR) / "examples/jobs/data").string(),
      {},      {}};
  app::DocumentJobHandlers handlers(context, service);
  QuietLog log;
  NoStatus status;
  link::JobIntake intake(log, notifier, handlers, status, link::WireEncoding::kWindows1252,
                         nullptr);

  for (int i = 0; i < 3; ++i) intake.ReceiveBytes(small_jobs);
  const double before = ResidentMiB();
  intake.ReceiveBytes(std::string(order).append(link::MessageFramer::kTerminator));
  const double after_order = ResidentMiB();
  intake.ReceiveBytes(std::string(invoice).append(link::MessageFramer::kTerminator));
  const double after = ResidentMiB();
  fs::remove_all(work);

  std::printf("productos por trabajo: %d; comanda %.1f MiB, factura %.1f MiB en el cable\n", count,
              static_cast<double>(order.size()) / kMiB, static_cast<double>(invoice.size()) / kMiB);
  std::printf("residente antes: %.1f MiB; tras la comanda: %.1f MiB; tras la factura: %.1f MiB\n",
              before, after_order, after);
  std::printf("crecimiento: %.1f MiB (se admiten %.0f MiB)\n", after - before, kAllowedMiB);
  return after - before <= kAllowedMiB ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Measure(argc > 1 ? std::atoi(argv[1]) : 100000);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 2;
  }
}
