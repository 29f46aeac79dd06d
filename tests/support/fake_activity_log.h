#pragma once
// The activity log: everything ever written, in order, with a mark where it was emptied.
#include <string>
#include <vector>

#include "link/activity_log.h"

namespace quillon::test {

class FakeActivityLog : public link::ActivityLog {
 public:
  static constexpr char16_t kClearMark[] = u"<log vaciado>";

  void WriteLog(const std::u16string& text) override { history.push_back(text); }
  void Clear() override { history.push_back(kClearMark); }

  // What the window would show now: the lines since it was last emptied.
  std::vector<std::u16string> Lines() const {
    std::vector<std::u16string> lines;
    for (const std::u16string& line : history) {
      if (line == kClearMark) {
        lines.clear();
      } else {
        lines.push_back(line);
      }
    }
    return lines;
  }

  std::vector<std::u16string> history;
};

}  // namespace quillon::test
