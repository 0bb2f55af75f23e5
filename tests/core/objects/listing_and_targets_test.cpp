// The folder read, the target table changes and the adding of full paths, on
// real temporary folders (failures injected through the faulty file system).
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/common/decimal_text.h"
#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "core/objects/target_commands.h"
#include "platform/utf8_codec.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::FaultyFileSystem;
using testing::FsCall;
using testing::TempDirTest;

class ListingTest : public TempDirTest {
 protected:
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  FaultyFileSystem fs{*real};
  ListingTable listing;
  int ignoredDates = 0;
};

TEST_F(ListingTest, FilesComeBeforeFoldersInStorage) {
  dir.MakeFolder(u"a_folder");
  dir.MakeFile(u"z_file");
  listing.Reset(10);
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), true, false, Capacities::Small(), ignoredDates));
  ASSERT_EQ(2, listing.ListCount);
  EXPECT_EQ(u"z_file", listing.ListName[1]);
  EXPECT_EQ(u"a_folder", listing.ListName[2]);
  EXPECT_TRUE(listing.ListIsFolder[2]);
  EXPECT_NE(0, listing.ListModified[1]);
  EXPECT_EQ(0, listing.ListCreated[1]);  // not shown: not read
  EXPECT_EQ(-1, listing.ListOrder[0]);
  EXPECT_EQ(0, listing.ListFailed);
  EXPECT_EQ(0, listing.ListStale);
}

TEST_F(ListingTest, EmptyFolderIsAValidListing) {
  listing.Reset(10);
  EXPECT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), true, true, Capacities::Small(), ignoredDates));
  EXPECT_EQ(0, listing.ListCount);
  EXPECT_EQ(0, listing.ListFailed);
}

TEST_F(ListingTest, CapacityGrowsOneStepPastAFullTable) {
  for (int i = 0; i < 10; ++i) dir.MakeFile(std::u16string{u'f', char16_t(u'0' + i)});
  listing.Reset(10);
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), false, false, Capacities::Small(), ignoredDates));
  EXPECT_EQ(10, listing.ListCapacity);
  dir.MakeFile(u"one more");
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), false, false, Capacities::Small(), ignoredDates));
  EXPECT_EQ(20, listing.ListCapacity);
  EXPECT_EQ(11, listing.ListCount);
}

class ListingBuildTest : public ::testing::TestWithParam<bool> {};

// Both builds: the table starts at one step and grows by whole steps.
TEST_P(ListingBuildTest, GrowsInStepsOfTheBuild) {
  const Capacities caps = GetParam() ? Capacities::Large() : Capacities::Small();
  testing::TempDir dir;
  for (int i = 0; i < 25; ++i) dir.MakeFile(std::u16string{u'f', char16_t(u'A' + i)});
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  ListingTable listing;
  listing.Reset(caps.tableStep);
  int ignoredDates = 0;
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(*fs, listing, dir.path(), false, false, caps, ignoredDates));
  EXPECT_EQ(25, listing.ListCount);
  EXPECT_EQ(GetParam() ? 1000 : 30, listing.ListCapacity);
  EXPECT_EQ(static_cast<std::size_t>(listing.ListCapacity) + 1, listing.ListName.size());
}

INSTANTIATE_TEST_SUITE_P(Builds, ListingBuildTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Large" : "Small");
                         });

