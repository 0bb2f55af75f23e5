// frmDovetemView: the modal dialog of the view settings. It knows nothing of
// the lists or the store: it is given the view mask (the kViewMask bits of
// settings_values.h: the last-modified column, the creation column, files and
// folders mixed in the name sort, the column headers shown) and gives back the
// new mask on "決定", -1 on any other close.
// A new dialog is made for every showing, so each starts from its design.
// Its controls carry their names (chkAttribute(1), chkMix, cmdDecide, ...).
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace dovetam {

class frmDovetemView : public QDialog {
  Q_OBJECT

 public:
  // Form_Load: ticks the boxes from the low byte of the mask.
  explicit frmDovetemView(int16_t mask, QWidget* parent = nullptr);

  // The mask after the dialog closed: the new one, or -1.
  int16_t Mask() const { return mask_; }

 protected:
  // Form_QueryUnload: every close without "決定" leaves -1.
  void done(int result) override;

 private:
  void CreateControls();

  // The buttons' handlers; the dialog's own buttons alone raise them.
  void cmdDecide_Click();
  void cmdCancel_Click();

  QLabel* lblMessage = nullptr;
  QGroupBox* fraAttribute = nullptr;
  std::array<QCheckBox*, 3> chkAttribute{};  // index 1 and 2
  QCheckBox* chkMix = nullptr;
  QCheckBox* chkHideHeader = nullptr;
  QPushButton* cmdDecide = nullptr;
  QPushButton* cmdCancel = nullptr;
  bool Decided = false;
  int16_t mask_ = -1;
};

}  // namespace dovetam
