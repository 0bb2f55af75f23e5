// The main window as its pages see it: the two ways from one page to the
// other, which the pages' buttons ask for and the window carries out (it
// owns the page stack and the Default and Cancel buttons).
#pragma once

namespace dovetam {

class PageStack {
 public:
  // "決定＞": page 2 with the order list in the present order, its first item
  // selected and the preview; "名前変更" and "＜戻る" become the Default and
  // Cancel buttons; the focus goes to txtRule1.
  virtual void OpenRulePage() = 0;
  // "＜戻る": page 1 with the listing redrawn (read again when stale) and the
  // target list redrawn in the present order; "決定＞" and "終了" become the
  // Default and Cancel buttons; the focus goes to lvwSelect.
  virtual void BackToSelectionPage() = 0;

 protected:
  ~PageStack() = default;
};

}  // namespace dovetam
