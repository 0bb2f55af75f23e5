// The view-settings dialog (see view_dialog.h).
#include "ui/view_dialog/view_dialog.h"

#include <QCheckBox>
#include <algorithm>
#include <initializer_list>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/settings/settings_values.h"
#include "platform/message_boxes.h"
#include "ui/widgets/controls.h"

namespace dovetam {

frmDovetemView::frmDovetemView(int16_t mask, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QtText(kWindowCaption));
  setModal(true);
  setFixedSize(TwipsToPixels(4905, this), TwipsToPixels(3015, this));
  CreateControls();
  cmdDecide->setDefault(true);  // Esc closes through reject(), as the Cancel button would

  SetTabOrder({chkAttribute[1], chkAttribute[2], chkMix, chkHideHeader, cmdDecide, cmdCancel});

  connect(cmdDecide, &QPushButton::clicked, this, &frmDovetemView::cmdDecide_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmDovetemView::cmdCancel_Click);

  // Form_Load.
  const int low = mask & 0xFF;
  if (low & kViewMaskModified) chkAttribute[1]->setChecked(true);
  if (low & kViewMaskCreated) chkAttribute[2]->setChecked(true);
  if (low & kViewMaskMix) chkMix->setChecked(true);
  if ((low & kViewMaskHeader) == 0) chkHideHeader->setChecked(true);
  Decided = false;
}

// Left, top, width, height in twips, as designed.
void frmDovetemView::CreateControls() {
  lblMessage = MakeLabel(this, QStringLiteral("lblMessage"),
                         QStringLiteral("ファイル・フォルダの表示形式を選択してください。"), 240,
                         240, 3750, 180);
  lblMessage->adjustSize();  // sizes itself to its text
  fraAttribute = PlaceControl(new QGroupBox(QStringLiteral("属性"), this),
                              QStringLiteral("fraAttribute"), 240, 720, 1575, 1335);
  chkAttribute[1] =
      PlaceControl(new QCheckBox(QStringLiteral("更新日時"), fraAttribute),
                   ArrayControlName(QStringLiteral("chkAttribute"), 1), 240, 240, 1095, 495);
  chkAttribute[2] =
      PlaceControl(new QCheckBox(QStringLiteral("作成日時"), fraAttribute),
                   ArrayControlName(QStringLiteral("chkAttribute"), 2), 240, 720, 1095, 495);
  chkMix = PlaceControl(new QCheckBox(QStringLiteral("ファイルとフォルダを区別しない"), this),
                        QStringLiteral("chkMix"), 2040, 840, 2775, 495);
  chkHideHeader = PlaceControl(new QCheckBox(QStringLiteral("列名を表示しない"), this),
                               QStringLiteral("chkHideHeader"), 2040, 1320, 1815, 615);
  cmdDecide = MakeButton(this, QStringLiteral("cmdDecide"), QStringLiteral("決定"), QString(), 840,
                         2400, 1335, 375);
  cmdCancel = MakeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), QString(),
                         2640, 2400, 1335, 375);
  // Where the screen's font needs more room than the design gives, a box
  // grows to its text and the dialog with it: no caption is cut.
  int right = width();
  for (QWidget* w : std::initializer_list<QWidget*>{lblMessage, chkMix, chkHideHeader}) {
    if (w->width() < w->sizeHint().width()) w->resize(w->sizeHint().width(), w->height());
    right = std::max(right, w->x() + w->width() + TwipsToPixels(120, this));
  }
  for (QCheckBox* box : {chkAttribute[1], chkAttribute[2]}) {
    if (box->width() < box->sizeHint().width()) box->resize(box->sizeHint().width(), box->height());
  }
  if (right > width()) setFixedSize(right, height());
}

void frmDovetemView::cmdDecide_Click() {
  int16_t m = 0;
  if (chkAttribute[1]->isChecked()) m |= kViewMaskModified;
  if (chkAttribute[2]->isChecked()) m |= kViewMaskCreated;
  if (chkMix->isChecked()) m |= kViewMaskMix;
  if (!chkHideHeader->isChecked()) m |= kViewMaskHeader;
  mask_ = m;
  Decided = true;
  accept();
}

void frmDovetemView::cmdCancel_Click() { reject(); }

void frmDovetemView::done(int result) {
  if (!Decided) mask_ = -1;
  QDialog::done(result);
}

}  // namespace dovetam
