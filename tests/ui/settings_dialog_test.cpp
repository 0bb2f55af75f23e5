// The settings dialog offscreen: its window and pages, the buttons with their
// questions, EditState and SettingsDirty, the values in effect and the store,
// and the settings command of the main window around it.
#include "ui/settings_dialog/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "core/settings/form_unlike_defaults.h"
#include "core/settings/settings_dialog_values.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/twips.h"
#include "testing/widget_probe.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::FakeMessageBoxes;
using testing::MemorySettingsStore;

QString Q(const char16_t* s) { return QString::fromUtf16(s); }

// The dialog's controls, reached by their names as a user reaches them.
QLineEdit& Box(const QWidget& d, const char* name) { return Control<QLineEdit>(d, name); }
QLineEdit& Mark(const QWidget& d, int index) { return Control<QLineEdit>(d, "txtRuleMark", index); }
QCheckBox& Tick(const QWidget& d, const char* name) { return Control<QCheckBox>(d, name); }
QRadioButton& Option(const QWidget& d, const char* group, int index) {
  return Control<QRadioButton>(d, group, index);
}
QPushButton& Button(const QWidget& d, const char* name) { return Control<QPushButton>(d, name); }
QTabBar& Tabs(const QWidget& d) { return Control<QTabBar>(d, "tbsSetting"); }
QFrame& Page(const QWidget& d, int n) { return Control<QFrame>(d, "fraSetting", n); }

class SettingsDialogTest : public ::testing::Test {
 protected:
  FakeMessageBoxes boxes;
  MemorySettingsStore store;
  SettingsModule settings{store, boxes};
  std::unique_ptr<frmDovetemSetting> dialog;

  frmDovetemSetting& Open() {
    dialog = std::make_unique<frmDovetemSetting>(settings, boxes);
    dialog->show();
    return *dialog;
  }
  // Every key's text in effect, in store order.
  std::vector<std::u16string> InEffect() const {
    std::vector<std::u16string> out;
    for (std::size_t i = 0; i < SettingKeys().size(); ++i)
      out.push_back(SettingText(settings.settings, i));
    return out;
  }
};

TEST_F(SettingsDialogTest, OpensOnTheFirstPageWithTheValuesInEffect) {
  settings.settings.SampleName = u"sample.txt";
  settings.settings.ChrQ1 = u"[";
  settings.settings.ExtraMode = 5;
  frmDovetemSetting& d = Open();
  EXPECT_EQ(d.windowTitle(), Q(u"Dovetam - 規則型名前変更ツール"));
  EXPECT_EQ(Box(d, "txtGenName").text(), QStringLiteral("sample.txt"));
  EXPECT_EQ(Mark(d, 1).text(), QStringLiteral("["));
  EXPECT_TRUE(Option(d, "optActFormat1", 4).isChecked());
  EXPECT_EQ(d.EditState, 0);
  EXPECT_EQ(d.VisiblePage(), 1);
  EXPECT_EQ(Tabs(d).currentIndex(), 0);
  EXPECT_TRUE(store.readLog.empty());
  EXPECT_EQ(boxes.Count(), 0u);

  settings.SettingsDirty = true;
  EXPECT_EQ(Open().EditState, 1);
}

TEST_F(SettingsDialogTest, TabsShowOnePageEachAndChangeNothing) {
  frmDovetemSetting& d = Open();
  const QStringList captions = {Q(u"全般"), Q(u"変更規則"), Q(u"生成名"), Q(u"変更処理")};
  ASSERT_EQ(Tabs(d).count(), 4);
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Tabs(d).tabText(n - 1), captions[n - 1]);
    Tabs(d).setCurrentIndex(n - 1);
    EXPECT_EQ(d.VisiblePage(), n);
    for (int other = 1; other <= 4; ++other)
      EXPECT_EQ(Page(d, other).isVisible(), other == n) << other;
  }
  EXPECT_EQ(d.EditState, 0);
  // A click that leaves no tab selected does nothing.
  Tabs(d).setCurrentIndex(-1);
  EXPECT_EQ(d.VisiblePage(), 4);
  // The next showing starts on page "全般" again.
  Button(d, "cmdCommandCancel").click();
  EXPECT_EQ(Open().VisiblePage(), 1);
}

struct Placed {
  const char* control;
  const char16_t* caption;
  int left, top, width, height;
};

