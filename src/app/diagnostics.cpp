#include "app/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include "app/printer_report.h"
#include "app/version_report.h"
#include "archive/zip_writer.h"
#include "platform/clock.h"
#include "platform/disk_file_system.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "print/outbox.h"
#include "print/print_service.h"
#include "print/ticket_file.h"
#include "shell/branch_code_file.h"
#include "shell/file_log.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

std::u16string PathText(const fs::path& path) { return path.u16string(); }

std::optional<std::string> ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The regular files of `folder`, in the order of their names.
std::vector<fs::path> FilesOf(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code kind_error;
    if (entry->is_regular_file(kind_error)) files.push_back(entry->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::u16string Number(std::uint64_t number) {
  return platform::Utf8ToUtf16(std::to_string(number));
}

// The data folder as the agent reads it.
const platform::FileSystem& Disk() {
  static const platform::DiskFileSystem kDisk;
  return kDisk;
}

std::u16string ConfigurationText(const DiagnosticsSources& sources, bool settings_exist) {
  const CommandLine& line = sources.line;
  std::u16string text = u"Carpeta de datos: " + PathText(sources.data_dir) + u"\n";
  text += u"agent.conf: " + PathText(sources.settings_file) +
          (settings_exist ? u" (incluido tal cual como agent.conf)" : u" (no existe)") + u"\n";
  if (!sources.settings_error.empty()) {
    text += u"agent.conf no se aplicó: " + platform::Utf8ToUtf16(sources.settings_error) + u"\n";
  }
  const fs::path acceso = sources.data_dir / "Acceso";
  if (shell::FileExists(acceso)) {
    const std::vector<std::u16string> lines = shell::ReadLines(Disk(), acceso);
    text += u"Acceso:\n  Código de sucursal: " + lines[0] + u"\n  Opciones: " +
            (lines.size() > 1 ? lines[1] : u"") + u"\n";
  } else {
    text += u"Acceso: no existe\n";
  }
  auto given = [](const std::string& value, const char16_t* otherwise) {
    return value.empty() ? std::u16string(otherwise) : platform::Utf8ToUtf16(value);
  };
  text += u"\nEn uso (línea de comandos y agent.conf):\n";
  text +=
      u"  Servidor: " +
      (line.server_host.empty() ? platform::Utf8ToUtf16(QUILLON_DEFAULT_SERVER) + u" (integrado)"
                                : platform::Utf8ToUtf16(line.server_host)) +
      u", puerto " + Number(line.server_port) + u"\n";
  text += u"  Carpetas de impresoras: " + given(line.spool_dir, u"ninguna") + u"\n";
  text += u"  Impresora predeterminada: " + given(line.default_printer, u"la del sistema") + u"\n";
  text += u"  Codificación: " + given(line.encoding, u"windows-1252 (por omisión)") + u"\n";
  text += u"  Segundos sin responder antes de la predeterminada: " +
          (line.fallback_after >= 0
               ? Number(line.fallback_after)
               : Number(print::PrintService::kDefaultFallbackAfterSeconds) + u" (por omisión)") +
          u"\n";
  text += u"  Días del registro: " +
          (line.log_days > 0 ? Number(line.log_days)
                             : Number(shell::FileLog::kDefaultKeptDays) + u" (por omisión)") +
          u"\n";
  return text;
}

std::u16string TicketRow(std::uint64_t id, const platform::DateTime& moment,
                         const std::u16string& printer, const std::u16string& kind) {
  return u"  " + Number(id) + u"  " + platform::Utf8ToUtf16(platform::DateTimeText(moment)) +
         u"  " + print::PrinterLabel(printer) + u"  " + kind + u"\n";
}

std::u16string Section(const std::u16string& heading, std::size_t count,
                       const std::u16string& rows) {
  return heading + u": " + Number(count) + u"\n" + (count == 0 ? u"  (ninguno)\n" : rows) + u"\n";
}

// Every ticket of the data folder by its state: id, time, printer, kind.
std::u16string TicketsText(const fs::path& data_dir) {
  std::u16string waiting, in_printer;
  std::size_t waiting_count = 0, in_printer_count = 0;
  for (const print::TicketRecord& record : print::ReadWaitingTickets(Disk(), data_dir)) {
    const std::u16string row =
        TicketRow(record.id, record.created, record.ticket.printer, record.ticket.kind);
    if (record.InPrinter()) {
      in_printer += row.substr(0, row.size() - 1) + u"  enviado a " + record.sent_to +
                    u", trabajo " + platform::Utf8ToUtf16(std::to_string(record.job)) + u"\n";
      ++in_printer_count;
    } else {
      waiting += row;
      ++waiting_count;
    }
  }
  std::u16string printed;
  const auto printed_tickets = print::ReadPrintedTickets(Disk(), data_dir);
  for (const print::PrintedTicket& ticket : printed_tickets) {
    printed += TicketRow(ticket.id, ticket.printed, ticket.printer, ticket.kind);
  }
  std::u16string discarded;
  const std::vector<fs::path> discarded_files = FilesOf(data_dir / "outbox" / "descartados");
  for (const fs::path& file : discarded_files) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    const auto record = bytes ? print::ReadTicketFile(*bytes) : std::nullopt;
    discarded +=
        record ? TicketRow(record->id, record->created, record->ticket.printer, record->ticket.kind)
               : u"  " + PathText(file.filename()) + u": no es un ticket completo\n";
  }
  return u"Tickets de " + PathText(data_dir) + u" (número, fecha, impresora, tipo)\n\n" +
         Section(u"En espera (outbox/)", waiting_count, waiting) +
         Section(u"En la impresora (outbox/)", in_printer_count, in_printer) +
         Section(u"Impresos (impresos/indice), del más reciente", printed_tickets.size(), printed) +
         Section(u"Descartados (outbox/descartados/)", discarded_files.size(), discarded);
}

std::u16string RejectedText(const fs::path& folder) {
  std::u16string rows;
  const std::vector<fs::path> files = FilesOf(folder);
  for (const fs::path& file : files) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    rows += u"  " + PathText(file.filename()) + u"  " +
            (error ? std::u16string(u"tamaño desconocido") : Number(size) + u" bytes") + u"\n";
  }
  return Section(u"Trabajos rechazados (rechazados/), sin su contenido", files.size(), rows);
}

