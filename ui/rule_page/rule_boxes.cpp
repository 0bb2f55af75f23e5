// Page 2's rule boxes, the scope check box and the live preview: what the rule
// makes of the selected target, or of the sample name when none is selected.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

#include "core/rule/rule_page.h"
#include "core/settings/event_lock.h"
#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/rule_page/rule_page.h"
#include "ui/widgets/controls.h"

namespace dovetam {

void fraDovetem2::ResetRuleBoxes() {
  txtRule1->setText(QtText(state_.settings.settings.ChrAster));
  txtRule2->setText(QtText(state_.settings.settings.ChrAster));
  chkRule->setChecked(false);
  ArrangeRuleBoxes();
}

ChangeRule fraDovetem2::CurrentRule() const {
  return ChangeRule{txtRule1->text().toStdU16String(), txtRule2->text().toStdU16String(),
                    chkRule->isChecked()};
}

// One rule: txtRule1 reaches to the end of txtRule2 and lies on top of the
// separator and the second box, which stay where they are but take no focus
// (Tab would otherwise type into a box nobody sees). Two rules: the first box
// goes back to its design width, under the separator as built.
void fraDovetem2::ArrangeRuleBoxes() {
  const QRect r1 = txtRule1->geometry();
  if (!chkRule->isChecked()) {
    txtRule1->setGeometry(r1.x(), r1.y(), TwipsToPixels(state_.RuleBoxWidth, txtRule1),
                          r1.height());
    txtRule1->stackUnder(lblRule2);
    txtRule2->setFocusPolicy(Qt::StrongFocus);
    txtRule1->setToolTip(QStringLiteral("\".\"の前の部分に適用する変更規則を入力します。"));
    txtRule2->setToolTip(QStringLiteral("\".\"の後の部分に適用する変更規則を入力します。"));
  } else {
    const QRect r2 = txtRule2->geometry();
    txtRule1->setGeometry(r1.x(), r1.y(), r2.x() + r2.width() - r1.x(), r1.height());
    txtRule1->raise();
    txtRule2->setFocusPolicy(Qt::NoFocus);
    txtRule1->setToolTip(QStringLiteral("名前全体に適用する変更規則を入力します。"));
  }
}

bool fraDovetem2::GuardRuleChange(QWidget* control) {
  if (state_.ChangeState == 0) return true;
  if (!AskGuardQuestion(state_)) {
    EventLockGuard lock(state_.EventLock);
    if (control == chkRule)
      chkRule->setChecked(state_.LastChkRule);
    else if (control == txtRule1)
      txtRule1->setText(QtText(state_.LastRule1));
    else
      txtRule2->setText(QtText(state_.LastRule2));
    return false;
  }
  RebuildOrderList();
  return true;
}

void fraDovetem2::chkRule_Click() {
  if (state_.EventLock > 0) return;
  if (!GuardRuleChange(chkRule)) return;
  ArrangeRuleBoxes();
  ShowRulePreview();
}

// A rule box changed: control characters that came with a paste are taken
// out; writing the filtered text back runs this handler once more, which then
// finds nothing to remove and refreshes the preview.
void fraDovetem2::RuleBoxChanged(QLineEdit* box) {
  if (state_.EventLock > 0) return;
  if (!GuardRuleChange(box)) return;
  const std::u16string text = box->text().toStdU16String();
  const std::u16string filtered = RemoveControlCharacters(text);
  if (filtered != text) {
    const int cursor = box->cursorPosition() - static_cast<int>(text.size() - filtered.size());
    box->setText(QtText(filtered));  // re-enters this handler with the clean text
    box->setCursorPosition(std::max(0, cursor));
    return;
  }
  ShowRulePreview();
}

void fraDovetem2::txtRule1_Change() { RuleBoxChanged(txtRule1); }
void fraDovetem2::txtRule2_Change() { RuleBoxChanged(txtRule2); }

void fraDovetem2::ShowRulePreview() {
  const ObjectTable& objects = state_.objects;
  const int32_t n = OrderItemCount();
  const int32_t i = FirstSelectedOrderPosition();
  std::u16string name;
  RuleContext& ctx = state_.engine.context;
  if (i > 0) {
    const int32_t t = objects.OrderIndex[i];
    name = objects.ObjName[t];
    ctx.CurPos = i;
    ctx.CurTotal = n;
    ctx.CurModified = objects.ObjModified[t];
    ctx.CurCreated = objects.ObjCreated[t];
    ctx.CurPath = objects.ObjFolder[t] + objects.ObjName[t];
    ctx.CurIsFolder = objects.ObjIsFolder[t];
  } else {
    SetSampleContext(ctx);
    name = state_.settings.settings.SampleName;
  }
  state_.engine.rule = CurrentRule();
  const std::u16string result = PreviewText(state_.engine.GenerateNewName(name), ctx);
  lblRuleName1->setText(QtText(name));
  lblRuleName2->setText(QtText(result));
  lblRuleName1->adjustSize();
  lblRuleName2->adjustSize();
}

void fraDovetem2::UpdateRulePreview() { ShowRulePreview(); }

}  // namespace dovetam
