// The names table of the run indexes against the standard map: random
// insertions and deletions over a small pool of keys, so that probe runs
// collide, wrap round the end of the table and are cut by deletions.
#include "core/run/name_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace dovetam {
namespace {

void ExpectSame(const NameTable<int>& table, const std::unordered_map<std::u16string, int>& ref,
                const std::vector<std::u16string>& pool) {
  ASSERT_EQ(ref.size(), table.size());
  for (const std::u16string& key : pool) {
    const int* value = table.Find(key);
    const auto it = ref.find(key);
    ASSERT_EQ(it != ref.end(), value != nullptr);
    if (value) {
      EXPECT_EQ(it->second, *value);
    }
  }
  std::size_t seen = 0;
  table.ForEach([&](const std::u16string& key, const int& value) {
    ++seen;
    const auto it = ref.find(key);
    ASSERT_NE(ref.end(), it);
    EXPECT_EQ(it->second, value);
  });
  EXPECT_EQ(ref.size(), seen);
}

TEST(NameTable, AgreesWithTheStandardMapUnderRandomChanges) {
  for (const std::size_t poolSize : {3u, 40u, 700u}) {
    std::vector<std::u16string> pool;
    for (std::size_t k = 0; k < poolSize; ++k) {
      // Short names live in the key itself, long ones on the heap.
      pool.push_back(k % 3 == 0 ? std::u16string{u'F', char16_t(u'A' + k % 26)}.append(k / 26, u'x')
                                : std::u16string(u"LONGER NAME NUMBER ").append(k, u'#'));
    }
    NameTable<int> table;
    std::unordered_map<std::u16string, int> ref;
    std::mt19937 rng(static_cast<unsigned>(poolSize));
    for (int step = 0; step < 30000; ++step) {
      const std::u16string& key = pool[rng() % pool.size()];
      switch (rng() % 3) {
        case 0:
        case 1: {
          const auto [value, made] = table.Emplace(key);
          EXPECT_EQ(ref.find(key) == ref.end(), made);
          *value += step;
          ref[key] += step;
          break;
        }
        default:
          EXPECT_EQ(ref.erase(key) == 1, table.Erase(key));
      }
      if (step % 997 == 0) ExpectSame(table, ref, pool);
    }
    ExpectSame(table, ref, pool);
    for (const std::u16string& key : pool) {
      EXPECT_EQ(ref.erase(key) == 1, table.Erase(key));
    }
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(nullptr, table.Find(pool[0]));
  }
}

TEST(NameTable, ReserveKeepsEveryKey) {
  NameTable<int> table;
  for (int k = 0; k < 100; ++k) *table.Emplace(std::u16string(1, u'n').append(static_cast<std::size_t>(k), u'z')).first = k;
  table.Reserve(10000);
  for (int k = 0; k < 100; ++k) {
    const int* value = table.Find(std::u16string(1, u'n').append(static_cast<std::size_t>(k), u'z'));
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(k, *value);
  }
  EXPECT_EQ(nullptr, table.Find(u"N"));
}

}  // namespace
}  // namespace dovetam
