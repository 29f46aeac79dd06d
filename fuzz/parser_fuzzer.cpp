// The job parser on any bytes, read in both wire encodings, whole and cut in two pieces.
// Beyond running clean under the sanitizers: the parser never raises, a cut between two pieces
// never changes the decoded text, the bytes read directly give the errors of the decoded text,
// and every member of every object is found again by its key.
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
  const json::ParseResult from_text = json::ParseJson(text);
  const json::ParseResult from_bytes = json::ParseJson(bytes, link::ParserEncoding(encoding));
  if (from_bytes.errors != from_text.errors) {
    Fail("reading the wire bytes and reading the decoded text give different errors");
  }
  CheckTree(from_text.root);
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
