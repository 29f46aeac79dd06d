#include "platform/clock.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <utility>

namespace quillon::platform {

DateTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string DateTimeText(const DateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
  DateTime t;
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const std::pair<int*, std::size_t> fields[] = {{&t.year, 0},  {&t.month, 5},   {&t.day, 8},
                                                 {&t.hour, 11}, {&t.minute, 14}, {&t.second, 17}};
  for (const auto& [field, at] : fields) {
    const std::size_t length = at == 0 ? 4 : 2;
    const std::string_view digits = text.substr(at, length);
    const auto read = std::from_chars(digits.data(), digits.data() + length, *field);
    if (read.ec != std::errc() || read.ptr != digits.data() + length) return std::nullopt;
  }
  return t;
}

}  // namespace quillon::platform
