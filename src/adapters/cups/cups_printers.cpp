#include "adapters/cups/cups_printers.h"

#include <cups/cups.h>

#include "adapters/cups/driver_pages.h"
#include "adapters/cups/qt_picture_decoder.h"
#include "platform/text.h"
#include "print/escpos_encoder.h"

namespace quillon::adapters::cups {
namespace {

constexpr const char* kJobTitle = "Quillon";

platform::Failure ServerError(const std::u16string& what) {
  return platform::Failure(platform::kPrinterError,
                           what + u": " + platform::Utf8ToUtf16(cupsLastErrorString()));
}

platform::Failure Unreachable() {
  return ServerError(u"No se pudo consultar el servidor de impresión CUPS");
}

bool Failed(ipp_status_t status) { return status > IPP_STATUS_OK_EVENTS_COMPLETE; }

// Frees an IPP message when it goes out of scope.
struct IppMessage {
  explicit IppMessage(ipp_t* message) : ipp(message) {}
  ~IppMessage() { ippDelete(ipp); }
  IppMessage(const IppMessage&) = delete;
  IppMessage& operator=(const IppMessage&) = delete;
  ipp_t* ipp;
};

// The queue's URI on the server; `resource` receives its path.
std::string QueueUri(const std::string& name, std::string* resource) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", name.c_str());
  if (resource != nullptr) {
    char scheme[32], user[256], host[256], path[HTTP_MAX_URI];
    int port = 0;
    httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host,
                    sizeof host, &port, path, sizeof path);
    *resource = path;
  }
  return uri;
}

std::string Text(ipp_t* response, const char* attribute, ipp_tag_t tag) {
  ipp_attribute_t* found = ippFindAttribute(response, attribute, tag);
  const char* value = found ? ippGetString(found, 0, nullptr) : nullptr;
  return value ? value : "";
}

}  // namespace

std::optional<QueueDescription> DescribeQueue(const std::string& name) {
  static const char* const kAttributes[] = {"printer-name", "printer-state",
                                            "printer-is-accepting-jobs", "printer-make-and-model",
                                            "quillon-backend-default"};
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(name, nullptr).c_str());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (response.ipp == nullptr) throw Unreachable();
  const ipp_status_t status = ippGetStatusCode(response.ipp);
  if (status == IPP_STATUS_ERROR_NOT_FOUND) return std::nullopt;
  if (Failed(status)) throw ServerError(u"CUPS no describió la impresora");

  QueueDescription queue;
  queue.name = Text(response.ipp, "printer-name", IPP_TAG_NAME);
  if (queue.name.empty()) queue.name = name;
  if (ipp_attribute_t* state = ippFindAttribute(response.ipp, "printer-state", IPP_TAG_ENUM)) {
    queue.state = ippGetInteger(state, 0);
  }
  if (ipp_attribute_t* accepting =
          ippFindAttribute(response.ipp, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN)) {
    queue.accepting_jobs = ippGetBoolean(accepting, 0) != 0;
  }
  queue.make_and_model = Text(response.ipp, "printer-make-and-model", IPP_TAG_TEXT);
  queue.forced_backend = Text(response.ipp, "quillon-backend-default", IPP_TAG_ZERO);
  return queue;
}

std::u16string CupsPrinterQueue::DeviceName() const { return platform::Utf8ToUtf16(queue_.name); }

void CupsPrinterQueue::CheckReady() {
  if (const auto reason = NotReadyReason(queue_)) {
    throw platform::Failure(platform::kPrinterError, *reason);
  }
}

void CupsPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  if (ChooseBackend(queue_) == Backend::Driver) {
    PrintTicketPages(queue_.name, ticket);
    return;
  }
  const QtPictureDecoder pictures;
  SendRaw(print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &pictures}));
}

void CupsPrinterQueue::SendRaw(const std::string& bytes) {
  if (bytes.empty()) return;  // nothing to print is no job at all
  std::string resource;
  const std::string uri = QueueUri(queue_.name, &resource);
  const IppMessage request(ippNewRequest(IPP_OP_PRINT_JOB));
  ippAddString(request.ipp, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
  ippAddString(request.ipp, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request.ipp, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, kJobTitle);
  ippAddString(request.ipp, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
               CUPS_FORMAT_RAW);
  // The length counts the request and the document that follows it.
  http_status_t sent = cupsSendRequest(CUPS_HTTP_DEFAULT, request.ipp, resource.c_str(),
                                       ippLength(request.ipp) + bytes.size());
  if (sent == HTTP_STATUS_CONTINUE) {
    sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size());
  }
  const IppMessage response(cupsGetResponse(CUPS_HTTP_DEFAULT, resource.c_str()));
  if (sent != HTTP_STATUS_CONTINUE || response.ipp == nullptr) throw Unreachable();
  ipp_attribute_t* job = ippFindAttribute(response.ipp, "job-id", IPP_TAG_INTEGER);
  if (Failed(ippGetStatusCode(response.ipp)) || job == nullptr || ippGetInteger(job, 0) <= 0) {
    throw ServerError(u"CUPS no aceptó el trabajo");
  }
}

std::shared_ptr<platform::PrinterQueue> CupsPrinterSystem::FindPrinter(std::u16string_view name) {
  const std::string wanted = platform::Utf16ToUtf8(platform::TrimBlanks(name));
  if (wanted.empty()) return nullptr;
  auto queue = DescribeQueue(wanted);
  if (!queue) return nullptr;
  return std::make_shared<CupsPrinterQueue>(std::move(*queue));
}

std::u16string CupsPrinterSystem::DefaultPrinterName() {
  if (const char* name = cupsGetDefault2(CUPS_HTTP_DEFAULT)) return platform::Utf8ToUtf16(name);
  const ipp_status_t status = cupsLastError();
  if (status != IPP_STATUS_ERROR_NOT_FOUND && Failed(status)) throw Unreachable();
  return {};
}

}  // namespace quillon::adapters::cups
