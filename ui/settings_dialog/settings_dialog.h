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
// key table (core/settings/settings_keys.h) and of the layout; the form moves
// to and from them key by key as the table says.
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

  // Fills the controls from the values in effect, sets EditState, shows page 1.
  void Form_Load();

  void tbsSetting_Click();
  void cmdCommandExecute_Click();
  void cmdCommandCancel_Click();
  void cmdCommandSave_Click();
  void cmdCommandLoad_Click();
  void cmdCommandInit_Click();
  void cmdCommandHelp_Click();

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
  // Building the window (settings_dialog_pages.cpp): every control named as
  // the key table and the layout name it, a value control's name being its
  // key's `control` (an option group's buttons carry their index).
  void CreateControls();
  void CreateGeneralPage(QFrame* page);
  void CreateRulePage(QFrame* page);
  void CreateNamePage(QFrame* page);
  void CreateProcessPage(QFrame* page);
  void ConnectHandlers();
  // Every key's controls raise the handler of their name; a control of an
  // array hands it its index. A handler the dialog lacks stops the program.
  void ConnectValueHandlers();
  void SetTabOrder();

  // The value controls by name: a text box, a check box, the buttons of an
  // option group in index order. A name the dialog lacks stops the program.
  QLineEdit* TextBox(const QString& name) const;
  QCheckBox* CheckBox(const QString& name) const;
  std::vector<QRadioButton*> OptionGroup(const QString& name) const;
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

 private Q_SLOTS:
  // The value-change handlers: every change of a value marks the form edited.
  // Each is connected to the controls of its key by the name the key table
  // gives them (ConnectValueHandlers), so they are slots: Qt finds each by
  // its name, the control's name with "_Change" (a text box) or "_Click".
  void chkActBase_Click() { EditState = 2; }
  void chkActDel_Click() { EditState = 2; }
  void chkActFirst_Click() { EditState = 2; }
  void chkActLog_Click() { EditState = 2; }
  void chkActMix_Click() { EditState = 2; }
  void chkActReport_Click() { EditState = 2; }
  void chkNameBan1_Click() { EditState = 2; }
  void chkNameBan2_Click() { EditState = 2; }
  void chkNameBan3_Click() { EditState = 2; }
  void chkNameSpace_Click() { EditState = 2; }
  void chkRuleEscape_Click() { EditState = 2; }
  void chkRuleMatch_Click() { EditState = 2; }
  void chkRuleReverse_Click() { EditState = 2; }
  void optActFormat1_Click(int) { EditState = 2; }
  void optActFormat2_Click(int) { EditState = 2; }
  void optNameSpace_Click(int) { EditState = 2; }
  void txtActAppname_Change() { EditState = 2; }
  void txtActNum_Change() { EditState = 2; }
  void txtGenFolder_Change() { EditState = 2; }
  void txtGenName_Change() { EditState = 2; }
  void txtNameBanStr_Change() { EditState = 2; }
  void txtNameBanStr2_Change() { EditState = 2; }
  void txtRuleMark_Change(int) { EditState = 2; }
  void txtRuleMark1_Change() { EditState = 2; }
  void txtRuleMark2_Change() { EditState = 2; }
  void txtRulePat1_Change() { EditState = 2; }
  void txtRulePat2_Change() { EditState = 2; }
  void txtRuleSpace_Change() { EditState = 2; }
};

}  // namespace dovetam