TEST_F(SettingsDialogTest, WindowAndButtonsStandWhereDesigned) {
  frmDovetemSetting& d = Open();
  EXPECT_EQ(PixelsToTwips(d.width(), &d), 8790);
  EXPECT_EQ(PixelsToTwips(d.height(), &d), 5145);
  const Placed rows[] = {
      {"cmdCommandLoad", u"読込み", 360, 4560, 855, 495},
      {"cmdCommandSave", u"保存", 1440, 4560, 855, 495},
      {"cmdCommandInit", u"クリア", 3840, 4560, 855, 495},
      {"cmdCommandHelp", u"ヘルプ", 4680, 4560, 855, 495},
      {"cmdCommandExecute", u"決定", 6240, 4560, 975, 495},
      {"cmdCommandCancel", u"キャンセル", 7440, 4560, 975, 495},
      {"fraSetting(1)", nullptr, 360, 720, 7935, 3615},
      {"txtGenFolder", nullptr, 1320, 120, 5415, 270},
      {"txtRuleMark(16)", nullptr, 3720, 1560, 255, 270},
      {"txtRulePat2", nullptr, 3600, 2880, 1215, 270},
      {"txtNameBanStr2", nullptr, 4200, 720, 615, 270},
      {"fraName1", u"両端の全半角スペース", 240, 1920, 2535, 1455},
      {"fraAct1", u"形式", 240, 360, 3015, 1455},
      {"fraAct2", u"形式", 6000, 360, 1935, 1455},
      {"txtActNum", nullptr, 4080, 480, 615, 270},
      {"txtActAppname", nullptr, 3840, 2640, 2535, 270},
  };
  for (const Placed& p : rows) {
    SCOPED_TRACE(p.control);
    QWidget* w = &Control(d, p.control);
    const QRect g = w->geometry();
    EXPECT_EQ(PixelsToTwips(g.x(), w), p.left);
    EXPECT_EQ(PixelsToTwips(g.y(), w), p.top);
    EXPECT_EQ(PixelsToTwips(g.width(), w), p.width);
    EXPECT_EQ(PixelsToTwips(g.height(), w), p.height);
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      EXPECT_EQ(b->text(), Q(p.caption));
    }
    if (auto* f = qobject_cast<QGroupBox*>(w)) {
      EXPECT_EQ(f->title(), Q(p.caption));
    }
  }
  EXPECT_FALSE(Button(d, "cmdCommandHelp").isVisible());
  EXPECT_TRUE(Button(d, "cmdCommandExecute").isDefault());
  EXPECT_EQ(Option(d, "optActFormat2", 0).text(), QStringLiteral("名前.$数字$"));
  EXPECT_EQ(Tick(d, "chkActLog").text(), Q(u"ログを保存しない"));
  EXPECT_EQ(Tick(d, "chkRuleMatch").text(), Q(u"長い方に一致させる"));
}

// With the program's 9-point font, every caption fits the room its control
// has on the design.
TEST_F(SettingsDialogTest, NoCaptionIsClipped) {
  const QFont saved = QApplication::font();
  QFont nine = saved;
  nine.setPointSize(9);
  QApplication::setFont(nine);
  frmDovetemSetting& d = Open();
  for (QLabel* l : d.findChildren<QLabel*>()) {
    SCOPED_TRACE(l->text().toStdString());
    EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->contentsRect().width());
  }
  for (QAbstractButton* b : d.findChildren<QAbstractButton*>()) {
    if (!qobject_cast<QCheckBox*>(b) && !qobject_cast<QRadioButton*>(b)) continue;
    SCOPED_TRACE(b->text().toStdString());
    EXPECT_LE(b->sizeHint().width(), b->width());
  }
  dialog.reset();
  QApplication::setFont(saved);
}

// Tab from the tab strip through one page and the buttons back to the strip:
// the names of the controls that took the focus.
QStringList TabRound(frmDovetemSetting& d, int page) {
  Tabs(d).setCurrentIndex(page - 1);
  Tabs(d).setFocus(Qt::TabFocusReason);
  QStringList names;
  for (int i = 0; i < 100; ++i) {
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    if (d.focusWidget() == &Tabs(d)) return names;
    names << d.focusWidget()->objectName();
  }
  ADD_FAILURE() << "the focus never came back to the tab strip";
  return names;
}

QStringList Indexed(const QString& name, int count) {
  QStringList names;
  for (int i = 0; i < count; ++i) names << name + QStringLiteral("(%1)").arg(i);
  return names;
}

// Only the visible page's controls take the focus; an option group is one stop,
// its selected button (the others are chosen with the arrow keys); the hidden
// "ヘルプ" none.
TEST_F(SettingsDialogTest, TabGoesThroughTheVisiblePageInReadingOrder) {
  frmDovetemSetting& d = Open();
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d, testing::kEventWaitMs));
  const QStringList buttons = {"cmdCommandLoad", "cmdCommandSave", "cmdCommandInit",
                               "cmdCommandExecute", "cmdCommandCancel"};
  const QStringList pages[] = {
      {"txtGenFolder", "txtGenName"},
      Indexed("txtRuleMark", 16) + QStringList{"chkRuleEscape", "txtRuleMark(16)",
                                               "chkRuleReverse", "txtRuleSpace", "txtRuleMark1",
                                               "txtRuleMark2", "txtRulePat1", "txtRulePat2",
                                               "chkRuleMatch"},
      {"txtNameBanStr", "chkNameBan1", "chkNameBan2", "txtNameBanStr2", "chkNameBan3",
       "optNameSpace(2)", "chkNameSpace"},
      {"optActFormat1(0)", "txtActNum", "chkActMix", "chkActFirst", "chkActBase",
       "optActFormat2(0)", "chkActLog", "chkActReport", "chkActDel", "txtActAppname"},
  };
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE(page);
    EXPECT_EQ(TabRound(d, page), pages[page - 1] + buttons);
  }
}

// ---------------------------------------------------------------------------
// The keyboard of the tab strip and of the option groups.

// The key that turns the pages, as the desktop gives it (X11 gives Shift+Tab
// as Backtab with Shift held), and the page it turns to from each page.
struct PageKey {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int step;
};

const PageKey kPageKeys[] = {
    {"CtrlTab", Qt::Key_Tab, Qt::ControlModifier, 1},
    {"CtrlPageDown", Qt::Key_PageDown, Qt::ControlModifier, 1},
    {"CtrlShiftTab", Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, -1},
    {"CtrlShiftBacktab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1},
    {"CtrlPageUp", Qt::Key_PageUp, Qt::ControlModifier, -1},
};

// Where the focus is when the key is pressed, and where it then is: a
// switch by the keys sends it where a click on the tab sends it (off a page
// that goes out of sight to the tab strip; a button keeps it).
struct FocusBefore {
  const char* control;
  int page;
  const char* after;  // nullptr: the control keeps the focus
};

const FocusBefore kFocusBefore[] = {
    {"txtGenName", 1, "tbsSetting"},
    {"chkRuleEscape", 2, "tbsSetting"},
    {"optNameSpace(2)", 3, "tbsSetting"},
    {"txtActAppname", 4, "tbsSetting"},
    {"tbsSetting", 2, nullptr},
    {"cmdCommandSave", 4, nullptr},
};

// The dialog made active and turned to start's page, the focus on start's
// control, which is given back.
QWidget& FocusOn(frmDovetemSetting& d, const FocusBefore& start) {
  d.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&d, testing::kEventWaitMs));
  Tabs(d).setCurrentIndex(start.page - 1);
  QWidget& focused = Control(d, start.control);
  focused.setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(d.focusWidget(), &focused);
  return focused;
}

