#pragma once
// One running agent per data folder: an advisory lock (flock) on a file in the folder, held on
// an open descriptor, so the system lets go of it when the process ends however it ends. What
// the file holds decides nothing: a leftover of any content (empty, half written, another
// host's) never stops a start. The holder writes its process number into it for whoever looks.
#include <filesystem>

#include "platform/single_instance.h"

namespace quillon::adapters::qt {

class SingleInstance final : public platform::SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& data_dir);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Unavailable: the folder does not take the lock file (missing or read-only).
  Result Acquire() override;

 private:
  // The holder's process number as the file's only line, for people and scripts that look.
  void NoteHolder() const;

  std::filesystem::path lock_path_;
  int fd_ = -1;
};

}  // namespace quillon::adapters::qt