TEST_F(ListingTest, FailuresKeepNothing) {
  for (int i = 0; i < 11; ++i) dir.MakeFile(std::u16string{u'f', char16_t(u'a' + i)});
  listing.Reset(10);
  Capacities caps = Capacities::Small();
  caps.allocationLimit = 11;
  EXPECT_EQ(ListingRead::OutOfMemory, ReadFolderListing(fs, listing, dir.path(), false, false, caps, ignoredDates));
  EXPECT_EQ(10, listing.ListCapacity);
  EXPECT_EQ(0, listing.ListCount);
  EXPECT_EQ(1, listing.ListFailed);

  // A date the file system cannot give stays 0; the rest is still listed.
  fs.Fail(FsCall::GetDateLastModified, dir.PathOf(u"fc"), 75);
  int dateFailures = 0;
  EXPECT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), true, false,
                                               Capacities::Small(), dateFailures));
  EXPECT_EQ(1, dateFailures);
  EXPECT_EQ(0, listing.ListFailed);
  for (int32_t i = 1; i <= listing.ListCount; ++i) {
    SCOPED_TRACE(std::string(listing.ListName[i].begin(), listing.ListName[i].end()));
    EXPECT_EQ(listing.ListName[i] == u"fc", listing.ListModified[i] == 0);
  }

  EXPECT_EQ(ListingRead::Failed,
            ReadFolderListing(fs, listing, dir.PathOf(u"missing/"), false, false, Capacities::Small(), ignoredDates));
  EXPECT_EQ(dir.PathOf(u"missing/"), listing.ListFolder);
}

// The system reads kinds and dates while it lists, one status call per
// entry; what it gives must be what the calls on each path give, for every
// kind of entry (links count by what they lead to, a broken link as a file
// with its own dates) and for a date the file system cannot give.
// Memory that runs out anywhere in the read, not only in the growth of the
// table, fails it as memory short: nothing of it kept, nothing thrown.
TEST_F(ListingTest, MemoryRunningOutAnywhereFailsTheReadAsMemoryShort) {
  for (int i = 0; i < 5; ++i) dir.MakeFile(std::u16string{u'f', char16_t(u'a' + i)});
  const struct {
    const char* where;
    FsCall call;
    std::u16string path;
    bool dates;
  } cases[] = {
      {"listing", FsCall::ListFolder, dir.path(), false},
      {"a date halfway", FsCall::GetDateLastModified, dir.PathOf(u"fc"), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    fs.ClearFaults();
    listing.Reset(10);
    ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), c.dates, false,
                                                 Capacities::Small(), ignoredDates));
    fs.Fail(c.call, c.path, testing::kFsOutOfMemory);
    EXPECT_EQ(ListingRead::OutOfMemory, ReadFolderListing(fs, listing, dir.path(), c.dates, false,
                                                          Capacities::Small(), ignoredDates));
    EXPECT_EQ(0, listing.ListCount);
    EXPECT_EQ(1, listing.ListFailed);
    EXPECT_EQ(10, listing.ListCapacity);
  }
}

TEST_F(ListingTest, DatesReadWhileListingAreThoseOfEachPath) {
  dir.MakeFile(u"old");
  dir.MakeFile(u"new");
  dir.MakeFolder(u"folder");
  dir.MakeSymlink(u"to_folder", "folder");
  dir.MakeSymlink(u"to_file", "old");
  dir.MakeSymlink(u"broken", "nothing");
  dir.MakeSymlink(u"loop", "loop");
  dir.SetModified(u"old", 1000000000);
  dir.SetModified(u"new", 1700000000);
  dir.SetModified(u"folder", 1500000000);
  std::vector<FsEntry> plainFiles, plainFolders;
  ASSERT_EQ(kFsOk, real->ListFolder(dir.path(), plainFiles, plainFolders));
  for (const bool modified : {true, false}) {
    for (const bool created : {true, false}) {
      std::vector<FsEntry> files, folders;
      FolderIdentity identity;
      ASSERT_EQ(kFsOk, real->ListFolderWithDates(dir.path(), modified, created, files, folders, identity));
      ASSERT_EQ(plainFiles.size(), files.size());
      ASSERT_EQ(plainFolders.size(), folders.size());
      EXPECT_EQ(2u, folders.size());
      for (const std::vector<FsEntry>* group : {&files, &folders}) {
        for (const FsEntry& e : *group) {
          SCOPED_TRACE(std::string(e.name.begin(), e.name.end()));
          EXPECT_EQ(e.isFolder, group == &folders);
          Date want = 0;
          const int rcModified = real->GetDateLastModified(dir.PathOf(e.name), e.isFolder, want);
          EXPECT_EQ(modified ? want : 0, e.modified);
          EXPECT_EQ(modified && rcModified != kFsOk, (e.dateErrors & 1) != 0);
          want = 0;
          const int rcCreated = real->GetDateCreated(dir.PathOf(e.name), e.isFolder, want);
          EXPECT_EQ(created ? want : 0, e.created);
          EXPECT_EQ(created && rcCreated != kFsOk, (e.dateErrors & 2) != 0);
        }
      }
    }
  }
  listing.Reset(10);
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(*real, listing, dir.path(), true, false,
                                               Capacities::Small(), ignoredDates));
  EXPECT_EQ(0, ignoredDates);
  for (int32_t i = 1; i <= listing.ListCount; ++i) {
    if (listing.ListName[i] == u"old") {
      EXPECT_EQ(DateFromUnixTime(1000000000), listing.ListModified[i]);
    }
    if (listing.ListName[i] == u"new") {
      EXPECT_EQ(DateFromUnixTime(1700000000), listing.ListModified[i]);
    }
  }
}

