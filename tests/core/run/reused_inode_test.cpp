// A run renames nothing in a folder deleted and made again since its
// targets were chosen, even when the new folder has the old one's path and
// its inode (as ext4 gives it back readily): each such target ends with the
// skip line "エラー", and the file of the new folder keeps its name.
#include <gtest/gtest.h>

#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "core/objects/target_commands.h"
#include "core/run/run_fixture.h"
#include "testing/reused_inode.h"

namespace dovetam::testing {
namespace {

enum class Chosen { ByPath, Listed };

struct ReuseCase {
  const char* label;
  Chosen chosen;
};

void PrintTo(const ReuseCase& c, std::ostream* os) { *os << c.label; }

class ReusedInodeRunTest : public RunTest, public ::testing::WithParamInterface<ReuseCase> {
 protected:
  // The targets w/A/x and w/keep/k, chosen as the case says.
  void Choose() {
    const Capacities caps = Capacities::Small();
    if (GetParam().chosen == Chosen::ByPath) {
      PathAdder adder(fs, objects, false, false, caps);
      for (const char16_t* path : {u"A/x", u"keep/k"}) ASSERT_EQ(PathAdd::Added, adder.Add(W() + path));
    } else {
      for (const char16_t* folder : {u"A/", u"keep/"}) {
        ListingTable listing;
        listing.Reset(caps.tableStep);
        int dateFailures = 0;
        ASSERT_EQ(ListingRead::Ok,
                  ReadFolderListing(fs, listing, W() + folder, false, false, caps, dateFailures));
        ASSERT_TRUE(AddListingEntries(objects, listing, {1}, caps));
      }
    }
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
                         ::testing::Values(ReuseCase{"byPath", Chosen::ByPath},
                                           ReuseCase{"listed", Chosen::Listed}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
