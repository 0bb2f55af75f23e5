// The settings dialog's flow: opening, page switching (by the tab strip and
// its keys), the six buttons with their questions and EditState, and the form
// read from and written to the controls key by key, each key's controls held
// by its row of the key table. The controls are built in
// settings_dialog_pages.cpp.
#include "ui/settings_dialog/settings_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <algorithm>

#include "core/settings/settings_dialog_store.h"

namespace dovetam {

namespace {

constexpr std::u16string_view kAskSave = u"フォームの設定を保存しますか？";
constexpr std::u16string_view kAskLoad = u"フォームに設定を読み込みますか？";
constexpr std::u16string_view kAskInit = u"フォームの値を規定値に戻しますか？";

// Writes a text box and shows the start of its text, as a new box would.
void SetText(QLineEdit* box, const std::u16string& text) {
  box->setText(QString::fromStdU16String(text));
  box->setCursorPosition(0);
}

int SelectedIndex(const std::vector<QRadioButton*>& group) {
  for (std::size_t i = 0; i < group.size(); ++i)
    if (group[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

// Selects the button of index (the group clears the others); an index outside
// the group leaves none selected.
void SelectIndex(const std::vector<QRadioButton*>& group, int index) {
  if (index >= 0 && index < static_cast<int>(group.size())) {
    group[index]->setChecked(true);
    return;
  }
  for (QRadioButton* b : group) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
}

}  // namespace

frmDovetemSetting::frmDovetemSetting(SettingsModule& settings, MessageBoxes& boxes,
                                     std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), settings_(settings), boxes_(boxes), openHelp_(std::move(openHelp)) {
  CreateControls();
  ConnectHandlers();
  SetTabOrder();
  Form_Load();
}

void frmDovetemSetting::Form_Load() {
  CopySettingsToForm();
  EditState = settings_.SettingsDirty ? 1 : 0;
  tbsSetting->setCurrentIndex(0);
  for (int n = 1; n <= 4; ++n) fraSetting[n]->setVisible(n == 1);
}

void frmDovetemSetting::tbsSetting_Click() {
  const int selected = tbsSetting->currentIndex();
  if (selected < 0) return;
  // A control that has the focus goes out of sight with its page, and Qt
  // would hand the focus to the next control in Tab order that can take it,
  // the button "読込み", which then takes Return. The focus goes to the tab
  // strip before the page goes, so that Return stays with "決定".
  if (QWidget* focused = focusWidget()) {
    for (int n = 1; n <= 4; ++n)
      if (fraSetting[n]->isAncestorOf(focused)) tbsSetting->setFocus(Qt::OtherFocusReason);
  }
  for (int n = 1; n <= 4; ++n) fraSetting[n]->hide();
  fraSetting[selected + 1]->show();
}

void frmDovetemSetting::TurnPage(int step) {
  const int count = tbsSetting->count();
  if (count == 0) return;
  const int current = std::max(tbsSetting->currentIndex(), 0);
  tbsSetting->setCurrentIndex(((current + step) % count + count) % count);
}

int frmDovetemSetting::VisiblePage() const {
  for (int n = 1; n <= 4; ++n)
    if (!fraSetting[n]->isHidden()) return n;
  return 0;
}

void frmDovetemSetting::cmdCommandExecute_Click() {
  if (!CheckFormValues()) return;
  CopyFormToSettings();
  settings_.SettingsDirty = EditState != 0;
  settings_.SettingsApplied = 1;
  accept();
}

void frmDovetemSetting::cmdCommandCancel_Click() { reject(); }

void frmDovetemSetting::cmdCommandSave_Click() {
  if (!CheckFormValues()) return;
  if (boxes_.Show(kAskSave, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) == MsgAnswer::No)
    return;
  SaveForm();
  // The store now holds the form: from state 1 (values in effect that
  // differed from the store, untouched) they are equal again; after an edit
  // the values in effect are the ones that differ.
  if (EditState == 1)
    settings_.SettingsDirty = false;
  else if (EditState == 2)
    settings_.SettingsDirty = true;
  EditState = 0;
}

void frmDovetemSetting::cmdCommandLoad_Click() {
  if (boxes_.Show(kAskLoad, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) == MsgAnswer::No)
    return;
  LoadForm();
  EditState = 0;
}

void frmDovetemSetting::cmdCommandInit_Click() {
  if (boxes_.Show(kAskInit, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) == MsgAnswer::No)
    return;
  SetFormDefaults();
  EditState = 2;
}

void frmDovetemSetting::cmdCommandHelp_Click() {
  if (openHelp_) openHelp_();
}

bool frmDovetemSetting::LoadForm() {
  SettingsForm form = ReadForm();
  const int failures = LoadFormFromStore(settings_, form);
  WriteForm(form);
  if (failures == 0) return true;
  boxes_.Show(kFormLoadFailed, MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok);
  return false;
}

bool frmDovetemSetting::SaveForm() {
  if (SaveFormToStore(settings_, ReadForm()) == 0) return true;
  boxes_.Show(kFormSaveFailed, MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok);
  return false;
}

void frmDovetemSetting::ShowWarning(std::u16string_view message) {
  boxes_.Show(message, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok);
}

void frmDovetemSetting::CopySettingsToForm() { WriteForm(FormFromSettings(settings_.settings)); }

void frmDovetemSetting::SetFormDefaults() { WriteForm(DefaultForm()); }

bool frmDovetemSetting::CheckFormValues() {
  const std::u16string warning = CheckForm(ReadForm());
  if (warning.empty()) return true;
  ShowWarning(warning);
  return false;
}

void frmDovetemSetting::CopyFormToSettings() { FormToSettings(ReadForm(), settings_.settings); }

// Reads the controls key by key: a text box's text, a check box's state, the
// index of the first selected button of an option group.
SettingsForm frmDovetemSetting::ReadForm() const {
  SettingsForm form;
  for (std::size_t i : kFormOrder) {
    const KeyControls& c = keyControls_[i];
    const FormRef field = FormFieldOf(form, i);
    if (auto text = std::get_if<std::u16string*>(&field)) {
      if (c.box != nullptr) **text = c.box->text().toStdU16String();
    } else if (auto checked = std::get_if<bool*>(&field)) {
      if (c.check != nullptr) **checked = c.check->isChecked();
    } else {
      *std::get<int*>(field) = SelectedIndex(c.options);
    }
  }
  return form;
}

// Writes the controls in visiting order; every write that changes a value
// raises its change handler, and the caller sets EditState afterwards.
void frmDovetemSetting::WriteForm(const SettingsForm& form) {
  for (std::size_t i : kFormOrder) {
    const KeyControls& c = keyControls_[i];
    const FormRef field = FormFieldOf(const_cast<SettingsForm&>(form), i);
    if (auto text = std::get_if<std::u16string*>(&field)) {
      if (c.box != nullptr) SetText(c.box, **text);
    } else if (auto checked = std::get_if<bool*>(&field)) {
      if (c.check != nullptr) c.check->setChecked(**checked);
    } else {
      SelectIndex(c.options, *std::get<int*>(field));
    }
  }
}

std::vector<QWidget*> frmDovetemSetting::ValueControls(std::size_t i) const {
  const KeyControls& c = keyControls_[i];
  std::vector<QWidget*> controls(c.options.begin(), c.options.end());
  if (c.box != nullptr) controls.push_back(c.box);
  if (c.check != nullptr) controls.push_back(c.check);
  return controls;
}

}  // namespace dovetam
