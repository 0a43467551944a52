#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/list.h"
#include "core/map.h"
#include "core/str.h"

namespace cc {
namespace {

template <class T>
std::vector<T> Elements(const List<T>& list) {
  return std::vector<T>(list.begin(), list.end());
}

std::string Dump(const Map<Str, int>& map) {
  std::string out;
  for (const auto& entry : map) out += entry.key.ToUtf8() + "=" + std::to_string(entry.value) + " ";
  return out;
}

TEST(ListTest, OrderAndUniqueness) {
  struct Case {
    ContainerOptions options;
    std::vector<int> added;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {{}, {3, 1, 2, 1}, {3, 1, 2, 1}},
      {{.unique = true}, {3, 1, 2, 1}, {3, 1, 2}},
      {{.sorted = true}, {3, 1, 2, 1}, {1, 1, 2, 3}},
      {{.sorted = true, .descending = true}, {3, 1, 5, 2, 1}, {5, 3, 2, 1, 1}},
      {{.sorted = true, .unique = true}, {3, 1, 2, 1, 3, 9, 0}, {0, 1, 2, 3, 9}},
      {{.sorted = true, .descending = true, .unique = true}, {4, 4, 8, 6, 8}, {8, 6, 4}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    List<int> list(cases[i].options);
    for (int v : cases[i].added) list.Add(v);
    EXPECT_EQ(cases[i].expected, Elements(list)) << "case " << i;
  }
}

TEST(MapTest, InsertionGoesAfterEqualKeys) {
  Map<Str, int> map({.sorted = true});
  const std::pair<const char16_t*, int> adds[] = {{u"b", 1}, {u"a", 2}, {u"b", 3}, {u"c", 4}, {u"b", 5}};
  for (const auto& [key, value] : adds) map.Add(key, value);
  EXPECT_EQ("a=2 b=1 b=3 b=5 c=4 ", Dump(map));
  EXPECT_EQ(1, map.IndexOfKey(u"b"));  // the first of equal keys

  Map<Str, int> descending({.sorted = true, .descending = true});
  for (const auto& [key, value] : adds) descending.Add(key, value);
  EXPECT_EQ("c=4 b=1 b=3 b=5 a=2 ", Dump(descending));
}

TEST(MapTest, UniqueKeepsFirstSpellingAndLastValue) {
  Map<Str, int> map({.sorted = true, .unique = true, .ignoreCase = true});
  EXPECT_EQ(0, map.Add(u"Key", 1));
  EXPECT_EQ(0, map.Add(u"KEY", 2));
  EXPECT_EQ(1, map.GetSize());
  EXPECT_EQ(Str(u"Key"), map.GetKey(0));
  EXPECT_EQ(2, map.GetValue(0));
  ASSERT_NE(nullptr, map.Find(u"kEy"));
  EXPECT_EQ(2, *map.Find(u"kEy"));
  EXPECT_EQ(nullptr, map.Find(u"other"));

  Map<Str, int> caseSensitive({.sorted = true, .unique = true});
  caseSensitive.Add(u"Key", 1);
  caseSensitive.Add(u"KEY", 2);
  EXPECT_EQ("KEY=2 Key=1 ", Dump(caseSensitive));
}

// Every size across the switch from scanning to bisecting, ascending and
// descending: IndexOf and the insertion position must match a reference.
TEST(ListTest, ScanAndBinarySearchAgree) {
  for (bool descending : {false, true}) {
    for (int size = 0; size <= 9; ++size) {
      List<int> list({.sorted = true, .descending = descending});
      std::vector<int> reference;
      for (int k = 0; k < size; ++k) {
        list.Add(2 * k + 1);
        reference.push_back(2 * k + 1);
      }
      for (int probe = 0; probe <= 2 * size + 1; ++probe) {
        const bool present = probe % 2 == 1 && probe < 2 * size;
        const int index = list.IndexOf(probe);
        const int expected = descending ? size - 1 - (probe / 2) : probe / 2;
        EXPECT_EQ(present ? expected : -1, index)
            << "descending " << descending << " size " << size << " probe " << probe;
      }
      list.Add(size);  // lands in order whatever the size
      std::vector<int> elements = Elements(list);
      EXPECT_TRUE(descending ? std::is_sorted(elements.rbegin(), elements.rend())
                             : std::is_sorted(elements.begin(), elements.end()))
          << "descending " << descending << " size " << size;
    }
  }
}

TEST(ListTest, RemoveAndInsert) {
  List<Str> list({.ignoreCase = true});
  list.Add(u"a");
  list.Add(u"c");
  list.Insert(1, u"b");
  list.Insert(3, u"d");
  list.Insert(0, u"start");
  EXPECT_EQ(5, list.GetSize());
  EXPECT_EQ(Str(u"b"), list.GetAt(2));
  EXPECT_EQ(2, list.IndexOf(u"B"));
  EXPECT_TRUE(list.Remove(u"B"));
  EXPECT_FALSE(list.Remove(u"B"));
  EXPECT_FALSE(list.RemoveAt(4));
  EXPECT_TRUE(list.RemoveAt(0));
  EXPECT_EQ(std::vector<Str>({u"a", u"c", u"d"}), Elements(list));
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_FALSE(list.Contains(u"a"));
}

TEST(ContainerTest, MisuseRaisesWithItsMessage) {
  List<int> list;
  list.Add(1);
  List<int> sorted({.sorted = true});
  Map<Str, int> map;
  map.Add(u"a", 1);
  Map<Str, int> sortedMap({.sorted = true});
  struct Case {
    std::function<void()> misuse;
    const char16_t* message;
  };
  const Case cases[] = {
      {[&] { list.GetAt(1); }, kListGetAtError},
      {[&] { list.GetAt(-1); }, kListGetAtError},
      {[&] { list.Insert(2, 5); }, kListInsIndexError},
      {[&] { list.Insert(-1, 5); }, kListInsIndexError},
      {[&] { sorted.Insert(0, 5); }, kListInsertSortedError},
      {[&] { map.GetKey(1); }, kMapGetKeyError},
      {[&] { map.GetValue(-1); }, kMapGetValueError},
      {[&] { map.SetValue(1, 2); }, kMapSetValueError},
      {[&] { map.Insert(3, u"x", 1); }, kListInsIndexError},
      {[&] { sortedMap.Insert(0, u"x", 1); }, kListInsertSortedError},
      {[&] { sortedMap.Add(map, 0, 2); }, kMapAddRangeError},
      {[&] { sortedMap.Add(map, 2, 0); }, kMapAddRangeError},
      {[&] { sortedMap.Add(map, -1, 1); }, kMapAddRangeError},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    try {
      cases[i].misuse();
      ADD_FAILURE() << "case " << i << " raised nothing";
    } catch (const ArgumentException& e) {
      EXPECT_EQ(Str(cases[i].message), e.Message()) << "case " << i;
      EXPECT_EQ(Str(cases[i].message).ToUtf8(), e.what()) << "case " << i;
    }
  }
  EXPECT_EQ(1, list.GetSize());
  EXPECT_EQ(0, sortedMap.GetSize());
}

TEST(ContainerTest, ExactMessages) {
  EXPECT_EQ(std::u16string_view(u"List::_Alloc(int len), ERROR for realloc memory."), kListAllocError);
  EXPECT_EQ(std::u16string_view(u"Map::SetValue(int index, const _Ty &val), ERROR for out of Capacity."),
            kMapSetValueError);
  const Exception& e = UserException(u"App::GetShareMemory(), ERROR for CreateFileMapping");
  EXPECT_EQ(Str(u"App::GetShareMemory(), ERROR for CreateFileMapping"), e.ToString());
  EXPECT_EQ(std::u16string_view(u"UserException"), e.ClassName());
}

TEST(ContainerTest, CapacityFollowsGrowthRule) {
  struct Case {
    int initial;
    double factor;
    int adds;
    int capacity;
  };
  const Case cases[] = {
      {10, 1.3, 1, 10},  {10, 1.3, 10, 10}, {10, 1.3, 11, 14},
      {10, 2.0, 11, 22}, {10, 1.0, 11, 14},  // a factor of 1.0 or less means 1.3
      {10, 0.5, 11, 14}, {0, 1.3, 1, 1},     // never below the count
      {4, 3.0, 5, 15},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    List<int> list({.initialCapacity = cases[i].initial, .growthFactor = cases[i].factor});
    for (int k = 0; k < cases[i].adds; ++k) list.Add(k);
    EXPECT_EQ(cases[i].capacity, list.GetCapacity()) << "case " << i;
  }
}

TEST(ContainerTest, IgnoreCaseSwitchedLater) {
  Map<Str, int> map({.sorted = true, .unique = true});
  map.Add(u"b", 1);
  map.Add(u"B", 2);
  map.Add(u"a", 3);
  map.Add(u"C", 4);
  EXPECT_EQ("B=2 C=4 a=3 b=1 ", Dump(map));
  map.SetIgnoreCase(true);
  EXPECT_EQ("a=3 B=1 C=4 ", Dump(map));
  EXPECT_EQ(1, map.IndexOfKey(u"b"));
  map.SetIgnoreCase(false);
  EXPECT_EQ("B=1 C=4 a=3 ", Dump(map));
  EXPECT_EQ(-1, map.IndexOfKey(u"b"));

  List<Str> list({.sorted = true, .unique = true});
  list.Add(u"x");
  list.Add(u"X");
  list.SetIgnoreCase(true);
  EXPECT_EQ(std::vector<Str>({u"x"}), Elements(list));
}

// AddAll must leave exactly what one Add per item leaves, whether it merges
// or falls back.
TEST(MapTest, AddAllMatchesAddInTurn) {
  std::mt19937 random(7);
  const char16_t* keys[] = {u"a", u"A", u"b", u"B", u"c", u"d", u"D", u"e"};
  for (int round = 0; round < 200; ++round) {
    const bool ignoreCase = round % 2 == 0;
    const ContainerOptions options{.sorted = true, .descending = round % 3 == 0, .unique = true,
                                   .ignoreCase = ignoreCase};
    Map<Str, int> one(options);
    Map<Str, int> all(options);
    for (int k = 0; k < 4; ++k) {
      const char16_t* key = keys[random() % 8];
      one.Add(key, k);
      all.Add(key, k);
    }
    std::vector<Map<Str, int>::Entry> items;
    for (int k = 0; k < static_cast<int>(random() % 6); ++k) items.push_back({keys[random() % 8], 100 + k});
    if (round % 4 < 2) {  // half of the rounds in map order, so the merge runs
      Map<Str, int> ordered(options);
      for (const auto& item : items) ordered.Add(item.key, item.value);
      items.assign(ordered.begin(), ordered.end());
    }
    for (const auto& item : items) one.Add(item.key, item.value);
    all.AddAll(std::vector<Map<Str, int>::Entry>(items));
    EXPECT_EQ(Dump(one), Dump(all)) << "round " << round;
  }
}

TEST(MapTest, AddRangeOfAnotherMap) {
  Map<Str, int> source;
  source.Add(u"x", 1);
  source.Add(u"y", 2);
  source.Add(u"z", 3);
  Map<Str, int> target({.sorted = true, .unique = true});
  target.Add(u"y", 0);
  target.Add(source, 1, 2);
  EXPECT_EQ("y=2 z=3 ", Dump(target));
  target.Add(source, 0, -1);
  EXPECT_EQ("x=1 y=2 z=3 ", Dump(target));
  target.Add(target, 0, 3);  // from itself
  EXPECT_EQ("x=1 y=2 z=3 ", Dump(target));
  EXPECT_TRUE(target.Remove(u"y"));
  EXPECT_FALSE(target.RemoveAt(2));
  EXPECT_EQ("x=1 z=3 ", Dump(target));
}

// A key whose copy fails as an allocation would.
struct FailingKey {
  int value = 0;
  bool failOnCopy = false;
  FailingKey(int v, bool fail) : value(v), failOnCopy(fail) {}
  FailingKey(const FailingKey& other) : value(other.value) {
    if (other.failOnCopy) throw std::bad_alloc();
  }
  FailingKey& operator=(const FailingKey&) = default;
  FailingKey(FailingKey&&) noexcept = default;
  FailingKey& operator=(FailingKey&&) noexcept = default;
  bool operator<(const FailingKey& other) const { return value < other.value; }
};

TEST(ContainerTest, AllocationFailureRaisesOutOfMemory) {
  List<FailingKey> list;
  list.Add(FailingKey(1, false));
  try {
    list.Add(FailingKey(2, true));
    ADD_FAILURE() << "list add raised nothing";
  } catch (const OutOfMemoryException& e) {
    EXPECT_EQ(Str(kListNewAssocError), e.Message());
  }
  Map<FailingKey, int> map;
  try {
    map.Add(FailingKey(2, true), 1);
    ADD_FAILURE() << "map add raised nothing";
  } catch (const OutOfMemoryException& e) {
    EXPECT_EQ(Str(kMapNewAssocError), e.Message());
  }
  EXPECT_EQ(1, list.GetSize());
  EXPECT_EQ(0, map.GetSize());

  // Beyond any address space, yet small enough for a 1 MB stack.
  using Huge = std::array<char, 1 << 16>;
  List<Huge> huge({.initialCapacity = INT_MAX});
  try {
    huge.Add(Huge{});
    ADD_FAILURE() << "a capacity beyond memory raised nothing";
  } catch (const OutOfMemoryException& e) {
    EXPECT_EQ(Str(kListAllocError), e.Message());
  }
  EXPECT_EQ(0, huge.GetSize());
}

}  // namespace
}  // namespace cc
