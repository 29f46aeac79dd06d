#include <windows.h>

#include "adapters/winspool/winspool_printers.h"
// After windows.h, which it needs.
#include <winspool.h>

#include <string>
#include <vector>

#include "adapters/win32/wic_pictures.h"
#include "adapters/win32/wide_text.h"
#include "adapters/winspool/gdi_pages.h"
#include "adapters/winspool/job_status.h"
#include "platform/text.h"
#include "print/escpos_encoder.h"

namespace quillon::adapters::winspool {
namespace {

using win32::FromWide;
using win32::Wide;

std::u16string ErrorNumber(DWORD error) {
  return u" (error de Windows " + platform::Utf8ToUtf16(std::to_string(error)) + u")";
}

platform::Failure SpoolerError(const std::u16string& what) {
  return platform::Failure(platform::kPrinterError, what + ErrorNumber(GetLastError()));
}

std::u16string Text(const wchar_t* text) { return text != nullptr ? FromWide(text) : u""; }

// Closes the printer handle when it goes out of scope.
class PrinterHandle {
 public:
  explicit PrinterHandle(const std::u16string& name) {
    std::wstring wide = Wide(name);
    if (!OpenPrinterW(wide.data(), &handle_, nullptr)) handle_ = nullptr;
  }
  ~PrinterHandle() {
    if (handle_ != nullptr) ClosePrinter(handle_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

std::vector<PrinterDescription> ListPrinters() {
  constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersW(kWhich, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersW(kWhich, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    if (needed == 0 && GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    throw SpoolerError(u"No se pudo consultar la lista de impresoras de Windows");
  }
  std::vector<PrinterDescription> printers;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    printers.push_back({Text(info[i].pPrinterName), Text(info[i].pDriverName),
                        Text(info[i].pComment), Text(info[i].pLocation), info[i].Status,
                        info[i].Attributes});
  }
  return printers;
}

}  // namespace

void WinspoolPrinterQueue::CheckReady() {
  if (const auto reason = NotReadyReason(printer_)) {
    throw platform::Failure(platform::kPrinterError, *reason);
  }
}

std::int64_t WinspoolPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  if (ChooseBackend(printer_) == Backend::kDriver) {
    PrintTicketPages(printer_.name, ticket);
    return platform::kNoJob;
  }
  const win32::WicPictureDecoder pictures;
  return SubmitRaw(print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &pictures}));
}

std::u16string WinspoolPrinterQueue::Fault() const { return PrinterFault(printer_); }

void WinspoolPrinterQueue::SendRaw(const std::string& bytes) { SubmitRaw(bytes); }

std::int64_t WinspoolPrinterQueue::SubmitRaw(const std::string& bytes) {
  if (bytes.empty()) return platform::kNoJob;  // nothing to print is no job at all
  const PrinterHandle printer(printer_.name);
  if (printer.get() == nullptr) throw SpoolerError(u"No se pudo abrir la impresora");
  std::wstring title = L"Quillon";
  std::wstring datatype = L"RAW";
  DOC_INFO_1W document{title.data(), nullptr, datatype.data()};
  const DWORD job = StartDocPrinterW(printer.get(), 1, reinterpret_cast<BYTE*>(&document));
  if (job == 0) throw SpoolerError(u"La impresora no aceptó el trabajo");
  bool written = StartPagePrinter(printer.get()) != 0;
  for (std::size_t done = 0; written && done < bytes.size();) {
    DWORD step = 0;
    written = WritePrinter(printer.get(), const_cast<char*>(bytes.data() + done),
                           static_cast<DWORD>(bytes.size() - done), &step) != 0 &&
              step > 0;
    done += step;
  }
  if (!written) {
    const platform::Failure failure = SpoolerError(u"La impresora no recibió el trabajo");
    AbortPrinter(printer.get());
    throw failure;
  }
  EndPagePrinter(printer.get());
  if (!EndDocPrinter(printer.get())) throw SpoolerError(u"La impresora no terminó el trabajo");
  return job;
}

std::shared_ptr<platform::PrinterQueue> WinspoolPrinterSystem::FindPrinter(
    std::u16string_view name) {
  const std::u16string wanted = platform::TrimBlanks(name);
  if (wanted.empty()) return nullptr;
  for (PrinterDescription& printer : ListPrinters()) {
    if (platform::SamePrinterName(printer.name, wanted)) {
      return std::make_shared<WinspoolPrinterQueue>(std::move(printer));
    }
  }
  return nullptr;
}

std::vector<std::u16string> WinspoolPrinterSystem::PrinterNames() {
  std::vector<std::u16string> names;
  for (PrinterDescription& printer : ListPrinters()) names.push_back(std::move(printer.name));
  return names;
}

std::u16string WinspoolPrinterSystem::DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  if (!GetDefaultPrinterW(name.data(), &size)) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return {};
    throw SpoolerError(u"No se pudo consultar la impresora predeterminada de Windows");
  }
  name.resize(size > 0 ? size - 1 : 0);
  return FromWide(name);
}

std::vector<platform::JobReport> WinspoolPrinterSystem::FollowJobs(
    std::u16string_view printer, const std::vector<std::int64_t>& jobs) {
  std::vector<platform::JobReport> reports;
  if (jobs.empty()) return reports;
  const PrinterHandle handle(platform::TrimBlanks(printer));
  if (handle.get() == nullptr) throw SpoolerError(u"No se pudo abrir la impresora");
  for (const std::int64_t job : jobs) {
    const DWORD id = static_cast<DWORD>(job);
    DWORD needed = 0;
    GetJobW(handle.get(), id, 1, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetJobW(handle.get(), id, 1, buffer.data(), needed, &needed)) {
      // Gone from the queue: Windows removes a job once it printed.
      reports.push_back({job, platform::JobState::kCompleted});
      continue;
    }
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    reports.push_back({job, JobStateOf(info->Status)});
  }
  return reports;
}

void WinspoolPrinterSystem::CancelJob(std::u16string_view printer, std::int64_t job) {
  const PrinterHandle handle(platform::TrimBlanks(printer));
  if (handle.get() == nullptr) throw SpoolerError(u"No se pudo abrir la impresora");
  // A job that already left the queue cannot be deleted, and needs not be.
  if (!SetJobW(handle.get(), static_cast<DWORD>(job), 0, nullptr, JOB_CONTROL_DELETE) &&
      GetLastError() != ERROR_INVALID_PARAMETER) {
    throw SpoolerError(u"No se pudo cancelar el trabajo");
  }
}

}  // namespace quillon::adapters::winspool
