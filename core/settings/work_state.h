// Pieces of the work-state reset and of the view command that need no window:
// the sort levels, the missing dates of a newly shown date column, and the
// deletion of the run's files at exit.
#pragma once

#include <string>

#include "core/settings/settings.h"
#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_state.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace dovetam {

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