// A big folder has its status calls shared among threads: the entries keep
// the order of the plain listing, and each has its own kind and dates.
TEST_F(ListingTest, ABigFolderListsWithTheDatesOfEachEntry) {
  constexpr int kEntries = 9000;  // several slices of status calls
  for (int k = 0; k < kEntries; ++k) {
    const std::u16string name = std::u16string(1, u'e').append(DecimalText(k));
    if (k % 1000 == 7) {
      dir.MakeFolder(name);
    } else if (k % 1000 == 8) {
      dir.MakeSymlink(name, "nothing");
    } else {
      dir.MakeFile(name);
      if (k % 3 == 0) dir.SetModified(name, 1000000000 + k);
    }
  }
  std::vector<FsEntry> plainFiles, plainFolders, files, folders;
  FolderIdentity identity;
  ASSERT_EQ(kFsOk, real->ListFolder(dir.path(), plainFiles, plainFolders));
  ASSERT_EQ(kFsOk, real->ListFolderWithDates(dir.path(), true, false, files, folders, identity));
  ASSERT_EQ(9u, folders.size());
  ASSERT_EQ(plainFiles.size(), files.size());
  ASSERT_EQ(plainFolders.size(), folders.size());
  for (std::size_t k = 0; k < files.size(); ++k) {
    ASSERT_EQ(plainFiles[k].name, files[k].name);
    Date want = 0;
    ASSERT_EQ(kFsOk, real->GetDateLastModified(dir.PathOf(files[k].name), false, want));
    ASSERT_EQ(want, files[k].modified) << k;
    ASSERT_EQ(0, files[k].dateErrors);
  }
  for (std::size_t k = 0; k < folders.size(); ++k) {
    ASSERT_EQ(plainFolders[k].name, folders[k].name);
    EXPECT_TRUE(folders[k].isFolder);
  }
}

TEST_F(ListingTest, NamesThatAreNotUtf8KeepTheirBytes) {
  dir.MakeFileBytes("bad\xff");
  listing.Reset(10);
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), true, false, Capacities::Small(), ignoredDates));
  ASSERT_EQ(1, listing.ListCount);
  EXPECT_EQ(u"bad\xDCFF", listing.ListName[1]);
}

ObjectTable Targets(std::vector<std::pair<std::u16string, std::u16string>> list) {
  ObjectTable t;
  t.Reset(10);
  for (auto& [folder, name] : list) t.Append(folder, name, false, 0, 0, Capacities::Small());
  return t;
}

std::vector<std::u16string> Paths(const ObjectTable& t) {
  std::vector<std::u16string> p;
  for (int32_t i = 1; i <= t.ObjCount; ++i) p.push_back(t.ObjFolder[i] + t.ObjName[i]);
  return p;
}

