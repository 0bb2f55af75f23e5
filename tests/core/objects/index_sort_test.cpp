// The index sorts against the plain transcription of the procedure: random
// tables with many ties, in random, ordered, reversed and other awkward
// arrangements, under every kind of sort level; and the cases that show the
// order of equal entries.
#include "core/objects/index_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/common/decimal_text.h"
#include "core/objects/sort_compare.h"
#include "reference_index_sort.h"

namespace dovetam {
namespace {

using testing::ReferenceQuicksort;

std::vector<int32_t> Identity(int32_t n) {
  std::vector<int32_t> a(static_cast<std::size_t>(n) + 1);
  std::iota(a.begin(), a.end(), 0);
  a[0] = -1;
  return a;
}

// The arrangements the sort is given: entry numbers at positions 1..n.
enum class Arrangement { Random, Ascending, Descending, OrganPipe, Sawtooth };

const char* Name(Arrangement a) {
  switch (a) {
    case Arrangement::Random: return "random";
    case Arrangement::Ascending: return "ascending";
    case Arrangement::Descending: return "descending";
    case Arrangement::OrganPipe: return "organ pipe";
    case Arrangement::Sawtooth: return "sawtooth";
  }
  return "";
}

// Arranges a[1..n] from the reference order `sorted` (entries in ascending
// order of the comparator, as a sort of the identity gives it).
std::vector<int32_t> Arrange(const std::vector<int32_t>& sorted, Arrangement how,
                             std::mt19937& rng) {
  std::vector<int32_t> a = sorted;
  const auto first = a.begin() + 1;
  switch (how) {
    case Arrangement::Random:
      std::shuffle(first, a.end(), rng);
      break;
    case Arrangement::Ascending:
      break;
    case Arrangement::Descending:
      std::reverse(first, a.end());
      break;
    case Arrangement::OrganPipe: {
      std::vector<int32_t> b{-1};
      for (std::size_t k = 1; k < a.size(); k += 2) b.push_back(a[k]);
      for (std::size_t k = a.size() - 1 - ((a.size() - 1) % 2 == 1 ? 1 : 0); k >= 2; k -= 2) {
        b.push_back(a[k]);
      }
      b.resize(a.size());
      a = b;
      break;
    }
    case Arrangement::Sawtooth:
      for (std::size_t k = 1; k + 7 < a.size(); k += 7) std::reverse(a.begin() + k, a.begin() + k + 7);
      break;
  }
  return a;
}

struct RandomLevels {
  SortLevels levels;
  std::string text;
};

RandomLevels MakeLevels(std::mt19937& rng) {
  std::vector<int16_t> keys{1, 2, 3};
  std::shuffle(keys.begin(), keys.end(), rng);
  RandomLevels r;
  r.levels.count = static_cast<int16_t>(1 + rng() % 3);
  // The name key always stands among the compared levels (it is always shown).
  if (std::find(keys.begin(), keys.begin() + r.levels.count, 1) == keys.begin() + r.levels.count) {
    std::swap(keys[0], *std::find(keys.begin(), keys.end(), 1));
  }
  for (int k = 1; k <= 3; ++k) {
    r.levels.key[k] = keys[k - 1];
    r.levels.dir[k] = static_cast<int16_t>(1 + rng() % 2);
  }
  r.levels.mix = rng() % 2 == 0;
  r.text = "count " + std::to_string(r.levels.count) + " mix " + std::to_string(r.levels.mix);
  for (int k = 1; k <= 3; ++k) {
    r.text += ' ';
    r.text += std::to_string(r.levels.key[k]);
    r.text += '/';
    r.text += std::to_string(r.levels.dir[k]);
  }
  return r;
}

// Names drawn from few spellings, so that ties (also ties of case) abound.
std::u16string RandomName(std::mt19937& rng) {
  static const std::u16string kNames[] = {u"a", u"A", u"b", u"B.txt", u"b.TXT", u"ｂ", u"あ", u"ア",
                                          u"c1", u"C1", u"c10", u"c2", u"\xDCFF"};
  return kNames[rng() % (sizeof(kNames) / sizeof(kNames[0]))];
}

ListingTable RandomListing(int32_t n, std::mt19937& rng) {
  ListingTable t;
  t.Reset(n);
  t.ListCount = n;
  t.ListFolder = u"/x/";
  for (int32_t e = 1; e <= n; ++e) {
    t.ListName[e] = RandomName(rng);
    t.ListIsFolder[e] = rng() % 3 == 0;
    t.ListModified[e] = static_cast<double>(rng() % 3);  // 0 = not read, like any value
    t.ListCreated[e] = static_cast<double>(rng() % 2) + 0.5;
  }
  return t;
}

ObjectTable RandomTargets(int32_t n, std::mt19937& rng) {
  static const std::u16string kFolders[] = {u"/x/", u"/X/", u"/x/y/", u"/xa/"};
  ObjectTable t;
  t.Reset(n);
  t.ObjCount = n;
  for (int32_t e = 1; e <= n; ++e) {
    t.ObjFolder[e] = kFolders[rng() % 4];
    t.ObjName[e] = RandomName(rng);
    t.ObjIsFolder[e] = rng() % 3 == 0;
    t.ObjModified[e] = static_cast<double>(rng() % 3);
    t.ObjCreated[e] = static_cast<double>(rng() % 2);
  }
  return t;
}

TEST(IndexSortTest, ListingMatchesThePlainProcedure) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 300; ++round) {
    const int32_t n = static_cast<int32_t>(rng() % (round < 200 ? 60 : 700));
    ListingTable t = RandomListing(n, rng);
    const RandomLevels levels = MakeLevels(rng);
    // The reference order of the identity gives the "ascending" arrangement.
    t.ListOrder = Identity(n);
    ReferenceQuicksort(t.ListOrder, 1, n, [&](int32_t x, int32_t y) {
      return CompareSelectItems(t, levels.levels, x, y);
    });
    const std::vector<int32_t> sorted = t.ListOrder;
    for (Arrangement how : {Arrangement::Random, Arrangement::Ascending, Arrangement::Descending,
                            Arrangement::OrganPipe, Arrangement::Sawtooth}) {
      SCOPED_TRACE(std::string("n ") + std::to_string(n) + " " + levels.text + " " + Name(how));
      const std::vector<int32_t> start = Arrange(sorted, how, rng);
      t.ListOrder = start;
      ReferenceQuicksort(t.ListOrder, 1, n, [&](int32_t x, int32_t y) {
        return CompareSelectItems(t, levels.levels, x, y);
      });
      const std::vector<int32_t> expected = t.ListOrder;
      t.ListOrder = start;
      SortListingIndex(t, levels.levels, 1, n);
      ASSERT_EQ(expected, t.ListOrder);
    }
  }
}

