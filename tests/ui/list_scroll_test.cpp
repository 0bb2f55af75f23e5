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

using testing::TempDir;
using testing::WindowHarness;

void ClickColumn(QTreeView* view, int column) {
  QHeaderView* header = view->header();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// "名前変更" with a rule that renames every target, answered Yes.
void Run(frmDovetem& w, WindowHarness& h) {
  w.txtRule1->setText(QStringLiteral("g*"));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleExecute[1]->click();
  ASSERT_EQ(3, w.ChangeState);
}

// 300 files listed and all of them targets, on page `page`.
class ListScrollTest : public ::testing::Test {
 protected:
  frmDovetem& Start() {
    char name[16];
    for (int i = 0; i < 300; ++i) {
      std::snprintf(name, sizeof name, "f%03d.txt", i);
      work.MakeFile(std::u16string(name, name + 8));
    }
    h.store.Set(u"general", u"defpath", work.path());
    frmDovetem& w = h.Start();
    w.lvwSelect->selectAll();
    w.cmdSelectAdd->click();
    EXPECT_EQ(300, w.objects.ObjCount);
    return w;
  }

  TempDir work;
  WindowHarness h;
};

struct RefillCase {
  const char* name;
  int page;  // the page the list is scrolled on
  QTreeView* frmDovetem::*list;
  std::function<void(frmDovetem&, WindowHarness&)> before;  // before the page is shown
  std::function<void(frmDovetem&, WindowHarness&)> refill;
};

void PrintTo(const RefillCase& c, std::ostream* os) { *os << c.name; }

class ListRefillTest : public ListScrollTest, public ::testing::WithParamInterface<RefillCase> {};

TEST_P(ListRefillTest, ShowsItsTop) {
  const RefillCase& c = GetParam();
  frmDovetem& w = Start();
  if (c.before) c.before(w, h);
  if (c.page == 2 && w.CurrentPage() != 2) w.cmdSelectNext->click();
  QTreeView* view = w.*c.list;
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
    ::testing::Values(
        RefillCase{"ListingSortedByAColumnClick", 1, &frmDovetem::lvwSelect, nullptr,
                   [](frmDovetem& w, WindowHarness&) { ClickColumn(w.lvwSelect, 0); }},
        RefillCase{"ListingRedrawn", 1, &frmDovetem::lvwSelect, nullptr,
                   [](frmDovetem& w, WindowHarness&) { w.cmdSelectRefresh->click(); }},
        RefillCase{"ListingOnTheWayBack", 1, &frmDovetem::lvwSelect, nullptr,
                   [](frmDovetem& w, WindowHarness&) {
                     w.cmdSelectNext->click();
                     w.cmdRuleBack->click();
                   }},
        RefillCase{"TargetsSortedByAColumnClick", 1, &frmDovetem::lvwSelect2, nullptr,
                   [](frmDovetem& w, WindowHarness&) { ClickColumn(w.lvwSelect2, 0); }},
        RefillCase{"TargetsOnTheWayBack", 1, &frmDovetem::lvwSelect2, nullptr,
                   [](frmDovetem& w, WindowHarness&) {
                     w.cmdSelectNext->click();
                     w.cmdRuleBack->click();
                   }},
        RefillCase{"TargetsAfterTheGuardAnsweredYes", 1, &frmDovetem::lvwSelect2,
                   [](frmDovetem& w, WindowHarness& h) {
                     w.cmdSelectNext->click();
                     Run(w, h);
                     w.cmdRuleBack->click();
                   },
                   [](frmDovetem& w, WindowHarness& h) {
                     h.boxes.QueueAnswer(MsgAnswer::Yes);
                     ClickColumn(w.lvwSelect2, 0);
                     EXPECT_EQ(0, w.ChangeState);
                   }},
        RefillCase{"OrderSortedByAColumnClick", 2, &frmDovetem::lvwOrder, nullptr,
                   [](frmDovetem& w, WindowHarness&) { ClickColumn(w.lvwOrder, 0); }},
        RefillCase{"OrderAfterARun", 2, &frmDovetem::lvwOrder, nullptr,
                   [](frmDovetem& w, WindowHarness& h) { Run(w, h); }},
        RefillCase{"OrderAfterTheGuardAnsweredYes", 2, &frmDovetem::lvwOrder,
                   [](frmDovetem& w, WindowHarness& h) {
                     w.cmdSelectNext->click();
                     Run(w, h);
                   },
                   [](frmDovetem& w, WindowHarness& h) {
                     w.txtRule1->setFocus();
                     h.boxes.QueueAnswer(MsgAnswer::Yes);
                     ASSERT_TRUE(testing::TypeKey(Qt::Key_A));
                     EXPECT_EQ(0, w.ChangeState);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
