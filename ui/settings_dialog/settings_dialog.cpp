// The settings dialog's flow: opening, page switching, the six buttons with
// their questions and EditState, and the form read from and written to the
// controls as a whole. The controls are built in settings_dialog_pages.cpp.
#include "ui/settings_dialog/settings_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "core/settings/settings_dialog_store.h"

namespace dovetam {

namespace {

constexpr std::u16string_view kAskSave = u"フォームの設定を保存しますか？";
constexpr std::u16string_view kAskLoad = u"フォームに設定を読み込みますか？";
constexpr std::u16string_view kAskInit = u"フォームの値を規定値に戻しますか？";

std::u16string FromQ(const QString& s) { return s.toStdU16String(); }

// Writes a text box and shows the start of its text, as a new box would.
void SetText(QLineEdit* box, const std::u16string& text) {
  box->setText(QString::fromStdU16String(text));
  box->setCursorPosition(0);
}

template <std::size_t N>
int SelectedIndex(const std::array<QRadioButton*, N>& group) {
  for (std::size_t i = 0; i < N; ++i)
    if (group[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

// Selects the button of index (the group clears the others); an index outside
// the group leaves none selected.
template <std::size_t N>
void SelectIndex(const std::array<QRadioButton*, N>& group, int index) {
  if (index >= 0 && index < static_cast<int>(N)) {
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

SettingsForm frmDovetemSetting::ReadForm() const {
  SettingsForm f;
  f.txtGenFolder = FromQ(txtGenFolder->text());
  f.txtGenName = FromQ(txtGenName->text());
  for (std::size_t i = 0; i < txtRuleMark.size(); ++i)
    f.txtRuleMark[i] = FromQ(txtRuleMark[i]->text());
  f.chkRuleEscape = chkRuleEscape->isChecked();
  f.chkRuleReverse = chkRuleReverse->isChecked();
  f.txtRuleSpace = FromQ(txtRuleSpace->text());
  f.txtRuleMark1 = FromQ(txtRuleMark1->text());
  f.txtRuleMark2 = FromQ(txtRuleMark2->text());
  f.txtRulePat1 = FromQ(txtRulePat1->text());
  f.txtRulePat2 = FromQ(txtRulePat2->text());
  f.chkRuleMatch = chkRuleMatch->isChecked();
  f.txtNameBanStr = FromQ(txtNameBanStr->text());
  f.chkNameBan1 = chkNameBan1->isChecked();
  f.chkNameBan2 = chkNameBan2->isChecked();
  f.txtNameBanStr2 = FromQ(txtNameBanStr2->text());
  f.chkNameBan3 = chkNameBan3->isChecked();
  f.optNameSpace = SelectedIndex(optNameSpace);
  f.chkNameSpace = chkNameSpace->isChecked();
  f.optActFormat1 = SelectedIndex(optActFormat1);
  f.txtActNum = FromQ(txtActNum->text());
  f.chkActMix = chkActMix->isChecked();
  f.chkActFirst = chkActFirst->isChecked();
  f.chkActBase = chkActBase->isChecked();
  f.optActFormat2 = SelectedIndex(optActFormat2);
  f.chkActLog = chkActLog->isChecked();
  f.chkActReport = chkActReport->isChecked();
  f.chkActDel = chkActDel->isChecked();
  f.txtActAppname = FromQ(txtActAppname->text());
  return f;
}

// Writes the controls in visiting order; every write that changes a value
// raises its change handler, and the caller sets EditState afterwards.
void frmDovetemSetting::WriteForm(const SettingsForm& f) {
  SetText(txtGenFolder, f.txtGenFolder);
  SetText(txtGenName, f.txtGenName);
  for (std::size_t i = 0; i < 16; ++i) SetText(txtRuleMark[i], f.txtRuleMark[i]);
  chkRuleEscape->setChecked(f.chkRuleEscape);
  SetText(txtRuleMark[16], f.txtRuleMark[16]);
  chkRuleReverse->setChecked(f.chkRuleReverse);
  SetText(txtRuleSpace, f.txtRuleSpace);
  SetText(txtRuleMark1, f.txtRuleMark1);
  SetText(txtRuleMark2, f.txtRuleMark2);
  SetText(txtRulePat1, f.txtRulePat1);
  SetText(txtRulePat2, f.txtRulePat2);
  chkRuleMatch->setChecked(f.chkRuleMatch);
  SetText(txtNameBanStr, f.txtNameBanStr);
  chkNameBan1->setChecked(f.chkNameBan1);
  chkNameBan2->setChecked(f.chkNameBan2);
  SetText(txtNameBanStr2, f.txtNameBanStr2);
  chkNameBan3->setChecked(f.chkNameBan3);
  SelectIndex(optNameSpace, f.optNameSpace);
  chkNameSpace->setChecked(f.chkNameSpace);
  SelectIndex(optActFormat1, f.optActFormat1);
  SetText(txtActNum, f.txtActNum);
  chkActMix->setChecked(f.chkActMix);
  chkActFirst->setChecked(f.chkActFirst);
  chkActBase->setChecked(f.chkActBase);
  SelectIndex(optActFormat2, f.optActFormat2);
  chkActLog->setChecked(f.chkActLog);
  chkActReport->setChecked(f.chkActReport);
  chkActDel->setChecked(f.chkActDel);
  SetText(txtActAppname, f.txtActAppname);
}

}  // namespace dovetam