TEST(IndexSortTest, TargetsMatchThePlainProcedure) {
  std::mt19937 rng(77);
  for (int round = 0; round < 200; ++round) {
    const int32_t n = static_cast<int32_t>(rng() % (round < 150 ? 80 : 600));
    ObjectTable t = RandomTargets(n, rng);
    const RandomLevels levels = MakeLevels(rng);
    t.OrderIndex = Identity(n);
    ReferenceQuicksort(t.OrderIndex, 1, n, [&](int32_t x, int32_t y) {
      return CompareObjectItems(t, levels.levels, x, y);
    });
    const std::vector<int32_t> sorted = t.OrderIndex;
    for (Arrangement how : {Arrangement::Random, Arrangement::Ascending, Arrangement::Descending,
                            Arrangement::OrganPipe}) {
      SCOPED_TRACE(std::string("n ") + std::to_string(n) + " " + levels.text + " " + Name(how));
      const std::vector<int32_t> start = Arrange(sorted, how, rng);
      t.OrderIndex = start;
      ReferenceQuicksort(t.OrderIndex, 1, n, [&](int32_t x, int32_t y) {
        return CompareObjectItems(t, levels.levels, x, y);
      });
      const std::vector<int32_t> expected = t.OrderIndex;
      t.OrderIndex = start;
      SortTargetIndex(t, levels.levels, 1, n);
      ASSERT_EQ(expected, t.OrderIndex);
    }
  }
}

// Sorts `order`, set to `start` each time, with the plain procedure under
// `compare` and with `sort`, and expects the same order from both.
template <typename Compare, typename Sort>
void ExpectPlainOrder(std::vector<int32_t>& order, const std::vector<int32_t>& start, int32_t n,
                      Compare compare, Sort sort) {
  order = start;
  ReferenceQuicksort(order, 1, n, compare);
  const std::vector<int32_t> expected = order;
  order = start;
  sort();
  EXPECT_EQ(expected, order);
}

// Tables big enough that their name keys are made on several threads; in a
// random arrangement the plain procedure stays quick enough to compare with.
TEST(IndexSortTest, BigTablesMatchThePlainProcedure) {
  std::mt19937 rng(9000);
  const int32_t n = 10000;
  SortLevels levels;
  levels.key = {0, 1, 2, 3};
  levels.dir = {0, 1, 2, 1};
  levels.count = 3;
  ListingTable listing = RandomListing(n, rng);
  for (int32_t e = 1; e <= n; ++e) listing.ListName[e] += DecimalText(rng() % 50);
  const std::vector<int32_t> start = Arrange(Identity(n), Arrangement::Random, rng);
  ExpectPlainOrder(
      listing.ListOrder, start, n,
      [&](int32_t x, int32_t y) { return CompareSelectItems(listing, levels, x, y); },
      [&] { SortListingIndex(listing, levels, 1, n); });

  ObjectTable targets = RandomTargets(n, rng);
  for (int32_t e = 1; e <= n; ++e) targets.ObjName[e] += DecimalText(rng() % 50);
  ExpectPlainOrder(
      targets.OrderIndex, start, n,
      [&](int32_t x, int32_t y) { return CompareObjectItems(targets, levels, x, y); },
      [&] { SortTargetIndex(targets, levels, 1, n); });
}

