// fraDovetem2: page 2 of the main window, where the rule is typed and run:
// the two rule boxes with the scope box chkRule and the live preview, the
// order list (lvwOrder) with the target count, the run buttons ("名前変更",
// "名前再変更", "元に戻す", "レポート表示"), "＜戻る" and the two rule help
// buttons. The controls are the page's own; the main window puts its shared
// command buttons on the page and hands them to SetTabOrder.
//
// The page works on the work state it is given, writes the report into the
// report window it is given, asks the main window for page 1 (PageStack) and
// opens the help through it (HelpOpener). Its public members are what the
// main window calls; the handlers are its own. They are defined by concern:
//   rule_page.cpp        the controls at their design places, Tab, wiring,
//                        the events of the order list and of the page
//   rule_boxes.cpp       the rule boxes, their guard and the preview
//   rule_order_list.cpp  the order list (a TargetList, as the target list
//                        of page 1 is) and the readers of its selection
//   rule_run.cpp         run, re-run, restore and the report window
#pragma once

#include <QFrame>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/rule/change_rule.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dovetam {

class FormPointer;
class frmDovetemReport;
class ListView;
class PageStack;
class TargetList;
struct WorkState;

class fraDovetem2 : public QFrame {
  Q_OBJECT

 public:
  // Opens the help at a help context (12 the rules, 60 the examples) over the
  // main window.
  using HelpOpener = std::function<void(int context)>;

  fraDovetem2(WorkState& state, FormPointer& pointer, PageStack& pages, frmDovetemReport& report,
              HelpOpener openHelp, QWidget* parent);
  ~fraDovetem2() override;

  // The design width of txtRule1 (twips), its width for two rules; start-up
  // takes it as RuleBoxWidth.
  static constexpr int kRuleBoxWidth = 5535;

  // Tab goes through the rule boxes, the scope box, the order list and the
  // run buttons, then through the main window's command buttons of the page
  // in the order given, then through "＜戻る" and the two help buttons.
  void SetTabOrder(const std::vector<QWidget*>& commandButtons);
  // The page's Default and Cancel buttons, "名前変更" and "＜戻る".
  QPushButton* DefaultButton() const;
  QPushButton* CancelButton() const;
  void FocusRuleBox();
  // The help context of a control of the page: 12 for the rule help button,
  // 60 for the example button, 0 (the default topic) for any other.
  int HelpContextOf(const QWidget* focused) const;

  // The full reset, under the caller's EventLock: ChrAster into both rule
  // boxes, chkRule unchecked, the boxes laid out for two rules.
  void ResetRuleBoxes();
  // "決定＞", on this page: the order list in the present order (no re-sort)
  // with its first item selected, the preview, OrderListPressed cleared.
  void Open();
  // SetOrderHeaders, ClearOrderItems, RefreshOrderList.
  void RebuildOrderList();
  // The preview of the rule on the first selected target, or on the sample
  // name when none is selected.
  void ShowRulePreview();

 protected:
  // Key and mouse events of the order list and mouse events of the page
  // itself go to their handlers; the events go on as usual.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class WindowRunHost;  // the window's part of a run (rule_run.cpp)

  void CreateControls();
  void ConnectHandlers();

  // The rule boxes and the preview.
  void ArrangeRuleBoxes();
  void UpdateRulePreview();  // ShowRulePreview, for the order list's events and fill
  // The rule boxes and the scope as the engine wants them.
  ChangeRule CurrentRule() const;
  // The guard of a rule box or of chkRule; No puts back its value of the
  // run's end. False when the change is abandoned.
  bool GuardRuleChange(QWidget* control);
  void RuleBoxChanged(QLineEdit* box);

  // The order list.
  void SetOrderHeaders();
  void ClearOrderItems();
  void RefreshOrderList();
  void FillOrderList();
  // The first selected display position, 0 when none; the number of items.
  int32_t FirstSelectedOrderPosition() const;
  int32_t OrderItemCount() const;

  void chkRule_Click();
  void txtRule1_Change();
  void txtRule2_Change();
  void lvwOrder_ColumnClick(int column);
  void lvwOrder_KeyUp(const QKeyEvent* key);
  void lvwOrder_MouseDown();
  void lvwOrder_MouseMove(bool buttonHeld);
  void lvwOrder_MouseUp();
  void fraDovetem2_MouseMove(bool buttonHeld);
  void fraDovetem2_MouseUp();
  void cmdRuleExecute_Click(int index);  // 1 名前変更, 2 名前再変更
  void cmdRuleUndo_Click();
  void cmdRuleReport_Click();
  void cmdRuleBack_Click();
  void cmdRuleHelp_Click();
  void cmdRuleExample_Click();

  WorkState& state_;
  FormPointer& pointer_;
  PageStack& pages_;
  frmDovetemReport& report_;
  HelpOpener openHelp_;

  QLabel* lblRule = nullptr;
  QLineEdit* txtRule1 = nullptr;
  QLabel* lblRule2 = nullptr;
  QLineEdit* txtRule2 = nullptr;
  QCheckBox* chkRule = nullptr;
  QLabel* lblRule3 = nullptr;
  QLabel* lblRuleName1 = nullptr;
  QLabel* lblRule5 = nullptr;
  QLabel* lblRule4 = nullptr;
  QLabel* lblRuleName2 = nullptr;
  ListView* lvwOrder = nullptr;
  QLabel* lblOrderCount = nullptr;
  std::array<QPushButton*, 3> cmdRuleExecute{};  // index 1 and 2
  QPushButton* cmdRuleUndo = nullptr;
  QPushButton* cmdRuleReport = nullptr;
  QPushButton* cmdRuleBack = nullptr;
  QPushButton* cmdRuleHelp = nullptr;
  QPushButton* cmdRuleExample = nullptr;
  std::unique_ptr<TargetList> orderList_;  // lvwOrder with lblOrderCount
};

}  // namespace dovetam
