// A list of the targets with the count beside it: the target list of page 1
// (lvwSelect2 with lblSelectCount) and the order list of page 2 (lvwOrder
// with lblOrderCount). Both show the targets in the order of OrderIndex and
// share the target sort levels, so a column click in either orders both,
// and the order of the rename run.
//
// The pages' procedures are these under the list's names: SetTargetHeaders /
// SetOrderHeaders, FillTargetList / FillOrderList, RefreshTargetList /
// RefreshOrderList, ShowSelectCount / ShowOrderCount (ShowCount, which every
// fill calls), lvwSelect2_ColumnClick / lvwOrder_ColumnClick.
#pragma once

#include <functional>

class QLabel;

namespace dovetam {

class FormPointer;
class ListView;
struct WorkState;

class TargetList {
 public:
  // `afterCount` runs in every fill after the count is shown (the order list
  // refreshes the rule preview there).
  TargetList(WorkState& state, FormPointer& pointer, ListView* view, QLabel* count,
             std::function<void()> afterCount = nullptr);

  // New column headers with the target sort marks (in parentheses while
  // ChangeState is not 0).
  void SetHeaders();
  void ClearItems();
  // Redraws the list in the present order of OrderIndex (no re-sort), shows
  // the count, yields with the window disabled, puts the pointer back.
  void Fill();
  // OrderIndex anew by the sort levels (unless a finished run froze the
  // order), then Fill.
  void Refresh();
  // SetHeaders, ClearItems, Refresh.
  void Rebuild();
  void ShowCount();
  // A click on the title of `column`: after a finished run the guard question
  // first (No: nothing happens; Yes: the list is cleared); the column's key
  // becomes the primary level or changes its direction; headers and Refresh.
  void ColumnClick(int column);

 private:
  WorkState& state_;
  FormPointer& pointer_;
  ListView* view_;
  QLabel* count_;
  std::function<void()> afterCount_;
};

}  // namespace dovetam
