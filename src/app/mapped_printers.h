#pragma once
// The printers of [impresoras] and --printer NAME=VALUE in front of the system's: a name mapped
// to tcp://HOST[:PORT] is a network receipt printer the agent talks to itself, a name mapped to
// another name is that printer of the system under the name the jobs use (an alias). The default
// printer may be one of them (default-printer).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/network_printer/network_printer_system.h"
#include "app/command_line.h"
#include "platform/printer_system.h"

namespace quillon::app {

class MappedPrinters final : public platform::PrinterSystem {
 public:
  MappedPrinters(const CommandLine& line, std::unique_ptr<platform::PrinterSystem> system,
                 const adapters::network_printer::NetworkPrinterSystem::SocketMaker& sockets,
                 const adapters::network_printer::NetworkPrinterSystem::TimerMaker& timers,
                 const adapters::network_printer::PrinterEvents& events,
                 const platform::PictureDecoder* pictures);

  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // default-printer when it names a mapped printer, else the system's default.
  std::u16string DefaultPrinterName() override;
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  void CancelJob(std::u16string_view printer, std::int64_t job) override;
  // The mapped names first, then the system's.
  std::vector<std::u16string> PrinterNames() override;

  // The mapped printers and how they stand, for a window: network printers as they last
  // answered, aliases as their system printer reports.
  std::vector<adapters::network_printer::KnownPrinter> Known();
  // How `name` is reached: "tcp://10.0.0.7:9100", "alias de la impresora X" or "cola del sistema".
  std::u16string HowReached(std::u16string_view name) const;

 private:
  platform::PrinterSystem& Holding(std::u16string_view printer);

  std::unique_ptr<platform::PrinterSystem> system_;
  adapters::network_printer::NetworkPrinterSystem network_;
  struct Alias {
    std::u16string name;    // as the jobs use it
    std::u16string target;  // the printer of the system
  };
  std::map<std::u16string, Alias> aliases_;  // by PrinterNameKey of the name
  std::u16string default_;
};

}  // namespace quillon::app
