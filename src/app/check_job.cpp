#include "app/check_job.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "app/job_file.h"
#include "json/parser.h"
#include "platform/text.h"

namespace quillon::app {
namespace {

// The tree as JSON, keys in their order, decimals with a point, Empty as the bare word empty.
// Written with an explicit stack: a tree may be nested hundreds of levels deep.
void WriteTree(const json::Value& root, std::u16string& out) {
  struct Frame {
    const json::Value* container;
    int next;  // index of the next member or element
  };
  auto write_scalar = [&out](const json::Value& value) {
    switch (value.kind()) {
      case json::Value::Kind::kEmpty:
        out += u"empty";
        break;
      case json::Value::Kind::kNull:
        out += u"null";
        break;
      case json::Value::Kind::kBoolean:
        out += value.ToBool() ? u"true" : u"false";
        break;
      case json::Value::Kind::kNumber:
        out += value.ToDecimal().ToText(u'.');
        break;
      default:
        out += platform::QuotedJsonString(value.ToText());
    }
  };
  std::vector<Frame> stack;
  auto open = [&](const json::Value& value) {
    if (value.IsDictionary() || value.IsCollection()) {
      out += value.IsDictionary() ? u'{' : u'[';
      stack.push_back({&value, 0});
    } else {
      write_scalar(value);
    }
  };
  open(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    const json::Value& container = *top.container;
    const int count = container.IsDictionary() ? container.AsDictionary().Count()
                                               : container.AsCollection().Count();
    if (top.next == count) {
      out += container.IsDictionary() ? u'}' : u']';
      stack.pop_back();
      continue;
    }
    const int index = top.next++;
    if (index > 0) out += u',';
    if (container.IsDictionary()) {
      const auto& entry = container.AsDictionary().Entries()[static_cast<std::size_t>(index)];
      out += platform::QuotedJsonString(entry.first);
      out += u':';
      open(entry.second);
    } else {
      open(container.AsCollection().Item(index + 1));
    }
  }
}

}  // namespace

int CheckJob(const std::string& file, const std::string& encoding) {
  const auto bytes = ReadJobFile(file);
  if (!bytes) {
    std::fprintf(stderr, "No se pudo leer el archivo del trabajo: %s\n", file.c_str());
    return 2;
  }
  const json::ParseResult parsed =
      json::ParseJson(*bytes, link::ParserEncoding(JobFileEncoding(*bytes, encoding)));
  std::u16string line;
  WriteTree(parsed.root, line);
  line += u'\n';
  std::fputs(platform::Utf16ToUtf8(line).c_str(), stdout);
  std::fputs(platform::Utf16ToUtf8(parsed.errors).c_str(), stderr);
  return parsed.errors.empty() ? 0 : 1;
}

}  // namespace quillon::app
