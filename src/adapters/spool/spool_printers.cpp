#include "adapters/spool/spool_printers.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "adapters/spool/ticket_json.h"
#include "adapters/spool/ticket_text.h"
#include "platform/text.h"
#include "platform/whole_file.h"
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

}  // namespace

unsigned long JobNumbers::Next(const fs::path& folder) {
  const auto known = next_.find(folder);
  return known != next_.end() ? known->second : Reread(folder);
}

unsigned long JobNumbers::Reread(const fs::path& folder) {
  unsigned long highest = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    highest = std::max(highest, JobNumber(entry.path().filename()));
  }
  return next_[folder] = highest + 1;
}

void JobNumbers::Used(const fs::path& folder, unsigned long number) { next_[folder] = number + 1; }

std::u16string SpoolPrinterQueue::DeviceName() const { return PathText(folder_.filename()); }

void SpoolPrinterQueue::CheckReady() {
  std::error_code error;
  if (!fs::is_directory(folder_, error)) {
    throw platform::Failure(platform::kPrinterError,
                            u"La impresora ya no existe: falta la carpeta " + PathText(folder_));
  }
  if (fs::exists(folder_ / "offline", error)) {
    throw platform::Failure(platform::kPrinterError, u"La impresora está fuera de línea");
  }
}

std::string SpoolPrinterQueue::WriteJob(
    const std::vector<std::pair<std::string, std::string>>& files) {
  auto taken = [&](const std::string& name) {
    std::error_code error;
    for (const auto& file : files) {
      if (fs::exists(folder_ / (name + file.first), error)) return true;
    }
    return false;
  };
  unsigned long number = numbers_->Next(folder_);
  if (taken(JobName(number))) number = numbers_->Reread(folder_);
  std::string name = JobName(number);
  for (const auto& [extension, content] : files) {
    if (!platform::WriteWholeFile(folder_ / (name + extension), content)) {
      throw platform::Failure(platform::kPrinterError,
                              u"No se pudo escribir " + PathText(folder_ / (name + extension)));
    }
  }
  numbers_->Used(folder_, number);
  return name;
}

std::int64_t SpoolPrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  std::string escpos = print::EncodeEscPos(ticket, {.pictures = pictures_.get()});
  picture_name_ =
      WriteJob({{".escpos", escpos}, {".json", TicketJson(ticket)}, {".txt", TicketText(ticket)}});
  picture_escpos_ = std::move(escpos);
  picture_dots_ = print::RollDotsFor(ticket);
  return platform::kNoJob;
}

// The picture comes once the ticket is in place and out of the outbox, so it can neither hold
// the ticket up nor fail it; a picture that cannot be made is only reported.
void SpoolPrinterQueue::AfterAccepted() {
  if (picture_name_.empty()) return;
  const fs::path target = folder_ / (picture_name_ + ".png");
  picture_name_.clear();
  try {
    if (platform::WriteWholeFile(target, print::RenderEscPosPng(picture_escpos_, picture_dots_))) {
      return;
    }
    std::fprintf(stderr, "No se pudo escribir %s\n", target.string().c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "No se pudo dibujar %s: %s\n", target.string().c_str(), error.what());
  }
}

void SpoolPrinterQueue::SendRaw(const std::string& bytes) { WriteJob({{".raw", bytes}}); }

std::shared_ptr<platform::PrinterQueue> SpoolPrinterSystem::FindPrinter(std::u16string_view name) {
  std::vector<fs::path> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(spool_dir_, error)) {
    std::error_code kind_error;
    if (entry.is_directory(kind_error) &&
        platform::SamePrinterName(PathText(entry.path().filename()), name)) {
      folders.push_back(entry.path());
    }
  }
  if (folders.empty()) return nullptr;
  const auto first = std::min_element(
      folders.begin(), folders.end(),
      [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return std::make_shared<SpoolPrinterQueue>(*first, numbers_, pictures_);
}

std::vector<std::u16string> SpoolPrinterSystem::PrinterNames() {
  std::vector<fs::path> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(spool_dir_, error)) {
    std::error_code kind_error;
    if (entry.is_directory(kind_error)) folders.push_back(entry.path().filename());
  }
  std::sort(folders.begin(), folders.end());
  std::vector<std::u16string> names;
  names.reserve(folders.size());
  for (const fs::path& folder : folders) names.push_back(PathText(folder));
  return names;
}

std::vector<platform::JobReport> SpoolPrinterSystem::FollowJobs(
    std::u16string_view, const std::vector<std::int64_t>& jobs) {
  std::vector<platform::JobReport> reports;
  reports.reserve(jobs.size());
  for (const std::int64_t job : jobs) reports.push_back({job, platform::JobState::kCompleted});
  return reports;
}

}  // namespace quillon::adapters::spool
