// Job -> spool printer: a job's text framed, parsed, dispatched, its ticket drawn and written into
// a spool printer's folder, with the outbox in between and straight to the printer as the agent
// did before it had one, measured in one run. And one spool ticket with 0 and 30,000 files in the
// printer's folder: its cost must not grow with them. And an invoice whose logo.bmp cannot be
// printed (a header claiming 1 x 2147483647 pixels, PNG bytes that are no picture, an empty
// file): it must print without the logo in well under a second, with a ticket under 1 MB.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "adapters/spool/spool_printers.h"
#include "app/document_job_handlers.h"
#include "bench_jobs.h"
#include "link/job_intake.h"
#include "platform/disk_file_system.h"
#include "print/outbox.h"
#include "print/print_service.h"

namespace {

namespace fs = std::filesystem;
using namespace quillon;

fs::path FreshFolder() {
  std::random_device seed;
  fs::path path = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(seed()));
  fs::create_directories(path);
  return path;
}

class Silent final : public platform::Notifier, public link::ActivityLog, public link::StatusReply {
 public:
  void ShowBalloonTip(const std::u16string&, platform::BalloonIcon, const std::u16string&,
                      int) override {}
  void WriteLog(const std::u16string&) override {}
  void Clear() override {}
  bool SendStatus() override { return false; }
};

class AllOptions final : public documents::PrintOptions {
 public:
  bool IsChecked(documents::PrintOption) const override { return true; }
};

// Spool printers take every ticket: nothing waits to be tried again or followed.
class NoTimers final : public platform::Timer {
 public:
  void StartOnce(int, std::function<void()>) override {}
  void Stop() override {}
};

// The way out before the outbox: straight to the printer found by name, or the default one.
class StraightToPrinter final : public print::TicketSink {
 public:
  explicit StraightToPrinter(platform::PrinterSystem& printers) : printers_(printers) {}
  print::Delivery Print(print::DrawnTicket ticket) override {
    auto queue = printers_.FindPrinter(ticket.printer);
    if (!queue) queue = printers_.FindPrinter(printers_.DefaultPrinterName());
    queue->CheckReady();
    queue->PrintTicket(ticket.content);
    queue->AfterAccepted();  // the spool printer's picture of the paper, as before
    return {true, queue->DeviceName()};
  }

 private:
  platform::PrinterSystem& printers_;
};

// Everything between the received text and the spool folder, in folders of its own.
struct PrintPath {
  explicit PrintPath(bool outbox) : use_outbox(outbox) {
    for (const char* printer : {"Cocina", "Bar", "Facturas"})
      fs::create_directories(spool / printer);
    service.Start();
  }
  ~PrintPath() {
    std::error_code error;
    fs::remove_all(spool, error);
    fs::remove_all(data, error);
  }
  void Run(const std::string& job) {
    link::JobIntake intake(silent, silent, handlers, silent, link::WireEncoding::kUtf8, nullptr);
    intake.ReceiveBytes(job);
  }

  bool use_outbox;
  fs::path spool = FreshFolder();
  fs::path data = FreshFolder();
  Silent silent;
  AllOptions options;
  NoTimers timers;
  platform::SystemClock clock;
  adapters::spool::SpoolPrinterSystem printers{spool, u"Facturas"};
  platform::DiskFileSystem disk;
  print::Outbox outbox{disk, data, clock};
  print::PrintService service{printers, silent, outbox, timers, timers};
  StraightToPrinter straight{printers};
  print::TicketSink* sink = use_outbox ? static_cast<print::TicketSink*>(&service) : &straight;
  print::PrintEngine engine;
  documents::DocumentContext context{engine, *sink, silent, options, clock, data.string(), {}, {}};
  app::DocumentJobHandlers handlers{context, service};
};

std::string Framed(const std::string& job) { return job + "_endMessage_"; }

void JobToSpool(benchmark::State& state, const std::string& job) {
  PrintPath path(state.range(0) == 1);
  const std::string text = Framed(job);
  for (auto _ : state) path.Run(text);
  state.SetLabel(state.range(0) == 1 ? "con outbox" : "sin outbox");
}

void BM_KitchenOrderToSpool(benchmark::State& state) {
  JobToSpool(state, bench::KitchenOrderJob());
}
void BM_Invoice60ToSpool(benchmark::State& state) { JobToSpool(state, bench::InvoiceJob(60)); }
void BM_Invoice1000ToSpool(benchmark::State& state) { JobToSpool(state, bench::InvoiceJob(1000)); }
BENCHMARK(BM_KitchenOrderToSpool)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Invoice60ToSpool)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Invoice1000ToSpool)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One kitchen ticket into the Cocina folder, which already holds state.range(0) files.
void BM_BadLogoInvoiceToSpool(benchmark::State& state) {
  PrintPath path(true);
  const std::string kinds[] = {
      std::string("BM>\0\0\0\0\0\0\0>\0\0\0(\0\0\0\x01\0\0\0\xFF\xFF\xFF\x7F\x01\0\x18\0", 30) +
          std::string(32, '\0'),
      std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), std::string()};
  std::ofstream(path.data / "logo.bmp", std::ios::binary) << kinds[state.range(0)];
  const std::string text = Framed(bench::InvoiceJob(60));
  for (auto _ : state) path.Run(text);
  std::uintmax_t largest = 0;
  for (const auto& entry : fs::directory_iterator(path.spool / "Facturas")) {
    if (entry.path().extension() == ".escpos") largest = std::max(largest, entry.file_size());
  }
  state.counters["ticket_bytes"] = static_cast<double>(largest);
  state.SetLabel(state.range(0) == 0   ? "cabecera enorme"
                 : state.range(0) == 1 ? "PNG roto"
                                       : "vacio");
}
BENCHMARK(BM_BadLogoInvoiceToSpool)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SpoolTicketAmongFiles(benchmark::State& state) {
  PrintPath path(false);
  for (long i = 0; i < state.range(0); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%06ld.txt", i + 1);
    std::ofstream(path.spool / "Cocina" / name) << "x\n";
  }
  const std::string text = Framed(bench::KitchenOrderJob());
  for (auto _ : state) path.Run(text);
}
BENCHMARK(BM_SpoolTicketAmongFiles)->Arg(0)->Arg(30000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
