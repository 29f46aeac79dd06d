#include "adapters/cups/cups_printers.h"

#include <cups/cups.h>

#include <string_view>

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

platform::JobState JobStateOf(int state) {
  switch (state) {
    case IPP_JSTATE_HELD:
      return platform::JobState::kHeld;
    case IPP_JSTATE_CANCELED:
      return platform::JobState::kCanceled;
    case IPP_JSTATE_ABORTED:
      return platform::JobState::kAborted;
    case IPP_JSTATE_COMPLETED:
      return platform::JobState::kCompleted;
    default:  // pending, processing, or processing but stopped with its printer
      return platform::JobState::kQueued;
  }
}

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
  static const char* const kAttributes[] = {"printer-name",           "printer-state",
                                            "printer-state-reasons",  "printer-is-accepting-jobs",
                                            "printer-make-and-model", "quillon-backend-default"};
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
  if (ipp_attribute_t* reasons =
          ippFindAttribute(response.ipp, "printer-state-reasons", IPP_TAG_KEYWORD)) {
    for (int i = 0; i < ippGetCount(reasons); ++i) {
      if (const char* reason = ippGetString(reasons, i, nullptr)) {
        queue.state_reasons.emplace_back(reason);
      }
    }
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

std::int64_t CupsPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  if (ChooseBackend(queue_) == Backend::kDriver) {
    PrintTicketPages(queue_.name, ticket);
    return platform::kNoJob;
  }
  const QtPictureDecoder pictures;
  return SubmitRaw(print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &pictures}));
}

void CupsPrinterQueue::SendRaw(const std::string& bytes) { SubmitRaw(bytes); }

std::int64_t CupsPrinterQueue::SubmitRaw(const std::string& bytes) {
  if (bytes.empty()) return platform::kNoJob;  // nothing to print is no job at all
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
  return ippGetInteger(job, 0);
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

std::vector<std::u16string> CupsPrinterSystem::PrinterNames() {
  static const char* const kAttributes[] = {"printer-name"};
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (response.ipp == nullptr) throw Unreachable();
  const ipp_status_t status = ippGetStatusCode(response.ipp);
  if (status == IPP_STATUS_ERROR_NOT_FOUND) return {};  // a server without queues
  if (Failed(status)) throw ServerError(u"CUPS no dio la lista de impresoras");
  std::vector<std::u16string> names;
  for (ipp_attribute_t* name = ippFindAttribute(response.ipp, "printer-name", IPP_TAG_NAME);
       name != nullptr; name = ippFindNextAttribute(response.ipp, "printer-name", IPP_TAG_NAME)) {
    if (const char* text = ippGetString(name, 0, nullptr)) {
      names.push_back(platform::Utf8ToUtf16(text));
    }
  }
  return names;
}

std::vector<platform::JobReport> CupsPrinterSystem::FollowJobs(
    std::u16string_view printer, const std::vector<std::int64_t>& jobs) {
  static const char* const kAttributes[] = {"job-id", "job-state"};
  std::vector<platform::JobReport> reports;
  if (jobs.empty()) return reports;
  const std::string name = platform::Utf16ToUtf8(platform::TrimBlanks(printer));
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(name, nullptr).c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  std::vector<int> ids(jobs.begin(), jobs.end());
  ippAddIntegers(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-ids",
                 static_cast<int>(ids.size()), ids.data());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (response.ipp == nullptr) throw Unreachable();
  const ipp_status_t status = ippGetStatusCode(response.ipp);
  if (Failed(status) && status != IPP_STATUS_ERROR_NOT_FOUND) {
    throw ServerError(u"CUPS no informó de los trabajos");
  }
  // One group of attributes a job; a job the server no longer lists left it without an error.
  for (const std::int64_t job : jobs) reports.push_back({job, platform::JobState::kCompleted});
  std::int64_t id = 0;
  for (ipp_attribute_t* attribute = ippFirstAttribute(response.ipp); attribute != nullptr;
       attribute = ippNextAttribute(response.ipp)) {
    const char* attribute_name = ippGetName(attribute);
    if (attribute_name == nullptr) {
      id = 0;
    } else if (std::string_view(attribute_name) == "job-id") {
      id = ippGetInteger(attribute, 0);
    } else if (std::string_view(attribute_name) == "job-state") {
      for (platform::JobReport& report : reports) {
        if (report.job == id) report.state = JobStateOf(ippGetInteger(attribute, 0));
      }
    }
  }
  return reports;
}

void CupsPrinterSystem::CancelJob(std::u16string_view printer, std::int64_t job) {
  const std::string name = platform::Utf16ToUtf8(platform::TrimBlanks(printer));
  ipp_t* request = ippNewRequest(IPP_OP_CANCEL_JOB);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(name, nullptr).c_str());
  ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(job));
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (response.ipp == nullptr) throw Unreachable();
  // A job that finished meanwhile cannot be canceled: the server says "not possible" and the
  // job's own state tells the rest.
  const ipp_status_t status = ippGetStatusCode(response.ipp);
  if (Failed(status) && status != IPP_STATUS_ERROR_NOT_POSSIBLE &&
      status != IPP_STATUS_ERROR_NOT_FOUND) {
    throw ServerError(u"CUPS no canceló el trabajo");
  }
}

}  // namespace quillon::adapters::cups
