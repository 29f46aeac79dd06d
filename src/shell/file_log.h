#pragma once
// The log that outlasts the window: every log line and balloon, timestamped, in
// registro/AAAA-MM-DD.log of the data folder (UTF-8, one line each, escaped as in the window).
// Lines wait in memory and reach the file at most a second later, or at once past kBufferBytes,
// so the event loop never waits on the disk for long. Files older than the kept days go, and the
// folder is held to kKeptBytes (the newest file stays). A failure to write pauses the file log,
// said once through `on_change`; the caller never sees it. A line a minute or more later tries
// again: the file then says when the pause began and how many lines it missed.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
  static constexpr int kRetryAfterSeconds = 60;

  // `folder` is registro/ of the data folder, created when first written; `on_change` hears the
  // line that says why the file log stopped, and the one that says it goes on again.
  FileLog(std::filesystem::path folder, const platform::Clock& clock, platform::Timer& timer,
          int kept_days, std::function<void(const std::u16string&)> on_change);
  ~FileLog();
  FileLog(const FileLog&) = delete;
  FileLog& operator=(const FileLog&) = delete;

  void WriteLine(std::u16string_view text);
  void WriteBalloon(const std::u16string& text, platform::BalloonIcon icon,
                    const std::u16string& title);
  // What waits in memory, into today's file now.
  void Flush();
  // Today's file, with every line written so far; it does not exist before the day's first line
  // reached it.
  std::filesystem::path TodaysFile();

 private:
  std::filesystem::path DayFile() const;
  // Drops the files past the kept days, then the oldest while the folder is over kKeptBytes.
  void RemoveOldFiles();
  void Stop(const std::u16string& reason);
  // While paused: whether a line at `now` should try the file again.
  bool RetryDue(const platform::DateTime& now) const;
  // Puts the line that says what the pause missed before the next one.
  void NotePause(const std::string& stamp);

  std::filesystem::path folder_;
  const platform::Clock& clock_;
  platform::Timer& timer_;
  int kept_days_;
  std::function<void(const std::u16string&)> on_change_;
  bool paused_ = false;
  bool pause_said_ = false;  // the window heard of the pause and not yet of its end
  bool note_in_buffer_ = false;
  std::string paused_since_;  // the stamp of the failure that began the pause
  std::string last_try_;      // and of the latest one
  std::size_t missed_lines_ = 0;
  bool flush_pending_ = false;
  std::string day_;  // "AAAA-MM-DD" of the lines in buffer_; empty before the first line
  std::string buffer_;
  std::uintmax_t folder_bytes_ = 0;  // of every file in the folder, as last counted and written
};

// The day files of `folder` of the `days` days up to `today`, today's included, and any dated
// after it (a clock that was ahead), oldest first.
std::vector<std::filesystem::path> RecentLogFiles(const std::filesystem::path& folder,
                                                  const platform::DateTime& today, int days);

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
