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

std::u16string JsonScript::Eval(std::u16string_view script) {
  const ParseResult parsed = ParseJson(script);
  const Value& root = parsed.root;
  if (!parsed.errors.empty() || root.IsEmpty()) {
    dialogs_.ShowMessage(parsed.errors, u"Parser Error", ScriptDialogs::Tone::kWarning);
    return {};
  }
  StringBuilder result;
  for (const Value& element : root.AsCollection()) {
    switch (element.kind()) {
      case Value::Kind::kNull:
        result.Append(u"null");
        break;
      case Value::Kind::kText:
        result.Append(element.ToText());
        break;
      case Value::Kind::kDictionary:
      case Value::Kind::kCollection:
        result.Append(ExecCommand(element));
        break;
      default:  // only objects are commands
        throw platform::Failure::TypeMismatch();
    }
  }
  return result.ToString();
}

std::u16string JsonScript::ExecCommand(const Value& value) {
  if (depth_ >= kMaxDepth) return u"ERROR: Nesting level exceeded.";
  ++depth_;
  struct Leave {  // a failure below must not leave the level counted
    std::int32_t& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  switch (value.kind()) {
    case Value::Kind::kNull:
      return u"null";
    case Value::Kind::kText:
      return value.ToText();
    case Value::Kind::kBoolean:
      return value.ToBool() ? u"true" : u"false";
    case Value::Kind::kCollection: {
      std::u16string result;
      for (const Value& element : value.AsCollection()) result += ExecCommand(element);
      return result;
    }
    case Value::Kind::kDictionary:
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
    result += ExecMember(key, v, parameters);
  }
  return result;
}

std::u16string JsonScript::ExecMember(std::u16string_view key, const Value& v,
                                      const Value* parameters) {
  const std::u16string name = platform::ToLower(key);
  auto run = [&](std::u16string_view member) { return ExecCommand(Member(parameters, member)); };
  if (name == u"alert") {
    const std::u16string message = run(u"message");
    const std::u16string title = run(u"title");
    dialogs_.ShowMessage(message, title, ScriptDialogs::Tone::kInformation);
    return {};
  }
  if (name == u"input") {
    const std::u16string prompt = run(u"prompt");
    const std::u16string title = run(u"title");
    const std::u16string default_text = run(u"default");
    return dialogs_.AskText(prompt, title, default_text);
  }
  if (name == u"switch") {
    std::u16string chosen = run(u"default");
    const std::u16string wanted = platform::ToLower(run(u"case"));
    for (const Value& item : Member(parameters, u"items").AsCollection()) {
      const Value& label = item[u"case"];
      if (!label.IsNull() && platform::ToLower(label.ToText()) == wanted) {
        return ExecCommand(item[u"return"]);
      }
    }
    return chosen;
  }
  if (name == u"set") {
    std::u16string variable = Member(parameters, u"name").ToText();
    variables_.Set(std::move(variable), Value(run(u"value")));
    return {};
  }
  if (name == u"get") {
    std::u16string text = ExecCommand(variables_.Item(Member(parameters, u"name").ToText()));
    if (text.empty()) text = run(u"default");
    return text;
  }
  if (name == u"if") {
    const std::u16string a = run(u"value1");
    const std::u16string b = run(u"value2");
    const std::u16string test = platform::ToLower(Member(parameters, u"type").ToText());
    return run(Holds(test, a, b) ? u"true" : u"false");
  }
  if (name == u"return") return v.ToText();
  return Placeholder(key, v);
}

std::u16string JsonScript::Placeholder(std::u16string_view key, const Value& v) {
  std::u16string list;
  if (v.IsDictionary()) {
    for (const auto& entry : v.AsDictionary().Entries()) {
      if (&entry != &v.AsDictionary().Entries().front()) list += u',';
      list += entry.second.ToText();
    }
  } else if (v.IsText()) {
    list = v.ToText();
  }
  return u"<%" + platform::ToUpper(key) + u"(" + list + u")%>";
}

}  // namespace quillon::json