TEST_F(SettingsDialogTest, CtrlTabAndCtrlPageKeysTurnThePagesRoundFromAnyControl) {
  for (const PageKey& k : kPageKeys) {
    for (const FocusBefore& start : kFocusBefore) {
      SCOPED_TRACE(std::string(k.name) + " from " + start.control);
      frmDovetemSetting& d = Open();
      QWidget& focused = FocusOn(d, start);
      ASSERT_EQ(d.focusWidget(), &focused);
      const QString after = start.after != nullptr ? QString(start.after) : focused.objectName();
      // Four presses go round all the pages, from the last to the first and
      // back, to the page they started on.
      int page = start.page;
      for (int press = 1; press <= 4; ++press) {
        SCOPED_TRACE(press);
        ASSERT_TRUE(testing::TypeKey(k.key, k.modifiers));
        page = (page - 1 + k.step + 4) % 4 + 1;
        EXPECT_EQ(d.VisiblePage(), page);
        EXPECT_EQ(Tabs(d).currentIndex(), page - 1);
        ASSERT_NE(d.focusWidget(), nullptr);
        EXPECT_EQ(d.focusWidget()->objectName(), after);
      }
      EXPECT_EQ(d.EditState, 0);
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(boxes.Count(), 0u);
    }
  }
}

// The focus a click on tab `page` leaves, from `control`: what the keys are
// held to.
TEST_F(SettingsDialogTest, AClickOnATabSendsTheFocusWhereTheKeysSendIt) {
  for (const FocusBefore& start : kFocusBefore) {
    SCOPED_TRACE(start.control);
    frmDovetemSetting& d = Open();
    QWidget& focused = FocusOn(d, start);
    ASSERT_EQ(d.focusWidget(), &focused);
    const int next = start.page % 4;  // the tab of the next page
    QTest::mouseClick(&Tabs(d), Qt::LeftButton, Qt::NoModifier, Tabs(d).tabRect(next).center());
    EXPECT_EQ(d.VisiblePage(), next + 1);
    EXPECT_EQ(d.focusWidget()->objectName(),
              start.after != nullptr ? QString(start.after) : focused.objectName());
  }
}

// Every option group of the key table, with a button selected that is
// neither its first nor its default: Tab and Shift+Tab enter the group at
// that button, and each arrow selects the button it moves the focus to,
// which marks the form changed.
TEST_F(SettingsDialogTest, TabEntersAnOptionGroupAtItsSelectionAndTheArrowsSelect) {
  std::size_t groups = 0;
  for (std::size_t key = 0; key < kSettingCount; ++key) {
    if (!std::holds_alternative<int SettingsForm::*>(SettingKeys()[key].field)) continue;
    ++groups;
    const QString name = QtText(SettingKeys()[key].control);
    SCOPED_TRACE(name.toStdString());
    SettingsForm shown = DefaultForm();
    int& selected = *std::get<int*>(FormFieldOf(shown, key));
    selected = selected == 1 ? 2 : 1;
    settings.settings = Settings{};
    SetSettingText(settings.settings, key, FormKeyText(shown, key));
    frmDovetemSetting& d = Open();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d, testing::kEventWaitMs));
    QRadioButton& chosen = Option(d, name.toLatin1().constData(), selected);
    ASSERT_TRUE(chosen.isChecked());
    for (int n = 1; n <= 4; ++n)
      if (Page(d, n).isAncestorOf(&chosen)) Tabs(d).setCurrentIndex(n - 1);
    const auto inGroup = [&name](QWidget* w) {
      return w != nullptr && w->objectName().startsWith(name + QLatin1Char('('));
    };

    // Tab from the tab strip up to the group, then on out of it.
    Tabs(d).setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 60 && !inGroup(d.focusWidget()); ++i)
      ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab));
    EXPECT_EQ(d.focusWidget(), &chosen) << d.focusWidget()->objectName().toStdString();
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab));
    EXPECT_FALSE(inGroup(d.focusWidget())) << "Tab stops at a second button of the group";
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab, Qt::ShiftModifier));
    EXPECT_EQ(d.focusWidget(), &chosen) << d.focusWidget()->objectName().toStdString();
    EXPECT_EQ(d.EditState, 0);

    // Down selects the next button, Up the one before it again.
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Down));
    QRadioButton& below = Option(d, name.toLatin1().constData(), selected + 1);
    EXPECT_EQ(d.focusWidget(), &below);
    EXPECT_TRUE(below.isChecked());
    EXPECT_FALSE(chosen.isChecked());
    EXPECT_EQ(d.EditState, 2);
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Up));
    EXPECT_EQ(d.focusWidget(), &chosen);
    EXPECT_TRUE(chosen.isChecked());

    // The Tab stop went with the selection: leaving the group and coming
    // back by Tab lands on the newly selected button.
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Down));
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab));
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab, Qt::ShiftModifier));
    EXPECT_EQ(d.focusWidget(), &below);
  }
  EXPECT_GT(groups, 0u);
}

// ---------------------------------------------------------------------------
// Which control holds which key, both ways: a key changed alone in effect
// shows in its control and in no other, and that control changed alone goes
// back into that key and no other.

