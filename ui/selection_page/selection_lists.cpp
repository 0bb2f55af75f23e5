// Page 1's two lists: the column headers with their sort marks, the fills
// and refreshes, the target count, and the column clicks. The listing has
// sort levels of its own; the target list is a TargetList, whose levels and
// order the order list of page 2 shares.
//
// A fill rewrites the whole list from its table in display order (item i
// shows ListOrder(i) or OrderIndex(i)) with no item selected, except that the
// folder listing then selects its entries that are targets.
#include <algorithm>
#include <unordered_map>

#include "core/objects/column_headers.h"
#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/selection_page/selection_page.h"
#include "ui/widgets/form_pointer.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"
#include "ui/widgets/target_list.h"

namespace dovetam {

namespace {

// The rows (0-based, ascending, each once) of the listing entries that are
// targets of the listed folder, however a target's folder is spelled
// (ObjectTable::InFolder): per target, the first entry of its exact name, at
// the first position that shows it.
std::vector<int> TargetRowsOfListing(const ListingTable& listing, const ObjectTable& objects) {
  std::vector<int> rows;
  bool any = false;
  for (int32_t t = 1; t <= objects.ObjCount && !any; ++t) {
    any = objects.InFolder(t, listing.ListFolder, listing.ListFolderId);
  }
  if (!any) return rows;
  std::unordered_map<std::u16string, int32_t> firstEntry;
  for (int32_t j = 1; j <= listing.ListCount; ++j) firstEntry.emplace(listing.ListName[j], j);
  std::vector<int32_t> positionOf(static_cast<std::size_t>(listing.ListCount) + 1, 0);
  for (int32_t p = listing.ListCount; p >= 1; --p) {
    const int32_t e = listing.ListOrder[p];
    if (e >= 1 && e <= listing.ListCount) positionOf[e] = p;
  }
  for (int32_t t = 1; t <= objects.ObjCount; ++t) {
    if (!objects.InFolder(t, listing.ListFolder, listing.ListFolderId)) continue;
    const auto it = firstEntry.find(objects.ObjName[t]);
    if (it == firstEntry.end() || positionOf[it->second] == 0) continue;
    rows.push_back(positionOf[it->second] - 1);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

}  // namespace

void fraDovetem::SetSelectHeaders() {
  lvwSelect->SetHeaders(state_.sort.SortKeyCount, ListingColumnTitles(state_),
                        state_.settings.view.ViewHeader);
}

void fraDovetem::ClearSelectItems() { lvwSelect->ClearItems(); }

void fraDovetem::FillSelectList() {
  const ListingTable& listing = state_.listing;
  if (listing.ListFailed != 0) {
    pointer_.YieldWithFormDisabled();
    pointer_.ShowNormalPointer();
    return;
  }
  pointer_.ShowHourglass();
  const ViewSettings& view = state_.settings.view;
  lvwSelect->Fill(listing.ListOrder, listing.ListCount, view.ViewModified, view.ViewCreated);
  // The targets of the listed folder show selected (exact names).
  lvwSelect->SelectRows(TargetRowsOfListing(listing, state_.objects));
  pointer_.YieldWithFormDisabled();
  pointer_.ShowNormalPointer();
}

void fraDovetem::lvwSelect_ColumnClick(int column) {
  pointer_.ShowHourglass();
  SortState& sort = state_.sort;
  ClickSortColumn(sort.ListSortKey, sort.ListSortDir,
                  ColumnKeyNumber(lvwSelect->Model().ColumnKey(column)));
  ResortListing(state_);
  SetSelectHeaders();
  FillSelectList();
}

void fraDovetem::SetTargetHeaders() { targetList_->SetHeaders(); }
void fraDovetem::ClearTargetItems() { targetList_->ClearItems(); }
void fraDovetem::FillTargetList() { targetList_->Fill(); }
void fraDovetem::RefreshTargetList() { targetList_->Refresh(); }
void fraDovetem::lvwSelect2_ColumnClick(int column) { targetList_->ColumnClick(column); }

}  // namespace dovetam
