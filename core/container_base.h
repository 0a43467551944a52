// What cc::List and cc::Map share: the settings fixed at construction, the
// key comparison, the growth rule and the search in a sorted array.
#pragma once

#include <algorithm>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/exceptions.h"
#include "core/str.h"

namespace cc {

struct ContainerOptions {
  // Keep the elements in ascending (descending) order of key; positional
  // insertion is then refused.
  bool sorted = false;
  bool descending = false;
  // Adding a key that compares equal replaces the existing element's value
  // instead of adding a second element.
  bool unique = false;
  // Str keys compare with ASCII-only case folding.
  bool ignoreCase = false;
  // The capacity never drops below this once storage exists.
  int initialCapacity = 0;
  // Growth factor of the capacity; 1.0 or less means the default 1.3.
  double growthFactor = 1.3;
};

// <0, 0, >0. Keys of any type with operator<; `ignoreCase` only matters for
// Str keys.
template <class K>
int KeyCompare(const K& a, const K& b, bool ignoreCase) {
  return a < b ? -1 : (b < a ? 1 : 0);
}
inline int KeyCompare(const Str& a, const Str& b, bool ignoreCase) { return a.Compare(b, ignoreCase); }

namespace container_detail {

inline constexpr double kDefaultGrowthFactor = 1.3;
// Below this many elements a sorted container is scanned, not bisected.
inline constexpr int kBinarySearchMinimum = 4;

// The capacity to allocate when `needed` elements would exceed the current
// one: the larger of needed × factor and the initial capacity, never less
// than `needed`.
inline int GrownCapacity(int needed, const ContainerOptions& options) {
  const double factor = options.growthFactor > 1.0 ? options.growthFactor : kDefaultGrowthFactor;
  const double grown = std::min(static_cast<double>(needed) * factor, 2147483647.0);
  return std::max({static_cast<int>(grown), options.initialCapacity, needed});
}

// Makes room for `needed` elements by the growth rule; a failed allocation
// raises OutOfMemoryException.
template <class E>
void EnsureCapacity(std::vector<E>& items, int needed, const ContainerOptions& options) {
  if (needed <= static_cast<int>(items.capacity())) return;
  try {
    items.reserve(static_cast<size_t>(GrownCapacity(needed, options)));
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryException(kListAllocError);
  } catch (const std::length_error&) {
    throw OutOfMemoryException(kListAllocError);
  }
}

// `orderAt(i)` is <0 when element i comes before the key in container
// order, 0 when it compares equal, >0 when after. Both searches scan below
// kBinarySearchMinimum elements and bisect from there on, with the same
// results.
//
// The first index whose element does not come before the key.
template <class OrderAt>
int LowerBound(int size, OrderAt orderAt) {
  if (size < kBinarySearchMinimum) {
    int i = 0;
    while (i < size && orderAt(i) < 0) ++i;
    return i;
  }
  int low = 0;
  int high = size;
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (orderAt(mid) < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

// The first index whose element comes after the key: insertion goes after
// every element that compares equal or lower.
template <class OrderAt>
int UpperBound(int size, OrderAt orderAt) {
  if (size < kBinarySearchMinimum) {
    int i = 0;
    while (i < size && orderAt(i) <= 0) ++i;
    return i;
  }
  int low = 0;
  int high = size;
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (orderAt(mid) <= 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

// Re-establishes order and uniqueness after the comparison changed, with the
// effect of adding every element again in its current order: a run of
// equal keys keeps its first element, into which `merge(first, later)`
// folds each later one.
template <class E, class Compare, class Merge>
void Reorder(std::vector<E>& items, const ContainerOptions& options, Compare compare, Merge merge) {
  if (options.sorted) {
    std::stable_sort(items.begin(), items.end(), [&](const E& a, const E& b) { return compare(a, b) < 0; });
  }
  if (!options.unique || items.empty()) return;
  std::vector<E> kept;
  kept.reserve(items.capacity());
  for (E& item : items) {
    auto same = [&](const E& k) { return compare(k, item) == 0; };
    auto found = options.sorted ? (kept.empty() || !same(kept.back()) ? kept.end() : kept.end() - 1)
                                : std::find_if(kept.begin(), kept.end(), same);
    if (found == kept.end()) {
      kept.push_back(std::move(item));
    } else {
      merge(*found, std::move(item));
    }
  }
  items.swap(kept);
}

}  // namespace container_detail
}  // namespace cc