TEST_F(ListingTest, AddingSkipsExactDuplicatesAndKeepsWhatFitsWhenGrowingFails) {
  for (const char16_t* name : {u"a", u"A", u"b", u"c"}) dir.MakeFile(name);
  listing.Reset(10);
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), false, false,
                                               Capacities::Small(), ignoredDates));
  std::vector<int32_t> all;
  for (int32_t p = 1; p <= listing.ListCount; ++p) all.push_back(p);
  ObjectTable t = Targets({{dir.path(), u"a"}, {u"/elsewhere/", u"b"}});
  std::vector<int32_t> twice = all;
  twice.push_back(1);
  twice.push_back(99);  // no such position
  ASSERT_TRUE(AddListingEntries(t, listing, twice, Capacities::Small()));
  std::vector<std::u16string> paths = Paths(t);
  std::sort(paths.begin() + 2, paths.end());
  EXPECT_EQ((std::vector<std::u16string>{dir.path() + u"a", u"/elsewhere/b", dir.path() + u"A",
                                         dir.path() + u"b", dir.path() + u"c"}),
            paths);

  // 25 entries, room for 20 targets: the first 20 in display order are
  // added, in whole steps, and the call says that the rest were not.
  for (int i = 0; i < 21; ++i) dir.MakeFile(std::u16string{u'n', char16_t(u'A' + i)});
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.path(), false, false,
                                               Capacities::Small(), ignoredDates));
  ASSERT_EQ(25, listing.ListCount);
  std::reverse(listing.ListOrder.begin() + 1, listing.ListOrder.begin() + 26);
  all.clear();
  for (int32_t p = 1; p <= listing.ListCount; ++p) all.push_back(p);
  ObjectTable small = Targets({});
  Capacities caps = Capacities::Small();
  caps.allocationLimit = 21;
  EXPECT_FALSE(AddListingEntries(small, listing, all, caps));
  EXPECT_EQ(20, small.ObjCapacity);
  ASSERT_EQ(20, small.ObjCount);
  for (int32_t i = 1; i <= 20; ++i) EXPECT_EQ(listing.ListName[listing.ListOrder[i]], small.ObjName[i]);
}

TEST(TargetCommandsTest, RemovalsCloseTheGapsInOrder) {
  ObjectTable t = Targets({{u"/a/", u"1"}, {u"/A/", u"2"}, {u"/b/", u"3"}, {u"/a/", u"4"}});
  RemoveTargetsInFolder(t, u"/a/", {});
  EXPECT_EQ((std::vector<std::u16string>{u"/A/2", u"/b/3"}), Paths(t));
  ObjectTable u = Targets({{u"/a/", u"1"}, {u"/a/", u"2"}, {u"/a/", u"3"}});
  u.OrderIndex = {-1, 3, 1, 2};
  RemoveTargetsAtPositions(u, {1, 3});  // the targets 3 and 2
  EXPECT_EQ((std::vector<std::u16string>{u"/a/1"}), Paths(u));
  RemoveTargetsAtPositions(u, {});
  EXPECT_EQ(1, u.ObjCount);
}

class PathAdderTest : public TempDirTest {
 protected:
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  FaultyFileSystem fs{*real};
  ObjectTable objects = Targets({});
};

TEST_F(PathAdderTest, ExactDuplicatesSkippedCaseVariantsAdded) {
  dir.MakeFile(u"a");
  dir.MakeFile(u"A");
  PathAdder adder(fs, objects, false, false, Capacities::Small());
  EXPECT_EQ(PathAdd::Added, adder.Add(dir.PathOf(u"a")));
  EXPECT_EQ(PathAdd::Skipped, adder.Add(dir.PathOf(u"a")));
  EXPECT_EQ(PathAdd::Added, adder.Add(dir.PathOf(u"A")));
  EXPECT_EQ(PathAdd::NotAdded, adder.Add(u"/"));
  EXPECT_EQ(PathAdd::NotAdded, adder.Add(dir.PathOf(u"nothing")));
  EXPECT_EQ(2, objects.ObjCount);
  EXPECT_EQ(2, adder.tally.notAdded);
  EXPECT_EQ(u" 2 個 の オブジェクトを追加できませんでした。", DropSummaryMessage(adder.tally));
}

