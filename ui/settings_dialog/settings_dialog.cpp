// The settings dialog's flow: opening, page switching, the six buttons with
// their questions and EditState, and the form read from and written to the
// controls key by key, each key's control found by the name its row of the
// key table gives. The controls are built in settings_dialog_pages.cpp.
#include "ui/settings_dialog/settings_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "core/settings/settings_dialog_store.h"
#include "ui/widgets/controls.h"

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
    const QString name = QtText(kSettingKeys[i].control);
    const FormRef field = FormFieldOf(form, i);
    if (auto text = std::get_if<std::u16string*>(&field))
      **text = TextBox(name)->text().toStdU16String();
    else if (auto checked = std::get_if<bool*>(&field))
      **checked = CheckBox(name)->isChecked();
    else
      *std::get<int*>(field) = SelectedIndex(OptionGroup(name));
  }
  return form;
}

// Writes the controls in visiting order; every write that changes a value
// raises its change handler, and the caller sets EditState afterwards.
void frmDovetemSetting::WriteForm(const SettingsForm& form) {
  for (std::size_t i : kFormOrder) {
    const QString name = QtText(kSettingKeys[i].control);
    const FormRef field = FormFieldOf(const_cast<SettingsForm&>(form), i);
    if (auto text = std::get_if<std::u16string*>(&field))
      SetText(TextBox(name), **text);
    else if (auto checked = std::get_if<bool*>(&field))
      CheckBox(name)->setChecked(**checked);
    else
      SelectIndex(OptionGroup(name), *std::get<int*>(field));
  }
}

namespace {

// The control called `name`; the dialog builds every name the key table and
// its own code use, so a missing one is a fault of the program.
template <typename W>
W* Named(const QWidget* dialog, const QString& name) {
  W* found = dialog->findChild<W*>(name);
  if (found == nullptr) qFatal("settings dialog: no control %s", qUtf8Printable(name));
  return found;
}

}  // namespace

QLineEdit* frmDovetemSetting::TextBox(const QString& name) const {
  return Named<QLineEdit>(this, name);
}

QCheckBox* frmDovetemSetting::CheckBox(const QString& name) const {
  return Named<QCheckBox>(this, name);
}

std::vector<QRadioButton*> frmDovetemSetting::OptionGroup(const QString& name) const {
  std::vector<QRadioButton*> group;
  while (auto* b = findChild<QRadioButton*>(ArrayControlName(name, static_cast<int>(group.size()))))
    group.push_back(b);
  if (group.empty()) qFatal("settings dialog: no option group %s", qUtf8Printable(name));
  return group;
}

std::vector<QWidget*> frmDovetemSetting::ValueControls(std::size_t i) const {
  const QString name = QtText(kSettingKeys[i].control);
  if (std::holds_alternative<int SettingsForm::*>(kSettingKeys[i].field)) {
    const std::vector<QRadioButton*> group = OptionGroup(name);
    return {group.begin(), group.end()};
  }
  return {Named<QWidget>(this, name)};
}

}  // namespace dovetam
