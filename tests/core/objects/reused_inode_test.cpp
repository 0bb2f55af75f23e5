// A folder made on the inode of a deleted one is another folder: adding
// its entries adds them beside the targets of the folder deleted, whether
// they are added by path (as dropped and command-line objects are) or from
// its listing with "∨追加".
#include <gtest/gtest.h>

#include "core/objects/chosen_by.h"
#include "platform/file_system.h"
#include "testing/reused_inode.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

class ReusedInodeTest : public TempDirTest, public ::testing::WithParamInterface<ChosenCase> {
 protected:
  ReusedInodeTest() { objects.Reset(caps.tableStep); }

  // Adds folder/x as the case says.
  void AddX(const std::u16string& folder) {
    ChooseTarget(GetParam().chosen, *fs, objects, caps, dir.PathOf(folder + u"/"), u"x");
  }

  const Capacities caps = Capacities::Small();
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  ObjectTable objects;
};

TEST_P(ReusedInodeTest, TheEntriesOfAFolderOnAReusedInodeAreAdded) {
  bool reused = false;
  for (int round = 0; round < kInodeRounds && !reused; ++round) {
    objects.Reset(caps.tableStep);
    dir.MakeFolder(u"A");
    dir.MakeFile(u"A/x", "in A");
    AddX(u"A");
    ASSERT_EQ(1, objects.ObjCount);
    reused = RemakeOnItsInode(dir.native() + "A", dir.native() + "B");
  }
  if (!reused) GTEST_SKIP() << kNoInodeReuse;
  dir.MakeFile(u"B/x", "in B");

  AddX(u"B");
  ASSERT_EQ(2, objects.ObjCount);
  EXPECT_EQ(dir.PathOf(u"A/"), objects.ObjFolder[1]);  // the target of before, as it was
  EXPECT_EQ(dir.PathOf(u"B/"), objects.ObjFolder[2]);
  EXPECT_EQ(u"x", objects.ObjName[2]);
  EXPECT_NE(objects.ObjFolderId[1], objects.ObjFolderId[2]);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReusedInodeTest,
                         EveryWayOfChoosing(), ChosenCaseName);

}  // namespace
}  // namespace dovetam::testing
