// The entries of the listed folder: parallel arrays indexed 1..ListCount and
// ListOrder, the display position -> entry. ListFolderId is the identity of
// the folder that was read, which its entries keep when they become targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/folder_handle.h"

namespace dovetam {

struct ListingTable {
  std::u16string ListFolder;  // ends in "/"
  FolderIdentity ListFolderId;
  std::vector<std::u16string> ListName;
  std::vector<bool> ListIsFolder;
  std::vector<Date> ListModified;
  std::vector<Date> ListCreated;
  std::vector<int32_t> ListOrder;
  int32_t ListCount = 0;
  int32_t ListCapacity = 0;
  int16_t ListFailed = 1;  // no valid listing
  int16_t ListStale = 1;   // must be re-read from disk

  void Reset(int32_t capacity);
  bool Grow(int32_t step, std::size_t allocationLimit);
  // Whole steps until `needed` entries fit (see ObjectTable::GrowFor).
  bool GrowFor(int64_t needed, int32_t step, std::size_t allocationLimit);
};

}  // namespace dovetam
