// A folder made on the inode of a deleted one is another folder: adding
// its entries adds them beside the targets of the folder deleted, whether
// they are added by path (as dropped and command-line objects are) or from
// its listing with "∨追加".
#include <gtest/gtest.h>

#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "core/objects/target_commands.h"
#include "platform/file_system.h"
#include "testing/reused_inode.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

enum class Chosen { ByPath, Listed };

struct ReuseCase {
  const char* label;
  Chosen chosen;
};

void PrintTo(const ReuseCase& c, std::ostream* os) { *os << c.label; }

class ReusedInodeTest : public TempDirTest, public ::testing::WithParamInterface<ReuseCase> {
 protected:
  ReusedInodeTest() { objects.Reset(caps.tableStep); }

  // Adds folder/x as the case says: by its path, or every entry of the
  // folder's listing.
  void AddX(const std::u16string& folder) {
    if (GetParam().chosen == Chosen::ByPath) {
      PathAdder adder(*fs, objects, false, false, caps);
      EXPECT_EQ(PathAdd::Added, adder.Add(dir.PathOf(folder + u"/x")));
      return;
    }
    ListingTable listing;
    listing.Reset(caps.tableStep);
    int dateFailures = 0;
    ASSERT_EQ(ListingRead::Ok, ReadFolderListing(*fs, listing, dir.PathOf(folder + u"/"), false,
                                                 false, caps, dateFailures));
    ASSERT_EQ(1, listing.ListCount);
    EXPECT_TRUE(AddListingEntries(objects, listing, {1}, caps));
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
                         ::testing::Values(ReuseCase{"byPath", Chosen::ByPath},
                                           ReuseCase{"listed", Chosen::Listed}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
