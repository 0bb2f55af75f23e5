// Reading the listed folder and adding targets by path in folders of a table
// of path lengths (testing/deep_folder.h): up to the window of folders whose
// own path fits while their entries' paths do not, and past one, two and
// three times PATH_MAX. Each reads and adds as it does near the top, and
// leaves as many descriptors open as it found.
#include <gtest/gtest.h>

#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "platform/file_system.h"
#include "testing/deep_folder.h"
#include "testing/open_files.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

class ObjectsAtDepthTest : public TempDirTest, public ::testing::WithParamInterface<DeepLength> {
 protected:
  ObjectsAtDepthTest() : deep(dir, GetParam().length) {}
  DeepFolder deep;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

TEST_P(ObjectsAtDepthTest, ListingAndAddingCloseWhatTheyOpen) {
  ASSERT_TRUE(deep.made);
  const std::u16string& folder = deep.path;
  const Capacities caps = Capacities::Small();
  const int open = OpenFileCount();

  ListingTable listing;
  listing.Reset(caps.tableStep);
  int dateFailures = 0;
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(*fs, listing, folder, true, false, caps, dateFailures));
  EXPECT_EQ(3, listing.ListCount);
  EXPECT_EQ(0, dateFailures);
  EXPECT_TRUE(listing.ListFolderId.Known());
  EXPECT_EQ(open, OpenFileCount()) << "after the listing";

  ObjectTable objects;
  objects.Reset(caps.tableStep);
  PathAdder adder(*fs, objects, true, false, caps);
  struct Path {
    std::u16string name;
    PathAdd result;
  };
  const Path paths[] = {{DeepFolder::Entry(u'a'), PathAdd::Added},
                        {DeepFolder::Entry(u'A'), PathAdd::Skipped},  // the same file
                        {DeepFolder::Entry(u's') + u"/", PathAdd::Added},
                        {DeepFolder::Entry(u'c'), PathAdd::Added},
                        {DeepFolder::Entry(u'b'), PathAdd::NotAdded}};
  for (const Path& p : paths) {
    SCOPED_TRACE(EncodeNativeLossy(p.name.substr(0, 1)));
    EXPECT_EQ(p.result, adder.Add(folder + p.name));
    EXPECT_EQ(open, OpenFileCount()) << "after adding";
  }
  ASSERT_EQ(3, objects.ObjCount);
  for (int32_t i = 1; i <= objects.ObjCount; ++i) {
    EXPECT_EQ(folder, objects.ObjFolder[i]);
    EXPECT_EQ(listing.ListFolderId, objects.ObjFolderId[i]);
    EXPECT_NE(0, objects.ObjModified[i]);
  }
  EXPECT_EQ(DeepFolder::Entry(u'C'), objects.ObjName[3]);  // its name on disk
  EXPECT_EQ(0, adder.tally.dateFailures);
}

INSTANTIATE_TEST_SUITE_P(Depths, ObjectsAtDepthTest, ::testing::ValuesIn(DeepLengths()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
