#pragma once
// The folder "rechazados" of the data folder: the received bytes of every job that printed
// nothing, or left a part out, one file a job, exactly as the server sent them (in the wire's
// encoding), so that quillon-agent --check-job reads each one as the agent did. Files are named
// NNNNNN-YYYYMMDD-HHMMSS-kind.json, numbered upwards; the newest kKept stay, and no more of them
// than fit in kKeptBytes (the newest always stays).
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>

#include "link/rejected_job_store.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace quillon::shell {

class RejectedJobsFolder final : public link::RejectedJobStore {
 public:
  static constexpr std::size_t kKept = 500;
  static constexpr std::uintmax_t kKeptBytes = 64ull << 20;

  RejectedJobsFolder(platform::FileSystem& files, std::filesystem::path folder,
                     const platform::Clock& clock)
      : files_(files), folder_(std::move(folder)), clock_(clock) {}

  // Written whole: beside its final name first, renamed into place once complete, so a file
  // under its final name is never half written. Raises nothing: a failure comes back as text.
  Kept Keep(std::string_view bytes, std::u16string_view kind) override;

 private:
  // The files already there, oldest first, and the number after theirs; read once.
  bool LoadExisting(std::u16string& error);
  std::filesystem::path NextPath(std::u16string_view kind);
  void DropOldest();

  platform::FileSystem& files_;
  std::filesystem::path folder_;
  const platform::Clock& clock_;
  bool loaded_ = false;
  struct File {
    std::filesystem::path path;
    std::uintmax_t size = 0;
  };
  std::deque<File> kept_;     // oldest first
  std::uintmax_t bytes_ = 0;  // of all of kept_
  std::uint64_t next_number_ = 1;
};

}  // namespace quillon::shell
