#include <algorithm>

#include "json/value.h"

namespace quillon::json {

Dictionary::Dictionary(const Dictionary& other) {
  for (const Entry& entry : other.entries_) AddEntry(entry.first, Value(entry.second));
}

Dictionary& Dictionary::operator=(const Dictionary& other) {
  if (this == &other) return *this;
  Dictionary copy(other);  // first: what this object lets go of may be what holds `other`
  Clear();
  if (arena_ != nullptr) {  // a tree's object keeps its members in the tree
    for (const Entry& entry : copy.entries_) AddEntry(entry.first, Value(entry.second));
    return *this;
  }
  entries_ = std::move(copy.entries_);
  slots_ = std::exchange(copy.slots_, nullptr);
  slot_count_ = std::exchange(copy.slot_count_, 0);
  return *this;
}

Dictionary::~Dictionary() { Clear(); }

void Dictionary::Clear() noexcept {
  if (arena_ == nullptr) {  // a tree's arena frees its members all at once
    for (const Entry& entry : entries_) delete[] entry.first.Outside();
    entries_.DestroyOnHeap();
    delete[] slots_;
  }
  entries_ = StableList<Entry>();
  slots_ = nullptr;
  slot_count_ = 0;
}

Dictionary::Entry* Dictionary::FindEntry(std::u16string_view key) const {
  if (entries_.size() <= kUnindexed) {
    for (const Entry& entry : entries_) {
      if (entry.first.View() == key) return const_cast<Entry*>(&entry);
    }
    return nullptr;
  }
  if (slots_ == nullptr) BuildIndex(64);
  const std::size_t mask = slot_count_ - 1;
  for (std::size_t slot = HashKey(key) & mask;; slot = (slot + 1) & mask) {
    Entry* entry = slots_[slot].entry;
    if (entry == nullptr || entry->first.View() == key) return entry;
  }
}

void Dictionary::BuildIndex(std::size_t slot_count) const {
  while (slot_count < entries_.size() * 2) slot_count *= 2;
  Slot* slots = arena_ != nullptr ? arena_->AllocateArray<Slot>(slot_count) : new Slot[slot_count];
  std::fill(slots, slots + slot_count, Slot{nullptr});
  if (arena_ == nullptr) delete[] slots_;
  slots_ = slots;
  slot_count_ = static_cast<std::uint32_t>(slot_count);
  for (const Entry& entry : entries_) Index(const_cast<Entry*>(&entry));
}

void Dictionary::Index(Entry* entry) const {
  const std::size_t mask = slot_count_ - 1;
  std::size_t slot = HashKey(entry->first) & mask;
  while (slots_[slot].entry != nullptr) slot = (slot + 1) & mask;
  slots_[slot].entry = entry;
}

Dictionary::Entry& Dictionary::AddEntry(std::u16string_view key, Value&& value) {
  if (key.size() > UINT32_MAX) throw platform::Failure::Overflow();
  char16_t short_key[Key::kInlineUnits + 1] = {};
  const char16_t* units = short_key;
  if (key.size() <= Key::kInlineUnits) {
    key.copy(short_key, Key::kInlineUnits);
  } else {
    char16_t* kept =
        arena_ != nullptr ? arena_->AllocateArray<char16_t>(key.size()) : new char16_t[key.size()];
    std::copy(key.begin(), key.end(), kept);
    units = kept;
  }
  if (arena_ != nullptr) value.MoveIntoArena(arena_);
  Entry& entry = entries_.Append(
      arena_, Entry{Key(units, static_cast<std::uint32_t>(key.size())), std::move(value)});
  if (slots_ != nullptr) {
    if (entries_.size() * 2 > slot_count_) {
      BuildIndex(slot_count_ * 2);
    } else {
      Index(&entry);
    }
  }
  return entry;
}

const Value& Dictionary::Item(std::u16string_view key) {
  if (Entry* found = FindEntry(key)) return found->second;
  return AddEntry(key, Value()).second;
}

const Value* Dictionary::Find(std::u16string_view key) const {
  const Entry* found = FindEntry(key);
  return found == nullptr ? nullptr : &found->second;
}

void Dictionary::Add(std::u16string key, Value value) {
  if (!TryAdd(std::move(key), std::move(value))) throw platform::Failure::DuplicateKey();
}

bool Dictionary::TryAdd(std::u16string&& key, Value&& value) {
  if (FindEntry(key) != nullptr) return false;
  AddEntry(key, std::move(value));
  return true;
}

void Dictionary::Set(std::u16string_view key, Value value) {
  Entry* found = FindEntry(key);
  if (found == nullptr) {
    AddEntry(key, std::move(value));
    return;
  }
  if (arena_ != nullptr) value.MoveIntoArena(arena_);
  found->second = std::move(value);
}

std::vector<std::u16string> Dictionary::Keys() const {
  std::vector<std::u16string> keys;
  keys.reserve(entries_.size());
  for (const Entry& entry : entries_) keys.emplace_back(entry.first.View());
  return keys;
}

}  // namespace quillon::json
