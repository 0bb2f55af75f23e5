// frmDovetemSetting: the modal settings dialog. Its controls hold a copy of
// the settings on four pages switched by a tab strip; only "決定" puts the
// copy into effect, only "保存" and "読込み" touch the settings store, and
// "クリア" fills the form with the built-in defaults.
//
// EditState says how the controls relate to the store and to the values in
// effect (0 as the store, 1 the values in effect that differ from the store,
// 2 changed since last filled); "決定" and "保存" derive SettingsDirty from it.
// A new dialog is made for every showing, so each starts from its design on
// page "全般". Its controls are private and named as the control names of the
// key table (core/settings/settings_keys.h) and of the layout; the dialog
// holds each key's controls by the key's row, and the form moves to and from
// them key by key as the table says.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/settings/settings.h"
#include "core/settings/settings_dialog_values.h"
#include "platform/message_boxes.h"

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace dovetam {

class frmDovetemSetting : public QDialog {
  Q_OBJECT

 public:
  // openHelp opens the help file at its default topic (the dialog's controls
  // have no help context of their own).
  frmDovetemSetting(SettingsModule& settings, MessageBoxes& boxes,
                    std::function<void()> openHelp = {}, QWidget* parent = nullptr);

  // The form and the store (the load and save buttons' work).
  bool LoadForm();
  bool SaveForm();
  // A warning with the exclamation icon and OK only.
  void ShowWarning(std::u16string_view message);

  // The form's values, moved as a whole.
  void CopySettingsToForm();
  void SetFormDefaults();
  bool CheckFormValues();
  void CopyFormToSettings();
  SettingsForm ReadForm() const;
  void WriteForm(const SettingsForm& form);

  // The number (1 to 4) of the visible page, 0 when none.
  int VisiblePage() const;

  int16_t EditState = 0;

 private:
  // Fills the controls from the values in effect, sets EditState, shows page 1.
  void Form_Load();

  // The handlers of the tab strip and the buttons; the dialog's own events
  // alone raise them.
  void tbsSetting_Click();
  void cmdCommandExecute_Click();
  void cmdCommandCancel_Click();
  void cmdCommandSave_Click();
  void cmdCommandLoad_Click();
  void cmdCommandInit_Click();
  void cmdCommandHelp_Click();

  // Every change of a value control, by the user or by the program, marks
  // the form changed.
  void MarkFormChanged() { EditState = 2; }

  // Ctrl+Tab and Ctrl+PageDown (step 1), Ctrl+Shift+Tab and Ctrl+PageUp
  // (step -1): the tab strip turns to the next or the previous page, round
  // from the last to the first and back, as a click on that tab does.
  void TurnPage(int step);

  // The value controls of one key of the key table: its text box, its check
  // box, or the buttons of its option group in index order. Each is made on
  // its page for its row and named as the row says (settings_dialog_pages.cpp).
  struct KeyControls {
    QLineEdit* box = nullptr;
    QCheckBox* check = nullptr;
    std::vector<QRadioButton*> options;
  };

  // Building the window (settings_dialog_pages.cpp).
  void CreateControls();
  void CreateGeneralPage(QFrame* page);
  void CreateRulePage(QFrame* page);
  void CreateNamePage(QFrame* page);
  void CreateProcessPage(QFrame* page);
  // The value control of `row` at its design place (twips) on `page`.
  void TextBoxFor(QWidget* page, std::size_t row, int left, int top, int width);
  void CheckBoxFor(QWidget* page, std::size_t row, const char16_t* text, int left, int top,
                   int width);
  // The next button of the option group of `row` (index 0 first), in its
  // frame.
  void OptionFor(QWidget* frame, std::size_t row, const char16_t* text, int left, int top,
                 int width);
  void ConnectHandlers();
  // Every key's controls, held by its row, to MarkFormChanged.
  void ConnectValueHandlers();
  void SetTabOrder();

  // The controls of key i (table order) in their tab order.
  std::vector<QWidget*> ValueControls(std::size_t i) const;

  SettingsModule& settings_;
  MessageBoxes& boxes_;
  std::function<void()> openHelp_;

  QTabBar* tbsSetting = nullptr;
  std::array<QFrame*, 5> fraSetting{};  // index 1 to 4
  QPushButton* cmdCommandLoad = nullptr;
  QPushButton* cmdCommandSave = nullptr;
  QPushButton* cmdCommandInit = nullptr;
  QPushButton* cmdCommandHelp = nullptr;
  QPushButton* cmdCommandExecute = nullptr;
  QPushButton* cmdCommandCancel = nullptr;
  std::array<KeyControls, kSettingCount> keyControls_{};  // by row of the key table
};

}  // namespace dovetam
