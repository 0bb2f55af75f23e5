#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "platform/table_growth.h"

namespace dovetam {
namespace {

// The capacity that whole steps from `capacity` reach to hold `needed`.
std::size_t StepsFor(int32_t capacity, int64_t needed, int32_t step) {
  int64_t c = capacity;
  if (step > 0 && needed > c) c += (needed - c + step - 1) / step * step;
  return static_cast<std::size_t>(c);
}

}  // namespace

void ObjectTable::Reset(int32_t capacity) {
  const std::size_t n = static_cast<std::size_t>(capacity) + 1;
  ObjFolder.assign(n, {});
  ObjFolderId.assign(n, {});
  ObjName.assign(n, {});
  ObjIsFolder.assign(n, false);
  ObjModified.assign(n, 0);
  ObjCreated.assign(n, 0);
  OrderIndex.assign(n, 0);
  ObjOrigName.assign(n, {});
  ObjState.assign(n, 0);
  ObjCount = 0;
  ObjCapacity = capacity;
}

bool ObjectTable::Grow(int32_t step, std::size_t limit) {
  const std::size_t n = static_cast<std::size_t>(ObjCapacity) + step + 1;
  // Size-check everything first so that a refusal leaves all arrays alike.
  if (n > limit) return false;
  if (!TryResize(ObjFolder, n, limit) || !TryResize(ObjFolderId, n, limit) ||
      !TryResize(ObjName, n, limit) ||
      !TryResize(ObjIsFolder, n, limit) || !TryResize(ObjModified, n, limit) ||
      !TryResize(ObjCreated, n, limit) || !TryResize(OrderIndex, n, limit) ||
      !TryResize(ObjOrigName, n, limit) || !TryResize(ObjState, n, limit)) {
    // Put every array back to the old size; shrinking cannot fail.
    const std::size_t old = static_cast<std::size_t>(ObjCapacity) + 1;
    ObjFolder.resize(old);
    ObjFolderId.resize(old);
    ObjName.resize(old);
    ObjIsFolder.resize(old);
    ObjModified.resize(old);
    ObjCreated.resize(old);
    OrderIndex.resize(old);
    ObjOrigName.resize(old);
    ObjState.resize(old);
    return false;
  }
  ObjCapacity += step;
  return true;
}

bool ObjectTable::GrowFor(int64_t needed, int32_t step, std::size_t limit) {
  if (needed <= ObjCapacity) return true;
  const std::size_t n = StepsFor(ObjCapacity, needed, step) + 1;
  ReserveHint(ObjFolder, n, limit);
  ReserveHint(ObjName, n, limit);
  ReserveHint(ObjOrigName, n, limit);
  while (ObjCapacity < needed) {
    if (!Grow(step, limit)) return false;
  }
  return true;
}

bool ObjectTable::Append(const std::u16string& folder, const std::u16string& name, bool isFolder,
                         Date modified, Date created, const Capacities& caps,
                         FolderIdentity folderId) {
  if (ObjCount >= ObjCapacity && !Grow(caps.tableStep, caps.allocationLimit)) return false;
  const int32_t i = ++ObjCount;
  ObjFolder[i] = folder;
  ObjFolderId[i] = folderId;
  ObjName[i] = name;
  ObjIsFolder[i] = isFolder;
  ObjModified[i] = modified;
  ObjCreated[i] = created;
  OrderIndex[i] = i;
  ObjOrigName[i].clear();
  ObjState[i] = kObjUnchanged;
  return true;
}

bool ListingTable::GrowFor(int64_t needed, int32_t step, std::size_t limit) {
  if (needed <= ListCapacity) return true;
  ReserveHint(ListName, StepsFor(ListCapacity, needed, step) + 1, limit);
  while (ListCapacity < needed) {
    if (!Grow(step, limit)) return false;
  }
  return true;
}

void ListingTable::Reset(int32_t capacity) {
  const std::size_t n = static_cast<std::size_t>(capacity) + 1;
  ListName.assign(n, {});
  ListIsFolder.assign(n, false);
  ListModified.assign(n, 0);
  ListCreated.assign(n, 0);
  ListOrder.assign(n, 0);
  ListCount = 0;
  ListCapacity = capacity;
  ListStale = 1;
  ListFailed = 1;
}

bool ListingTable::Grow(int32_t step, std::size_t limit) {
  const std::size_t n = static_cast<std::size_t>(ListCapacity) + step + 1;
  if (n > limit) return false;
  if (!TryResize(ListName, n, limit) || !TryResize(ListIsFolder, n, limit) ||
      !TryResize(ListModified, n, limit) || !TryResize(ListCreated, n, limit) ||
      !TryResize(ListOrder, n, limit)) {
    const std::size_t old = static_cast<std::size_t>(ListCapacity) + 1;
    ListName.resize(old);
    ListIsFolder.resize(old);
    ListModified.resize(old);
    ListCreated.resize(old);
    ListOrder.resize(old);
    return false;
  }
  ListCapacity += step;
  return true;
}

}  // namespace dovetam