// The state of every value control by name: a box's text, a button's check.
std::map<QString, QString> ValueStates(const frmDovetemSetting& d) {
  std::map<QString, QString> states;
  for (const QLineEdit* e : d.findChildren<QLineEdit*>()) states[e->objectName()] = e->text();
  for (const QAbstractButton* b : d.findChildren<QAbstractButton*>())
    if (b->isCheckable()) states[b->objectName()] = b->isChecked() ? "checked" : "";
  return states;
}

// The controls whose states differ; of an option group, the button selected.
QStringList Changed(const std::map<QString, QString>& before,
                    const std::map<QString, QString>& after) {
  QStringList names;
  for (const auto& [name, state] : after)
    if (before.at(name) != state && (!name.startsWith("opt") || !state.isEmpty())) names << name;
  return names;
}

struct KeyControl {
  std::u16string_view key;
  std::u16string text;  // a stored text other than the default
  const char* control;  // the control that shows it
};

const KeyControl kKeyControls[] = {
    {u"defpath", u"/d/", "txtGenFolder"},
    {u"samplename", u"s.txt", "txtGenName"},
    {u"chr_aster", u"A", "txtRuleMark(0)"},
    {u"chr_q1", u"B", "txtRuleMark(1)"},
    {u"chr_q2", u"C", "txtRuleMark(2)"},
    {u"chr_s1", u"D", "txtRuleMark(3)"},
    {u"chr_s2", u"E", "txtRuleMark(4)"},
    {u"chr_col", u"F", "txtRuleMark(5)"},
    {u"chr_lt", u"G", "txtRuleMark(6)"},
    {u"chr_gt", u"H", "txtRuleMark(7)"},
    {u"chr_dq1", u"I", "txtRuleMark(8)"},
    {u"chr_dq2", u"J", "txtRuleMark(9)"},
    {u"chr_yen", u"K", "txtRuleMark(10)"},
    {u"chr_per", u"L", "txtRuleMark(11)"},
    {u"chr_bra1", u"M", "txtRuleMark(12)"},
    {u"chr_bra2", u"N", "txtRuleMark(13)"},
    {u"chr_com", u"O", "txtRuleMark(14)"},
    {u"chr_bar", u"P", "txtRuleMark(15)"},
    {u"escapemode", u"True", "chkRuleEscape"},
    {u"chr_cap", u"Q", "txtRuleMark(16)"},
    {u"revmode", u"True", "chkRuleReverse"},
    {u"spacechr", u"sp", "txtRuleSpace"},
    {u"markchr1", u"m1", "txtRuleMark1"},
    {u"markchr2", u"m2", "txtRuleMark2"},
    {u"ptnchr1", u"p1", "txtRulePat1"},
    {u"ptnchr2", u"p2", "txtRulePat2"},
    {u"mchmode", u"2", "chkRuleMatch"},
    {u"ngstr", u":\\x", "txtNameBanStr"},
    {u"ngcngmode", u"True", "chkNameBan1"},
    {u"ngplacemode", u"True", "chkNameBan2"},
    {u"ngplacestr", u"r", "txtNameBanStr2"},
    {u"ngdelmode", u"True", "chkNameBan3"},
    {u"spacemode", u"1", "optNameSpace(1)"},
    {u"savemode", u"False", "chkNameSpace"},
    {u"extramode", u"4", "optActFormat1(3)"},
    {u"extranum", u"70", "txtActNum"},
    {u"extramixmode", u"True", "chkActMix"},
    {u"firstnummode", u"True", "chkActFirst"},
    {u"bnamemode", u"True", "chkActBase"},
    {u"extramode2", u"2", "optActFormat2(1)"},
    {u"logmode", u"False", "chkActLog"},
    {u"reportmode", u"False", "chkActReport"},
    {u"filedelmode", u"True", "chkActDel"},
    {u"repopenapp", u"viewer", "txtActAppname"},
};

TEST_F(SettingsDialogTest, EveryKeyHasItsOwnControlBothWays) {
  ASSERT_EQ(std::size(kKeyControls), kSettingCount);
  const auto defaults = ValueStates(Open());
  const auto defaultTexts = InEffect();
  for (const KeyControl& row : kKeyControls) {
    SCOPED_TRACE(row.control);
    const std::size_t key = KeyIndex(row.key);
    ASSERT_LT(key, kSettingCount);

    settings.settings = Settings{};
    SetSettingText(settings.settings, key, row.text);
    const auto shown = ValueStates(Open());
    EXPECT_EQ(Changed(defaults, shown), QStringList{row.control});
    if (auto* box = qobject_cast<QLineEdit*>(&Control(*dialog, row.control))) {
      EXPECT_EQ(box->text(), QString::fromStdU16String(row.text));
    }

    settings.settings = Settings{};
    frmDovetemSetting& d = Open();
    QWidget& control = Control(d, row.control);
    if (auto* box = qobject_cast<QLineEdit*>(&control))
      box->setText(shown.at(row.control));
    else
      static_cast<QAbstractButton&>(control).setChecked(!shown.at(row.control).isEmpty());
    Button(d, "cmdCommandExecute").click();
    std::vector<std::u16string> expected = defaultTexts;
    expected[key] = row.text;
    EXPECT_EQ(InEffect(), expected);
  }
}

