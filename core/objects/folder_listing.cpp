// Reading the listed folder (see folder_listing.h). Cost: one listing of the
// folder, and with a date column shown one status call per entry, relative
// to the open folder (the file system reads the dates while it lists).
#include "core/objects/folder_listing.h"

#include <new>
#include <vector>

namespace dovetam {
namespace {

ListingRead Fail(ListingTable& listing, ListingRead why) {
  listing.ListCount = 0;
  listing.ListFailed = 1;
  return why;
}

// The read itself; memory running out in it goes to the caller.
ListingRead Read(FileSystem& fs, ListingTable& listing, bool readModified, bool readCreated,
                 const Capacities& caps, int& dateFailures) {
  const std::u16string& folder = listing.ListFolder;
  std::vector<FsEntry> files;
  std::vector<FsEntry> folders;
  if (fs.ListFolderWithDates(folder, readModified, readCreated, files, folders,
                             listing.ListFolderId) != kFsOk) {
    return Fail(listing, ListingRead::Failed);
  }
  listing.ListCount = 0;
  if (!listing.ListOrder.empty()) listing.ListOrder[0] = -1;
  // Grown to the size the folder needs in whole steps, before the entries
  // are stored: the capacity is the one that growing entry by entry reaches.
  const int64_t total = static_cast<int64_t>(files.size()) + static_cast<int64_t>(folders.size());
  if (!listing.GrowFor(total, caps.tableStep, caps.allocationLimit)) {
    return Fail(listing, ListingRead::OutOfMemory);
  }
  for (std::vector<FsEntry>* group : {&files, &folders}) {
    for (FsEntry& entry : *group) {
      const int32_t i = ++listing.ListCount;
      listing.ListName[i] = std::move(entry.name);
      listing.ListIsFolder[i] = entry.isFolder;
      // A date the file system cannot give (no birth time, say) stays 0; the
      // caller reports it once, and the rest of the folder is still listed.
      dateFailures |= entry.dateErrors;
      listing.ListModified[i] = readModified ? entry.modified : 0;
      listing.ListCreated[i] = readCreated ? entry.created : 0;
      listing.ListOrder[i] = i;
    }
  }
  return ListingRead::Ok;
}

}  // namespace

ListingRead ReadFolderListing(FileSystem& fs, ListingTable& listing, const std::u16string& folder,
                              bool readModified, bool readCreated, const Capacities& caps,
                              int& dateFailures) {
  dateFailures = 0;
  listing.ListFailed = 0;
  listing.ListStale = 0;
  listing.ListFolderId = {};
  try {
    listing.ListFolder = folder;
    return Read(fs, listing, readModified, readCreated, caps, dateFailures);
  } catch (const std::bad_alloc&) {
    return Fail(listing, ListingRead::OutOfMemory);
  }
}

}  // namespace dovetam
