// The indexed rename run, re-run and restore against the plainly written
// reference (reference_run.h) on many small random folders: names that
// collide in letter case, with numbered forms and with each other's bases,
// non-target files in the way, every numbering and evacuation style, base-name
// and mix modes; in part of the folders targets are stored under a link to the
// folder as well as under its path, some of them twice (once under each).
// Names on disk, target states and the log must be the same.
#include <gtest/gtest.h>

#include <random>

#include "core/run/reference_run.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

const std::vector<std::u16string> kPool = {u"a.t", u"A.T", u"a.T", u"b.t", u"a",    u"A",
                                           u"a-2.t", u"A-3.t", u"a2.t", u"a.u", u"b", u"a-2",
                                           u"a.t.t", u"a.t-2", u"b-2.t", u"a_0.t"};

class ReferenceRunTest : public RunTest {
 protected:
  void Compare(const ReferenceRun& ref, std::u16string_view header, std::u16string_view footer) {
    std::vector<std::u16string> disk = ref.disk;
    std::sort(disk.begin(), disk.end());
    EXPECT_EQ(disk, Names());
    for (int32_t i = 1; i <= objects.ObjCount; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(ref.targets[i].name, objects.ObjName[i]);
      EXPECT_EQ(ref.targets[i].orig, objects.ObjOrigName[i]);
      EXPECT_EQ(ref.targets[i].state, objects.ObjState[i]);
    }
    const std::u16string expected = std::u16string(kDate) + std::u16string(header) + u"\r\n" + ref.log +
                                    std::u16string(kDate) + std::u16string(footer) + u"\r\n\r\n";
    EXPECT_EQ(EncodeNativeLossy(expected), EncodeNativeLossy(journal.LogText));
    EXPECT_EQ(ref.done, journal.DoneCount);
    EXPECT_EQ(ref.errors, journal.ErrorCount);
    EXPECT_EQ(ref.tentative, journal.TentativeCount);
  }
};

TEST_F(ReferenceRunTest, RandomFoldersGiveTheReferenceResults) {
  dir.MakeSymlink(u"lw", "w");
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    // A fresh folder "w/" for every scenario.
    for (const std::u16string& n : Names()) ASSERT_EQ(0, ::unlink(EncodeNativeLossy(W() + n).c_str()));
    objects.Reset(10);
    journal = RunJournal();
    journal.LogPath = dir.PathOf(u"p/dovetam_rename.log");
    changeState = 0;
    rule.clear();
    settings = Settings();
    settings.ExtraMode = static_cast<int16_t>(1 + pick(6));
    settings.ExtraNum = static_cast<int32_t>(pick(3));
    settings.FirstNumMode = pick(3) == 0;
    settings.ExtraMixMode = pick(4) == 0;
    settings.BNameMode = pick(3) == 0;
    settings.ExtraMode2 = static_cast<int16_t>(1 + pick(3));

    std::vector<std::u16string> pool = kPool;
    std::shuffle(pool.begin(), pool.end(), rng);
    const std::size_t targets = 1 + pick(6), others = pick(4);
    std::vector<std::u16string> disk;
    for (std::size_t k = 0; k < targets + others; ++k) {
      dir.MakeFile(u"w/" + pool[k]);
      disk.push_back(pool[k]);
    }
    // Targets under the link "lw" to "w", and the same file under both.
    const bool linked = seed % 2 == 0;
    const std::vector<std::u16string> spellings = {W(), dir.PathOf(u"lw/")};
    ReferenceRun ref(spellings, disk, settings);
    ref.targets.resize(1);
    for (std::size_t k = 0; k < targets; ++k) {
      const int spelling = linked && pick(2) == 0 ? 1 : 0;
      const int copies = linked && pick(4) == 0 ? 2 : 1;
      for (int c = 0; c < copies; ++c) {
        ASSERT_TRUE(objects.Append(spellings[(spelling + c) % 2], pool[k], false, 1.0, 1.0,
                                   Capacities::Small()));
        ref.targets.push_back({pool[k], u"", 0, (spelling + c) % 2});
      }
      if (pick(4) != 0) Rule(pool[k], kPool[pick(kPool.size())]);
    }
    const std::size_t count = ref.targets.size() - 1;
    ref.order.resize(count + 1);
    std::vector<int> order(count);
    for (std::size_t k = 0; k < count; ++k) order[k] = static_cast<int>(k + 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::size_t p = 1; p <= count; ++p) {
      objects.OrderIndex[p] = order[p - 1];
      ref.order[p] = order[p - 1];
    }
    auto ruleFn = [this](const std::u16string& name) {
      auto it = rule.find(name);
      return it == rule.end() ? name : it->second;
    };

    Run();
    ref.Run(false, ruleFn);
    Compare(ref, u" 名前変更開始", u" 名前変更終了");
    if (HasFailure()) return;

    // A non-target file may take a name before the run; then the restore, or
    // the re-run.
    if (pick(2) == 0) {
      const std::u16string& extra = kPool[pick(kPool.size())];
      if (!dir.Exists(u"w/" + extra)) {
        dir.MakeFile(u"w/" + extra);
        ref.disk.push_back(extra);
      }
    }
    ref.log.clear();
    ref.done = ref.errors = ref.tentative = 0;
    if (pick(2) == 0) {
      Restore();
      ref.Restore();
      Compare(ref, u" 名前復元開始", u" 名前復元終了");
    } else {
      Run(2);
      ref.Run(true, ruleFn);
      Compare(ref, u" 名前再変更開始", u" 名前再変更終了");
    }
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace dovetam::testing