// Every key of the table, whatever its control: an edit of the control as a
// user makes it marks the form changed, so "決定" leaves SettingsDirty on and
// the exit offers to save. A text box gets a character typed and deleted
// again (the value stays acceptable), a check box a click, and each button of
// an option group in turn a click that selects it, starting after the one
// selected, with "保存" between two edits (it makes the form unchanged again).
TEST_F(SettingsDialogTest, AnEditOfEveryKeysControlMarksTheFormChanged) {
  for (const SettingKey& row : SettingKeys()) {
    const QString name = QtText(row.control);
    SCOPED_TRACE(name.toStdString());
    frmDovetemSetting& d = Open();
    ASSERT_EQ(d.EditState, 0);
    std::vector<QWidget*> controls;
    if (std::holds_alternative<int SettingsForm::*>(row.field)) {
      std::vector<QRadioButton*> group;
      const auto next = [&] {
        return d.findChild<QRadioButton*>(ArrayControlName(name, static_cast<int>(group.size())));
      };
      while (QRadioButton* b = next()) group.push_back(b);
      ASSERT_FALSE(group.empty());
      std::size_t selected = 0;
      while (selected < group.size() && !group[selected]->isChecked()) ++selected;
      for (std::size_t k = 1; k <= group.size(); ++k)
        controls.push_back(group[(selected + k) % group.size()]);
    } else {
      controls.push_back(&Control(d, name));
    }
    for (int n = 1; n <= 4; ++n)
      if (Page(d, n).isAncestorOf(controls.front())) Tabs(d).setCurrentIndex(n - 1);
    ASSERT_TRUE(controls.front()->isVisible());

    for (QWidget* control : controls) {
      SCOPED_TRACE(control->objectName().toStdString());
      if (control != controls.front()) {
        boxes.QueueAnswer(MsgAnswer::Yes);
        Button(d, "cmdCommandSave").click();
        ASSERT_EQ(d.EditState, 0);
      }
      if (auto* box = qobject_cast<QLineEdit*>(control)) {
        const QString before = box->text();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_X);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), before);
      } else {
        auto* button = qobject_cast<QAbstractButton*>(control);
        ASSERT_NE(button, nullptr);
        const bool before = button->isChecked();
        button->click();
        EXPECT_NE(button->isChecked(), before);
      }
      EXPECT_EQ(d.EditState, 2);
    }
    Button(d, "cmdCommandExecute").click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(settings.SettingsDirty);
    settings.SettingsDirty = false;
  }
}

// ---------------------------------------------------------------------------
// The checks of "決定" and "保存".

struct BadValue {
  const char* name;
  std::function<void(frmDovetemSetting&)> edit;
  std::u16string warning;
};

const BadValue kBadValues[] = {
    {"EmptySymbol", [](auto& d) { Mark(d, 3).clear(); },
     u"変更規則の操作記号(1)が指定されていません。"},
    {"TwoCharacterSymbol", [](auto& d) { Mark(d, 0).setText(QStringLiteral("**")); },
     u"変更規則の元の名前が1文字を越えています。"},
    {"SymbolBeforeBanStr",
     [](auto& d) {
       Mark(d, 3).clear();
       Box(d, "txtNameBanStr").setText(QStringLiteral("\\"));
     },
     u"変更規則の操作記号(1)が指定されていません。"},
    {"BanStrWithoutColon", [](auto& d) { Box(d, "txtNameBanStr").setText(QStringLiteral("\\/")); },
     u"生成名の禁則文字には、\nパス記号\"\\\"とドライブ記号\":\"を含める必要があります。"},
    {"NumberEmpty", [](auto& d) { Box(d, "txtActNum").clear(); },
     u"変更処理の開始数が指定されていません。"},
    {"NumberNonDigit", [](auto& d) { Box(d, "txtActNum").setText(QStringLiteral("1a")); },
     u"変更処理の開始数に非数字が含まれています。"},
    {"NumberTooLong", [](auto& d) { Box(d, "txtActNum").setText(QStringLiteral("1234567890")); },
     u"変更処理の開始数の桁数が多すぎます。"},
};

TEST_F(SettingsDialogTest, RefusedValueStopsExecuteAndSaveWhereTheUserIs) {
  for (const BadValue& bad : kBadValues) {
    SCOPED_TRACE(bad.name);
    boxes.Clear();
    const auto before = InEffect();
    frmDovetemSetting& d = Open();
    bad.edit(d);
    Tabs(d).setCurrentIndex(3);
    Box(d, "txtActAppname").setFocus();
    QWidget* const focused = d.focusWidget();

    Button(d, "cmdCommandExecute").click();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, bad.warning);
    EXPECT_EQ(boxes.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.Last().buttons, MsgButtons::Ok);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.VisiblePage(), 4);
    EXPECT_EQ(d.focusWidget(), focused);
    EXPECT_EQ(d.EditState, 2);
    EXPECT_EQ(settings.SettingsApplied, 0);
    EXPECT_FALSE(settings.SettingsDirty);
    EXPECT_EQ(InEffect(), before);

    Button(d, "cmdCommandSave").click();  // the warning only, no question
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, bad.warning);
    EXPECT_TRUE(store.writeLog.empty());
    EXPECT_EQ(d.EditState, 2);
  }
}

