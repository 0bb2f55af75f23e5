// Targets are renamed only in the folder they were chosen in. Targets are
// chosen as the program chooses them (listed and added with "∨追加", or
// added by path as dropped and command-line objects are), then their folder
// is swapped for another folder holding the same names, or for a link to
// one, before the run or the restore first opens it: nothing is renamed in
// either folder, each such target ends with the skip line "エラー" and its
// error entry, and the other targets are renamed as ever.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "core/objects/target_commands.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

using NameList = std::vector<std::u16string>;

enum class Chosen { Listed, ByPath };
enum class Swap { Folder, Link };

struct SwapCase {
  const char* label;
  Chosen chosen;
  Swap swap;
};

void PrintTo(const SwapCase& c, std::ostream* os) { *os << c.label; }

class ChosenFolderTest : public RunTest, public ::testing::WithParamInterface<SwapCase> {
 protected:
  ChosenFolderTest() {
    dir.MakeFolder(u"w/sub");
    dir.MakeFile(u"w/sub/a.txt", "chosen a");
    dir.MakeFile(u"w/sub/b.txt", "chosen b");
    dir.MakeFolder(u"w/keep");
    dir.MakeFile(u"w/keep/c.txt", "c");
    Rule(u"a.txt", u"x.txt");
    Rule(u"b.txt", u"y.txt");
    Rule(u"c.txt", u"z.txt");
  }

  // Targets sub/a.txt, sub/b.txt and keep/c.txt, chosen as the case says.
  void Choose() {
    const Capacities caps = Capacities::Small();
    if (GetParam().chosen == Chosen::Listed) {
      for (const char16_t* folder : {u"sub/", u"keep/"}) {
        ListingTable listing;
        listing.Reset(caps.tableStep);
        int dateFailures = 0;
        ASSERT_EQ(ListingRead::Ok,
                  ReadFolderListing(fs, listing, W() + folder, false, false, caps, dateFailures));
        // Every entry, in the order of their names.
        std::vector<int32_t> all;
        for (int32_t p = 1; p <= listing.ListCount; ++p) all.push_back(p);
        std::sort(all.begin(), all.end(),
                  [&](int32_t l, int32_t r) { return listing.ListName[l] < listing.ListName[r]; });
        ASSERT_TRUE(AddListingEntries(objects, listing, all, caps));
      }
    } else {
      PathAdder adder(fs, objects, false, false, caps);
      for (const char16_t* path : {u"sub/a.txt", u"sub/b.txt", u"keep/c.txt"}) {
        ASSERT_EQ(PathAdd::Added, adder.Add(W() + path));
      }
    }
    ResetTargetOrder(objects);
    ASSERT_EQ(3, objects.ObjCount);
  }

  // The chosen folder moves away to "sub-old"; "sub" becomes another folder
  // holding `names`, or a link to one.
  void SwapFolder(const NameList& names) {
    ASSERT_EQ(0, std::rename((dir.native() + "w/sub").c_str(), (dir.native() + "w/sub-old").c_str()));
    const std::u16string other = GetParam().swap == Swap::Folder ? u"w/sub" : u"w/other";
    dir.MakeFolder(other);
    for (const std::u16string& name : names) dir.MakeFile(other + u"/" + name, "other");
    if (GetParam().swap == Swap::Link) dir.MakeSymlink(u"w/sub", "other");
  }
  // The names in the folder that took the chosen one's place.
  NameList OtherNames() const { return Names(GetParam().swap == Swap::Folder ? u"sub" : u"other"); }

  std::u16string Refused(std::u16string_view object) const {
    return W() + std::u16string(object) + u"\r\n\tエラー\r\n";
  }
};

TEST_P(ChosenFolderTest, AFolderSwappedAfterChoosingIsNotRenamedIn) {
  Choose();
  SwapFolder({u"a.txt", u"b.txt"});
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), OtherNames());
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names(u"sub-old"));
  EXPECT_EQ("other", dir.ReadFile(u"w/sub/a.txt"));
  EXPECT_EQ(NameList({u"z.txt"}), Names(u"keep"));
  EXPECT_EQ(std::vector<int>({0, 0, 2}), States());
  EXPECT_EQ(NameList({u"a.txt", u"b.txt", u"z.txt"}), TargetNames());
  EXPECT_EQ(1, s.done);
  EXPECT_EQ(2, s.errors);
  const std::u16string log = LogFile();
  EXPECT_NE(std::u16string::npos,
            log.find(Refused(u"sub/a.txt :") + Refused(u"sub/b.txt :")))
      << U8(log);
  EXPECT_EQ(std::u16string::npos, log.find(u"変更開始\r\n\t\t正常終了\r\n" + W() + u"sub/"));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(u"\r\n[エラーが発生したオブジェクト]\r\n\r\n" +
                                 ReportEntryLine(W() + u"sub/a.txt", u"", u"エラー") +
                                 ReportEntryLine(W() + u"sub/b.txt", u"", u"エラー")))
      << U8(host.reportText);
}

TEST_P(ChosenFolderTest, ARestoreRenamesNothingInAFolderSwappedSinceTheRun) {
  Choose();
  Run();
  ASSERT_EQ(NameList({u"x.txt", u"y.txt"}), Names(u"sub"));
  boxes.Clear();
  SwapFolder({u"a.txt", u"x.txt"});
  const OperationSummary s = Restore();
  EXPECT_EQ(NameList({u"a.txt", u"x.txt"}), OtherNames());
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names(u"sub-old"));
  EXPECT_EQ(NameList({u"c.txt"}), Names(u"keep"));
  EXPECT_EQ(std::vector<int>({2, 2, 0}), States());
  EXPECT_EQ(1, s.done);
  EXPECT_EQ(2, s.errors);
  EXPECT_NE(std::u16string::npos, LogFile().find(Refused(u"sub/a.txt (変更名 x.txt) :")));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(ReportEntryLine(W() + u"sub/b.txt", u"", u"エラー")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ChosenFolderTest,
                         ::testing::Values(SwapCase{"listedThenFolder", Chosen::Listed, Swap::Folder},
                                           SwapCase{"listedThenLink", Chosen::Listed, Swap::Link},
                                           SwapCase{"addedThenFolder", Chosen::ByPath, Swap::Folder},
                                           SwapCase{"addedThenLink", Chosen::ByPath, Swap::Link}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
