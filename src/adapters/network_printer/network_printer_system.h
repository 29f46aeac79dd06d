#pragma once
// The printers of [impresoras] that are reached by address (tcp://HOST[:PORT]), as one printer
// system: found by the names the jobs use, their jobs followed until the printer itself says it
// processed them, their faults as the printer reports them.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/network_printer/network_printer.h"
#include "platform/picture_decoder.h"
#include "platform/printer_system.h"

namespace quillon::adapters::network_printer {

// A printer the agent knows and how it stands, for a window to show.
struct KnownPrinter {
  std::u16string name;
  std::u16string reached;  // "tcp://10.0.0.7:9100"
  std::u16string state;    // "listo", "sin papel"... or "sin estado"
  bool direct = true;      // the agent talks to it itself, no spooler in between
};

class NetworkPrinterSystem final : public platform::PrinterSystem {
 public:
  using SocketMaker = std::function<std::unique_ptr<platform::ClientSocket>()>;
  using TimerMaker = std::function<std::unique_ptr<platform::Timer>()>;

  // `pictures` (may be null: BMP only) must outlive the system.
  NetworkPrinterSystem(const std::vector<std::pair<std::u16string, PrinterAddress>>& printers,
                       const SocketMaker& sockets, const TimerMaker& timers,
                       const PrinterEvents& events, const platform::PictureDecoder* pictures);

  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // The default printer is chosen by the settings, not by these printers.
  std::u16string DefaultPrinterName() override { return {}; }
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  void CancelJob(std::u16string_view printer, std::int64_t job) override;
  std::vector<std::u16string> PrinterNames() override;

  std::vector<KnownPrinter> Known() const;

 private:
  std::shared_ptr<NetworkPrinter> Named(std::u16string_view name) const;

  std::map<std::u16string, std::shared_ptr<NetworkPrinter>> printers_;  // by name in capitals
  const platform::PictureDecoder* pictures_;
};

}  // namespace quillon::adapters::network_printer
