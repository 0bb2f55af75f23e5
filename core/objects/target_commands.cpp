// Target table changes of the page-1 buttons (see target_commands.h).
#include "core/objects/target_commands.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_set>

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

// AddListingEntries without its edge: memory running out goes to the caller.
bool AddEntries(ObjectTable& objects, const ListingTable& listing,
                const std::vector<int32_t>& positions, const Capacities& caps) {
  const std::u16string& folder = listing.ListFolder;
  // The names taken in the listed folder: its targets' (copied: the target
  // table moves when it grows) and the entries picked here (the listing's
  // own texts, which stay where they are).
  std::vector<std::u16string> targetNames;
  for (int32_t j = 1; j <= objects.ObjCount; ++j) {
    if (objects.ObjFolder[j] == folder) targetNames.push_back(objects.ObjName[j]);
  }
  std::unordered_set<std::u16string_view> present(targetNames.begin(), targetNames.end());
  present.reserve(targetNames.size() + positions.size());
  std::vector<int32_t> entries;
  entries.reserve(positions.size());
  for (int32_t p : positions) {
    if (p < 1 || p > listing.ListCount) continue;
    const int32_t e = listing.ListOrder[p];
    if (present.insert(listing.ListName[e]).second) entries.push_back(e);
  }
  // Room for all of them in whole steps; when a step is refused, the entries
  // that fit in the steps made are added and the rest are not.
  const bool grown = objects.GrowFor(static_cast<int64_t>(objects.ObjCount) + entries.size(),
                                     caps.tableStep, caps.allocationLimit);
  const std::size_t room = static_cast<std::size_t>(objects.ObjCapacity - objects.ObjCount);
  const std::size_t fit = std::min(entries.size(), room);
  for (std::size_t k = 0; k < fit; ++k) {
    const int32_t e = entries[k];
    // The texts are made before the entry is counted: then nothing can fail.
    std::u16string folderText = folder;
    std::u16string name = listing.ListName[e];
    const int32_t i = ++objects.ObjCount;
    objects.ObjFolder[i].swap(folderText);
    objects.ObjFolderId[i] = listing.ListFolderId;
    objects.ObjName[i].swap(name);
    objects.ObjIsFolder[i] = listing.ListIsFolder[e];
    objects.ObjModified[i] = listing.ListModified[e];
    objects.ObjCreated[i] = listing.ListCreated[e];
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

void RemoveTargetsInFolder(ObjectTable& objects, const std::u16string& folder) {
  const int32_t count = objects.ObjCount;
  int32_t kept = 0;
  for (int32_t i = 1; i <= count; ++i) {
    if (objects.ObjFolder[i] != folder) {
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
