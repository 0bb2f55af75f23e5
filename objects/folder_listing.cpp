// Reading the listed folder (see folder_listing.h). Cost: one listing of the
// folder plus, per shown date column, one status call per entry.
#include "objects/folder_listing.h"

#include <vector>

namespace dovetam {
namespace {

ListingRead Fail(ListingTable& listing, ListingRead why) {
  listing.ListCount = 0;
  listing.ListFailed = 1;
  return why;
}

}  // namespace

ListingRead ReadFolderListing(FileSystem& fs, ListingTable& listing, const std::u16string& folder,
                              bool readModified, bool readCreated, const Capacities& caps,
                              int& dateFailures) {
  dateFailures = 0;
  listing.ListFailed = 0;
  listing.ListStale = 0;
  listing.ListFolder = folder;
  std::vector<FsEntry> files;
  std::vector<FsEntry> folders;
  if (fs.ListFolder(folder, files, folders) != kFsOk) return Fail(listing, ListingRead::Failed);
  listing.ListCount = 0;
  if (!listing.ListOrder.empty()) listing.ListOrder[0] = -1;
  for (const std::vector<FsEntry>* group : {&files, &folders}) {
    for (const FsEntry& entry : *group) {
      const int32_t i = listing.ListCount + 1;
      if (i > listing.ListCapacity && !listing.Grow(caps.tableStep, caps.allocationLimit)) {
        return Fail(listing, ListingRead::OutOfMemory);
      }
      listing.ListCount = i;
      listing.ListName[i] = entry.name;
      listing.ListIsFolder[i] = entry.isFolder;
      Date modified = 0;
      Date created = 0;
      const std::u16string path = folder + entry.name;
      // A date the file system cannot give (no birth time, say) stays 0; the
      // caller reports it once, and the rest of the folder is still listed.
      if (readModified && fs.GetDateLastModified(path, entry.isFolder, modified) != kFsOk) {
        modified = 0;
        dateFailures |= 1;
      }
      if (readCreated && fs.GetDateCreated(path, entry.isFolder, created) != kFsOk) {
        created = 0;
        dateFailures |= 2;
      }
      listing.ListModified[i] = modified;
      listing.ListCreated[i] = created;
      listing.ListOrder[i] = i;
    }
  }
  return ListingRead::Ok;
}

}  // namespace dovetam
