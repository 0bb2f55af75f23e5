// Reading the listed folder into ListingTable: all its files, then all its
// subfolders, in the order the system gives them, with the dates of the shown
// date columns only (0 for the others).
//
// All or nothing: when the folder cannot be listed, nothing of the partial
// read is kept (count 0, ListFailed 1). A shown date that the file system
// cannot give stays 0 and sets its bit in dateFailures (1 last-modified,
// 2 creation), for one message after the listing.
// The arrays grow in steps of the build's table step; when growing is refused
// the capacity stays as it was and the read fails as "memory short", as it
// does when memory runs out anywhere else in the read (std::bad_alloc never
// leaves it).
#pragma once

#include <string>

#include "core/objects/listing_table.h"
#include "platform/capacities.h"
#include "platform/file_system.h"

namespace dovetam {

enum class ListingRead { Ok, Failed, OutOfMemory };

// ListFolder = folder (a path ending in "/") and ListFolderId the identity of
// the folder read; ListFailed and ListStale are cleared first; ListOrder becomes the identity with element 0 = -1. On a
// failure ListCount is 0 and ListFailed 1.
ListingRead ReadFolderListing(FileSystem& fs, ListingTable& listing, const std::u16string& folder,
                              bool readModified, bool readCreated, const Capacities& caps,
                              int& dateFailures);

}  // namespace dovetam
