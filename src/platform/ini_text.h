#pragma once
// The INI text of a settings file, read the same way on every system: [section] lines,
// key = value lines and lines starting with ; or # (comments, on a line of their own). A key
// before any section or in [General] stands alone; a key in [name] is "name/key". Keys and values
// lose their edge blanks; a part between double quotes is kept as written (\" and \\ inside it
// give " and \), so a value with commas or edge blanks goes between quotes. An unquoted comma
// makes the value a list. A key given twice keeps its last value. A UTF-8 byte order mark and
// CR-LF line ends are accepted.
#include <string>
#include <string_view>
#include <vector>

namespace quillon::platform {

struct IniSetting {
  std::string key;
  std::string value;     // a list's items joined by ","
  bool is_list = false;  // an unquoted comma split the value
};

struct IniText {
  enum class Fault {
    kNone,
    kLineWithoutValue,  // neither a comment, a [section] nor key=value (or an empty key)
    kBadSyntax,         // a section without its ], a quote left open
  };
  std::vector<IniSetting> settings;  // in the order their keys first appear
  Fault fault = Fault::kNone;
  int fault_line = 0;  // from 1; the first faulty line
};

// Reads all of `text`; on a fault, `settings` holds what came before it.
IniText ParseIni(std::string_view text);

}  // namespace quillon::platform
