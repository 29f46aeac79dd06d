#include "shell/file_log.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "shell/log_text.h"

namespace quillon::shell {
namespace {

namespace fs = std::filesystem;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DayNumber(const platform::DateTime& date) {
  const int year = date.month <= 2 ? date.year - 1 : date.year;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int year_of_era = year - era * 400;
  const int month = date.month > 2 ? date.month - 3 : date.month + 9;
  const int day_of_year = (153 * month + 2) / 5 + date.day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return static_cast<std::int64_t>(era) * 146097 + day_of_era - 719468;
}

// The day of a file named AAAA-MM-DD.log; nullopt for any other file.
std::optional<std::int64_t> FileDay(const fs::path& path) {
  const std::string name = path.filename().string();
  if (name.size() != 14 || name.compare(10, 4, ".log") != 0) return std::nullopt;
  const std::optional<platform::DateTime> date =
      platform::ParseDateTime(name.substr(0, 10) + " 00:00:00");
  if (!date) return std::nullopt;
  return DayNumber(*date);
}

std::u16string SystemErrorText(const fs::path& path, int error) {
  const std::u16string reason = error != 0
                                    ? platform::Utf8ToUtf16(std::generic_category().message(error))
                                    : std::u16string(u"no se pudo escribir");
  return path.u16string() + u": " + reason;
}

}  // namespace

FileLog::FileLog(fs::path folder, const platform::Clock& clock, platform::Timer& timer,
                 int kept_days, std::function<void(const std::u16string&)> on_change)
    : folder_(std::move(folder)),
      clock_(clock),
      timer_(timer),
      kept_days_(kept_days),
      on_change_(std::move(on_change)) {}

FileLog::~FileLog() {
  Flush();
  timer_.Stop();
}

void FileLog::WriteLine(std::u16string_view text) {
  const platform::DateTime now = clock_.Now();
  const std::string stamp = platform::DateTimeText(now);
  const std::string day = stamp.substr(0, 10);
  if (day != day_) {
    // Each day's lines go into that day's file.
    Flush();
    day_ = day;
    RemoveOldFiles();
  }
  if (paused_ && !RetryDue(now)) {
    ++missed_lines_;
    return;
  }
  const bool retrying = paused_;
  if (retrying) NotePause(stamp);
  buffer_ += stamp;
  buffer_ += ' ';
  buffer_ += platform::Utf16ToUtf8(OneLogLine(text));
  buffer_ += '\n';
  if (retrying || buffer_.size() >= kBufferBytes) {
    Flush();
  } else if (!flush_pending_) {
    flush_pending_ = true;
    timer_.StartOnce(kFlushDelayMs, [this] {
      flush_pending_ = false;
      Flush();
    });
  }
}

void FileLog::WriteBalloon(const std::u16string& text, platform::BalloonIcon icon,
                           const std::u16string& title) {
  WriteLine(BalloonLogText(text, icon, title));
}

void FileLog::Flush() {
  if (buffer_.empty()) return;
  std::error_code failure;
  fs::create_directories(folder_, failure);
  if (failure) {
    Stop(SystemErrorText(folder_, failure.value()));
    return;
  }
  const fs::path file = DayFile();
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  out.close();
  if (out.fail()) {
    Stop(SystemErrorText(file, errno));
    return;
  }
  folder_bytes_ += buffer_.size();
  buffer_.clear();
  note_in_buffer_ = false;
  paused_ = false;
  missed_lines_ = 0;
  if (pause_said_) {
    pause_said_ = false;
    if (on_change_) on_change_(u"El registro en archivo sigue.");
  }
  if (folder_bytes_ > kKeptBytes) {
    RemoveOldFiles();
    if (folder_bytes_ > kKeptBytes) {
      Stop(file.u16string() + u": el día pasó de " +
           platform::Utf8ToUtf16(std::to_string(kKeptBytes >> 20)) + u" MiB");
    }
  }
}

fs::path FileLog::TodaysFile() {
  Flush();
  return folder_ / (platform::DateTimeText(clock_.Now()).substr(0, 10) + ".log");
}

fs::path FileLog::DayFile() const { return folder_ / (day_ + ".log"); }

void FileLog::RemoveOldFiles() {
  const std::optional<platform::DateTime> today = platform::ParseDateTime(day_ + " 00:00:00");
  if (!today) return;
  const std::int64_t today_number = DayNumber(*today);
  struct Found {
    std::int64_t day;
    fs::path path;
    std::uintmax_t size;
  };
  std::vector<Found> kept;
  std::error_code failure;
  for (fs::directory_iterator entry(folder_, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    const std::optional<std::int64_t> day = FileDay(entry->path());
    if (!day) continue;
    std::error_code ignored;  // a file that cannot go or be measured counts as nothing
    if (today_number - *day >= kept_days_) {
      fs::remove(entry->path(), ignored);
      continue;
    }
    const std::uintmax_t size = fs::file_size(entry->path(), ignored);
    kept.push_back({*day, entry->path(), ignored ? 0 : size});
  }
  std::sort(kept.begin(), kept.end(), [](const Found& a, const Found& b) { return a.day < b.day; });
  folder_bytes_ = 0;
  for (const Found& file : kept) folder_bytes_ += file.size;
  for (std::size_t oldest = 0; oldest + 1 < kept.size() && folder_bytes_ > kKeptBytes; ++oldest) {
    std::error_code ignored;
    fs::remove(kept[oldest].path, ignored);
    folder_bytes_ -= kept[oldest].size;
  }
}

std::vector<fs::path> RecentLogFiles(const fs::path& folder, const platform::DateTime& today,
                                     int days) {
  const std::int64_t today_number = DayNumber(today);
  std::vector<std::pair<std::int64_t, fs::path>> found;
  std::error_code failure;
  for (fs::directory_iterator entry(folder, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    const std::optional<std::int64_t> day = FileDay(entry->path());
    if (day && today_number - *day < days) found.emplace_back(*day, entry->path());
  }
  std::sort(found.begin(), found.end());
  std::vector<fs::path> files;
  files.reserve(found.size());
  for (auto& [day, path] : found) files.push_back(std::move(path));
  return files;
}

void FileLog::Stop(const std::u16string& reason) {
  const auto lines = static_cast<std::size_t>(std::count(buffer_.begin(), buffer_.end(), '\n'));
  missed_lines_ += lines - (note_in_buffer_ ? 1 : 0);
  last_try_ = platform::DateTimeText(clock_.Now());
  if (!paused_) paused_since_ = last_try_;
  paused_ = true;
  note_in_buffer_ = false;
  buffer_.clear();
  timer_.Stop();
  flush_pending_ = false;
  if (pause_said_) return;  // a retry that failed again says nothing new
  pause_said_ = true;
  if (on_change_) {
    on_change_(u"El registro en archivo se detuvo (" + reason + u"); la impresión sigue.");
  }
}

bool FileLog::RetryDue(const platform::DateTime& now) const {
  const std::optional<platform::DateTime> tried = platform::ParseDateTime(last_try_);
  if (!tried) return true;
  const auto seconds = [](const platform::DateTime& at) {
    return DayNumber(at) * 86400 + at.hour * 3600 + at.minute * 60 + at.second;
  };
  // A clock set back counts as time gone by, so the log does not stay paused for hours.
  const std::int64_t elapsed = seconds(now) - seconds(*tried);
  return elapsed >= kRetryAfterSeconds || elapsed < 0;
}

void FileLog::NotePause(const std::string& stamp) {
  buffer_ += stamp + " El registro en archivo estuvo detenido desde " + paused_since_ + ": " +
             std::to_string(missed_lines_) + " l\xC3\xADneas sin escribir\n";
  note_in_buffer_ = true;
}

void FileLoggedActivity::WriteLog(const std::u16string& text) {
  log_.WriteLog(text);
  file_.WriteLine(text);
}

void FileLoggedActivity::Log(const std::u16string& line) {
  monitor_.Log(line);
  file_.WriteLine(line);
}

void FileLoggedNotifier::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                        const std::u16string& title, int timeout_ms) {
  notifier_.ShowBalloonTip(text, icon, title, timeout_ms);
  file_.WriteBalloon(text, icon, title);
}

}  // namespace quillon::shell
