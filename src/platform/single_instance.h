#pragma once
// One running agent per data folder, held until the process ends.
namespace quillon::platform {

class SingleInstance {
 public:
  enum class Result { kAcquired, kHeldByOther, kUnavailable };
  virtual ~SingleInstance() = default;
  // Unavailable: the claim cannot be made at all (for example a missing or read-only folder).
  virtual Result Acquire() = 0;
};

}  // namespace quillon::platform
