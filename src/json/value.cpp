#include "json/value.h"

#include <algorithm>
#include <utility>

#include "json/number_text.h"
#include "json/tree_builder.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

constexpr int kScaleShift = 32;
constexpr int kSignShift = 40;

}  // namespace

Value Value::Null() { return Value(Kind::kNull); }

Value::Value(bool b) { SetWords(b ? 1 : 0, Meta(static_cast<std::uint8_t>(Kind::kBoolean), 0)); }

Value::Value(Decimal d) {
  const Int128 mantissa = d.Mantissa();
  const Int128 magnitude = mantissa < 0 ? -mantissa : mantissa;  // below 2^96
  SetNumber(static_cast<std::uint64_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 64),
            mantissa < 0, d.Scale());
}

Value::Value(std::u16string_view text) {
  if (text.size() <= kInlineUnits) {
    text.copy(units_, kInlineUnits);
    units_[7] = static_cast<char16_t>(
        Meta(static_cast<std::uint8_t>(Kind::kText) | kInline, text.size()) >> 48);
    return;
  }
  if (text.size() > UINT32_MAX) throw platform::Failure::Overflow();
  char16_t* units = new char16_t[text.size()];
  std::copy(text.begin(), text.end(), units);
  SetPointer(units, static_cast<std::uint32_t>(text.size()),
             static_cast<std::uint8_t>(Kind::kText) | kOwned);
}

void Value::SetNumber(std::uint64_t low, std::uint32_t high, bool negative, int scale) {
  const std::uint64_t sign = negative && (low != 0 || high != 0) ? 1 : 0;
  SetWords(low, high | (std::uint64_t{static_cast<std::uint8_t>(scale)} << kScaleShift) |
                    (sign << kSignShift) | Meta(static_cast<std::uint8_t>(Kind::kNumber), 0));
}

Value& Value::operator=(const Value& other) {
  if (this != &other) {
    Value copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    if ((Tag() & kOwned) != 0) ReleaseOwned();
    TakeFrom(other);
  }
  return *this;
}

void Value::CopyFrom(const Value& other) {
  std::memcpy(units_, other.units_, sizeof units_);
  SetTag(other.Tag() & ~kOwned);
  switch (kind()) {
    case Kind::kText:
      if ((Tag() & kInline) == 0) {
        units_[7] = 0;
        *this = Value(other.TextView());
      }
      break;
    case Kind::kDictionary:
    case Kind::kCollection:
      TreeArena()->Hold();
      SetTag(Tag() | kOwned);
      break;
    default:
      break;
  }
}

void Value::ReleaseOwned() noexcept {
  if (IsText()) {
    delete[] LoadPointer<char16_t>();
  } else {
    TreeArena()->Release();
  }
  units_[7] = 0;  // Empty
}

Arena* Value::TreeArena() const {
  return IsDictionary() ? LoadPointer<Dictionary>()->arena_ : LoadPointer<Collection>()->arena_;
}

void Value::MoveIntoArena(Arena* arena) {
  if ((Tag() & kOwned) == 0) return;
  if (IsText()) {
    const std::u16string_view text = TextView();
    auto* units = arena->AllocateArray<char16_t>(text.size());
    std::copy(text.begin(), text.end(), units);
    delete[] LoadPointer<char16_t>();
    SetPointer(units, static_cast<std::uint32_t>(text.size()), Tag());
  } else {
    Arena* tree = TreeArena();
    arena->Keep(tree);  // nothing for a container of the same tree
    tree->Release();
  }
  SetTag(Tag() & ~kOwned);
}

std::u16string Value::ToText() const {
  switch (kind()) {
    case Kind::kEmpty:
      return {};
    case Kind::kNull:
      throw platform::Failure::InvalidUseOfNull();
    case Kind::kBoolean:
      return Word(0) != 0 ? u"True" : u"False";
    case Kind::kNumber:
      return ToDecimal().ToText(kDecimalMark);
    case Kind::kText:
      return std::u16string(TextView());
    default:
      throw platform::Failure::TypeMismatch();
  }
}

Decimal Value::ToDecimal() const {
  switch (kind()) {
    case Kind::kEmpty:
      return Decimal(0);
    case Kind::kNull:
      throw platform::Failure::InvalidUseOfNull();
    case Kind::kBoolean:
      return Decimal(Word(0) != 0 ? -1 : 0);
    case Kind::kNumber: {
      const std::uint64_t second = Word(1);
      const Int128 magnitude =
          (static_cast<Int128>(static_cast<std::uint32_t>(second)) << 64) | Word(0);
      return Decimal::FromParts(((second >> kSignShift) & 1) != 0 ? -magnitude : magnitude,
                                static_cast<int>((second >> kScaleShift) & 0xFF));
    }
    case Kind::kText: {
      if (auto d = TextToDecimal(TextView())) return *d;
      throw platform::Failure::TypeMismatch();
    }
    default:
      throw platform::Failure::TypeMismatch();
  }
}

