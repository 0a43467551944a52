// cc::List: a growable array of elements, optionally sorted (ascending or
// descending) and unique. Raises ArgumentException on an index outside the
// elements or a positional insertion into a sorted list, and
// OutOfMemoryException when an allocation fails.
#pragma once

#include <new>
#include <utility>
#include <vector>

#include "core/container_base.h"
#include "core/exceptions.h"
#include "core/object.h"

namespace cc {

template <class T>
class List : public Object {
 public:
  explicit List(const ContainerOptions& options = {}) : options_(options) {}

  int GetSize() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  // Elements that fit before the next allocation (0 before the first one).
  int GetCapacity() const { return static_cast<int>(items_.capacity()); }
  const ContainerOptions& Options() const { return options_; }

  // Switches the key comparison of Str elements. A sorted list is put in the
  // new order; a unique one then keeps one element per key, the last one
  // added (as adding them all again in their current order would).
  void SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase == options_.ignoreCase) return;
    options_.ignoreCase = ignoreCase;
    container_detail::Reorder(
        items_, options_, [this](const T& a, const T& b) { return Order(a, b); },
        [](T& kept, T&& later) { kept = std::move(later); });
  }

  // Raises ArgumentException when `index` is outside the elements.
  const T& GetAt(int index) const {
    if (index < 0 || index >= GetSize()) throw ArgumentException(kListGetAtError);
    return items_[index];
  }

  // Adds `key`: a sorted list places it after every element that compares
  // equal or lower, an unsorted one at the end; a unique list replaces an
  // equal element instead. Returns the element's index.
  int Add(const T& key) {
    if (options_.unique) {
      const int found = IndexOf(key);
      if (found >= 0) {
        items_[found] = NewElement(key);
        return found;
      }
    }
    const int index = options_.sorted
                          ? container_detail::UpperBound(GetSize(), [&](int i) { return Order(items_[i], key); })
                          : GetSize();
    InsertAt(index, key);
    return index;
  }

  // Inserts at `index` (0 to GetSize()). Raises ArgumentException for a
  // sorted list or an index outside that range.
  void Insert(int index, const T& key) {
    if (options_.sorted) throw ArgumentException(kListInsertSortedError);
    if (index < 0 || index > GetSize()) throw ArgumentException(kListInsIndexError);
    InsertAt(index, key);
  }

  // Index of the first element equal to `key`, -1 when absent.
  int IndexOf(const T& key) const {
    if (options_.sorted) {
      const int i = container_detail::LowerBound(GetSize(), [&](int k) { return Order(items_[k], key); });
      return (i < GetSize() && Order(items_[i], key) == 0) ? i : -1;
    }
    for (int i = 0; i < GetSize(); ++i) {
      if (KeyCompare(items_[i], key, options_.ignoreCase) == 0) return i;
    }
    return -1;
  }
  bool Contains(const T& key) const { return IndexOf(key) >= 0; }

  // Removes the first element equal to `key`; false when there is none.
  bool Remove(const T& key) { return RemoveAt(IndexOf(key)); }
  // False (and nothing removed) when `index` is outside the elements.
  bool RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return false;
    items_.erase(items_.begin() + index);
    return true;
  }
  // Removes every element; the storage is kept.
  void Clear() { items_.clear(); }
  // Makes room for at least `capacity` elements.
  void Reserve(int capacity) { container_detail::EnsureCapacity(items_, capacity, options_); }

  typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<T>::const_iterator end() const { return items_.end(); }

  const char16_t* ClassName() const override { return u"List"; }

 private:
  int Order(const T& element, const T& key) const {
    const int c = KeyCompare(element, key, options_.ignoreCase);
    return options_.descending ? -c : c;
  }

  static T NewElement(const T& key) {
    try {
      return T(key);
    } catch (const std::bad_alloc&) {
      throw OutOfMemoryException(kListNewAssocError);
    }
  }

  void InsertAt(int index, const T& key) {
    container_detail::EnsureCapacity(items_, GetSize() + 1, options_);
    items_.insert(items_.begin() + index, NewElement(key));
  }

  ContainerOptions options_;
  std::vector<T> items_;
};

}  // namespace cc