// Keeps the current folder of the process for the time of a test.
class CurrentFolderGuard {
 public:
  CurrentFolderGuard() : saved_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~CurrentFolderGuard() {
    if (saved_ >= 0) {
      EXPECT_EQ(0, fchdir(saved_));
      close(saved_);
    }
  }

 private:
  int saved_;
};

// A ".." goes where the shell and the system take it: to the parent on disk
// of the folder before it, after links. "sublnk" is a link to "real/sub";
// "x.txt" exists both in "real" (what the system means) and beside
// "sublnk" (what removing "sublnk/.." as text would give). A link named as
// the last part is added as the link itself.
TEST_F(PathAdderTest, DotDotGoesWhereTheSystemTakesIt) {
  dir.MakeFolder(u"real/sub");
  dir.MakeFile(u"real/x.txt");
  dir.MakeFile(u"x.txt");
  dir.MakeSymlink(u"sublnk", "real/sub");
  char* canonical = realpath(dir.native().c_str(), nullptr);
  ASSERT_NE(nullptr, canonical);
  const std::u16string onDisk = DecodeNative(canonical) + u"/";
  std::free(canonical);
  const std::u16string base = dir.path();
  struct Row {
    std::u16string path, folder, name;
    bool isFolder;
  };
  const Row rows[] = {
      {base + u"sublnk/../x.txt", onDisk + u"real/", u"x.txt", false},
      {base + u"sublnk/./../x.txt", onDisk + u"real/", u"x.txt", false},
      {base + u"sublnk/..", onDisk, u"real", true},
      {base + u"real/sub/../../sublnk", onDisk, u"sublnk", true},
      {base + u"sublnk", base, u"sublnk", true},
      {u"sublnk/../x.txt", onDisk + u"real/", u"x.txt", false},  // from the current folder
  };
  CurrentFolderGuard keep;
  ASSERT_EQ(0, chdir(dir.native().c_str()));
  for (const Row& r : rows) {
    SCOPED_TRACE(EncodeNativeLossy(r.path));
    ObjectTable added = Targets({});
    PathAdder adder(fs, added, false, false, Capacities::Small());
    ASSERT_EQ(PathAdd::Added, adder.Add(r.path));
    EXPECT_EQ(r.folder, added.ObjFolder[1]);
    EXPECT_EQ(r.name, added.ObjName[1]);
    EXPECT_EQ(r.isFolder, added.ObjIsFolder[1]);
  }
  PathAdder adder(fs, objects, false, false, Capacities::Small());
  EXPECT_EQ(PathAdd::NotAdded, adder.Add(base + u"sublnk/../sublnk"));  // there is no real/sublnk
  EXPECT_EQ(PathAdd::NotAdded, adder.Add(base + u"x.txt/../x.txt"));
}

// One object under two spellings of its folder: "lnk" is a link to "real",
// "lnk2" a link to "lnk". Each spelling of real/f0 is one target with it,
// whichever way it comes (button, drop or command line) and in either order;
// real/f1 is another object.
class TwoSpellingsTest : public TempDirTest {
 protected:
  void SetUp() override {
    dir.MakeFolder(u"real");
    dir.MakeFile(u"real/f0");
    dir.MakeFile(u"real/f1");
    dir.MakeSymlink(u"lnk", "real");
    dir.MakeSymlink(u"lnk2", "lnk");
    objects.Reset(10);
  }