std::string MemberName(const fs::path& relative) {
  return platform::Utf16ToUtf8(relative.generic_u16string());
}

std::string DiagnosticsZip(const DiagnosticsSources& sources, bool with_tickets) {
  const platform::SystemClock clock;
  const platform::DateTime now = clock.Now();
  archive::ZipWriter zip;
  auto text = [&](const char* name, const std::u16string& content) {
    zip.Add(name, platform::Utf16ToUtf8(content), now);
  };
  // A file of the data folder under the same path in the zip, when it can be read.
  auto copy = [&](const fs::path& relative) {
    if (const auto bytes = ReadFileBytes(sources.data_dir / relative)) {
      zip.Add(MemberName(relative), *bytes, now);
    }
  };
  zip.Add("version.txt",
          BuildDescription() + "Sistema: " + SystemDescription() +
              "\nDiagnóstico hecho: " + platform::DateTimeText(now) + "\n",
          now);
  const std::optional<std::string> settings = ReadFileBytes(sources.settings_file);
  text("configuracion.txt", ConfigurationText(sources, settings.has_value()));
  if (settings) zip.Add("agent.conf", *settings, now);
  text("impresoras.txt", PrinterReport(sources.line));
  text("tickets.txt", TicketsText(sources.data_dir));
  copy(fs::path("impresos") / "indice");
  if (with_tickets) {
    for (const char* folder : {"outbox", "outbox/descartados", "impresos"}) {
      for (const fs::path& file : FilesOf(sources.data_dir / folder)) {
        if (file.filename() != "indice") copy(fs::path(folder) / file.filename());
      }
    }
  }
  for (const fs::path& day :
       shell::RecentLogFiles(sources.data_dir / "registro", now, kDiagnosticsLogDays)) {
    copy(fs::path("registro") / day.filename());
  }
  text("rechazados.txt", RejectedText(sources.data_dir / "rechazados"));
  return zip.Finish();
}

// Why the zip cannot be written at `zip`, or nothing when it was.
std::optional<std::u16string> WriteZip(const DiagnosticsSources& sources, const fs::path& zip,
                                       bool with_tickets) {
  if (zip.empty()) return u"falta el nombre del archivo";
  std::error_code error;
  if (fs::is_directory(zip, error)) return PathText(zip) + u" es una carpeta, no un archivo";
  const fs::path folder = zip.has_parent_path() ? zip.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, error)) return u"no existe la carpeta " + PathText(folder);
  std::string bytes;
  try {
    bytes = DiagnosticsZip(sources, with_tickets);
  } catch (const std::exception& failure) {
    return platform::FailureDescription(failure);
  }
  if (!platform::WriteWholeFile(zip, bytes, platform::FileSync::kFileAndFolder)) {
    return u"no se pudo escribir " + PathText(zip);
  }
  return std::nullopt;
}

}  // namespace

DiagnosticsResult WriteDiagnostics(const DiagnosticsSources& sources, const fs::path& zip,
                                   bool with_tickets) {
  if (const std::optional<std::u16string> reason = WriteZip(sources, zip, with_tickets)) {
    return {false, u"No se guardó el diagnóstico: " + *reason, *reason};
  }
  std::error_code error;
  return {true, u"Diagnóstico guardado en " + PathText(fs::absolute(zip, error)), {}};
}

int RunDiagnostics(const DiagnosticsSources& sources) {
  const DiagnosticsResult result =
      WriteDiagnostics(sources, fs::path(sources.line.diagnostics), sources.line.with_tickets);
  std::fprintf(result.written ? stdout : stderr, "%s\n",
               platform::Utf16ToUtf8(result.text).c_str());
  return result.written ? 0 : 2;
}

}  // namespace quillon::app