TEST_F(SettingsDialogTest, ExecutePutsTheFormIntoEffectAndClosesWithoutTouchingTheStore) {
  frmDovetemSetting& d = Open();
  Box(d, "txtGenName").setText(QStringLiteral("new.txt"));
  Tabs(d).setCurrentIndex(3);
  Tick(d, "chkActLog").setChecked(true);
  Box(d, "txtActNum").setText(QStringLiteral("0002"));
  Option(d, "optActFormat1", 4).setChecked(true);
  Tabs(d).setCurrentIndex(1);
  Tick(d, "chkRuleMatch").setChecked(true);
  Mark(d, 0).setText(QStringLiteral("#"));
  Button(d, "cmdCommandExecute").click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(settings.settings.SampleName, u"new.txt");
  EXPECT_FALSE(settings.settings.LogMode);
  EXPECT_TRUE(settings.settings.ReportMode);
  EXPECT_EQ(settings.settings.ExtraNum, 2);
  EXPECT_EQ(settings.settings.ExtraMode, 5);
  EXPECT_EQ(settings.settings.MchMode, 2);
  EXPECT_EQ(settings.settings.ChrAster, u"#");
  EXPECT_TRUE(settings.SettingsDirty);
  EXPECT_EQ(settings.SettingsApplied, 1);
  EXPECT_TRUE(store.writeLog.empty());
  EXPECT_FALSE(store.Has(u"process", u"logmode"));
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsDialogTest, CancelEscAndCloseLeaveEverything) {
  const auto before = InEffect();
  const std::function<void(frmDovetemSetting&)> closers[] = {
      [](auto& d) { Button(d, "cmdCommandCancel").click(); },
      [](auto& d) { QTest::keyClick(&Box(d, "txtGenName"), Qt::Key_Escape); },
      [](auto& d) { d.close(); },
  };
  for (const auto& close : closers) {
    frmDovetemSetting& d = Open();
    Box(d, "txtGenName").setText(QStringLiteral("changed"));
    Tick(d, "chkActDel").setChecked(true);
    close(d);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(InEffect(), before);
    EXPECT_EQ(settings.SettingsApplied, 0);
    EXPECT_FALSE(settings.SettingsDirty);
  }
  EXPECT_TRUE(store.writeLog.empty());
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsDialogTest, EnterInATextBoxActsAsExecute) {
  frmDovetemSetting& d = Open();
  Box(d, "txtGenName").setText(QStringLiteral("typed.txt"));
  QTest::keyClick(&Box(d, "txtGenName"), Qt::Key_Return);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(settings.SettingsApplied, 1);
  EXPECT_EQ(settings.settings.SampleName, u"typed.txt");
}

// ---------------------------------------------------------------------------
// EditState and SettingsDirty through the buttons: one named row per road.

struct DirtyRoad {
  const char* name;
  bool dirtyBefore;
  std::function<void(frmDovetemSetting&, FakeMessageBoxes&)> steps;
  bool dirtyAfter;
};

void Ok(frmDovetemSetting& d, FakeMessageBoxes&) { Button(d, "cmdCommandExecute").click(); }
void Cancel(frmDovetemSetting& d, FakeMessageBoxes&) { Button(d, "cmdCommandCancel").click(); }
void SaveYes(frmDovetemSetting& d, FakeMessageBoxes& b) {
  b.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandSave").click();
}
void LoadYes(frmDovetemSetting& d, FakeMessageBoxes& b) {
  b.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandLoad").click();
}
void Edit(frmDovetemSetting& d, FakeMessageBoxes&) { Tick(d, "chkActMix").toggle(); }

const DirtyRoad kDirtyRoads[] = {
    {"UnchangedOkStaysClean", false, Ok, false},
    {"UnchangedOkStaysDirty", true, Ok, true},
    {"TypeAndDeleteMakesDirty", false,
     [](auto& d, auto&) {
       QTest::keyClick(&Box(d, "txtGenName"), Qt::Key_A);
       QTest::keyClick(&Box(d, "txtGenName"), Qt::Key_Backspace);
       EXPECT_EQ(d.EditState, 2);
       Button(d, "cmdCommandExecute").click();
     },
     true},
    {"LoadThenOkIsClean", true,
     [](auto& d, auto& b) {
       LoadYes(d, b);
       Ok(d, b);
     },
     false},
    {"EditSaveCancelIsDirty", false,
     [](auto& d, auto& b) {
       Edit(d, b);
       SaveYes(d, b);
       Cancel(d, b);
     },
     true},
    {"EditSaveOkIsClean", false,
     [](auto& d, auto& b) {
       Edit(d, b);
       SaveYes(d, b);
       Ok(d, b);
     },
     false},
    {"DirtySaveUnchangedCancelIsClean", true,
     [](auto& d, auto& b) {
       SaveYes(d, b);
       Cancel(d, b);
     },
     false},
    {"CleanSaveUnchangedKeepsClean", false,
     [](auto& d, auto& b) {
       SaveYes(d, b);
       Cancel(d, b);
     },
     false},
    {"ClearThenCancelKeepsDirty", true,
     [](auto& d, auto& b) {
       b.QueueAnswer(MsgAnswer::Yes);
       Button(d, "cmdCommandInit").click();
       Cancel(d, b);
     },
     true},
    {"SaveAnsweredNoChangesNothing", true,
     [](auto& d, auto& b) {
       Edit(d, b);
       b.QueueAnswer(MsgAnswer::No);
       Button(d, "cmdCommandSave").click();
       EXPECT_EQ(d.EditState, 2);
       Cancel(d, b);
     },
     true},
};

class DirtyRoadTest : public SettingsDialogTest, public ::testing::WithParamInterface<DirtyRoad> {};

TEST_P(DirtyRoadTest, EndsWithTheRightDirtyFlag) {
  settings.SettingsDirty = GetParam().dirtyBefore;
  frmDovetemSetting& d = Open();
  GetParam().steps(d, boxes);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(settings.SettingsDirty, GetParam().dirtyAfter);
}

