#include "adapters/spool/spool_printers.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "adapters/spool/ticket_json.h"
#include "adapters/spool/ticket_text.h"
#include "platform/text.h"
#include "print/escpos_encoder.h"
#include "print/receipt_renderer.h"

namespace quillon::adapters::spool {
namespace {

namespace fs = std::filesystem;


// File names are UTF-8 on this system.
std::u16string PathText(const fs::path& path) { return platform::Utf8ToUtf16(path.string()); }

// The job number a file name holds ("000012.txt" holds 12); 0 for other names.
unsigned long JobNumber(const fs::path& file) {
  const std::string stem = file.stem().string();
  if (stem.size() < 6 ||
      !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  return std::stoul(stem.substr(0, 18));
}

std::string JobName(unsigned long number) {
  char name[32];
  std::snprintf(name, sizeof name, "%06lu", number);
  return name;
}

// Writes beside the target and renames, so a reader never sees half a file.
void WriteWhole(const fs::path& target, const std::string& content) {
  fs::path partial = target;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      throw platform::Failure(platform::kPrinterError, u"No se pudo escribir " + PathText(target));
    }
  }
  std::error_code error;
  fs::rename(partial, target, error);
  if (error) throw platform::Failure(platform::kPrinterError, u"No se pudo escribir " + PathText(target));
}

// The picture comes once the ticket is in place, so it can neither hold the ticket up nor
// fail it; a picture that cannot be made is only reported.
void WritePicture(const fs::path& target, const std::string& escpos, int paper_dots) {
  try {
    WriteWhole(target, print::RenderEscPosPng(escpos, paper_dots));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "No se pudo dibujar %s: %s\n", target.string().c_str(), error.what());
  }
}

}  // namespace

std::u16string SpoolPrinterQueue::DeviceName() const { return PathText(folder_.filename()); }

void SpoolPrinterQueue::CheckReady() {
  std::error_code error;
  if (!fs::is_directory(folder_, error)) {
    throw platform::Failure(platform::kPrinterError, u"La impresora ya no existe: falta la carpeta " +
                                          PathText(folder_));
  }
  if (fs::exists(folder_ / "offline", error)) {
    throw platform::Failure(platform::kPrinterError, u"La impresora está fuera de línea");
  }
}

unsigned long SpoolPrinterQueue::NextNumber() const {
  unsigned long highest = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_, error)) {
    highest = std::max(highest, JobNumber(entry.path().filename()));
  }
  return highest + 1;
}

std::string SpoolPrinterQueue::WriteJob(
    const std::vector<std::pair<std::string, std::string>>& files) {
  CheckReady();
  std::string name = JobName(NextNumber());
  for (const auto& [extension, content] : files) WriteWhole(folder_ / (name + extension), content);
  return name;
}

void SpoolPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  const std::string escpos = print::EncodeEscPos(ticket);
  const std::string name =
      WriteJob({{".escpos", escpos}, {".json", TicketJson(ticket)}, {".txt", TicketText(ticket)}});
  WritePicture(folder_ / (name + ".png"), escpos, print::RollDotsFor(ticket));
}

void SpoolPrinterQueue::SendRaw(const std::string& bytes) { WriteJob({{".raw", bytes}}); }

std::vector<std::shared_ptr<platform::PrinterQueue>> SpoolPrinterSystem::InstalledPrinters() {
  std::vector<fs::path> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(spool_dir_, error)) {
    std::error_code kind_error;
    if (entry.is_directory(kind_error)) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  std::vector<std::shared_ptr<platform::PrinterQueue>> printers;
  printers.reserve(folders.size());
  for (auto& folder : folders) printers.push_back(std::make_shared<SpoolPrinterQueue>(folder));
  return printers;
}

std::u16string SpoolPrinterSystem::DefaultPrinterName() {
  if (default_name_.empty()) return {};
  std::error_code error;
  const fs::path folder = spool_dir_ / fs::path(platform::Utf16ToUtf8(default_name_));
  return fs::is_directory(folder, error) ? default_name_ : std::u16string();
}

}  // namespace quillon::adapters::spool
