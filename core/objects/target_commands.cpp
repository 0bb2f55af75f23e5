// Target table changes of the page-1 buttons (see target_commands.h).
#include "core/objects/target_commands.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_map>

namespace dovetam {
namespace {

// Copies the six fields that make a target from entry `from` to entry `to`.
void MoveTarget(ObjectTable& t, int32_t from, int32_t to) {
  t.ObjFolder[to] = std::move(t.ObjFolder[from]);
  t.ObjFolderId[to] = t.ObjFolderId[from];
  t.ObjName[to] = std::move(t.ObjName[from]);
  t.ObjIsFolder[to] = t.ObjIsFolder[from];
  t.ObjModified[to] = t.ObjModified[from];
  t.ObjCreated[to] = t.ObjCreated[from];
}

// Target i becomes listing entry e of the listed folder. The texts are made
// before the first field changes: if memory runs out, target i is as before.
void SetFromListing(ObjectTable& t, int32_t i, const ListingTable& listing, int32_t e) {
  std::u16string folderText = listing.ListFolder;
  std::u16string name = listing.ListName[e];
  t.ObjFolder[i].swap(folderText);
  t.ObjFolderId[i] = listing.ListFolderId;
  t.ObjName[i].swap(name);
  t.ObjIsFolder[i] = listing.ListIsFolder[e];
  t.ObjModified[i] = listing.ListModified[e];
  t.ObjCreated[i] = listing.ListCreated[e];
}

// AddListingEntries without its edge: memory running out goes to the caller.
bool AddEntries(ObjectTable& objects, const ListingTable& listing,
                const std::vector<int32_t>& positions, const Capacities& caps) {
  const std::u16string& folder = listing.ListFolder;
  const FolderIdentity folderId = listing.ListFolderId;
  // The names taken in the listed folder, however the folder of a target is
  // spelled: its targets' (the first target of a name; the names copied, as
  // the target table moves when it grows) and the entries picked here (the
  // listing's own texts, which stay where they are; no target to update).
  std::vector<std::u16string> targetNames;
  std::vector<int32_t> targetOf;
  for (int32_t j = 1; j <= objects.ObjCount; ++j) {
    if (objects.InFolder(j, folder, folderId)) {
      targetNames.push_back(objects.ObjName[j]);
      targetOf.push_back(j);
    }
  }
  std::unordered_map<std::u16string_view, int32_t> present;
  present.reserve(targetNames.size() + positions.size());
  for (std::size_t k = 0; k < targetNames.size(); ++k) present.emplace(targetNames[k], targetOf[k]);
  std::vector<int32_t> entries;
  entries.reserve(positions.size());
  for (int32_t p : positions) {
    if (p < 1 || p > listing.ListCount) continue;
    const int32_t e = listing.ListOrder[p];
    const auto [it, added] = present.emplace(listing.ListName[e], 0);
    if (added) {
      entries.push_back(e);
      continue;
    }
    // Already a target: when it was chosen under another spelling of the
    // folder (or in the folder that stood at this path before), it takes the
    // listing's folder, name, folder flag and dates and keeps its place.
    const int32_t j = it->second;
    if (j != 0 && (objects.ObjFolder[j] != folder ||
                   (folderId.Known() && objects.ObjFolderId[j] != folderId))) {
      SetFromListing(objects, j, listing, e);
    }
  }
  // Room for all of them in whole steps; when a step is refused, the entries
  // that fit in the steps made are added and the rest are not.
  const bool grown = objects.GrowFor(static_cast<int64_t>(objects.ObjCount) + entries.size(),
                                     caps.tableStep, caps.allocationLimit);
  const std::size_t room = static_cast<std::size_t>(objects.ObjCapacity - objects.ObjCount);
  const std::size_t fit = std::min(entries.size(), room);
  for (std::size_t k = 0; k < fit; ++k) {
    // Counted once it is whole.
    SetFromListing(objects, objects.ObjCount + 1, listing, entries[k]);
    ++objects.ObjCount;
  }
  return grown;
}

}  // namespace

bool AddListingEntries(ObjectTable& objects, const ListingTable& listing,
                       const std::vector<int32_t>& positions, const Capacities& caps) {
  try {
    return AddEntries(objects, listing, positions, caps);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void RemoveTargetsAtPositions(ObjectTable& objects, const std::vector<int32_t>& positions) {
  // An empty name marks a target for removal (no target has an empty name).
  for (int32_t p : positions) {
    if (p >= 1 && p <= objects.ObjCount) objects.ObjName[objects.OrderIndex[p]].clear();
  }
  const int32_t count = objects.ObjCount;
  int32_t removed = 0;
  for (int32_t i = 1; i <= count; ++i) {
    if (objects.ObjName[i].empty()) {
      ++removed;
    } else if (removed > 0) {
      MoveTarget(objects, i, i - removed);
    }
  }
  objects.ObjCount -= removed;
}

void RemoveTargetsInFolder(ObjectTable& objects, const std::u16string& folder,
                           FolderIdentity folderId) {
  const int32_t count = objects.ObjCount;
  int32_t kept = 0;
  for (int32_t i = 1; i <= count; ++i) {
    if (!objects.InFolder(i, folder, folderId)) {
      ++kept;
      if (kept < i) MoveTarget(objects, i, kept);
    }
  }
  objects.ObjCount = kept;
}

void ResetTargetOrder(ObjectTable& objects) {
  if (objects.OrderIndex.empty()) return;
  objects.OrderIndex[0] = -1;
  for (int32_t i = 1; i <= objects.ObjCount; ++i) objects.OrderIndex[i] = i;
}

void ResetListingOrder(ListingTable& listing) {
  if (listing.ListOrder.empty()) return;
  listing.ListOrder[0] = -1;
  for (int32_t i = 1; i <= listing.ListCount; ++i) listing.ListOrder[i] = i;
}

}  // namespace dovetam
