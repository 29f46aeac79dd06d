#include "platform/ini_text.h"

#include <algorithm>

namespace quillon::platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The value after "=": its items, each trimmed unless quoted; false for a quote left open.
bool ReadValue(std::string_view raw, std::vector<std::string>* items) {
  std::string item;
  bool quoted = false;     // inside "..."
  bool had_quote = false;  // this item has a quoted part: its blanks are its own
  std::string pending;     // unquoted blanks that count only if more of the item follows
  const auto finish = [&] {
    items->push_back(had_quote ? item : std::string(Trim(item)));
    item.clear();
    pending.clear();
    had_quote = false;
  };
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\')) {
        item += raw[++i];
      } else {
        item += c;
      }
    } else if (c == '"') {
      if (!had_quote) item = std::string(Trim(item));
      item += pending;
      pending.clear();
      quoted = had_quote = true;
    } else if (c == ',') {
      finish();
    } else if (had_quote && (c == ' ' || c == '\t')) {
      pending += c;
    } else {
      item += pending;
      pending.clear();
      item += c;
    }
  }
  if (quoted) return false;
  finish();
  return true;
}

}  // namespace

IniText ParseIni(std::string_view text) {
  IniText result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string section;
  int number = 0;
  const auto fail = [&](IniText::Fault fault) {
    result.fault = fault;
    result.fault_line = number;
    return result;
  };
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (!line.ends_with(']')) return fail(IniText::Fault::kBadSyntax);
      section = Trim(line.substr(1, line.size() - 2));
      if (section == "General") section.clear();
      continue;
    }
    const std::size_t equals = line.find('=');
    const std::string_view name = Trim(line.substr(0, equals));
    if (equals == std::string_view::npos || name.empty()) {
      return fail(IniText::Fault::kLineWithoutValue);
    }
    std::vector<std::string> items;
    if (!ReadValue(Trim(line.substr(equals + 1)), &items)) {
      return fail(IniText::Fault::kBadSyntax);
    }
    IniSetting setting;
    setting.key = section.empty() ? std::string(name) : section + "/" + std::string(name);
    setting.is_list = items.size() > 1;
    for (const std::string& item : items) {
      if (&item != &items.front()) setting.value += ',';
      setting.value += item;
    }
    const auto same = std::find_if(result.settings.begin(), result.settings.end(),
                                   [&](const IniSetting& s) { return s.key == setting.key; });
    if (same == result.settings.end()) {
      result.settings.push_back(std::move(setting));
    } else {
      *same = std::move(setting);
    }
  }
  return result;
}

}  // namespace quillon::platform
