// The two ways a test chooses a target as the user does: by its path (as
// dropped and command-line objects are added), or from its folder's listing
// with "∨追加".
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/objects/folder_listing.h"
#include "core/objects/path_adder.h"
#include "core/objects/target_commands.h"
#include "platform/file_system.h"

namespace dovetam::testing {

enum class Chosen { ByPath, Listed };

struct ChosenCase {
  const char* label;
  Chosen chosen;
};

inline void PrintTo(const ChosenCase& c, std::ostream* os) { *os << c.label; }

// Both ways, for INSTANTIATE_TEST_SUITE_P with ChosenCaseName.
inline auto EveryWayOfChoosing() {
  return ::testing::Values(ChosenCase{"byPath", Chosen::ByPath}, ChosenCase{"listed", Chosen::Listed});
}

inline std::string ChosenCaseName(const ::testing::TestParamInfo<ChosenCase>& info) {
  return info.param.label;
}

// Adds `name`, the only entry of `folder` (a path ending in "/"), to the
// targets the way `chosen` says.
inline void ChooseTarget(Chosen chosen, FileSystem& fs, ObjectTable& objects, const Capacities& caps,
                         const std::u16string& folder, const std::u16string& name) {
  if (chosen == Chosen::ByPath) {
    PathAdder adder(fs, objects, false, false, caps);
    EXPECT_EQ(PathAdd::Added, adder.Add(folder + name));
    return;
  }
  ListingTable listing;
  listing.Reset(caps.tableStep);
  int dateFailures = 0;
  ASSERT_EQ(ListingRead::Ok,
            ReadFolderListing(fs, listing, folder, false, false, caps, dateFailures));
  ASSERT_EQ(1, listing.ListCount);
  EXPECT_TRUE(AddListingEntries(objects, listing, {1}, caps));
}

}  // namespace dovetam::testing
