// The steps on the work state (work_state.h) that need no window: the guard
// question of a finished run, the sort levels and the index sorts of the
// lists with their column titles, the missing dates of a newly shown date
// column, and the deletion of the run's files at exit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/column_headers.h"
#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_state.h"
#include "core/settings/settings.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace dovetam {

struct WorkState;

// The guard question of a finished run. With ChangeState 0: true, nothing
// asked. Otherwise asks "この操作を行うと、名前の再変更・復元ができなくなります。"
// and, on a second line, "続行しますか？" ("すべての選択を解除しますか？" when
// allTargets), Yes/No with the exclamation icon and No as default: Yes clears
// ChangeState and gives true, No changes nothing and gives false. The caller
// rebuilds the lists it changes.
bool AskGuardQuestion(WorkState& state, bool allTargets = false);

// SortSelectIndex / SortObjectIndex: positions first..last of ListOrder /
// OrderIndex by the sort levels of the listing / of the targets.
void SortSelectIndex(WorkState& state, int32_t first, int32_t last);
void SortObjectIndex(WorkState& state, int32_t first, int32_t last);
// The listing back in entry order (ListOrder(0) = -1, ListOrder(i) = i), then
// sorted over all its entries.
void ResortListing(WorkState& state);
// The order step of RefreshTargetList and RefreshOrderList: unless a finished
// run froze the order (bit 1 of ChangeState), OrderIndex is set anew and
// sorted by the target sort levels.
void SortTargetsUnlessFrozen(WorkState& state);

// The titles of the shown columns with their sort marks: of the folder
// listing, and of the target and order lists (the name mark in parentheses
// while ChangeState is not 0).
std::vector<ColumnTitle> ListingColumnTitles(const WorkState& state);
std::vector<ColumnTitle> TargetColumnTitles(const WorkState& state);

// Levels 1..3 of both lists get name, last-modified, creation, ascending;
// SortKeyCount = 1 + shown date columns; with only the creation column shown,
// levels 2 and 3 are exchanged (name, creation, last-modified).
void ResetSortKeys(SortState& sort, const ViewSettings& view);

// Failure bits of FetchMissingDates.
enum DateFetchFailure : int { kModifiedFailed = 1, kCreatedFailed = 2 };

// Reads the dates that are still 0 of every target and, when listingValid, of
// every listing entry: last-modified when readModified, creation when
// readCreated. A date that cannot be read stays 0; returns the failure bits.
int FetchMissingDates(FileSystem& fs, ObjectTable& objects, ListingTable& listing,
                      bool readModified, bool readCreated, bool listingValid);

// The one message after dates could not be read ("" when failures is 0).
std::u16string DateFetchFailureMessage(int failures);

// Deletes the log and the report file at exit: only files of exactly these
// names (a name in another letter case is someone else's file); one critical
// message when something failed. The exit goes on either way.
void DeleteRunFiles(FileSystem& fs, MessageBoxes& boxes, const std::u16string& logPath,
                    const std::u16string& reportPath);

}  // namespace dovetam
