#include "adapters/network_printer/network_printer_system.h"

#include "platform/text.h"
#include "print/escpos_encoder.h"

namespace quillon::adapters::network_printer {
namespace {

class NetworkPrinterQueue final : public platform::PrinterQueue {
 public:
  NetworkPrinterQueue(std::shared_ptr<NetworkPrinter> printer,
                      const platform::PictureDecoder* pictures)
      : printer_(std::move(printer)), pictures_(pictures) {}

  std::u16string DeviceName() const override { return printer_->Name(); }
  // Whatever it reports, the ticket is taken and waits in the printer's line: a fault keeps it
  // back there, as a spooler keeps back a job, and the watch tells the user.
  void CheckReady() override {}
  std::int64_t PrintTicket(const platform::Ticket& ticket) override {
    return printer_->Submit(print::EncodeEscPos(ticket, {.pictures = pictures_}));
  }
  void SendRaw(const std::string& bytes) override { printer_->SubmitNowOrNever(bytes); }
  std::u16string Fault() const override { return printer_->Fault(); }

 private:
  std::shared_ptr<NetworkPrinter> printer_;
  const platform::PictureDecoder* pictures_;
};

}  // namespace

NetworkPrinterSystem::NetworkPrinterSystem(
    const std::vector<std::pair<std::u16string, PrinterAddress>>& printers,
    const SocketMaker& sockets, const TimerMaker& timers, const PrinterEvents& events,
    const platform::PictureDecoder* pictures)
    : pictures_(pictures) {
  for (const auto& [name, address] : printers) {
    printers_[platform::PrinterNameKey(name)] =
        std::make_shared<NetworkPrinter>(name, address, sockets(), timers(), events);
  }
}

std::shared_ptr<NetworkPrinter> NetworkPrinterSystem::Named(std::u16string_view name) const {
  const auto found = printers_.find(platform::PrinterNameKey(name));
  return found == printers_.end() ? nullptr : found->second;
}

std::shared_ptr<platform::PrinterQueue> NetworkPrinterSystem::FindPrinter(
    std::u16string_view name) {
  auto printer = Named(name);
  if (!printer) return nullptr;
  return std::make_shared<NetworkPrinterQueue>(std::move(printer), pictures_);
}

std::vector<platform::JobReport> NetworkPrinterSystem::FollowJobs(
    std::u16string_view printer, const std::vector<std::int64_t>& jobs) {
  const auto found = Named(printer);
  std::vector<platform::JobReport> reports;
  reports.reserve(jobs.size());
  for (const std::int64_t job : jobs) {
    // A printer no longer mapped cannot have it: it left without an error.
    reports.push_back({job, found ? found->StateOf(job) : platform::JobState::kCompleted});
  }
  return reports;
}

void NetworkPrinterSystem::CancelJob(std::u16string_view printer, std::int64_t job) {
  if (const auto found = Named(printer)) found->Cancel(job);
}

std::vector<std::u16string> NetworkPrinterSystem::PrinterNames() {
  std::vector<std::u16string> names;
  for (const auto& [key, printer] : printers_) names.push_back(printer->Name());
  return names;
}

std::vector<KnownPrinter> NetworkPrinterSystem::Known() const {
  std::vector<KnownPrinter> known;
  for (const auto& [key, printer] : printers_) {
    known.push_back({printer->Name(), platform::Utf8ToUtf16(AddressText(printer->Address())),
                     printer->StateText()});
  }
  return known;
}

}  // namespace quillon::adapters::network_printer
