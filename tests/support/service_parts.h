#pragma once
// A print service on given printers with what else it needs: recorded balloons and log lines, a
// fixed clock, an outbox in a fresh folder (of the disk, or of the file system given) and the
// retry and watch timers the test fires.
#include <string>
#include <vector>

#include "platform/disk_file_system.h"
#include "print/outbox.h"
#include "print/print_service.h"
#include "support/fake_clock.h"
#include "support/fake_notifier.h"
#include "support/fake_timer.h"
#include "support/temp_folder.h"

namespace quillon::test {

class RecordingMonitor : public print::PrintMonitor {
 public:
  void WaitingChanged() override { ++changes; }
  void Log(const std::u16string& line) override { lines.push_back(line); }

  int changes = 0;
  std::vector<std::u16string> lines;
};

class ServiceParts {
 public:
  explicit ServiceParts(platform::PrinterSystem& printers) : ServiceParts(printers, disk) {}
  ServiceParts(platform::PrinterSystem& printers, platform::FileSystem& files)
      : outbox(files, data.Path(), clock), service(printers, notifier, outbox, timer, watch) {
    service.SetMonitor(&monitor);
    service.Start();
  }

  platform::DiskFileSystem disk;
  FakeNotifier notifier;
  FakeClock clock;
  TempFolder data;
  print::Outbox outbox;
  FakeTimer timer;
  FakeTimer watch;
  RecordingMonitor monitor;
  print::PrintService service;
};

}  // namespace quillon::test
