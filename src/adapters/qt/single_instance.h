#pragma once
// One running agent per data folder: a lock file in the folder, held while the agent runs and
// taken over when the process that held it is gone.
#include <QLockFile>
#include <QString>

#include "platform/single_instance.h"

namespace quillon::adapters::qt {

class SingleInstance final : public platform::SingleInstance {
 public:
  explicit SingleInstance(const QString& data_dir);
  // Unavailable: the folder does not take the lock file (missing or read-only).
  Result Acquire() override;

 private:
  QLockFile lock_;
};

}  // namespace quillon::adapters::qt
