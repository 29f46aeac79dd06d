// The job parser on any bytes, read in both wire encodings, whole and cut in two pieces.
// Beyond running clean under the sanitizers: the parser never raises, a cut between two pieces
// never changes the decoded text, the bytes read as their decoded text does (same tree, same
// error lines), and every member of every object is found again by its key.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "json/parser.h"
#include "json/value.h"
#include "link/wire_text.h"

namespace quillon::fuzz {
namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// Visits the tree without recursion (jobs may nest deeply) and reads every leaf as text.
void CheckTree(const json::Value& root) {
  std::vector<const json::Value*> pending{&root};
  while (!pending.empty()) {
    const json::Value& value = *pending.back();
    pending.pop_back();
    if (value.IsDictionary()) {
      const json::Dictionary& members = value.AsDictionary();
      for (const auto& [key, member] : members.Entries()) {
        if (members.Find(key.View()) != &member) Fail("an object member is not found by its key");
        pending.push_back(&member);
      }
    } else if (value.IsCollection()) {
      for (const json::Value& element : value.AsCollection()) pending.push_back(&element);
    } else if (!value.IsNull()) {
      value.ToText();
    }
  }
}

// The tree written out with its kinds, without recursion, so that two readings compare.
std::u16string Written(const json::Value& root) {
  struct Pending {
    const json::Value* value;  // nullptr: the closing bracket
    std::u16string_view key;
    char16_t close;
  };
  std::u16string out;
  std::vector<Pending> pending{{&root, {}, 0}};
  while (!pending.empty()) {
    const Pending next = pending.back();
    pending.pop_back();
    if (next.value == nullptr) {
      out += next.close;
      continue;
    }
    out += next.key;
    out += u'=';
    const json::Value& value = *next.value;
    out += static_cast<char16_t>(u'0' + static_cast<int>(value.kind()));
    if (value.IsDictionary()) {
      out += u'{';
      pending.push_back({nullptr, {}, u'}'});
      const auto& entries = value.AsDictionary().Entries();
      for (std::size_t i = entries.size(); i-- > 0;) {
        pending.push_back({&entries[i].second, entries[i].first.View(), 0});
      }
    } else if (value.IsCollection()) {
      out += u'[';
      pending.push_back({nullptr, {}, u']'});
      const json::Collection& elements = value.AsCollection();
      for (int i = elements.Count(); i > 0; --i) pending.push_back({&elements.Item(i), {}, 0});
    } else if (value.IsNumber()) {
      out +=
          value.ToDecimal().ToText(u'.') + u"/" + static_cast<char16_t>(value.ToDecimal().Scale());
    } else if (!value.IsNull()) {
      out += value.ToText() + u'|';
    }
  }
  return out;
}

void Parse(std::string_view bytes, link::WireEncoding encoding) {
  const std::u16string text = link::WireDecoder(encoding).Decode(bytes);
  // The cut falls where the first byte says, so the fuzzer can move it.
  const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % bytes.size();
  link::WireDecoder pieces(encoding);
  std::u16string joined = pieces.Decode(bytes.substr(0, cut));
  joined += pieces.Decode(bytes.substr(cut));
  if (joined != text) {
    Fail("a cut between two pieces changed the decoded text");
  }
  const json::ParseResult from_text = json::ParseJson(link::DecodeWire(bytes, encoding));
  const json::ParseResult from_bytes = json::ParseJson(bytes, link::ParserEncoding(encoding));
  if (from_bytes.errors != from_text.errors ||
      Written(from_bytes.root) != Written(from_text.root)) {
    Fail("the bytes read differently from their decoded text");
  }
  CheckTree(from_bytes.root);
}

}  // namespace
}  // namespace quillon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  quillon::fuzz::Parse(bytes, quillon::link::WireEncoding::Windows1252);
  quillon::fuzz::Parse(bytes, quillon::link::WireEncoding::Utf8);
  return 0;
}
