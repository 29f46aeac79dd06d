#include "adapters/qt/single_instance.h"

#include <QDir>

namespace quillon::adapters::qt {

SingleInstance::SingleInstance(const QString& data_dir)
    : lock_(QDir(data_dir).filePath(QStringLiteral(".quillon-agent.lock"))) {
  // Only a dead owner makes the lock stale, however long the agent has been running.
  lock_.setStaleLockTime(0);
}

SingleInstance::Result SingleInstance::Acquire() {
  if (lock_.tryLock(0)) return Result::Acquired;
  return lock_.error() == QLockFile::LockFailedError ? Result::HeldByOther : Result::Unavailable;
}

}  // namespace quillon::adapters::qt
