#pragma once
// The classic error number an action raises as platform::Failure, or 0 when it raises nothing.
#include <functional>

#include "platform/failure.h"

namespace quillon::test {

inline int ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::Failure& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace quillon::test
