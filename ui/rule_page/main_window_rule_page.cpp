// Page 2's rule boxes, the scope check box and the live preview: what the rule
// makes of the selected target, or of the sample name when none is selected.
#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "core/settings/event_lock.h"
#include "ui/main_window/main_window.h"
#include "ui/widgets/twips.h"
#include "core/rule/rule_page.h"

namespace dovetam {

namespace {
QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

QLabel* MakeLabel(QWidget* page, const QString& text, int left, int top, int width, int height) {
  auto* l = new QLabel(text, page);
  l->setTextFormat(Qt::PlainText);
  PlaceTwips(l, left, top, width, height);
  return l;
}
}  // namespace

void frmDovetem::CreateRulePage() {
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(9);

  lblRule = MakeLabel(fraDovetem2,
                      QStringLiteral("変更規則、順序を入力してください。 "
                                     "名前変更ボタンを押すと、処理を開始します。"),
                      240, 240, 11400, 375);
  txtRule1 = new QLineEdit(fraDovetem2);
  txtRule1->setFont(fixed);
  PlaceTwips(txtRule1, 240, 720, 5535, 375);
  lblRule2 = MakeLabel(fraDovetem2, QStringLiteral("．"), 5880, 720, 240, 375);
  txtRule2 = new QLineEdit(fraDovetem2);
  txtRule2->setFont(fixed);
  PlaceTwips(txtRule2, 6120, 720, 3615, 375);
  setTabOrder(txtRule1, txtRule2);

  chkRule = new QCheckBox(QStringLiteral("拡張子をまとめる"), fraDovetem2);
  chkRule->setToolTip(QStringLiteral("名前の\".\"の前後で異なる規則を用いるかどうかを指定します。"));
  PlaceTwips(chkRule, 240, 1200, 3000, 300);

  lblRule3 = MakeLabel(fraDovetem2, QStringLiteral("変更前"), 240, 1560, 840, 300);
  lblRuleName1 = MakeLabel(fraDovetem2, QString(), 1080, 1560, 10560, 300);
  lblRuleName1->setFont(fixed);
  lblRule5 = MakeLabel(fraDovetem2, QStringLiteral("↓"), 1080, 1860, 600, 300);
  lblRule4 = MakeLabel(fraDovetem2, QStringLiteral("変更後"), 240, 2160, 840, 300);
  lblRuleName2 = MakeLabel(fraDovetem2, QString(), 1080, 2160, 10560, 300);
  lblRuleName2->setFont(fixed);

  connect(chkRule, &QCheckBox::toggled, this, &frmDovetem::chkRule_Click);
  connect(txtRule1, &QLineEdit::textChanged, this, &frmDovetem::txtRule1_Change);
  connect(txtRule2, &QLineEdit::textChanged, this, &frmDovetem::txtRule2_Change);
}

ChangeRule frmDovetem::CurrentRule() const {
  return ChangeRule{txtRule1->text().toStdU16String(), txtRule2->text().toStdU16String(),
                    chkRule->isChecked()};
}

// One rule: txtRule1 reaches to the end of txtRule2 and lies on top of the
// separator and the second box, which stay where they are but take no focus
// (Tab would otherwise type into a box nobody sees). Two rules: the first box
// goes back to its design width, under the separator as built.
void frmDovetem::ArrangeRuleBoxes() {
  const QRect r1 = txtRule1->geometry();
  if (!chkRule->isChecked()) {
    txtRule1->setGeometry(r1.x(), r1.y(), TwipsToPixels(RuleBoxWidth, txtRule1), r1.height());
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

// The guard of a rule box or of chkRule: after a finished run, asks before
// the change; No puts back the value of the run's end.
static bool GuardRuleChange(frmDovetem& w, QWidget* control) {
  if (w.ChangeState == 0) return true;
  if (!w.AskGuardQuestion()) {
    EventLockGuard lock(w.EventLock);
    if (control == w.chkRule)
      w.chkRule->setChecked(w.LastChkRule);
    else if (control == w.txtRule1)
      w.txtRule1->setText(Q(w.LastRule1));
    else
      w.txtRule2->setText(Q(w.LastRule2));
    return false;
  }
  w.SetOrderHeaders();
  w.ClearOrderItems();
  w.RefreshOrderList();
  return true;
}

void frmDovetem::chkRule_Click() {
  if (EventLock > 0) return;
  if (!GuardRuleChange(*this, chkRule)) return;
  ArrangeRuleBoxes();
  ShowRulePreview();
}

// A rule box changed: control characters that came with a paste are taken
// out; writing the filtered text back runs this handler once more, which then
// finds nothing to remove and refreshes the preview.
static void RuleBoxChanged(frmDovetem& w, QLineEdit* box) {
  if (w.EventLock > 0) return;
  if (!GuardRuleChange(w, box)) return;
  const std::u16string text = box->text().toStdU16String();
  const std::u16string filtered = RemoveControlCharacters(text);
  if (filtered != text) {
    const int cursor = box->cursorPosition() - static_cast<int>(text.size() - filtered.size());
    box->setText(Q(filtered));  // re-enters this handler with the clean text
    box->setCursorPosition(std::max(0, cursor));
    return;
  }
  w.ShowRulePreview();
}

void frmDovetem::txtRule1_Change() { RuleBoxChanged(*this, txtRule1); }
void frmDovetem::txtRule2_Change() { RuleBoxChanged(*this, txtRule2); }

void frmDovetem::ShowRulePreview() {
  const int32_t n = OrderItemCount();
  const int32_t i = FirstSelectedOrderPosition();
  std::u16string name;
  RuleContext& ctx = engine.context;
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
    name = settings.settings.SampleName;
  }
  engine.rule = CurrentRule();
  const std::u16string result = PreviewText(engine.GenerateNewName(name), ctx);
  lblRuleName1->setText(Q(name));
  lblRuleName2->setText(Q(result));
  lblRuleName1->adjustSize();
  lblRuleName2->adjustSize();
}

void frmDovetem::UpdateRulePreview() { ShowRulePreview(); }

}  // namespace dovetam
