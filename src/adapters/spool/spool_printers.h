#pragma once
// Printers made of folders, for a workstation without a receipt printer, for tests and demos.
// Every subfolder of the spool folder is a printer named as the folder. Each ticket becomes
// NNNNNN.escpos, NNNNNN.json and NNNNNN.txt in its printer's folder (the .txt last: once it is
// there the printer has the ticket), then NNNNNN.png, the paper those ESC/POS bytes print; a raw
// job becomes NNNNNN.raw. Numbers count up per printer from 000001, after the highest already
// there. A file named "offline" in a printer's folder makes it refuse work.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/picture_decoder.h"
#include "platform/printer_system.h"

namespace quillon::adapters::spool {

// The number each printer's next job takes, kept in memory so a job costs the same however many
// files its folder holds. A folder is read once, at its first job and again when a number turns
// out to be taken already (someone else wrote there).
class JobNumbers {
 public:
  unsigned long Next(const std::filesystem::path& folder);
  // Reads the folder again: the number after the highest there.
  unsigned long Reread(const std::filesystem::path& folder);
  void Used(const std::filesystem::path& folder, unsigned long number);

 private:
  std::map<std::filesystem::path, unsigned long> next_;
};

class SpoolPrinterQueue : public platform::PrinterQueue {
 public:
  // `pictures` reads the pictures of the .escpos file; null reads BMP files only.
  SpoolPrinterQueue(std::filesystem::path folder, std::shared_ptr<JobNumbers> numbers,
                    std::shared_ptr<const platform::PictureDecoder> pictures = nullptr)
      : folder_(std::move(folder)), numbers_(std::move(numbers)), pictures_(std::move(pictures)) {}

  std::u16string DeviceName() const override;
  void CheckReady() override;
  // The files in place are the paper: nothing is left to follow.
  std::int64_t PrintTicket(const platform::Ticket& ticket) override;
  void SendRaw(const std::string& bytes) override;
  // Draws the paper of the ticket just accepted.
  void AfterAccepted() override;

 private:
  // Writes the files of one job, each whole and in this order; `files` pairs an extension with
  // its content.

  // Returns the job's name (its number).
  std::string WriteJob(const std::vector<std::pair<std::string, std::string>>& files);

  std::filesystem::path folder_;
  std::shared_ptr<JobNumbers> numbers_;
  std::shared_ptr<const platform::PictureDecoder> pictures_;
  // The ticket accepted last, whose picture is still to be drawn.
  std::string picture_name_;
  std::string picture_escpos_;
  int picture_dots_ = 0;
};

class SpoolPrinterSystem : public platform::PrinterSystem {
 public:
  // `default_name`: the folder that is the default printer (none when empty); `pictures` as for
  // each printer's queue.
  SpoolPrinterSystem(std::filesystem::path spool_dir, std::u16string default_name,
                     std::shared_ptr<const platform::PictureDecoder> pictures = nullptr)
      : spool_dir_(std::move(spool_dir)),
        default_name_(std::move(default_name)),
        pictures_(std::move(pictures)) {}

  // The first subfolder, in the order of their names, whose name matches.
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // The name given, whether or not its folder is there now: a missing default printer is a
  // printer that cannot print, not another system's default.
  std::u16string DefaultPrinterName() override { return default_name_; }
  // The subfolders, in the order of their names; none when the spool folder is missing.
  std::vector<std::u16string> PrinterNames() override;
  // A spool printer hands out no jobs to follow: any job asked about is not one of its own.
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  void CancelJob(std::u16string_view, std::int64_t) override {}

 private:
  std::filesystem::path spool_dir_;
  std::u16string default_name_;
  std::shared_ptr<const platform::PictureDecoder> pictures_;
  std::shared_ptr<JobNumbers> numbers_ = std::make_shared<JobNumbers>();
};

}  // namespace quillon::adapters::spool