INSTANTIATE_TEST_SUITE_P(Roads, DirtyRoadTest, ::testing::ValuesIn(kDirtyRoads),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// "クリア", "読込み" and "保存".

TEST_F(SettingsDialogTest, ClearAsksThenShowsExactlyTheDefaults) {
  settings.settings.DefPath = u"/home/";
  settings.settings.ChrQ1 = u"[";
  settings.settings.LogMode = false;
  settings.settings.SpaceMode = 0;
  frmDovetemSetting& d = Open();
  const SettingsForm shown = d.ReadForm();

  boxes.QueueAnswer(MsgAnswer::No);
  Button(d, "cmdCommandInit").click();
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Last().text, u"フォームの値を規定値に戻しますか？");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(boxes.Last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_EQ(d.ReadForm(), shown);
  EXPECT_EQ(d.EditState, 0);

  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandInit").click();
  EXPECT_EQ(d.ReadForm(), DefaultForm());
  EXPECT_EQ(Box(d, "txtGenFolder").text(), QStringLiteral("/"));
  EXPECT_EQ(Box(d, "txtActAppname").text(), QStringLiteral("xdg-open"));
  EXPECT_TRUE(Option(d, "optNameSpace", 2).isChecked());
  EXPECT_EQ(d.EditState, 2);
  EXPECT_EQ(settings.settings.ChrQ1, u"[");
  EXPECT_TRUE(store.writeLog.empty());

  Button(d, "cmdCommandExecute").click();
  const Settings defaults;
  for (std::size_t i = 0; i < SettingKeys().size(); ++i)
    EXPECT_EQ(SettingText(settings.settings, i), SettingText(defaults, i)) << i;
  EXPECT_TRUE(settings.SettingsDirty);
}

TEST_F(SettingsDialogTest, LoadReadsTheStoreAndReportsBadKeysOnce) {
  store.Set(u"rule", u"chr_q1", u"??");
  store.Set(u"process", u"logmode", u"FALSE");
  store.Set(u"process", u"extranum", u"0002");
  store.Set(u"rule", u"mchmode", u"2");
  store.Set(u"general", u"samplename", u"stored.txt");
  store.Set(u"process", u"reportmode", u"false");
  settings.settings.LogMode = false;
  frmDovetemSetting& d = Open();
  Mark(d, 1).setText(QStringLiteral("["));
  const auto before = InEffect();

  boxes.QueueAnswer(MsgAnswer::No);
  Button(d, "cmdCommandLoad").click();
  EXPECT_EQ(boxes.Last().text, u"フォームに設定を読み込みますか？");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_TRUE(store.readLog.empty());
  EXPECT_EQ(d.EditState, 2);

  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandLoad").click();
  ASSERT_EQ(boxes.Count(), 3u);
  EXPECT_EQ(boxes.Last().text, u"いくつかの設定を読み込むことができませんでした。");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Last().buttons, MsgButtons::Ok);
  EXPECT_EQ(store.readLog.size(), kSettingCount);
  EXPECT_EQ(Mark(d, 1).text(), QStringLiteral("["));  // kept
  EXPECT_TRUE(Tick(d, "chkActLog").isChecked());                     // kept
  EXPECT_EQ(Box(d, "txtActNum").text(), QStringLiteral("2"));
  EXPECT_TRUE(Tick(d, "chkRuleMatch").isChecked());
  EXPECT_EQ(Box(d, "txtGenName").text(), QStringLiteral("stored.txt"));
  EXPECT_TRUE(Tick(d, "chkActReport").isChecked());
  EXPECT_EQ(d.EditState, 0);
  EXPECT_EQ(InEffect(), before);
  EXPECT_TRUE(d.isVisible());
}

TEST_F(SettingsDialogTest, SaveAsksThenWritesTheForm) {
  frmDovetemSetting& d = Open();
  Tick(d, "chkActLog").setChecked(true);
  Box(d, "txtActNum").setText(QStringLiteral("007"));
  Box(d, "txtRulePat1").setText(QStringLiteral("abc"));
  boxes.QueueAnswer(MsgAnswer::No);
  Button(d, "cmdCommandSave").click();
  EXPECT_EQ(boxes.Last().text, u"フォームの設定を保存しますか？");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_TRUE(store.writeLog.empty());

  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandSave").click();
  EXPECT_EQ(boxes.Count(), 2u);
  EXPECT_EQ(store.writeLog.size(), kSettingCount);
  EXPECT_EQ(store.Get(u"process", u"logmode"), u"False");
  EXPECT_EQ(store.Get(u"process", u"extranum"), u"7");
  EXPECT_EQ(store.Get(u"rule", u"ptnchr1"), u"abc");
  EXPECT_EQ(store.Get(u"general", u"defpath"), u"/");
  EXPECT_TRUE(settings.settings.LogMode);  // the values in effect stay
  EXPECT_EQ(Box(d, "txtActNum").text(), QStringLiteral("007"));
  EXPECT_EQ(d.EditState, 0);
  EXPECT_TRUE(settings.SettingsDirty);
  EXPECT_TRUE(d.isVisible());
}

TEST_F(SettingsDialogTest, SaveFailureGivesOneMessageAndStillUpdatesTheState) {
  store.failAllWrites = true;
  frmDovetemSetting& d = Open();
  Tick(d, "chkActDel").setChecked(true);
  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandSave").click();
  ASSERT_EQ(boxes.Count(), 2u);
  EXPECT_EQ(boxes.Last().text, u"いくつかの設定を保存できませんでした。");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Last().buttons, MsgButtons::Ok);
  EXPECT_EQ(store.writeLog.size(), kSettingCount);
  EXPECT_EQ(d.EditState, 0);
  EXPECT_TRUE(settings.SettingsDirty);
  EXPECT_TRUE(d.isVisible());
}

// The form as the controls named in the key table show it, and the form
// put into them, as a user types and clicks it.
SettingsForm ShownForm(const QWidget& d) {
  SettingsForm form;
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const QString name = QtText(SettingKeys()[i].control);
    const FormRef field = FormFieldOf(form, i);
    if (auto text = std::get_if<std::u16string*>(&field)) {
      **text = Control<QLineEdit>(d, name).text().toStdU16String();
    } else if (auto checked = std::get_if<bool*>(&field)) {
      **checked = Control<QCheckBox>(d, name).isChecked();
    } else {
      int& index = *std::get<int*>(field);
      for (int k = 0; auto* b = d.findChild<QRadioButton*>(ArrayControlName(name, k)); ++k)
        if (b->isChecked()) index = k;
    }
  }
  return form;
}