// Names alike far into their text (one the start of another, some differing
// only in case or in a last character): the sort keys share long starts, so
// the order must come from more than their first bytes.
TEST(IndexSortTest, NamesAlikeFarIntoTheirTextMatchThePlainProcedure) {
  static const std::u16string kNames[] = {
      u"photo_2023_0001", u"photo_2023_0001_a", u"PHOTO_2023_0001_A", u"photo_2023_0001_b",
      u"photo_2023_0002", u"photo_2023_00010",  u"photo_2023_0001.jpg", u"photo_2023_0001 ",
      u"Photo_2023_0001-", u"a.txt"};
  std::mt19937 rng(11);
  for (int round = 0; round < 40; ++round) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 300);
    ObjectTable t;
    t.Reset(n);
    t.ObjCount = n;
    ListingTable l;
    l.Reset(n);
    l.ListCount = n;
    for (int32_t e = 1; e <= n; ++e) {
      t.ObjFolder[e] = u"/home/user/pictures/2023/";
      t.ObjName[e] = l.ListName[e] = kNames[rng() % std::size(kNames)];
      t.ObjModified[e] = l.ListModified[e] = static_cast<double>(rng() % 2);
    }
    SortLevels levels;
    levels.count = 2;
    levels.dir[1] = static_cast<int16_t>(1 + rng() % 2);
    const std::vector<int32_t> start = Arrange(Identity(n), Arrangement::Random, rng);
    SCOPED_TRACE(round);
    ExpectPlainOrder(t.OrderIndex, start, n,
                     [&](int32_t x, int32_t y) { return CompareObjectItems(t, levels, x, y); },
                     [&] { SortTargetIndex(t, levels, 1, n); });
    ExpectPlainOrder(l.ListOrder, start, n,
                     [&](int32_t x, int32_t y) { return CompareSelectItems(l, levels, x, y); },
                     [&] { SortListingIndex(l, levels, 1, n); });
  }
}

// Ranks straight, on larger tables and with few distinct values: this is
// where the partitions are long and the tree does the scanning.
TEST(IndexSortTest, RankSortMatchesThePlainProcedureOnLargeTables) {
  std::mt19937 rng(5);
  for (int round = 0; round < 60; ++round) {
    const int32_t n = 500 + static_cast<int32_t>(rng() % 2500);
    // Every tenth round all ranks differ (a table already in order is left
    // as it is only then).
    const int32_t distinct =
        round % 10 == 9 ? n : 1 + static_cast<int32_t>(rng() % (round % 3 == 0 ? 3 : 400));
    std::vector<int32_t> rankOfEntry(static_cast<std::size_t>(n) + 1);
    for (int32_t e = 1; e <= n; ++e) {
      rankOfEntry[e] = distinct == n ? e : static_cast<int32_t>(rng() % distinct);
    }
    std::vector<int32_t> sorted = Identity(n);
    std::stable_sort(sorted.begin() + 1, sorted.end(),
                     [&](int32_t x, int32_t y) { return rankOfEntry[x] < rankOfEntry[y]; });
    for (Arrangement how : {Arrangement::Random, Arrangement::Ascending, Arrangement::Descending,
                            Arrangement::OrganPipe, Arrangement::Sawtooth}) {
      SCOPED_TRACE(std::string("n ") + std::to_string(n) + " distinct " + std::to_string(distinct) +
                   " " + Name(how));
      const std::vector<int32_t> start = Arrange(sorted, how, rng);
      std::vector<int32_t> expected = start;
      ReferenceQuicksort(expected, 1, n, [&](int32_t x, int32_t y) {
        const int32_t a = rankOfEntry[expected[x]];
        const int32_t b = rankOfEntry[expected[y]];
        return a < b ? -1 : (a > b ? 1 : 0);
      });
      std::vector<int32_t> actual = start;
      std::vector<int32_t> rank(static_cast<std::size_t>(n) + 1, INT32_MIN);
      for (int32_t p = 1; p <= n; ++p) rank[p] = rankOfEntry[actual[p]];
      QuicksortByRank(actual, rank, 1, n);
      ASSERT_EQ(expected, actual);
    }
  }
}

