// The job parser on any bytes, in both wire encodings. Beyond running clean under the
// sanitizers: the parser never raises; reading the bytes as they came gives the same tree and
// the same error text as reading the decoded text; every member of every object is found again
// by its key; and a cut between two received pieces never changes the decoded text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
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

// Compares two trees without recursion (jobs may nest deeply): kinds, texts, numbers, member
// keys in their order, and that each member is found again by its key.
void CheckSameTrees(const json::Value& from_bytes, const json::Value& from_text) {
  std::vector<std::pair<const json::Value*, const json::Value*>> pending{{&from_bytes, &from_text}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (a->kind() != b->kind()) Fail("the trees differ in a value's kind");
    if (a->IsDictionary()) {
      const json::Dictionary& members = a->AsDictionary();
      const json::Dictionary& other = b->AsDictionary();
      if (members.Count() != other.Count()) Fail("the trees differ in an object's size");
      auto there = other.Entries().begin();
      for (const auto& [key, member] : members.Entries()) {
        if (members.Find(key.View()) != &member) Fail("an object member is not found by its key");
        if (key.View() != there->first.View()) Fail("the trees differ in a key");
        pending.emplace_back(&member, &there->second);
        ++there;
      }
    } else if (a->IsCollection()) {
      const json::Collection& items = a->AsCollection();
      const json::Collection& other = b->AsCollection();
      if (items.Count() != other.Count()) Fail("the trees differ in an array's size");
      auto there = other.begin();
      for (const json::Value& item : items) pending.emplace_back(&item, &*there++);
    } else if (!a->IsNull() && a->ToText() != b->ToText()) {
      Fail("the trees differ in a value");
    }
  }
}

void Parse(std::string_view bytes, link::WireEncoding encoding) {
  const std::u16string text = link::DecodeWire(bytes, encoding);
  const json::ParseResult from_bytes = json::ParseJson(bytes, link::ParserEncoding(encoding));
  const json::ParseResult from_text = json::ParseJson(text);
  if (from_bytes.errors != from_text.errors) Fail("the bytes and the text read with other errors");
  CheckSameTrees(from_bytes.root, from_text.root);

  // The cut falls where the first byte says, so the fuzzer can move it.
  const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % bytes.size();
  link::WireDecoder pieces(encoding);
  std::u16string joined = pieces.Decode(bytes.substr(0, cut));
  joined += pieces.Decode(bytes.substr(cut));
  if (joined != link::WireDecoder(encoding).Decode(bytes)) {
    Fail("a cut between two pieces changed the decoded text");
  }
}

}  // namespace
}  // namespace quillon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  quillon::fuzz::Parse(bytes, quillon::link::WireEncoding::kWindows1252);
  quillon::fuzz::Parse(bytes, quillon::link::WireEncoding::kUtf8);
  return 0;
}