void PutIntoControls(const QWidget& d, SettingsForm form) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const QString name = QtText(SettingKeys()[i].control);
    const FormRef field = FormFieldOf(form, i);
    if (auto text = std::get_if<std::u16string*>(&field))
      Control<QLineEdit>(d, name).setText(QString::fromStdU16String(**text));
    else if (auto checked = std::get_if<bool*>(&field))
      Control<QCheckBox>(d, name).setChecked(**checked);
    else
      Control<QRadioButton>(d, name, *std::get<int*>(field)).setChecked(true);
  }
}

// Every control unlike its default: "保存", "クリア", then "読込み" gives
// every control back, so a key that the dialog's save or load leaves out
// shows.
TEST_F(SettingsDialogTest, SaveClearAndLoadGiveBackEveryControl) {
  const SettingsForm form = testing::FormUnlikeDefaults();
  frmDovetemSetting& d = Open();
  PutIntoControls(d, form);
  ASSERT_EQ(ShownForm(d), form);
  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandSave").click();
  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandInit").click();
  ASSERT_EQ(ShownForm(d), DefaultForm());
  boxes.QueueAnswer(MsgAnswer::Yes);
  Button(d, "cmdCommandLoad").click();
  EXPECT_EQ(boxes.Count(), 3u) << "a message of a key that failed";
  const SettingsForm loaded = ShownForm(d);
  for (std::size_t i = 0; i < kSettingCount; ++i)
    EXPECT_EQ(QtText(FormKeyText(loaded, i)), QtText(FormKeyText(form, i)))
        << QtText(SettingKeys()[i].control).toStdString();
  EXPECT_EQ(d.EditState, 0);
}

// ---------------------------------------------------------------------------
// The settings command of the main window, with the dialog shown modally.

// Acts on the modal settings dialog once it is open.
void WhenDialogOpens(std::function<void(frmDovetemSetting&)> act) {
  testing::OnNextDialog<frmDovetemSetting>([act](frmDovetemSetting* d) { act(*d); });
}

TEST(SettingsCommand, ExecuteFromTheRulePageRefreshesThePreview) {
  testing::WindowHarness h;
  frmDovetem& w = h.Start();
  w.ShowPage(2);
  testing::RulePage(w).ShowRulePreview();
  EXPECT_EQ(Control<QLabel>(w, "lblRuleName1").text(), QStringLiteral("abc123_xyz0056(1).txt"));

  WhenDialogOpens([](frmDovetemSetting& d) {
    Box(d, "txtGenName").setText(QStringLiteral("cancelled.txt"));
    Button(d, "cmdCommandCancel").click();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 2).click();
  EXPECT_EQ(w.State().settings.SettingsApplied, 0);
  EXPECT_EQ(Control<QLabel>(w, "lblRuleName1").text(), QStringLiteral("abc123_xyz0056(1).txt"));

  WhenDialogOpens([](frmDovetemSetting& d) {
    EXPECT_EQ(Box(d, "txtGenName").text(), QStringLiteral("abc123_xyz0056(1).txt"));
    Box(d, "txtGenName").setText(QStringLiteral("applied.txt"));
    Button(d, "cmdCommandExecute").click();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 2).click();
  EXPECT_EQ(w.State().settings.SettingsApplied, 1);
  EXPECT_TRUE(w.State().settings.SettingsDirty);
  EXPECT_EQ(Control<QLabel>(w, "lblRuleName1").text(), QStringLiteral("applied.txt"));
  EXPECT_EQ(w.CurrentPage(), 2);
}

TEST(SettingsCommand, ExecuteFromTheSelectionPageLeavesThePreview) {
  testing::WindowHarness h;
  frmDovetem& w = h.Start();
  const QString before = Control<QLabel>(w, "lblRuleName1").text();
  WhenDialogOpens([](frmDovetemSetting& d) {
    Box(d, "txtGenName").setText(QStringLiteral("applied.txt"));
    Button(d, "cmdCommandExecute").click();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 1).click();
  EXPECT_EQ(w.State().settings.SettingsApplied, 1);
  EXPECT_EQ(w.State().settings.settings.SampleName, u"applied.txt");
  EXPECT_EQ(Control<QLabel>(w, "lblRuleName1").text(), before);
  EXPECT_EQ(w.CurrentPage(), 1);
}

TEST(SettingsCommand, F1InTheDialogOpensTheHelpAtItsDefaultTopic) {
  testing::WindowHarness h;
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_help.html", "<html></html>");
  std::size_t startsInDialog = 0;
  WhenDialogOpens([&h, &startsInDialog](frmDovetemSetting& d) {
    // A box of the first page, then a check box of the last one.
    Box(d, "txtGenName").setFocus();
    QTest::keyClick(&Box(d, "txtGenName"), Qt::Key_F1);
    Tabs(d).setCurrentIndex(3);
    Tick(d, "chkActDel").setFocus();
    QTest::keyClick(&Tick(d, "chkActDel"), Qt::Key_F1);
    startsInDialog = h.launcher.starts.size();
    EXPECT_TRUE(d.isVisible());  // F1 does not close the dialog
    Button(d, "cmdCommandCancel").click();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 1).click();
  EXPECT_EQ(startsInDialog, 2u);
  ASSERT_EQ(h.launcher.starts.size(), 2u);
  for (const auto& start : h.launcher.starts) {
    const std::u16string url = start.args.at(0);
    EXPECT_EQ(url.substr(url.size() - 18), u"/dovetam_help.html");
  }
  EXPECT_EQ(w.State().settings.SettingsApplied, 0);
}

}  // namespace
}  // namespace dovetam