// A listing of named entries, in storage order.
ListingTable Listing(const std::vector<std::pair<std::u16string, bool>>& entries,
                     const std::vector<double>& modified = {}) {
  ListingTable t;
  t.Reset(static_cast<int32_t>(entries.size()) + 1);
  t.ListCount = static_cast<int32_t>(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    t.ListName[k + 1] = entries[k].first;
    t.ListIsFolder[k + 1] = entries[k].second;
    t.ListModified[k + 1] = k < modified.size() ? modified[k] : 0;
  }
  t.ListOrder = Identity(t.ListCount);
  t.ListOrder.resize(t.ListName.size());
  return t;
}

std::vector<std::u16string> Shown(const ListingTable& t) {
  std::vector<std::u16string> names;
  for (int32_t p = 1; p <= t.ListCount; ++p) names.push_back(t.ListName[t.ListOrder[p]]);
  return names;
}

SortLevels Levels(std::array<int16_t, 4> key, std::array<int16_t, 4> dir, int16_t count, bool mix) {
  SortLevels l;
  l.key = key;
  l.dir = dir;
  l.count = count;
  l.mix = mix;
  return l;
}

TEST(IndexSortTest, EqualEntriesComeOutInTheProceduresOrder) {
  const SortLevels byName = Levels({0, 1, 2, 3}, {0, 1, 1, 1}, 1, true);
  ListingTable two = Listing({{u"x", false}, {u"X", false}});
  SortListingIndex(two, byName, 1, 2);
  EXPECT_EQ((std::vector<std::u16string>{u"X", u"x"}), Shown(two));

  ListingTable three = Listing({{u"e1", false}, {u"E1", false}, {u"e１", false}});
  SortListingIndex(three, byName, 1, 3);
  EXPECT_EQ((std::vector<std::u16string>{u"E1", u"e１", u"e1"}), Shown(three));

  ListingTable one = Listing({{u"only", false}});
  SortListingIndex(one, byName, 1, 1);
  EXPECT_EQ((std::vector<std::u16string>{u"only"}), Shown(one));
  ListingTable none = Listing({});
  SortListingIndex(none, byName, 1, 0);
  EXPECT_EQ(std::vector<std::u16string>{}, Shown(none));
}

TEST(IndexSortTest, FoldersFirstUnlessMixedAndFilesFirstDescending) {
  struct Row {
    const char* name;
    SortLevels levels;
    std::vector<std::u16string> expected;
  };
  const std::vector<Row> rows = {
      {"ascending", Levels({0, 1, 2, 3}, {0, 1, 1, 1}, 1, false), {u"b", u"d", u"a", u"c"}},
      {"descending", Levels({0, 1, 2, 3}, {0, 2, 1, 1}, 1, false), {u"c", u"a", u"d", u"b"}},
      {"mixed", Levels({0, 1, 2, 3}, {0, 1, 1, 1}, 1, true), {u"a", u"b", u"c", u"d"}},
      {"by date, name second", Levels({0, 2, 1, 3}, {0, 1, 1, 1}, 2, false),
       {u"d", u"c", u"b", u"a"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // a, c files; b, d folders; dates fall with the name, d dated 0.
    ListingTable t = Listing({{u"c", false}, {u"a", false}, {u"d", true}, {u"b", true}},
                             {2, 4, 0, 3});
    SortListingIndex(t, row.levels, 1, 4);
    EXPECT_EQ(row.expected, Shown(t));
  }
}

TEST(IndexSortTest, NamesEqualButForCaseLeaveItToTheNextLevel) {
  ListingTable t = Listing({{u"Readme", false}, {u"README", false}, {u"readme", false}},
                           {3, 1, 2});
  SortListingIndex(t, Levels({0, 1, 2, 3}, {0, 1, 1, 1}, 2, false), 1, 3);
  EXPECT_EQ((std::vector<std::u16string>{u"README", u"readme", u"Readme"}), Shown(t));
}

TEST(IndexSortTest, TargetsCompareTheirWholePath) {
  ObjectTable t;
  t.Reset(3);
  t.ObjCount = 3;
  t.ObjFolder[1] = u"/a/b/";
  t.ObjName[1] = u"z";
  t.ObjFolder[2] = u"/a/";
  t.ObjName[2] = u"bz";
  t.ObjFolder[3] = u"/a/";
  t.ObjName[3] = u"b";
  t.OrderIndex = Identity(3);
  SortTargetIndex(t, Levels({0, 1, 2, 3}, {0, 1, 1, 1}, 1, false), 1, 3);
  // "/a/b" < "/a/b/z" < "/a/bz": decided where the paths first differ.
  EXPECT_EQ((std::vector<int32_t>{-1, 3, 1, 2}), t.OrderIndex);
}

}  // namespace
}  // namespace dovetam
