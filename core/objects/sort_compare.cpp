// Comparators of the listing and target sorts (see sort_compare.h).
#include "core/objects/sort_compare.h"

#include "core/objects/name_collator.h"

namespace dovetam {
namespace {

int16_t CompareDates(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

SortLevels ListingLevels(const SortState& sort, bool viewMix) {
  SortLevels l;
  l.key = sort.ListSortKey;
  l.dir = sort.ListSortDir;
  l.count = sort.SortKeyCount;
  l.mix = viewMix;
  return l;
}

SortLevels TargetLevels(const SortState& sort, bool viewMix) {
  SortLevels l;
  l.key = sort.ObjSortKey;
  l.dir = sort.ObjSortDir;
  l.count = sort.SortKeyCount;
  l.mix = viewMix;
  return l;
}

int16_t CompareSortItems(const SortLevels& levels, const SortItem& a, const SortItem& b) {
  const int count = levels.count < 1 ? 1 : (levels.count > 3 ? 3 : levels.count);
  for (int k = 1; k <= count; ++k) {
    int16_t r = 0;
    switch (levels.key[k]) {
      case 1:
        if (!levels.mix && a.isFolder != b.isFolder) {
          r = a.isFolder ? -1 : 1;
        } else if (a.folder != nullptr) {
          r = static_cast<int16_t>(CompareNames(*a.folder + *a.name, *b.folder + *b.name));
        } else {
          r = static_cast<int16_t>(CompareNames(*a.name, *b.name));
        }
        break;
      case 2:
        r = CompareDates(a.modified, b.modified);
        break;
      case 3:
        r = CompareDates(a.created, b.created);
        break;
      default:
        break;
    }
    if (r != 0) return levels.dir[k] == 2 ? static_cast<int16_t>(-r) : r;
  }
  return 0;
}

SortItem ListingItem(const ListingTable& listing, int32_t entry) {
  SortItem item;
  item.name = &listing.ListName[entry];
  item.isFolder = listing.ListIsFolder[entry];
  item.modified = listing.ListModified[entry];
  item.created = listing.ListCreated[entry];
  return item;
}

SortItem TargetItem(const ObjectTable& objects, int32_t entry) {
  SortItem item;
  item.folder = &objects.ObjFolder[entry];
  item.name = &objects.ObjName[entry];
  item.isFolder = objects.ObjIsFolder[entry];
  item.modified = objects.ObjModified[entry];
  item.created = objects.ObjCreated[entry];
  return item;
}

int16_t CompareSelectItems(const ListingTable& listing, const SortLevels& levels, int32_t a,
                           int32_t b) {
  return CompareSortItems(levels, ListingItem(listing, listing.ListOrder[a]),
                          ListingItem(listing, listing.ListOrder[b]));
}

int16_t CompareObjectItems(const ObjectTable& objects, const SortLevels& levels, int32_t a,
                           int32_t b) {
  return CompareSortItems(levels, TargetItem(objects, objects.OrderIndex[a]),
                          TargetItem(objects, objects.OrderIndex[b]));
}

}  // namespace dovetam
