// cc::Map: a growable array of key-and-value pairs, optionally sorted by key
// (ascending or descending) and unique. Raises ArgumentException on an index
// outside the entries or a positional insertion into a sorted map, and
// OutOfMemoryException when an allocation fails.
#pragma once

#include <new>
#include <utility>
#include <vector>

#include "core/container_base.h"
#include "core/exceptions.h"
#include "core/object.h"

namespace cc {

template <class K, class V>
class Map : public Object {
 public:
  struct Entry {
    K key;
    V value;
  };

  explicit Map(const ContainerOptions& options = {}) : options_(options) {}

  int GetSize() const { return static_cast<int>(entries_.size()); }
  bool IsEmpty() const { return entries_.empty(); }
  // Entries that fit before the next allocation (0 before the first one).
  int GetCapacity() const { return static_cast<int>(entries_.capacity()); }
  const ContainerOptions& Options() const { return options_; }

  // Switches the comparison of Str keys. A sorted map is put in the new
  // order; a unique one then keeps one entry per key, with the spelling of
  // the key that came first and the value of the one that came last (as
  // adding them all again in their current order would).
  void SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase == options_.ignoreCase) return;
    options_.ignoreCase = ignoreCase;
    container_detail::Reorder(
        entries_, options_, [this](const Entry& a, const Entry& b) { return Order(a.key, b.key); },
        [](Entry& kept, Entry&& later) { kept.value = std::move(later.value); });
  }

  // Each raises ArgumentException when `index` is outside the entries.
  const K& GetKey(int index) const {
    if (index < 0 || index >= GetSize()) throw ArgumentException(kMapGetKeyError);
    return entries_[index].key;
  }
  const V& GetValue(int index) const {
    if (index < 0 || index >= GetSize()) throw ArgumentException(kMapGetValueError);
    return entries_[index].value;
  }
  void SetValue(int index, const V& value) {
    if (index < 0 || index >= GetSize()) throw ArgumentException(kMapSetValueError);
    entries_[index].value = value;
  }

  // Adds the pair: a sorted map places it after every entry whose key
  // compares equal or lower, an unsorted one at the end; a unique map
  // replaces the value of an entry with an equal key instead (the stored
  // key keeps its spelling). Returns the entry's index.
  int Add(const K& key, const V& value) {
    if (options_.unique) {
      const int found = IndexOfKey(key);
      if (found >= 0) {
        entries_[found].value = value;
        return found;
      }
    }
    const int index =
        options_.sorted ? container_detail::UpperBound(GetSize(), [&](int i) { return Order(entries_[i].key, key); })
                        : GetSize();
    InsertAt(index, key, value);
    return index;
  }

  // Adds `length` entries of `other` from `fromIndex` on, one by one as Add
  // does (`length` < 0: to its end). Raises ArgumentException when the range
  // is not inside `other`.
  void Add(const Map& other, int fromIndex, int length) {
    if (length < 0) length = other.GetSize() - fromIndex;
    if (fromIndex < 0 || length < 0 || fromIndex > other.GetSize() - length) {
      throw ArgumentException(kMapAddRangeError);
    }
    const std::vector<Entry> range(other.entries_.begin() + fromIndex,
                                   other.entries_.begin() + fromIndex + length);
    for (const Entry& entry : range) Add(entry.key, entry.value);
  }

  // Adds `items` with the effect of calling Add for each in turn. When this
  // map is sorted and unique and `items` are in its order with no two keys
  // equal, this is a single merge pass instead of one insertion each.
  void AddAll(std::vector<Entry>&& items) {
    if (!options_.sorted || !options_.unique || !StrictlyOrdered(items)) {
      for (const Entry& item : items) Add(item.key, item.value);
      return;
    }
    if (entries_.empty()) {
      container_detail::EnsureCapacity(items, static_cast<int>(items.size()), options_);
      entries_ = std::move(items);
      return;
    }
    MergeOrdered(std::move(items));
  }

  // Inserts at `index` (0 to GetSize()). Raises ArgumentException for a
  // sorted map or an index outside that range.
  void Insert(int index, const K& key, const V& value) {
    if (options_.sorted) throw ArgumentException(kListInsertSortedError);
    if (index < 0 || index > GetSize()) throw ArgumentException(kListInsIndexError);
    InsertAt(index, key, value);
  }

  // Index of the first entry whose key equals `key`, -1 when absent.
  int IndexOfKey(const K& key) const {
    if (options_.sorted) {
      const int i = container_detail::LowerBound(GetSize(), [&](int k) { return Order(entries_[k].key, key); });
      return (i < GetSize() && Order(entries_[i].key, key) == 0) ? i : -1;
    }
    for (int i = 0; i < GetSize(); ++i) {
      if (KeyCompare(entries_[i].key, key, options_.ignoreCase) == 0) return i;
    }
    return -1;
  }
  bool ContainsKey(const K& key) const { return IndexOfKey(key) >= 0; }
  // The value stored under `key`, or null when absent. Valid until the next
  // change of the map.
  const V* Find(const K& key) const {
    const int i = IndexOfKey(key);
    return i < 0 ? nullptr : &entries_[i].value;
  }

  // Removes the first entry with an equal key; false when there is none.
  bool Remove(const K& key) { return RemoveAt(IndexOfKey(key)); }
  // False (and nothing removed) when `index` is outside the entries.
  bool RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return false;
    entries_.erase(entries_.begin() + index);
    return true;
  }
  // Removes every entry; the storage is kept.
  void Clear() { entries_.clear(); }
  // Makes room for at least `capacity` entries.
  void Reserve(int capacity) { container_detail::EnsureCapacity(entries_, capacity, options_); }

  typename std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  typename std::vector<Entry>::const_iterator end() const { return entries_.end(); }

  const char16_t* ClassName() const override { return u"Map"; }

 private:
  int Order(const K& a, const K& b) const {
    const int c = KeyCompare(a, b, options_.ignoreCase);
    return options_.descending ? -c : c;
  }

  bool StrictlyOrdered(const std::vector<Entry>& items) const {
    for (size_t i = 1; i < items.size(); ++i) {
      if (Order(items[i - 1].key, items[i].key) >= 0) return false;
    }
    return true;
  }

  static Entry NewEntry(const K& key, const V& value) {
    try {
      return Entry{key, value};
    } catch (const std::bad_alloc&) {
      throw OutOfMemoryException(kMapNewAssocError);
    }
  }

  void InsertAt(int index, const K& key, const V& value) {
    container_detail::EnsureCapacity(entries_, GetSize() + 1, options_);
    entries_.insert(entries_.begin() + index, NewEntry(key, value));
  }

  // Both sequences are strictly ordered: an equal key keeps the stored
  // spelling and takes the new value.
  void MergeOrdered(std::vector<Entry>&& items) {
    std::vector<Entry> merged;
    container_detail::EnsureCapacity(merged, GetSize() + static_cast<int>(items.size()), options_);
    size_t a = 0;
    size_t b = 0;
    while (a < entries_.size() || b < items.size()) {
      const int order = a == entries_.size() ? 1 : (b == items.size() ? -1 : Order(entries_[a].key, items[b].key));
      if (order < 0) {
        merged.push_back(std::move(entries_[a++]));
      } else if (order > 0) {
        merged.push_back(std::move(items[b++]));
      } else {
        merged.push_back(Entry{std::move(entries_[a++].key), std::move(items[b++].value)});
      }
    }
    entries_.swap(merged);
  }

  ContainerOptions options_;
  std::vector<Entry> entries_;
};

}  // namespace cc
