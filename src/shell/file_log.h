#pragma once
// The log that outlasts the window: every log line and balloon, timestamped, in
// registro/AAAA-MM-DD.log of the data folder (UTF-8, one line each, escaped as in the window).
// Lines wait in memory and reach the file at most a second later, or at once past kBufferBytes,
// so the event loop never waits on the disk for long. Files older than the kept days go, and the
// folder is held to kKeptBytes (the newest file stays). A failure to write stops the file log
// for the rest of the run, said once through `on_stop`; the caller never sees it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "link/activity_log.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/timer.h"
#include "print/print_service.h"

namespace quillon::shell {

class FileLog {
 public:
  static constexpr int kDefaultKeptDays = 30;
  static constexpr std::uintmax_t kKeptBytes = 64ull << 20;
  static constexpr int kFlushDelayMs = 1000;
  static constexpr std::size_t kBufferBytes = 64 * 1024;

  // `folder` is registro/ of the data folder, created when first written; `on_stop` hears the
  // one line that says why the file log stopped.
  FileLog(std::filesystem::path folder, const platform::Clock& clock, platform::Timer& timer,
          int kept_days, std::function<void(const std::u16string&)> on_stop);
  ~FileLog();
  FileLog(const FileLog&) = delete;
  FileLog& operator=(const FileLog&) = delete;

  void WriteLine(std::u16string_view text);
  void WriteBalloon(const std::u16string& text, platform::BalloonIcon icon,
                    const std::u16string& title);
  // What waits in memory, into today's file now.
  void Flush();

 private:
  std::filesystem::path DayFile() const;
  // Drops the files past the kept days, then the oldest while the folder is over kKeptBytes.
  void RemoveOldFiles();
  void Stop(const std::u16string& reason);

  std::filesystem::path folder_;
  const platform::Clock& clock_;
  platform::Timer& timer_;
  int kept_days_;
  std::function<void(const std::u16string&)> on_stop_;
  bool stopped_ = false;
  bool flush_pending_ = false;
  std::string day_;  // "AAAA-MM-DD" of the lines in buffer_; empty before the first line
  std::string buffer_;
  std::uintmax_t folder_bytes_ = 0;  // of every file in the folder, as last counted and written
};

// The activity log and the print service's lines, also into the file log.
class FileLoggedActivity final : public link::ActivityLog, public print::PrintMonitor {
 public:
  FileLoggedActivity(link::ActivityLog& log, print::PrintMonitor& monitor, FileLog& file)
      : log_(log), monitor_(monitor), file_(file) {}
  void WriteLog(const std::u16string& text) override;
  void Clear() override { log_.Clear(); }
  void WaitingChanged() override { monitor_.WaitingChanged(); }
  void Log(const std::u16string& line) override;

 private:
  link::ActivityLog& log_;
  print::PrintMonitor& monitor_;
  FileLog& file_;
};

// Balloons, also into the file log.
class FileLoggedNotifier final : public platform::Notifier {
 public:
  FileLoggedNotifier(platform::Notifier& notifier, FileLog& file)
      : notifier_(notifier), file_(file) {}
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override;

 private:
  platform::Notifier& notifier_;
  FileLog& file_;
};

}  // namespace quillon::shell
