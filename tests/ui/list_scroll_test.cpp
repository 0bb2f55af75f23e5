// A list refilled from scratch shows its top, whatever was in view before:
// the folder listing, the target list and the order list, after a column
// sort, a redraw, a run, the guard question answered Yes, and the way back
// to the first page.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <cstdio>
#include <functional>

#include "ui/widgets/list_view_model.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::TempDir;
using testing::WindowHarness;

void ClickColumn(QTreeView& view, int column) {
  QHeaderView* header = view.header();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// "名前変更" with a rule that renames every target, answered Yes.
void Run(frmDovetem& w, WindowHarness& h) {
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("g*"));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  ASSERT_EQ(3, w.State().ChangeState);
}

// 300 files listed and all of them targets, on page `page`.
class ListScrollTest : public ::testing::Test {
 protected:
  frmDovetem& Start() {
    char name[32];  // room for the text of any int, which the compiler checks for
    for (int i = 0; i < 300; ++i) {
      std::snprintf(name, sizeof name, "f%03d.txt", i);
      work.MakeFile(std::u16string(name, name + 8));
    }
    h.store.Set(u"general", u"defpath", work.path());
    frmDovetem& w = h.Start();
    Control<ListView>(w, "lvwSelect").selectAll();
    Control<QPushButton>(w, "cmdSelectAdd").click();
    EXPECT_EQ(300, w.State().objects.ObjCount);
    return w;
  }

  TempDir work;
  WindowHarness h;
};

struct RefillCase {
  const char* name;
  int page;  // the page the list is scrolled on
  const char* list;
  std::function<void(frmDovetem&, WindowHarness&)> before;  // before the page is shown
  std::function<void(frmDovetem&, WindowHarness&)> refill;
};

void PrintTo(const RefillCase& c, std::ostream* os) { *os << c.name; }

class ListRefillTest : public ListScrollTest, public ::testing::WithParamInterface<RefillCase> {};

TEST_P(ListRefillTest, ShowsItsTop) {
  const RefillCase& c = GetParam();
  frmDovetem& w = Start();
  if (c.before) c.before(w, h);
  if (c.page == 2 && w.CurrentPage() != 2) Control<QPushButton>(w, "cmdSelectNext").click();
  QTreeView* view = &Control<ListView>(w, c.list);
  view->scrollToBottom();
  QApplication::processEvents();
  ASSERT_GT(view->verticalScrollBar()->value(), 0);

  c.refill(w, h);
  QApplication::processEvents();
  EXPECT_EQ(300, view->model()->rowCount());
  EXPECT_EQ(0, view->verticalScrollBar()->value());
  EXPECT_EQ(0, view->indexAt(QPoint(2, 2)).row());
}

INSTANTIATE_TEST_SUITE_P(
    Refills, ListRefillTest,
    ::testing::Values(RefillCase{"ListingSortedByAColumnClick", 1, "lvwSelect", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   ClickColumn(Control<ListView>(w, "lvwSelect"), 0);
                                 }},
                      RefillCase{"ListingRedrawn", 1, "lvwSelect", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   Control<QPushButton>(w, "cmdSelectRefresh").click();
                                 }},
                      RefillCase{"ListingOnTheWayBack", 1, "lvwSelect", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   Control<QPushButton>(w, "cmdSelectNext").click();
                                   Control<QPushButton>(w, "cmdRuleBack").click();
                                 }},
                      RefillCase{"TargetsSortedByAColumnClick", 1, "lvwSelect2", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   ClickColumn(Control<ListView>(w, "lvwSelect2"), 0);
                                 }},
                      RefillCase{"TargetsOnTheWayBack", 1, "lvwSelect2", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   Control<QPushButton>(w, "cmdSelectNext").click();
                                   Control<QPushButton>(w, "cmdRuleBack").click();
                                 }},
                      RefillCase{"TargetsAfterTheGuardAnsweredYes", 1, "lvwSelect2",
                                 [](frmDovetem& w, WindowHarness& h) {
                                   Control<QPushButton>(w, "cmdSelectNext").click();
                                   Run(w, h);
                                   Control<QPushButton>(w, "cmdRuleBack").click();
                                 },
                                 [](frmDovetem& w, WindowHarness& h) {
                                   h.boxes.QueueAnswer(MsgAnswer::Yes);
                                   ClickColumn(Control<ListView>(w, "lvwSelect2"), 0);
                                   EXPECT_EQ(0, w.State().ChangeState);
                                 }},
                      RefillCase{"OrderSortedByAColumnClick", 2, "lvwOrder", nullptr,
                                 [](frmDovetem& w, WindowHarness&) {
                                   ClickColumn(Control<ListView>(w, "lvwOrder"), 0);
                                 }},
                      RefillCase{"OrderAfterARun", 2, "lvwOrder", nullptr,
                                 [](frmDovetem& w, WindowHarness& h) { Run(w, h); }},
                      RefillCase{"OrderAfterTheGuardAnsweredYes", 2, "lvwOrder",
                                 [](frmDovetem& w, WindowHarness& h) {
                                   Control<QPushButton>(w, "cmdSelectNext").click();
                                   Run(w, h);
                                 },
                                 [](frmDovetem& w, WindowHarness& h) {
                                   Control<QLineEdit>(w, "txtRule1").setFocus();
                                   h.boxes.QueueAnswer(MsgAnswer::Yes);
                                   ASSERT_TRUE(testing::TypeKey(Qt::Key_A));
                                   EXPECT_EQ(0, w.State().ChangeState);
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
