#include "json/value.h"

#include <algorithm>
#include <functional>

#include "json/number_text.h"
#include "json/recycling_allocator.h"
#include "platform/text.h"

namespace quillon::json {

Value Value::Null() {
  Value v;
  v.data_ = NullTag{};
  return v;
}

Value Value::FromText(std::u16string_view text) {
  Value v;
  v.SetText(text);
  return v;
}

void Value::SetText(std::u16string&& text) {
  if (text.size() <= ShortText::kCapacity) {
    SetText(std::u16string_view(text));
  } else {
    data_ = std::move(text);
  }
}

void Value::SetText(std::u16string_view text) {
  if (text.size() > ShortText::kCapacity) {
    data_ = std::u16string(text);
    return;
  }
  ShortText& held = data_.emplace<ShortText>();
  std::copy(text.begin(), text.end(), held.units);
  held.length = static_cast<std::uint8_t>(text.size());
}

std::u16string_view Value::TextView() const {
  if (const auto* held = std::get_if<ShortText>(&data_)) return held->View();
  return std::get<std::u16string>(data_);
}

std::u16string Value::ToText() const {
  switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Null: throw platform::Failure::InvalidUseOfNull();
    case Kind::Boolean: return std::get<bool>(data_) ? u"True" : u"False";
    case Kind::Number: return std::get<Decimal>(data_).ToText(kDecimalMark);
    case Kind::Text: return std::u16string(TextView());
    default: throw platform::Failure::TypeMismatch();
  }
}

Decimal Value::ToDecimal() const {
  switch (kind()) {
    case Kind::Empty: return Decimal(0);
    case Kind::Null: throw platform::Failure::InvalidUseOfNull();
    case Kind::Boolean: return Decimal(std::get<bool>(data_) ? -1 : 0);
    case Kind::Number: return std::get<Decimal>(data_);
    case Kind::Text: {
      if (auto d = TextToDecimal(TextView())) return *d;
      throw platform::Failure::TypeMismatch();
    }
    default: throw platform::Failure::TypeMismatch();
  }
}

bool Value::ToBool() const {
  switch (kind()) {
    case Kind::Empty: return false;
    case Kind::Null: throw platform::Failure::InvalidUseOfNull();
    case Kind::Boolean: return std::get<bool>(data_);
    case Kind::Number: return !std::get<Decimal>(data_).IsZero();
    case Kind::Text: {
      const std::u16string lower = platform::ToLower(TextView());
      if (lower == u"true") return true;
      if (lower == u"false") return false;
      return !ToDecimal().IsZero();
    }
    default: throw platform::Failure::TypeMismatch();
  }
}

Dictionary& Value::AsDictionary() const { return *DictionaryPtr(); }
Collection& Value::AsCollection() const { return *CollectionPtr(); }

std::shared_ptr<Dictionary> Value::DictionaryPtr() const {
  if (!IsDictionary()) throw platform::Failure::ObjectRequired();
  return std::get<std::shared_ptr<Dictionary>>(data_);
}

std::shared_ptr<Collection> Value::CollectionPtr() const {
  if (!IsCollection()) throw platform::Failure::ObjectRequired();
  return std::get<std::shared_ptr<Collection>>(data_);
}

Value& Value::operator[](std::u16string_view key) const { return AsDictionary().Item(key); }
Value& Value::operator[](int position) const { return AsCollection().Item(position); }

bool Value::LooseEquals(const Value& other) const {
  if (IsNull() || other.IsNull()) return false;
  if (IsDictionary() || IsCollection() || other.IsDictionary() || other.IsCollection()) {
    return data_ == other.data_;
  }
  if (IsEmpty() && other.IsEmpty()) return true;
  const bool numeric_here = IsNumber() || (IsEmpty() && other.IsNumber());
  const bool numeric_there = other.IsNumber() || (other.IsEmpty() && IsNumber());
  if (numeric_here && numeric_there) return ToDecimal() == other.ToDecimal();
  return ToText() == other.ToText();
}

namespace {

std::size_t HashKey(std::u16string_view key) { return std::hash<std::u16string_view>{}(key); }

}  // namespace

std::size_t Dictionary::FindIndex(std::u16string_view key) const {
  if (slots_.empty()) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].first == key) return i;
    }
    return entries_.size();
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = HashKey(key) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) return entries_.size();
    if (entries_[entry - 1].first == key) return entry - 1;
  }
}

void Dictionary::Index(std::size_t entry) {
  if (slots_.empty()) {
    if (entries_.size() <= kUnindexed) return;
    Rehash(64);
    return;
  }
  if (entries_.size() * 2 > slots_.size()) {
    Rehash(slots_.size() * 2);
    return;
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = HashKey(entries_[entry].first) & mask;
  while (slots_[slot] != 0) slot = (slot + 1) & mask;
  slots_[slot] = static_cast<std::uint32_t>(entry + 1);
}

void Dictionary::Rehash(std::size_t slot_count) {
  slots_.assign(slot_count, 0);
  const std::size_t mask = slot_count - 1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    std::size_t slot = HashKey(entries_[i].first) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

Value& Dictionary::Item(std::u16string_view key) {
  const std::size_t found = FindIndex(key);
  if (found != entries_.size()) return entries_[found].second;
  entries_.emplace_back(Key(key), Value());
  Index(entries_.size() - 1);
  return entries_.back().second;
}

const Value* Dictionary::Find(std::u16string_view key) const {
  const std::size_t found = FindIndex(key);
  return found == entries_.size() ? nullptr : &entries_[found].second;
}

void Dictionary::Add(std::u16string key, Value value) {
  if (!TryAdd(std::move(key), std::move(value))) throw platform::Failure::DuplicateKey();
}

bool Dictionary::TryAdd(std::u16string&& key, Value&& value) {
  return TryAdd(Key(key), std::move(value));
}

bool Dictionary::TryAdd(Key&& key, Value&& value) {
  if (FindIndex(key) != entries_.size()) return false;
  entries_.emplace_back(std::move(key), std::move(value));
  Index(entries_.size() - 1);
  return true;
}

void Dictionary::Set(std::u16string_view key, Value value) {
  const std::size_t found = FindIndex(key);
  if (found != entries_.size()) {
    entries_[found].second = std::move(value);
    return;
  }
  entries_.emplace_back(Key(key), std::move(value));
  Index(entries_.size() - 1);
}

std::vector<std::u16string> Dictionary::Keys() const {
  std::vector<std::u16string> keys;
  keys.reserve(entries_.size());
  for (const auto& entry : entries_) keys.emplace_back(entry.first.View());
  return keys;
}

Value& Collection::Item(int position) {
  if (position < 1 || position > Count()) throw platform::Failure::SubscriptOutOfRange();
  return items_[static_cast<std::size_t>(position - 1)];
}

const Value& Collection::Item(int position) const {
  if (position < 1 || position > Count()) throw platform::Failure::SubscriptOutOfRange();
  return items_[static_cast<std::size_t>(position - 1)];
}

std::shared_ptr<Dictionary> MakeDictionary() {
  return std::allocate_shared<Dictionary>(RecyclingAllocator<Dictionary>());
}
std::shared_ptr<Collection> MakeCollection() {
  return std::allocate_shared<Collection>(RecyclingAllocator<Collection>());
}

}  // namespace quillon::json
