#pragma once
// Printers made of folders, for a workstation without a receipt printer, for tests and demos.
// Every subfolder of the spool folder is an installed printer named as the folder. Each ended
// ticket becomes NNNNNN.txt, NNNNNN.json and NNNNNN.escpos in its printer's folder, then
// NNNNNN.png, the paper those ESC/POS bytes print; a raw job becomes NNNNNN.raw. Numbers count up
// per printer from 000001, after the highest already there.
// A file named "offline" in a printer's folder makes it refuse work.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace quillon::adapters::spool {

class SpoolPrinterQueue : public platform::PrinterQueue {
 public:
  explicit SpoolPrinterQueue(std::filesystem::path folder) : folder_(std::move(folder)) {}

  std::u16string DeviceName() const override;
  void CheckReady() override;
  void PrintTicket(const platform::Ticket& ticket) override;
  void SendRaw(const std::string& bytes) override;

 private:
  // The number the next job's files take.
  unsigned long NextNumber() const;
  // Writes the files of one job, each whole; `files` pairs an extension with its content.
  // Returns the job's name (its number).
  std::string WriteJob(const std::vector<std::pair<std::string, std::string>>& files);

  std::filesystem::path folder_;
};

class SpoolPrinterSystem : public platform::PrinterSystem {
 public:
  // `default_name`: the folder that is the default printer (none when empty or absent).
  SpoolPrinterSystem(std::filesystem::path spool_dir, std::u16string default_name)
      : spool_dir_(std::move(spool_dir)), default_name_(std::move(default_name)) {}

  // The subfolders in the order of their names.
  std::vector<std::shared_ptr<platform::PrinterQueue>> InstalledPrinters() override;
  std::u16string DefaultPrinterName() override;

 private:
  std::filesystem::path spool_dir_;
  std::u16string default_name_;
};

}  // namespace quillon::adapters::spool
