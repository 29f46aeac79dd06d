#pragma once
// A small script language written in JSON: an array of literal texts and command objects
// (alert, input, switch, set, get, if, return); unknown commands leave a <%NAME(params)%>
// placeholder. Variables live as long as the object.
#include <cstdint>
#include <string>
#include <string_view>

#include "json/script_dialogs.h"
#include "json/value.h"

namespace quillon::json {

class JsonScript {
 public:
  explicit JsonScript(ScriptDialogs& dialogs) : dialogs_(dialogs) {}

  // Parses and evaluates a script. Parse errors are shown in a "Parser Error" box and give "".
  // A malformed script (root not an array, a root number or boolean, a command holding neither
  // a text nor an object, "items" not an array) raises platform::Failure.
  std::u16string Eval(std::u16string_view script);
  // Evaluates one value; past 41 nested calls gives "ERROR: Nesting level exceeded.".
  std::u16string ExecCommand(const Value& value);

 private:
  std::u16string ExecCommandObject(const Dictionary& command);
  // The text one member of a command object gives; `parameters` is the object's last parameter
  // object up to this member.
  std::u16string ExecMember(std::u16string_view key, const Value& v, const Value* parameters);
  // What an unknown command leaves: <%NAME(params)%>.
  static std::u16string Placeholder(std::u16string_view key, const Value& v);

  ScriptDialogs& dialogs_;
  Dictionary variables_;
  std::int32_t depth_ = 0;
};

}  // namespace quillon::json
