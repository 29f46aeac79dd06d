#include "json/value.h"

#include "json/number_text.h"
#include "platform/text.h"

namespace quillon::json {

Value Value::Null() {
  Value v;
  v.data_ = NullTag{};
  return v;
}

std::u16string Value::ToText() const {
  switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Null: throw ValueError::InvalidUseOfNull();
    case Kind::Boolean: return std::get<bool>(data_) ? u"True" : u"False";
    case Kind::Number: return std::get<Decimal>(data_).ToText(kDecimalMark);
    case Kind::Text: return std::get<std::u16string>(data_);
    default: throw ValueError::TypeMismatch();
  }
}

Decimal Value::ToDecimal() const {
  switch (kind()) {
    case Kind::Empty: return Decimal(0);
    case Kind::Null: throw ValueError::InvalidUseOfNull();
    case Kind::Boolean: return Decimal(std::get<bool>(data_) ? -1 : 0);
    case Kind::Number: return std::get<Decimal>(data_);
    case Kind::Text: {
      if (auto d = TextToDecimal(std::get<std::u16string>(data_))) return *d;
      throw ValueError::TypeMismatch();
    }
    default: throw ValueError::TypeMismatch();
  }
}

bool Value::ToBool() const {
  switch (kind()) {
    case Kind::Empty: return false;
    case Kind::Null: throw ValueError::InvalidUseOfNull();
    case Kind::Boolean: return std::get<bool>(data_);
    case Kind::Number: return !std::get<Decimal>(data_).IsZero();
    case Kind::Text: {
      const std::u16string lower = platform::ToLower(std::get<std::u16string>(data_));
      if (lower == u"true") return true;
      if (lower == u"false") return false;
      return !ToDecimal().IsZero();
    }
    default: throw ValueError::TypeMismatch();
  }
}

Dictionary& Value::AsDictionary() const { return *DictionaryPtr(); }
Collection& Value::AsCollection() const { return *CollectionPtr(); }

std::shared_ptr<Dictionary> Value::DictionaryPtr() const {
  if (!IsDictionary()) throw ValueError::ObjectRequired();
  return std::get<std::shared_ptr<Dictionary>>(data_);
}

std::shared_ptr<Collection> Value::CollectionPtr() const {
  if (!IsCollection()) throw ValueError::ObjectRequired();
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

Value& Dictionary::Item(std::u16string_view key) {
  auto found = index_.find(std::u16string(key));
  if (found != index_.end()) return entries_[found->second].second;
  index_.emplace(std::u16string(key), entries_.size());
  entries_.emplace_back(std::u16string(key), Value());
  return entries_.back().second;
}

const Value* Dictionary::Find(std::u16string_view key) const {
  auto found = index_.find(std::u16string(key));
  return found == index_.end() ? nullptr : &entries_[found->second].second;
}

void Dictionary::Add(std::u16string key, Value value) {
  if (index_.count(key) != 0) throw ValueError::DuplicateKey();
  index_.emplace(key, entries_.size());
  entries_.emplace_back(std::move(key), std::move(value));
}

void Dictionary::Set(std::u16string key, Value value) {
  auto found = index_.find(key);
  if (found != index_.end()) {
    entries_[found->second].second = std::move(value);
    return;
  }
  Add(std::move(key), std::move(value));
}

std::vector<std::u16string> Dictionary::Keys() const {
  std::vector<std::u16string> keys;
  keys.reserve(entries_.size());
  for (const auto& entry : entries_) keys.push_back(entry.first);
  return keys;
}

Value& Collection::Item(int position) {
  if (position < 1 || position > Count()) throw ValueError::SubscriptOutOfRange();
  return items_[static_cast<std::size_t>(position - 1)];
}

const Value& Collection::Item(int position) const {
  if (position < 1 || position > Count()) throw ValueError::SubscriptOutOfRange();
  return items_[static_cast<std::size_t>(position - 1)];
}

std::shared_ptr<Dictionary> MakeDictionary() { return std::make_shared<Dictionary>(); }
std::shared_ptr<Collection> MakeCollection() { return std::make_shared<Collection>(); }

}  // namespace quillon::json
