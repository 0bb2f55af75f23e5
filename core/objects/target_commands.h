// What the target buttons of page 1 do to ObjectTable, without any window.
// None of them touches the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "platform/capacities.h"

namespace dovetam {

// The add button: every listing entry at the given display positions becomes
// a target (folder ListFolder), unless a target of that name exists in that
// folder, however the target's folder is spelled (ObjectTable::InFolder: the
// same text, or the same folder on disk). Names are compared exactly (names
// that differ only in case are two objects here). A target found under
// another spelling of the folder, or chosen in a folder that another one has
// replaced at this path, takes the listing's values and keeps its place; an
// exact one is left as it is. Returns false when the table could not grow,
// or memory ran out on the way: the entries added before stay, the current
// and later ones are not added.
// The duplicate test uses a hash map of the listed folder's targets, so
// adding n entries costs O(n + ObjCount).
bool AddListingEntries(ObjectTable& objects, const ListingTable& listing,
                       const std::vector<int32_t>& positions, const Capacities& caps);

// "選択解除": removes the targets shown at the given display positions
// (OrderIndex) and closes the gaps, keeping the order of the others.
void RemoveTargetsAtPositions(ObjectTable& objects, const std::vector<int32_t>& positions);

// "∧解除": removes every target in the folder `folder` of identity
// `folderId`, however its folder is spelled (ObjectTable::InFolder).
void RemoveTargetsInFolder(ObjectTable& objects, const std::u16string& folder,
                           FolderIdentity folderId);

// Sets OrderIndex to the identity (element 0 = -1).
void ResetTargetOrder(ObjectTable& objects);
void ResetListingOrder(ListingTable& listing);

}  // namespace dovetam
