#pragma once
// One running agent per data folder: a lock file in the folder, held while the agent runs and
// taken over when the process that held it is gone.
#include <QLockFile>
#include <QString>

namespace quillon::adapters::qt {

class SingleInstance {
 public:
  explicit SingleInstance(const QString& data_dir);
  enum class Result { Acquired, HeldByOther, Unavailable };
  // Unavailable: the folder does not take the lock file (missing or read-only).
  Result Acquire();

 private:
  QLockFile lock_;
};

}  // namespace quillon::adapters::qt