  // The add button on the listing of `folder`, with the entries `names` selected.
  bool AddFromListing(const std::u16string& folder, std::vector<std::u16string> names) {
    ListingTable listing;
    listing.Reset(10);
    int dates = 0;
    if (ReadFolderListing(fs, listing, dir.PathOf(folder), false, false, Capacities::Small(),
                          dates) != ListingRead::Ok) {
      ADD_FAILURE() << "cannot list " << EncodeNativeLossy(folder);
      return false;
    }
    std::vector<int32_t> positions;
    for (int32_t p = 1; p <= listing.ListCount; ++p) {
      if (std::find(names.begin(), names.end(), listing.ListName[listing.ListOrder[p]]) !=
          names.end()) {
        positions.push_back(p);
      }
    }
    return AddListingEntries(objects, listing, positions, Capacities::Small());
  }

  PathAdd AddPath(const std::u16string& relative) {
    PathAdder adder(fs, objects, false, false, Capacities::Small());
    return adder.Add(dir.PathOf(relative));
  }

  std::unique_ptr<FileSystem> system = CreateSystemFileSystem();
  FileSystem& fs = *system;
  ObjectTable objects;
};

TEST_F(TwoSpellingsTest, PathsOfOneObjectAddOneTarget) {
  const std::u16string spellings[] = {u"real/f0", u"lnk/f0", u"lnk2/f0", u"lnk/../lnk/f0"};
  for (const std::u16string& first : spellings) {
    for (const std::u16string& second : spellings) {
      SCOPED_TRACE(EncodeNativeLossy(first + u" then " + second));
      objects.Reset(10);
      // In one drop or command line, and in a later one.
      PathAdder adder(fs, objects, false, false, Capacities::Small());
      ASSERT_EQ(PathAdd::Added, adder.Add(dir.PathOf(first)));
      EXPECT_EQ(PathAdd::Skipped, adder.Add(dir.PathOf(second)));
      EXPECT_EQ(PathAdd::Skipped, AddPath(second));
      EXPECT_EQ(PathAdd::Added, AddPath(u"lnk/f1"));
      EXPECT_EQ(PathAdd::Skipped, AddPath(u"real/f1"));
      EXPECT_EQ(2, objects.ObjCount);
      EXPECT_EQ(0, adder.tally.notAdded);
    }
  }
  // The link itself is an object of its own.
  EXPECT_EQ(PathAdd::Added, AddPath(u"lnk"));
  EXPECT_EQ(3, objects.ObjCount);
}

TEST_F(TwoSpellingsTest, TheAddButtonAddsAnObjectOnceUnderEverySpellingOfItsFolder) {
  ASSERT_TRUE(AddFromListing(u"real/", {u"f0"}));
  ASSERT_TRUE(AddFromListing(u"lnk/", {u"f0", u"f1"}));
  ASSERT_TRUE(AddFromListing(u"lnk2/", {u"f0", u"f1"}));
  ASSERT_EQ(2, objects.ObjCount);
  // A target found keeps its place and takes the spelling last listed.
  EXPECT_EQ((std::vector<std::u16string>{dir.PathOf(u"lnk2/f0"), dir.PathOf(u"lnk2/f1")}),
            Paths(objects));
  // Paths already targets through the button, and the button after paths.
  EXPECT_EQ(PathAdd::Skipped, AddPath(u"real/f0"));
  EXPECT_EQ(PathAdd::Skipped, AddPath(u"real/f1"));
  objects.Reset(10);
  ASSERT_EQ(PathAdd::Added, AddPath(u"lnk/f0"));
  ASSERT_TRUE(AddFromListing(u"real/", {u"f0"}));
  EXPECT_EQ(1, objects.ObjCount);
  EXPECT_EQ(dir.PathOf(u"real/"), objects.ObjFolder[1]);
}