bool Value::ToBool() const {
  switch (kind()) {
    case Kind::kEmpty:
      return false;
    case Kind::kNull:
      throw platform::Failure::InvalidUseOfNull();
    case Kind::kBoolean:
      return Word(0) != 0;
    case Kind::kNumber:
      return !ToDecimal().IsZero();
    case Kind::kText: {
      const std::u16string lower = platform::ToLower(TextView());
      if (lower == u"true") return true;
      if (lower == u"false") return false;
      return !ToDecimal().IsZero();
    }
    default:
      throw platform::Failure::TypeMismatch();
  }
}

const Dictionary& Value::AsDictionary() const {
  if (!IsDictionary()) throw platform::Failure::ObjectRequired();
  return *LoadPointer<Dictionary>();
}

const Collection& Value::AsCollection() const {
  if (!IsCollection()) throw platform::Failure::ObjectRequired();
  return *LoadPointer<Collection>();
}

Dictionary& Value::AsDictionary() {
  return const_cast<Dictionary&>(std::as_const(*this).AsDictionary());
}

Collection& Value::AsCollection() {
  return const_cast<Collection&>(std::as_const(*this).AsCollection());
}

const Value& Value::operator[](std::u16string_view key) const {
  static const Value kAbsent;  // what an absent member reads as; reading never adds it
  const Value* found = AsDictionary().Find(key);
  return found != nullptr ? *found : kAbsent;
}
const Value& Value::operator[](int position) const { return AsCollection().Item(position); }

bool Value::LooseEquals(const Value& other) const {
  if (IsNull() || other.IsNull()) return false;
  if (IsDictionary() || IsCollection() || other.IsDictionary() || other.IsCollection()) {
    return kind() == other.kind() && LoadPointer<void>() == other.LoadPointer<void>();
  }
  if (IsEmpty() && other.IsEmpty()) return true;
  if (IsText() && other.IsText()) return TextView() == other.TextView();
  const bool numeric_here = IsNumber() || (IsEmpty() && other.IsNumber());
  const bool numeric_there = other.IsNumber() || (other.IsEmpty() && IsNumber());
  if (numeric_here && numeric_there) return ToDecimal() == other.ToDecimal();
  return ToText() == other.ToText();
}

const Value& Collection::Item(int position) const {
  if (position < 1 || position > Count()) throw platform::Failure::SubscriptOutOfRange();
  return items_[static_cast<std::size_t>(position - 1)];
}

void Collection::Add(Value value) {
  value.MoveIntoArena(arena_);
  items_.Append(arena_, std::move(value));
}

Value NewObject() { return TreeBuilder::Root(TreeBuilder::Object(*Arena::Create(0), nullptr, 0)); }

Value TreeBuilder::CopyInto(Arena& arena, const Value& value) {
  if (value.IsText()) {
    const std::u16string_view text = value.TextView();
    if (!InArena(text.size())) return value;
    auto* units = arena.AllocateArray<char16_t>(text.size());
    std::copy(text.begin(), text.end(), units);
    return Text(units, static_cast<std::uint32_t>(text.size()));
  }
  if (value.IsCollection()) {
    std::vector<Value> elements;
    for (const Value& element : value.AsCollection()) elements.push_back(CopyInto(arena, element));
    return Array(arena, elements.data(), static_cast<std::uint32_t>(elements.size()));
  }
  if (value.IsDictionary()) {
    std::vector<Dictionary::Entry> members;
    for (const Dictionary::Entry& member : value.AsDictionary().Entries()) {
      const std::u16string_view key = member.first.View();
      const char16_t* units = member.first.Outside();
      if (units != nullptr) {
        auto* kept = arena.AllocateArray<char16_t>(key.size());
        std::copy(key.begin(), key.end(), kept);
        units = kept;
      }
      members.push_back(
          {units != nullptr ? Key(units, static_cast<std::uint32_t>(key.size())) : member.first,
           CopyInto(arena, member.second)});
    }
    return Object(arena, members.data(), static_cast<std::uint32_t>(members.size()));
  }
  return value;
}

Value CopyTree(const Value& value) {
  if (!value.IsDictionary() && !value.IsCollection()) return value;
  Arena* arena = Arena::Create(0);
  try {
    return TreeBuilder::Root(TreeBuilder::CopyInto(*arena, value));
  } catch (...) {
    arena->Release();
    throw;
  }
}

Value NewArray() { return TreeBuilder::Root(TreeBuilder::Array(*Arena::Create(0), nullptr, 0)); }

}  // namespace quillon::json
