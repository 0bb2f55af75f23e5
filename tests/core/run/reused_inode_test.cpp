// A run renames nothing in a folder deleted and made again since its
// targets were chosen, even when the new folder has the old one's path and
// its inode (as ext4 gives it back readily): each such target ends with the
// skip line "エラー", and the file of the new folder keeps its name.
#include <gtest/gtest.h>

#include "core/objects/chosen_by.h"
#include "core/run/run_fixture.h"
#include "testing/reused_inode.h"

namespace dovetam::testing {
namespace {

class ReusedInodeRunTest : public RunTest, public ::testing::WithParamInterface<ChosenCase> {
 protected:
  // The targets w/A/x and w/keep/k, chosen as the case says.
  void Choose() {
    const Capacities caps = Capacities::Small();
    ChooseTarget(GetParam().chosen, fs, objects, caps, W() + u"A/", u"x");
    ChooseTarget(GetParam().chosen, fs, objects, caps, W() + u"keep/", u"k");
    ResetTargetOrder(objects);
    ASSERT_EQ(2, objects.ObjCount);
  }
};

TEST_P(ReusedInodeRunTest, NothingIsRenamedInAFolderMadeAgainOnItsInode) {
  dir.MakeFolder(u"w/keep");
  dir.MakeFile(u"w/keep/k", "k");
  Rule(u"x", u"y");
  Rule(u"k", u"l");
  bool reused = false;
  for (int round = 0; round < kInodeRounds && !reused; ++round) {
    objects.Reset(10);
    dir.MakeFolder(u"w/A");
    dir.MakeFile(u"w/A/x", "chosen");
    Choose();
    reused = RemakeOnItsInode(dir.native() + "w/A", dir.native() + "w/A");
  }
  if (!reused) GTEST_SKIP() << kNoInodeReuse;
  dir.MakeFile(u"w/A/x", "made again");

  const OperationSummary s = Run();
  EXPECT_EQ(std::vector<std::u16string>({u"x"}), Names(u"A"));
  if (dir.Exists(u"w/A/x")) {
    EXPECT_EQ("made again", dir.ReadFile(u"w/A/x"));
  }
  EXPECT_EQ(std::vector<std::u16string>({u"l"}), Names(u"keep"));
  EXPECT_EQ(1, s.done);
  EXPECT_EQ(1, s.errors);
  const std::u16string log = LogFile();
  EXPECT_NE(std::u16string::npos, log.find(W() + u"A/x :\r\n\tエラー\r\n")) << EncodeNativeLossy(log);
  EXPECT_NE(std::u16string::npos, host.reportText.find(ReportEntryLine(W() + u"A/x", u"", u"エラー")))
      << EncodeNativeLossy(host.reportText);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReusedInodeRunTest,
                         EveryWayOfChoosing(), ChosenCaseName);

}  // namespace
}  // namespace dovetam::testing
