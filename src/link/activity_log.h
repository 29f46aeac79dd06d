#pragma once
// The activity log of the main window, as the server link writes to it.
#include <string>

namespace quillon::link {

class ActivityLog {
 public:
  virtual ~ActivityLog() = default;
  // Appends the text and a line end.
  virtual void WriteLog(const std::u16string& text) = 0;
  // Empties the log.
  virtual void Clear() = 0;
};

}  // namespace quillon::link
