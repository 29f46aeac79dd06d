#include "json/json_script.h"

#include <algorithm>

#include "json/parser.h"
#include "json/string_builder.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

constexpr std::int32_t kMaxDepth = 41;

// A member of a parameter object; reading an absent one adds it as Empty, like any lookup.
const Value& Member(const Value* parameters, std::u16string_view name) {
  if (parameters == nullptr) throw platform::Failure::ObjectRequired();
  return (*parameters)[name];
}

// Empty, numbers and other scalars as text, always with a decimal point.
std::u16string ScalarText(const Value& value) {
  std::u16string text = value.ToText();
  std::replace(text.begin(), text.end(), u',', u'.');
  return text;
}

bool Holds(std::u16string_view test, const std::u16string& a, const std::u16string& b) {
  if (test == u"eq") return platform::ToLower(a) == platform::ToLower(b);
  if (test == u"gt") return a > b;
  if (test == u"lt") return a < b;
  if (test == u"gte") return a >= b;
  if (test == u"lte") return a <= b;
  return false;
}

}  // namespace

std::u16string JsonScript::Eval(std::u16string_view sJSON) {
  const ParseResult parsed = ParseJson(sJSON);
  const Value& root = parsed.root;
  if (!parsed.errors.empty() || root.IsEmpty()) {
    dialogs_.ShowMessage(parsed.errors, u"Parser Error", ScriptDialogs::Tone::Warning);
    return {};
  }
  StringBuilder result;
  for (const Value& element : root.AsCollection()) {
    switch (element.kind()) {
      case Value::Kind::Null:
        result.Append(u"null");
        break;
      case Value::Kind::Text:
        result.Append(element.ToText());
        break;
      case Value::Kind::Dictionary:
      case Value::Kind::Collection:
        result.Append(ExecCommand(element));
        break;
      default:  // only objects are commands
        throw platform::Failure::TypeMismatch();
    }
  }
  return result.toString();
}

std::u16string JsonScript::ExecCommand(const Value& value) {
  if (depth_ >= kMaxDepth) return u"ERROR: Nesting level exceeded.";
  ++depth_;
  struct Leave {  // a failure below must not leave the level counted
    std::int32_t& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  switch (value.kind()) {
    case Value::Kind::Null:
      return u"null";
    case Value::Kind::Text:
      return value.ToText();
    case Value::Kind::Boolean:
      return value.ToBool() ? u"true" : u"false";
    case Value::Kind::Collection: {
      std::u16string result;
      for (const Value& element : value.AsCollection()) result += ExecCommand(element);
      return result;
    }
    case Value::Kind::Dictionary:
      return ExecCommandObject(value.AsDictionary());
    default:
      return ScalarText(value);
  }
}

std::u16string JsonScript::ExecCommandObject(const Dictionary& command) {
  std::u16string result;
  const Value* parameters = nullptr;  // the last parameter object of this command object
  // By position: evaluating a member may add keys to parameter objects, never to this one.
  for (int i = 0; i < command.Count(); ++i) {
    const auto& [key, v] = command.Entries()[static_cast<std::size_t>(i)];
    if (!v.IsText()) {
      if (!v.IsDictionary() && !v.IsCollection()) throw platform::Failure::TypeMismatch();
      parameters = &v;
    }
    const std::u16string name = platform::ToLower(key);
    auto run = [&](std::u16string_view member) { return ExecCommand(Member(parameters, member)); };
    if (name == u"alert") {
      const std::u16string message = run(u"message");
      const std::u16string title = run(u"title");
      dialogs_.ShowMessage(message, title, ScriptDialogs::Tone::Information);
    } else if (name == u"input") {
      const std::u16string prompt = run(u"prompt");
      const std::u16string title = run(u"title");
      const std::u16string default_text = run(u"default");
      result += dialogs_.AskText(prompt, title, default_text);
    } else if (name == u"switch") {
      std::u16string chosen = run(u"default");
      const std::u16string wanted = platform::ToLower(run(u"case"));
      for (const Value& item : Member(parameters, u"items").AsCollection()) {
        const Value& label = item[u"case"];
        if (!label.IsNull() && platform::ToLower(label.ToText()) == wanted) {
          chosen = ExecCommand(item[u"return"]);
          break;
        }
      }
      result += chosen;
    } else if (name == u"set") {
      std::u16string variable = Member(parameters, u"name").ToText();
      variables_.Set(std::move(variable), Value(run(u"value")));
    } else if (name == u"get") {
      std::u16string text = ExecCommand(variables_.Item(Member(parameters, u"name").ToText()));
      if (text.empty()) text = run(u"default");
      result += text;
    } else if (name == u"if") {
      const std::u16string a = run(u"value1");
      const std::u16string b = run(u"value2");
      const std::u16string test = platform::ToLower(Member(parameters, u"type").ToText());
      result += run(Holds(test, a, b) ? u"true" : u"false");
    } else if (name == u"return") {
      result += v.ToText();
    } else {
      std::u16string list;
      if (v.IsDictionary()) {
        for (const auto& entry : v.AsDictionary().Entries()) {
          if (&entry != &v.AsDictionary().Entries().front()) list += u',';
          list += entry.second.ToText();
        }
      } else if (v.IsText()) {
        list = v.ToText();
      }
      result += u"<%" + platform::ToUpper(key) + u"(" + list + u")%>";
    }
  }
  return result;
}

}  // namespace quillon::json
