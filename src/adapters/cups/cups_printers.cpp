#include "adapters/cups/cups_printers.h"

#include <cups/cups.h>

#include <cstdlib>

#include "adapters/cups/driver_pages.h"
#include "adapters/cups/qt_picture_decoder.h"
#include "platform/text.h"
#include "print/escpos_encoder.h"

namespace quillon::adapters::cups {
namespace {

constexpr const char* kJobTitle = "Quillon";

platform::Failure ServerError(const std::u16string& what) {
  return platform::Failure(platform::kPrinterError, what + u": " + platform::Utf8ToUtf16(cupsLastErrorString()));
}

// The destinations of the server; freed when it goes out of scope.
class Destinations {
 public:
  Destinations() { count_ = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_); }
  ~Destinations() { cupsFreeDests(count_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;
  const cups_dest_t* begin() const { return dests_; }
  const cups_dest_t* end() const { return dests_ + count_; }

 private:
  int count_ = 0;
  cups_dest_t* dests_ = nullptr;
};

std::string Option(const cups_dest_t& dest, const char* name) {
  const char* value = cupsGetOption(name, dest.num_options, dest.options);
  return value ? value : "";
}

}  // namespace

std::optional<QueueDescription> DescribeQueue(const std::string& name) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
  if (!dest) {
    // libcups reports a server it cannot reach as a missing queue too: ask the server once more.
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"));
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE ||
        cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
      return std::nullopt;
    }
    throw ServerError(u"No se pudo consultar el servidor de impresión CUPS");
  }
  QueueDescription queue;
  queue.name = dest->name;
  queue.state = std::atoi(Option(*dest, "printer-state").c_str());
  queue.accepting_jobs = Option(*dest, "printer-is-accepting-jobs") != "false";
  queue.make_and_model = Option(*dest, "printer-make-and-model");
  queue.forced_backend = Option(*dest, "quillon-backend");
  cupsFreeDests(1, dest);
  return queue;
}

std::u16string CupsPrinterQueue::DeviceName() const { return platform::Utf8ToUtf16(name_); }

QueueDescription CupsPrinterQueue::ReadyQueue() const {
  const auto queue = DescribeQueue(name_);
  if (!queue) throw platform::Failure(platform::kPrinterError, u"La impresora no está instalada en CUPS.");
  if (const auto reason = NotReadyReason(*queue)) throw platform::Failure(platform::kPrinterError, *reason);
  return *queue;
}

void CupsPrinterQueue::CheckReady() { ReadyQueue(); }

void CupsPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  // Checked again: a job left on a stopped queue would come out of the printer much later.
  if (ChooseBackend(ReadyQueue()) == Backend::Driver) {
    PrintTicketPages(name_, ticket);
    return;
  }
  const QtPictureDecoder pictures;
  const std::string bytes = print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &pictures});
  SendRaw(bytes);
}

void CupsPrinterQueue::SendRaw(const std::string& bytes) {
  ReadyQueue();
  if (bytes.empty()) return;  // nothing to print is no job at all
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name_.c_str(), kJobTitle, 0, nullptr);
  if (job == 0) throw ServerError(u"CUPS no aceptó el trabajo");
  auto fail = [&](const std::u16string& what) {
    platform::Failure error = ServerError(what);
    cupsCancelJob2(CUPS_HTTP_DEFAULT, name_.c_str(), job, 0);
    return error;
  };
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, name_.c_str(), job, kJobTitle, CUPS_FORMAT_RAW, 1) !=
      HTTP_STATUS_CONTINUE) {
    throw fail(u"CUPS no aceptó el documento");
  }
  if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
    cupsFinishDocument(CUPS_HTTP_DEFAULT, name_.c_str());
    throw fail(u"No se pudieron enviar los datos a CUPS");
  }
  if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name_.c_str()) != IPP_STATUS_OK) {
    throw fail(u"CUPS no completó el trabajo");
  }
}

std::vector<std::shared_ptr<platform::PrinterQueue>> CupsPrinterSystem::InstalledPrinters() {
  std::vector<std::string> names;
  for (const cups_dest_t& dest : Destinations()) {
    if (!dest.instance) names.emplace_back(dest.name);  // instances are the same queue again
  }
  SortQueueNames(names);
  std::vector<std::shared_ptr<platform::PrinterQueue>> queues;
  queues.reserve(names.size());
  for (auto& name : names) queues.push_back(std::make_shared<CupsPrinterQueue>(std::move(name)));
  return queues;
}

std::u16string CupsPrinterSystem::DefaultPrinterName() {
  for (const cups_dest_t& dest : Destinations()) {
    if (dest.is_default) return platform::Utf8ToUtf16(dest.name);
  }
  return {};
}

}  // namespace quillon::adapters::cups