TEST_F(TwoSpellingsTest, TheListedFoldersTargetsAreRemovedHoweverTheirFolderIsSpelled) {
  dir.MakeFolder(u"other");
  dir.MakeFile(u"other/f0");
  ASSERT_EQ(PathAdd::Added, AddPath(u"real/f0"));
  ASSERT_EQ(PathAdd::Added, AddPath(u"other/f0"));
  ListingTable listing;
  listing.Reset(10);
  int dates = 0;
  ASSERT_EQ(ListingRead::Ok, ReadFolderListing(fs, listing, dir.PathOf(u"lnk/"), false, false,
                                               Capacities::Small(), dates));
  RemoveTargetsInFolder(objects, listing.ListFolder, listing.ListFolderId);
  EXPECT_EQ((std::vector<std::u16string>{dir.PathOf(u"other/f0")}), Paths(objects));
}

// Memory that runs out in any step of adding a path (a check, the table, a
// date) adds nothing of that path and says so; the targets before it stay.
TEST_F(PathAdderTest, MemoryRunningOutInAnyStepAddsNothingOfThePath) {
  dir.MakeFile(u"a");
  dir.MakeFile(u"b");
  const struct {
    const char* where;
    FsCall call;
  } cases[] = {
      {"existence test", FsCall::FileExists},
      {"full path", FsCall::GetFullPath},
      {"date", FsCall::GetDateCreated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    ObjectTable targets = Targets({});
    fs.ClearFaults();
    fs.Fail(c.call, dir.PathOf(u"b"), testing::kFsOutOfMemory);
    PathAdder adder(fs, targets, true, true, Capacities::Small());
    EXPECT_EQ(PathAdd::Added, adder.Add(dir.PathOf(u"a")));
    EXPECT_EQ(PathAdd::OutOfMemory, adder.Add(dir.PathOf(u"b")));
    ASSERT_EQ(1, targets.ObjCount);
    EXPECT_EQ(u"a", targets.ObjName[1]);
    EXPECT_EQ(u"", targets.ObjName[2]);
    EXPECT_EQ(1, adder.tally.notAdded);
    EXPECT_TRUE(adder.tally.memoryFailed);
    EXPECT_EQ(u"メモリ不足などにより、\n 1 個 の オブジェクトを追加できませんでした。",
              DropSummaryMessage(adder.tally));
  }
}

TEST_F(PathAdderTest, DatesThatCannotBeReadAreZeroAndReported) {
  dir.MakeFile(u"m");
  dir.MakeFile(u"c");
  fs.Fail(FsCall::GetDateLastModified, dir.PathOf(u"m"), 75);
  fs.Fail(FsCall::GetDateCreated, dir.PathOf(u"c"), 75);
  PathAdder adder(fs, objects, true, true, Capacities::Small());
  adder.Add(dir.PathOf(u"m"));
  EXPECT_EQ(0, objects.ObjModified[1]);
  EXPECT_EQ(1, adder.tally.dateFailures & 1);
  adder.Add(dir.PathOf(u"c"));
  EXPECT_EQ(0, objects.ObjCreated[2]);
  EXPECT_EQ(3, adder.tally.dateFailures);
  EXPECT_EQ(u"いくつかのオブジェクトの更新日時・作成日時を取得できませんでした。\n"
            u"日時は便宜上、1899/12/30 00:00:00に設定されています。",
            CommandLineSummaryMessage(adder.tally));
  adder.tally.notAdded = 1;
  adder.tally.dateFailures = 1;
  EXPECT_EQ(u" 1 個 の オブジェクトを追加できませんでした。\n\nまた、いくつかのオブジェクトの"
            u"更新日時を取得できませんでした。\n日時は便宜上、1899/12/30 00:00:00に設定されています。",
            DropSummaryMessage(adder.tally));
  adder.tally.memoryFailed = true;
  adder.tally.dateFailures = 0;
  EXPECT_EQ(u"メモリ不足などにより、いくつかのオブジェクトを追加できませんでした。",
            CommandLineSummaryMessage(adder.tally));
}

}  // namespace
}  // namespace dovetam
