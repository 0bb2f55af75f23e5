// Page 1 and the order list offscreen, on real temporary folders: the folder
// listing, sorting by column with its marks, the target buttons, the command
// line, drops, the view dialog and "決定＞".
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <functional>

#include "ui/widgets/list_view_model.h"
#include "ui/view_dialog/view_dialog.h"
#include "platform/dates.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::ListModel;
using testing::WindowHarness;

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

// The texts of a column of the list `list` of the window, top to bottom.
QStringList Column(const QWidget& w, const char* list, int column = 0) {
  const ListViewModel& model = ListModel(w, list);
  QStringList texts;
  for (int r = 0; r < model.RowCount(); ++r) texts << model.Text(r, column);
  return texts;
}

QStringList Titles(const QWidget& w, const char* list) {
  const ListViewModel& model = ListModel(w, list);
  QStringList titles;
  for (int c = 0; c < model.ColumnCount(); ++c) titles << model.ColumnTitle(c);
  return titles;
}

void SelectRow(const QWidget& w, const char* list, int row) {
  QTreeView& view = Control<ListView>(w, list);
  view.selectionModel()->select(view.model()->index(row, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QStringList SelectedTexts(const QWidget& w, const char* list) {
  QTreeView& view = Control<ListView>(w, list);
  const ListViewModel& model = ListModel(w, list);
  QStringList texts;
  for (int r = 0; r < model.RowCount(); ++r) {
    if (view.selectionModel()->isRowSelected(r, QModelIndex())) texts << model.Text(r, 0);
  }
  return texts;
}

QMimeData* FileDrop(const std::vector<std::u16string>& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const std::u16string& p : paths) urls << QUrl::fromLocalFile(Q(p));
  data->setUrls(urls);
  return data;
}

// A click on a column title of a list view, as the mouse makes it.
void ClickColumn(const QWidget& w, const char* list, int column) {
  QHeaderView* header = Control<ListView>(w, list).header();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// A double-click on an item of a list or tree, through the window system, at
// the middle of the part of the item's rectangle that the view shows: an item
// can reach past the view's edge (in a tree several folders deep, every item
// is as wide as the widest), and a click there lands on the next control.
void DoubleClickAt(QAbstractItemView& view, const QRect& rect) {
  const QRect shown = rect.intersected(view.viewport()->rect());
  ASSERT_FALSE(shown.isEmpty()) << "the item is out of the view's sight";
  QWidget* window = view.window();
  QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                     view.viewport()->mapTo(window, shown.center()));
  QApplication::processEvents();
}

// A double-click on row `row` of the list `list`.
void DoubleClickRow(const QWidget& w, const char* list, int row) {
  ListView& view = Control<ListView>(w, list);
  DoubleClickAt(view, view.visualRect(view.model()->index(row, 0)));
}

// The folder tree of page 1.
QTreeWidget& FolderTree(const QWidget& w) { return Control<QTreeWidget>(w, "dirSelect"); }

// A double-click on an item of the folder tree.
void DoubleClickFolder(const QWidget& w, QTreeWidgetItem* item) {
  DoubleClickAt(FolderTree(w), FolderTree(w).visualItemRect(item));
}

// The subfolder item of the folder tree's current folder that shows `name`.
QTreeWidgetItem* TreeChild(const QWidget& w, const QString& name) {
  QTreeWidgetItem* current = FolderTree(w).currentItem();
  for (int i = 0; current != nullptr && i < current->childCount(); ++i) {
    if (current->child(i)->text(0) == name) return current->child(i);
  }
  return nullptr;
}

QString TreeCurrentPath(const QWidget& w) {
  QTreeWidgetItem* current = FolderTree(w).currentItem();
  return current ? current->data(0, Qt::UserRole).toString() : QString();
}

// The drive chosen in the drive list of page 1.
QString DriveListDrive(const QWidget& w) {
  return Control<QComboBox>(w, "drvSelect").currentData().toString();
}

// `data` dragged onto the list `list` and dropped there, as the window
// system delivers a drop.
void Drop(const QWidget& w, const char* list, const QMimeData* data) {
  QWidget* viewport = Control<ListView>(w, list).viewport();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  ASSERT_TRUE(drop.isAccepted());
}

// The display position of the first selected item of the order list, 0 when
// none is selected.
int FirstSelectedOrderPosition(const QWidget& w) {
  return testing::FirstSelectedPosition(w, "lvwOrder");
}

class ListsWindowTest : public ::testing::Test {
 protected:
  WindowHarness h;
  testing::TempDir work;  // the start folder

  frmDovetem& Start(std::vector<std::u16string> arguments = {},
                    Capacities caps = Capacities::Large()) {
    h.store.Set(u"general", u"defpath", work.path());
    return h.Start(caps, std::move(arguments));
  }
  // The files f0 to f9 in the start folder, or in its subfolder `folder`
  // (ending in "/"); their paths.
  std::vector<std::u16string> MakeTenFiles(std::u16string_view folder = u"") const {
    std::vector<std::u16string> paths;
    for (int i = 0; i < 10; ++i) {
      const std::u16string name = (std::u16string(folder) += u"f") += char16_t(u'0' + i);
      work.MakeFile(name);
      paths.push_back(work.PathOf(name));
    }
    return paths;
  }
};

TEST_F(ListsWindowTest, ListingShowsFoldersFirstWithDates) {
  work.MakeFile(u"b.txt");
  work.MakeFile(u"A.txt");
  work.MakeFolder(u"sub");
  work.SetModified(u"b.txt", 1700000000);
  frmDovetem& w = Start();
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(w.State().listing.ListFolder, work.path());
  EXPECT_EQ(w.State().listing.ListFailed, 0);
  // Stored files first, then folders; shown folders first, names without case.
  EXPECT_TRUE(w.State().listing.ListIsFolder[3]);
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"sub", "A.txt", "b.txt"}));
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前▲", "更新日時△"}));
  EXPECT_EQ(ListModel(w, "lvwSelect").Text(2, 1), Q(FormatDate(DateFromUnixTime(1700000000))));
  EXPECT_EQ(TreeCurrentPath(w), Q(work.path()));
  EXPECT_EQ(DriveListDrive(w), "/");
  EXPECT_EQ(Titles(w, "lvwSelect2"), (QStringList{"名前▲", "更新日時△"}));
  EXPECT_EQ(Control<QLabel>(w, "lblSelectCount").text(), "0");
}

TEST_F(ListsWindowTest, UnreadableFolderLeavesAnEmptyFailedListing) {
  work.MakeFolder(u"gone");
  work.MakeFile(u"gone/x");
  work.MakeFile(u"top");
  frmDovetem& w = Start();
  ASSERT_EQ(ListModel(w, "lvwSelect").RowCount(), 2);
  // The folder goes away after the tree showed it: its read fails as a whole.
  QTreeWidgetItem* gone = TreeChild(w, "gone");
  ASSERT_NE(gone, nullptr);
  std::system(("rm -rf '" + work.native() + "gone'").c_str());
  DoubleClickFolder(w, gone);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"指定されたフォルダのファイル一覧を表示できませんでした。");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(w.State().listing.ListFailed, 1);
  EXPECT_EQ(w.State().listing.ListFolder, work.PathOf(u"gone/"));
  EXPECT_EQ(ListModel(w, "lvwSelect").RowCount(), 0);
  // The add button does nothing while the listing failed.
  Control<QPushButton>(w, "cmdSelectAdd").click();
  EXPECT_EQ(w.State().objects.ObjCount, 0);
}

TEST_F(ListsWindowTest, BrokenLinkIsAFileWithTheLinksOwnDate) {
  work.MakeFile(u"real");
  work.MakeSymlink(u"dangling", "nowhere");
  work.MakeFileBytes("bad\xfe");
  h.store.Set(u"display", u"udate", u"False");
  frmDovetem& w = Start();
  // Without date columns the link is listed as a file, the name with its byte.
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(Column(w, "lvwSelect"),
            (QStringList{"bad" + QString(QChar(0xDCFE)), "dangling", "real"}));
  // Listed with the last-modified column, the link shows its own date.
  h.window.reset();
  h.store.Set(u"display", u"udate", u"True");
  frmDovetem& dated = Start();
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(dated.State().listing.ListFailed, 0);
  EXPECT_EQ(ListModel(dated, "lvwSelect").RowCount(), 3);
  for (int32_t i = 1; i <= dated.State().listing.ListCount; ++i)
    EXPECT_NE(dated.State().listing.ListModified[i], 0);
}

TEST_F(ListsWindowTest, UnreadableDateStaysZeroWithOneMessage) {
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  testing::FaultyFileSystem faulty(*h.realFs);
  faulty.Fail(testing::FsCall::GetDateCreated, u"", kFsIoError);  // no birth times
  h.store.Set(u"display", u"cdate", u"True");
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = h.Start(Capacities::Large(), {}, &faulty);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"いくつかのオブジェクトの作成日時を、正常に取得できませんでした。\n"
            u"便宜上、日時は\"1899/12/30 00:00:00\"に設定されています。");
  EXPECT_EQ(w.State().listing.ListFailed, 0);
  EXPECT_EQ(ListModel(w, "lvwSelect").RowCount(), 2);
}

TEST_F(ListsWindowTest, ColumnClicksChangeOrderAndMarks) {
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  work.MakeFile(u"c");
  work.SetModified(u"a", 1700000300);
  work.SetModified(u"b", 1700000100);
  work.SetModified(u"c", 1700000200);
  frmDovetem& w = Start();
  Control<ListView>(w, "lvwSelect").header()->sectionClicked(1);  // the date column becomes primary
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前△", "更新日時▲"}));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"b", "c", "a"}));
  Control<ListView>(w, "lvwSelect").header()->sectionClicked(1);
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前△", "更新日時▼"}));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"a", "c", "b"}));
  Control<ListView>(w, "lvwSelect").header()->sectionClicked(0);
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前▲", "更新日時▽"}));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"a", "b", "c"}));

  // The target list has levels of its own, shared with the order list.
  for (int r = 0; r < 3; ++r) SelectRow(w, "lvwSelect", r);
  Control<QPushButton>(w, "cmdSelectAdd").click();
  Control<ListView>(w, "lvwSelect2").header()->sectionClicked(0);
  EXPECT_EQ(Titles(w, "lvwSelect2"), (QStringList{"名前▼", "更新日時△"}));
  EXPECT_EQ(Column(w, "lvwSelect2"),
            (QStringList{Q(work.PathOf(u"c")), Q(work.PathOf(u"b")), Q(work.PathOf(u"a"))}));
  EXPECT_EQ(h.boxes.Count(), 0u);
}

TEST_F(ListsWindowTest, AfterARunTheMarkIsInParenthesesAndAClickAsks) {
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  frmDovetem& w = Start({work.PathOf(u"b"), work.PathOf(u"a")});
  w.State().ChangeState = 3;
  // Page 2 and back redraw the target list under new headers.
  Control<QPushButton>(w, "cmdSelectNext").click();
  Control<QPushButton>(w, "cmdRuleBack").click();
  EXPECT_EQ(Titles(w, "lvwSelect2"), (QStringList{"名前(▲)", "更新日時△"}));

  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<ListView>(w, "lvwSelect2").header()->sectionClicked(0);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"この操作を行うと、名前の再変更・復元ができなくなります。\n続行しますか？");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Exclamation);
  EXPECT_EQ(h.boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_EQ(w.State().ChangeState, 3);
  EXPECT_EQ(Titles(w, "lvwSelect2"), (QStringList{"名前(▲)", "更新日時△"}));

  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<ListView>(w, "lvwSelect2").header()->sectionClicked(0);
  EXPECT_EQ(w.State().ChangeState, 0);
  EXPECT_EQ(Titles(w, "lvwSelect2"), (QStringList{"名前▼", "更新日時△"}));
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"b")), Q(work.PathOf(u"a"))}));

  // The folder listing never asks.
  w.State().ChangeState = 3;
  Control<ListView>(w, "lvwSelect").header()->sectionClicked(0);
  EXPECT_EQ(h.boxes.Count(), 2u);
}

TEST_F(ListsWindowTest, AddComparesExactlyAndSkipsExactDuplicates) {
  work.MakeFile(u"x.txt");
  work.MakeFile(u"X.txt");
  work.MakeFolder(u"dir");
  frmDovetem& w = Start();
  ASSERT_EQ(Column(w, "lvwSelect"), (QStringList{"dir", "x.txt", "X.txt"}));
  for (int r = 0; r < 3; ++r) SelectRow(w, "lvwSelect", r);
  Control<QPushButton>(w, "cmdSelectAdd").click();
  EXPECT_EQ(w.State().objects.ObjCount, 3);  // two names differing in case are two objects
  EXPECT_EQ(Control<QLabel>(w, "lblSelectCount").text(), "3");
  EXPECT_TRUE(w.State().objects.ObjIsFolder[1]);
  Control<QPushButton>(w, "cmdSelectAdd").click();  // the same again: nothing new, no message
  EXPECT_EQ(w.State().objects.ObjCount, 3);
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(Column(w, "lvwSelect2").size(), 3);
  // "再表示" selects the listing's entries that are targets.
  Control<ListView>(w, "lvwSelect").clearSelection();
  Control<QPushButton>(w, "cmdSelectRefresh").click();
  EXPECT_EQ(SelectedTexts(w, "lvwSelect"), (QStringList{"dir", "x.txt", "X.txt"}));
}

// One object under two spellings of its folder ("lnk" a link to "real") is
// one target, from the command line, a drop and the add button alike; the
// listing of either spelling shows it as a target, and "∧解除" there removes it.
TEST_F(ListsWindowTest, AnObjectUnderTwoSpellingsOfItsFolderIsOneTarget) {
  work.MakeFolder(u"real");
  work.MakeFile(u"real/f0");
  work.MakeSymlink(u"lnk", "real");
  h.store.Set(u"general", u"defpath", work.PathOf(u"lnk/"));
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"real/f0"), work.PathOf(u"lnk/f0")});
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"real/f0"))}));
  EXPECT_EQ(SelectedTexts(w, "lvwSelect"), (QStringList{"f0"}));

  std::unique_ptr<QMimeData> drop(FileDrop({work.PathOf(u"lnk/f0"), work.PathOf(u"real/f0")}));
  Drop(w, "lvwSelect2", drop.get());
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"real/f0"))}));

  Control<QPushButton>(w, "cmdSelectAdd").click();  // f0 selected in the listing of lnk/
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"lnk/f0"))}));
  Control<QPushButton>(w, "cmdSelectDelete2").click();
  EXPECT_EQ(w.State().objects.ObjCount, 0);
  EXPECT_EQ(h.boxes.Count(), 0u);
}

TEST_F(ListsWindowTest, AddStopsWhenTheTableCannotGrow) {
  for (int i = 0; i < 12; ++i) work.MakeFile(std::u16string(u"f") += char16_t(u'a' + i));
  frmDovetem& w = Start({}, Capacities::Small());
  w.State().svc.caps.allocationLimit = 11;  // from now on: room for ten targets (0..10)
  for (int r = 0; r < 12; ++r) SelectRow(w, "lvwSelect", r);
  Control<QPushButton>(w, "cmdSelectAdd").click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"メモリ不足のため、\nいくつかのオブジェクトを格納できませんでした。");
  EXPECT_EQ(w.State().objects.ObjCount, 10);
  EXPECT_EQ(w.State().objects.ObjCapacity, 10);
  EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), 10);
}

// Memory running out in a system call of the listing, of a drop or of the
// command line, not in the growth of a table: each says so in its own
// words, and keeps what it had done.
// The tree goes up two folders from "sub": it starts in a folder of the
// test's own, "start", so that it never lists the temporary folder itself,
// whose other entries could push the test's folder out of the tree's sight.
TEST_F(ListsWindowTest, MemoryRunningOutInAListingOrAnAddingSaysSo) {
  work.MakeFolder(u"start");
  const std::vector<std::u16string> paths = MakeTenFiles(u"start/");
  work.MakeFolder(u"start/sub");
  work.MakeFile(u"start/sub/x");
  testing::FaultyFileSystem faulty(*h.realFs);
  const std::u16string start = work.PathOf(u"start/");
  h.store.Set(u"general", u"defpath", start);
  frmDovetem& w = h.Start(Capacities::Large(), {}, &faulty);
  ASSERT_EQ(ListModel(w, "lvwSelect").RowCount(), 11);

  // Opening "sub" in the tree lists its subfolders (that goes well), then
  // its entries (memory runs out).
  QTreeWidgetItem* sub = TreeChild(w, "sub");
  ASSERT_NE(sub, nullptr);
  faulty.Fail(testing::FsCall::ListFolder, u"", testing::kFsOutOfMemory, 1, 1);
  DoubleClickFolder(w, sub);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"メモリ不足のため、\n指定されたフォルダのファイル一覧を表示できませんでした。");
  EXPECT_EQ(w.State().listing.ListFailed, 1);
  EXPECT_EQ(ListModel(w, "lvwSelect").RowCount(), 0);
  EXPECT_EQ(nullptr, QApplication::overrideCursor());

  // Opening the folder above: memory runs out for its subfolders and for its
  // entries; one message, and the tree is on that folder.
  h.boxes.Clear();
  faulty.ClearFaults();
  QTreeWidgetItem* top = FolderTree(w).currentItem()->parent();
  ASSERT_NE(top, nullptr);
  faulty.Fail(testing::FsCall::ListFolder, u"", testing::kFsOutOfMemory, 2);
  DoubleClickFolder(w, top);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"メモリ不足のため、\n指定されたフォルダのファイル一覧を表示できませんでした。");
  EXPECT_EQ(TreeCurrentPath(w), Q(start));
  // With memory again: up one folder and back.
  DoubleClickFolder(w, FolderTree(w).currentItem()->parent());
  ASSERT_EQ(TreeCurrentPath(w), Q(work.path()));
  ASSERT_NE(TreeChild(w, "start"), nullptr);
  DoubleClickFolder(w, TreeChild(w, "start"));
  EXPECT_EQ(TreeCurrentPath(w), Q(start));
  EXPECT_EQ(ListModel(w, "lvwSelect").RowCount(), 11);

  h.boxes.Clear();
  faulty.ClearFaults();
  faulty.Fail(testing::FsCall::FileExists, paths[3], testing::kFsOutOfMemory, 1);
  std::unique_ptr<QMimeData> files(FileDrop(paths));
  Drop(w, "lvwSelect2", files.get());
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"メモリ不足などにより、\n 7 個 の オブジェクトを追加できませんでした。");
  EXPECT_EQ(w.State().objects.ObjCount, 3);
  EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), 3);

  // The command line of a window started afresh.
  h.window.reset();
  h.boxes.Clear();
  faulty.ClearFaults();
  faulty.Fail(testing::FsCall::GetFullPath, paths[5], testing::kFsOutOfMemory, 1);
  frmDovetem& started = h.Start(Capacities::Large(), paths, &faulty);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"メモリ不足などにより、いくつかのオブジェクトを追加できませんでした。");
  EXPECT_EQ(started.State().objects.ObjCount, 5);
  EXPECT_EQ(ListModel(started, "lvwSelect2").RowCount(), 5);
}

TEST_F(ListsWindowTest, RemoveSelectedFolderTargetsAndClear) {
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  work.MakeFolder(u"other");
  work.MakeFile(u"other/c");
  frmDovetem& w = Start({work.PathOf(u"other/c")});
  SelectRow(w, "lvwSelect", 1);  // a
  SelectRow(w, "lvwSelect", 2);  // b
  Control<QPushButton>(w, "cmdSelectAdd").click();
  ASSERT_EQ(Column(w, "lvwSelect2"),
            (QStringList{Q(work.PathOf(u"a")), Q(work.PathOf(u"b")), Q(work.PathOf(u"other/c"))}));
  // "選択解除" removes what is selected in the target list.
  SelectRow(w, "lvwSelect2", 1);
  Control<QPushButton>(w, "cmdSelectDelete").click();
  EXPECT_EQ(Column(w, "lvwSelect2"),
            (QStringList{Q(work.PathOf(u"a")), Q(work.PathOf(u"other/c"))}));
  // "∧解除" removes the listed folder's targets only.
  Control<QPushButton>(w, "cmdSelectDelete2").click();
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"other/c"))}));
  // "クリア" asks; No keeps, Yes removes all.
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdSelectClear").click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"すべての選択を解除しますか？");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(w.State().objects.ObjCount, 1);
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdSelectClear").click();
  EXPECT_EQ(w.State().objects.ObjCount, 0);
  EXPECT_EQ(Control<QLabel>(w, "lblSelectCount").text(), "0");
  // With no targets nothing is asked.
  Control<QPushButton>(w, "cmdSelectClear").click();
  EXPECT_EQ(h.boxes.Count(), 2u);
}

TEST_F(ListsWindowTest, ClearAfterARunAsksTheGuardWithItsOwnLine) {
  work.MakeFile(u"a");
  frmDovetem& w = Start({work.PathOf(u"a")});
  w.State().ChangeState = 3;
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdSelectClear").click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"この操作を行うと、名前の再変更・復元ができなくなります。\nすべての選択を解除しますか？");
  EXPECT_EQ(w.State().ChangeState, 0);
  EXPECT_EQ(w.State().objects.ObjCount, 0);
}

TEST_F(ListsWindowTest, CommandLinePathsAreAddedAndMissingOnesCountedOnce) {
  work.MakeFile(u"one");
  work.MakeFolder(u"two");
  frmDovetem& w = Start({work.PathOf(u"one"), work.PathOf(u"two"), work.PathOf(u"missing"),
                         work.PathOf(u"one"), u"/", work.PathOf(u"also missing")});
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u" 3 個 の オブジェクトを追加できませんでした。");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(w.State().objects.ObjCount, 2);
  EXPECT_EQ(w.State().objects.ObjFolder[1], work.path());
  EXPECT_EQ(w.State().objects.ObjName[1], u"one");
  EXPECT_TRUE(w.State().objects.ObjIsFolder[2]);
  // Paths in the listed folder show selected in the listing.
  EXPECT_EQ(SelectedTexts(w, "lvwSelect"), (QStringList{"two", "one"}));
}

TEST_F(ListsWindowTest, DropOnTargetListAddsFilesAndRefusesOtherData) {
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  frmDovetem& w = Start();
  std::unique_ptr<QMimeData> files(FileDrop({work.PathOf(u"b"), work.PathOf(u"a"),
                                             work.PathOf(u"b"), work.PathOf(u"none")}));
  Drop(w, "lvwSelect2", files.get());
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"a")), Q(work.PathOf(u"b"))}));
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u" 1 個 の オブジェクトを追加できませんでした。");
  // A dropped file does not change the listing's selection.
  EXPECT_TRUE(SelectedTexts(w, "lvwSelect").isEmpty());

  QMimeData text;
  text.setText(QStringLiteral("not a file list"));
  Drop(w, "lvwSelect2", &text);
  ASSERT_EQ(h.boxes.Count(), 2u);
  EXPECT_EQ(h.boxes.Last().text, u"指定されたオブジェクトが正しくありません。");
  EXPECT_EQ(w.State().objects.ObjCount, 2);
}

TEST_F(ListsWindowTest, DropOfTenFilesWhenTheTableStopsGrowingAtTheFourth) {
  const std::vector<std::u16string> paths = MakeTenFiles();
  Capacities caps = Capacities::Small();
  caps.tableStep = 3;
  frmDovetem& w = Start({}, caps);
  w.State().svc.caps.allocationLimit = 4;  // from now on: three targets (0..3)
  std::unique_ptr<QMimeData> files(FileDrop(paths));
  Drop(w, "lvwSelect2", files.get());
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"メモリ不足などにより、\n 7 個 の オブジェクトを追加できませんでした。");
  EXPECT_EQ(w.State().objects.ObjCount, 3);
}

TEST_F(ListsWindowTest, DropOnListingOpensTheFolderOfTheFirstPath) {
  work.MakeFolder(u"inner");
  work.MakeFile(u"inner/file");
  work.MakeFile(u"top");
  frmDovetem& w = Start();
  std::unique_ptr<QMimeData> drop(FileDrop({work.PathOf(u"inner/file"), work.PathOf(u"top")}));
  Drop(w, "lvwSelect", drop.get());
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(w.State().listing.ListFolder, work.PathOf(u"inner/"));
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"inner/")));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"file"}));
  // A dropped folder opens the folder that holds it.
  std::unique_ptr<QMimeData> folder(FileDrop({work.PathOf(u"inner")}));
  Drop(w, "lvwSelect", folder.get());
  EXPECT_EQ(w.State().listing.ListFolder, work.path());

  QMimeData text;
  text.setText(QStringLiteral("x"));
  Drop(w, "lvwSelect", &text);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"指定されたオブジェクトが正しくありません。");
  EXPECT_EQ(w.State().listing.ListFolder, work.path());
}

TEST_F(ListsWindowTest, DoubleClickOnATargetOpensItsFolder) {
  work.MakeFolder(u"d");
  work.MakeFile(u"d/inside");
  frmDovetem& w = Start({work.PathOf(u"d/inside")});
  DoubleClickRow(w, "lvwSelect2", 0);
  EXPECT_EQ(w.State().listing.ListFolder, work.PathOf(u"d/"));
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"d/")));
  EXPECT_EQ(SelectedTexts(w, "lvwSelect"), (QStringList{"inside"}));
  EXPECT_EQ(h.boxes.Count(), 0u);
}

// As the platform's tree does: the current folder is scrolled into sight
// sideways too, however deep it lies, and its subfolders can be clicked.
TEST_F(ListsWindowTest, ADeepFolderIsInSightInTheTree) {
  std::u16string deep;
  for (int k = 0; k < 14; ++k) {
    deep += u"level" + std::u16string(1, static_cast<char16_t>(u'a' + k)) + u"/";
    work.MakeFolder(deep);
  }
  work.MakeFolder(deep + u"sub");
  h.store.Set(u"general", u"defpath", work.PathOf(deep));
  frmDovetem& w = h.Start();
  ASSERT_EQ(TreeCurrentPath(w), Q(work.PathOf(deep)));
  QApplication::processEvents();
  QTreeWidget& tree = FolderTree(w);
  const QRect view = tree.viewport()->rect();
  const QRect current = tree.visualItemRect(tree.currentItem());
  EXPECT_GE(current.left(), view.left());
  EXPECT_LT(current.left(), view.right());
  h.boxes.Clear();
  // Brought into sight as the arrow keys bring it (a deep temporary folder
  // puts it below the view's end).
  QTreeWidgetItem* sub = TreeChild(w, "sub");
  tree.scrollTo(tree.indexFromItem(sub));
  DoubleClickFolder(w, sub);
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(deep + u"sub/")));
  EXPECT_EQ(h.boxes.Count(), 0u);
}

TEST_F(ListsWindowTest, StartFolderSpeltOtherwiseIsListedUnderItsSystemName) {
  work.MakeFolder(u"sub");
  work.MakeFile(u"sub/a");
  h.store.Set(u"general", u"defpath", work.PathOf(u"sub/../sub//./"));
  frmDovetem& w = h.Start();
  EXPECT_EQ(w.State().listing.ListFolder, work.PathOf(u"sub/"));
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"sub/")));
  // The same file from the listing and from a drop is one target.
  SelectRow(w, "lvwSelect", 0);
  Control<QPushButton>(w, "cmdSelectAdd").click();
  std::unique_ptr<QMimeData> drop(FileDrop({work.PathOf(u"sub/a")}));
  Drop(w, "lvwSelect2", drop.get());
  EXPECT_EQ(w.State().objects.ObjCount, 1);
  EXPECT_EQ(h.boxes.Count(), 0u);
}

TEST_F(ListsWindowTest, DecideFillsTheOrderListOnPageTwo) {
  work.MakeFile(u"b");
  work.MakeFile(u"a");
  frmDovetem& w = Start({work.PathOf(u"b"), work.PathOf(u"a")});
  Control<QPushButton>(w, "cmdSelectNext").click();
  EXPECT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(Column(w, "lvwOrder"), (QStringList{Q(work.PathOf(u"a")), Q(work.PathOf(u"b"))}));
  EXPECT_EQ(Titles(w, "lvwOrder"), (QStringList{"名前▲", "更新日時△"}));
  EXPECT_EQ(Control<QLabel>(w, "lblOrderCount").text(), "2");
  EXPECT_EQ(FirstSelectedOrderPosition(w), 1);
  EXPECT_EQ(ListModel(w, "lvwOrder").RowCount(), 2);
  // A click on the order list also orders the target list.
  Control<ListView>(w, "lvwOrder").header()->sectionClicked(0);
  EXPECT_EQ(Column(w, "lvwOrder"), (QStringList{Q(work.PathOf(u"b")), Q(work.PathOf(u"a"))}));
  EXPECT_EQ(w.State().objects.OrderIndex[1], 1);
}

TEST_F(ListsWindowTest, DecideWithNoTargetsShowsAnEmptyOrderList) {
  frmDovetem& w = Start();
  Control<QPushButton>(w, "cmdSelectNext").click();
  EXPECT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(ListModel(w, "lvwOrder").RowCount(), 0);
  EXPECT_EQ(FirstSelectedOrderPosition(w), 0);
  EXPECT_EQ(Control<QLabel>(w, "lblOrderCount").text(), "0");
}

TEST_F(ListsWindowTest, DriveChangeMovesTheFolderTreeOrSaysItCannot) {
  work.MakeFolder(u"mnt");
  work.MakeFile(u"mnt/on_drive");
  testing::FaultyFileSystem faulty(*h.realFs);
  faulty.drives = std::vector<std::u16string>{u"/", work.PathOf(u"mnt/"), work.PathOf(u"gone/")};
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = h.Start(Capacities::Large(), {}, &faulty);
  ASSERT_EQ(Control<QComboBox>(w, "drvSelect").count(), 3);
  EXPECT_EQ(DriveListDrive(w), "/");
  Control<QComboBox>(w, "drvSelect").setCurrentIndex(1);
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"mnt/")));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"on_drive"}));
  Control<QComboBox>(w, "drvSelect").setCurrentIndex(2);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"指定されたドライブのフォルダ一覧を取得できませんでした。");
  // The list keeps the new drive.
  EXPECT_EQ(DriveListDrive(w), Q(work.PathOf(u"gone/")));
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"mnt/")));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"on_drive"}));
}

TEST_F(ListsWindowTest, FolderTreeOpensAFolderOnReturn) {
  work.MakeFolder(u"sub");
  work.MakeFile(u"sub/x");
  frmDovetem& w = Start();
  QTreeWidget& tree = FolderTree(w);
  QTreeWidgetItem* current = tree.currentItem();
  ASSERT_NE(current, nullptr);
  ASSERT_EQ(current->childCount(), 1);
  tree.setCurrentItem(current->child(0));
  tree.setFocus();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&tree, &key);
  EXPECT_EQ(TreeCurrentPath(w), Q(work.PathOf(u"sub/")));
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"x"}));
  EXPECT_EQ(w.CurrentPage(), 1);  // Return opened the folder, not the rule page
}

TEST_F(ListsWindowTest, ADropEventOnTheTargetListReachesTheHandler) {
  work.MakeFile(u"dropped");
  frmDovetem& w = Start();
  std::unique_ptr<QMimeData> data(FileDrop({work.PathOf(u"dropped")}));
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Control<ListView>(w, "lvwSelect2").viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  const bool delivered =
      QApplication::sendEvent(Control<ListView>(w, "lvwSelect2").viewport(), &drop);
  EXPECT_TRUE(delivered);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(Column(w, "lvwSelect2"), (QStringList{Q(work.PathOf(u"dropped"))}));
}

TEST_F(ListsWindowTest, EscapeOnPageTwoGoesBackAfterTheDecideButton) {
  work.MakeFile(u"a");
  frmDovetem& w = Start({work.PathOf(u"a")});
  Control<QPushButton>(w, "cmdSelectNext").click();
  ASSERT_EQ(w.CurrentPage(), 2);
  ASSERT_EQ(QApplication::focusWidget(), &Control<QLineEdit>(w, "txtRule1"));
  EXPECT_TRUE(Control<QPushButton>(w, "cmdRuleExecute", 1).isDefault());
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Escape));
  EXPECT_EQ(w.CurrentPage(), 1);
  EXPECT_EQ(QApplication::focusWidget(), &Control<ListView>(w, "lvwSelect"));
  EXPECT_EQ(h.boxes.Count(), 0u);
  // Back on page 1, Esc is the exit again.
  EXPECT_TRUE(Control<QPushButton>(w, "cmdSelectNext").isDefault());
  h.boxes.QueueAnswer(MsgAnswer::No);
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Escape));
  EXPECT_EQ(h.boxes.Texts(), std::vector<std::u16string>{u"終了しますか？"});
}

TEST_F(ListsWindowTest, PreviewShowsTheSelectedTargetAfterKeyAndMouseRelease) {
  for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt"}) work.MakeFile(name);
  frmDovetem& w = Start({work.PathOf(u"a.txt"), work.PathOf(u"b.txt"), work.PathOf(u"c.txt")});
  Control<QPushButton>(w, "cmdSelectNext").click();
  ListView& lvwOrder = Control<ListView>(w, "lvwOrder");
  const QLabel& lblRuleName1 = Control<QLabel>(w, "lblRuleName1");
  const QLabel& lblRuleName2 = Control<QLabel>(w, "lblRuleName2");
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("new"));
  EXPECT_EQ(lblRuleName1.text(), "a.txt");  // the first entry, selected by "決定＞"
  EXPECT_EQ(lblRuleName2.text(), "new.txt");

  lvwOrder.setFocus();
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Down));
  EXPECT_EQ(FirstSelectedOrderPosition(w), 2);
  EXPECT_EQ(lblRuleName1.text(), "b.txt");

  // While Shift is held the selection grows without a refresh; letting go of
  // Shift refreshes.
  QTest::keyPress(&lvwOrder, Qt::Key_Up, Qt::ShiftModifier);
  QKeyEvent upReleased(QEvent::KeyRelease, Qt::Key_Up, Qt::ShiftModifier);
  QApplication::sendEvent(&lvwOrder, &upReleased);
  EXPECT_EQ(FirstSelectedOrderPosition(w), 1);
  EXPECT_EQ(lblRuleName1.text(), "b.txt");
  QKeyEvent shiftReleased(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(&lvwOrder, &shiftReleased);
  EXPECT_EQ(lblRuleName1.text(), "a.txt");

  // A click refreshes when the button is let go.
  const QPoint third = lvwOrder.visualRect(lvwOrder.model()->index(2, 0)).center();
  QTest::mousePress(lvwOrder.viewport(), Qt::LeftButton, Qt::NoModifier, third);
  EXPECT_EQ(lblRuleName1.text(), "a.txt");
  QTest::mouseRelease(lvwOrder.viewport(), Qt::LeftButton, Qt::NoModifier, third);
  QApplication::processEvents();
  EXPECT_EQ(FirstSelectedOrderPosition(w), 3);
  EXPECT_EQ(lblRuleName1.text(), "c.txt");
  EXPECT_EQ(lblRuleName2.text(), "new.txt");
  EXPECT_EQ(w.State().OrderListPressed, 0);
}

TEST_F(ListsWindowTest, ViewCommandOnPageTwoRebuildsTheOrderListOnly) {
  work.MakeFile(u"b");
  work.MakeFile(u"a");
  work.SetModified(u"a", 1700000000);
  h.store.Set(u"display", u"udate", u"False");
  frmDovetem& w = Start({work.PathOf(u"b"), work.PathOf(u"a")});
  Control<QPushButton>(w, "cmdSelectNext").click();
  ASSERT_EQ(Titles(w, "lvwOrder"), QStringList{"名前▲"});
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) {
    Control<QCheckBox>(*dialog, "chkAttribute", 1).setChecked(true);
    Control<QPushButton>(*dialog, "cmdDecide").click();
  });
  Control<QPushButton>(w, "cmdCommandView", 2).click();
  EXPECT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(Titles(w, "lvwOrder"), (QStringList{"名前▲", "更新日時△"}));
  EXPECT_EQ(ListModel(w, "lvwOrder").Text(0, 1), Q(FormatDate(DateFromUnixTime(1700000000))));
  // The listing's dates are read and its order kept up, but it is not drawn
  // while page 1 is hidden.
  for (int32_t i = 1; i <= w.State().listing.ListCount; ++i)
    EXPECT_NE(w.State().listing.ListModified[i], 0);
  EXPECT_EQ(Titles(w, "lvwSelect"), QStringList{"名前▲"});
  // The rebuilt order list has no selection: the preview shows the sample name.
  EXPECT_EQ(FirstSelectedOrderPosition(w), 0);
  EXPECT_EQ(Control<QLabel>(w, "lblRuleName1").text(), Q(w.State().settings.settings.SampleName));
}

// A folder that the system refuses to list, as it refuses one without read
// permission to an ordinary user (the tests may run as root, who reads every
// folder, so the refusal comes from the file-system fake). Whatever road
// leads to it, the tree moves there and the listing fails as a whole.
enum class Road { Tree, TreeFolderGone, Drive, Drop, TargetDoubleClick, StartFolder };

class UnlistableFolderTest : public ::testing::TestWithParam<Road> {
 protected:
  WindowHarness h;
  testing::TempDir work;
  testing::FaultyFileSystem fs{*h.realFs};

  UnlistableFolderTest() {
    work.MakeFile(u"a");
    work.MakeFile(u"b");
    work.MakeFolder(u"locked");
    work.MakeFile(u"locked/inside");
    work.MakeFolder(u"gone");
    fs.Fail(testing::FsCall::ListFolder, work.PathOf(u"locked/"), kFsPermissionDenied);
  }

  frmDovetem& Start(const std::u16string& startFolder, std::vector<std::u16string> arguments = {}) {
    h.store.Set(u"general", u"defpath", startFolder);
    return h.Start(Capacities::Large(), std::move(arguments), &fs);
  }
};

TEST_P(UnlistableFolderTest, ListingIsEmptyAndFailedWithTheTreeOnThatFolder) {
  const Road road = GetParam();
  const std::u16string folder = work.PathOf(road == Road::TreeFolderGone ? u"gone/" : u"locked/");
  frmDovetem* window = nullptr;
  if (road == Road::StartFolder) {
    window = &Start(folder);
  } else {
    if (road == Road::Drive) fs.drives = std::vector<std::u16string>{u"/", folder};
    std::vector<std::u16string> targets;
    if (road == Road::TargetDoubleClick) targets.push_back(work.PathOf(u"locked/inside"));
    window = &Start(work.path(), targets);
    ASSERT_EQ(h.boxes.Count(), 0u);
    // Entries of the listed folder are picked, ready for "∨追加".
    ASSERT_EQ(ListModel(*window, "lvwSelect").RowCount(), 4);
    Control<ListView>(*window, "lvwSelect").selectAll();
  }
  frmDovetem& w = *window;
  const int32_t targetsBefore = w.State().objects.ObjCount;
  switch (road) {
    case Road::Tree:
    case Road::TreeFolderGone: {
      if (road == Road::TreeFolderGone) std::system(("rmdir '" + work.native() + "gone'").c_str());
      QTreeWidgetItem* item = TreeChild(w, road == Road::Tree ? "locked" : "gone");
      ASSERT_NE(item, nullptr);
      DoubleClickFolder(w, item);
      break;
    }
    case Road::Drive:
      Control<QComboBox>(w, "drvSelect").setCurrentIndex(1);
      break;
    case Road::Drop: {
      std::unique_ptr<QMimeData> drop(FileDrop({work.PathOf(u"locked/inside")}));
      Drop(w, "lvwSelect", drop.get());
      break;
    }
    case Road::TargetDoubleClick:
      DoubleClickRow(w, "lvwSelect2", 0);
      break;
    case Road::StartFolder:
      break;
  }
  QApplication::processEvents();
  ASSERT_EQ(h.boxes.Texts(),
            std::vector<std::u16string>{u"指定されたフォルダのファイル一覧を表示できませんでした。"});
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(w.State().listing.ListFailed, 1);
  EXPECT_EQ(w.State().listing.ListCount, 0);
  EXPECT_EQ(w.State().listing.ListFolder, folder);
  EXPECT_EQ(ListModel(w, "lvwSelect").RowCount(), 0);
  EXPECT_EQ(TreeCurrentPath(w), Q(folder));
  EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), targetsBefore);
  // Nothing of the folder listed before can be added now.
  Control<QPushButton>(w, "cmdSelectAdd").click();
  EXPECT_EQ(w.State().objects.ObjCount, targetsBefore);
  EXPECT_EQ(h.boxes.Count(), 1u);
}

std::string RoadName(const ::testing::TestParamInfo<Road>& info) {
  static const char* const names[] = {"Tree", "TreeFolderGone", "Drive",
                                      "Drop", "TargetDoubleClick", "StartFolder"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Roads, UnlistableFolderTest,
                         ::testing::Values(Road::Tree, Road::TreeFolderGone, Road::Drive, Road::Drop,
                                           Road::TargetDoubleClick, Road::StartFolder),
                         RoadName);

TEST_F(UnlistableFolderTest, TheTreeLeadsBackToAFolderThatCanBeListed) {
  frmDovetem& w = Start(work.PathOf(u"locked/"));
  h.boxes.Clear();
  QTreeWidgetItem* parent = FolderTree(w).currentItem()->parent();
  ASSERT_NE(parent, nullptr);
  DoubleClickFolder(w, parent);
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(w.State().listing.ListFailed, 0);
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"gone", "locked", "a", "b"}));
}

TEST_F(ListsWindowTest, ATargetWhoseFolderIsGoneLeavesTreeAndListingAsTheyWere) {
  work.MakeFolder(u"d");
  work.MakeFile(u"d/x");
  work.MakeFile(u"top");
  frmDovetem& w = Start({work.PathOf(u"d/x")});
  std::system(("rm -rf '" + work.native() + "d'").c_str());
  DoubleClickRow(w, "lvwSelect2", 0);
  EXPECT_EQ(h.boxes.Texts(), std::vector<std::u16string>{u"指定されたパスをセットできませんでした。"});
  EXPECT_EQ(TreeCurrentPath(w), Q(work.path()));
  EXPECT_EQ(w.State().listing.ListFailed, 0);
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"d", "top"}));
}

// The window is kept free of input while a list is refilled; afterwards the
// control that had the keyboard focus has it again, whatever refilled which
// list. Each row puts the focus on a control and works it as a user would.
struct FocusRow {
  const char* name;
  int page;
  std::function<QWidget*(frmDovetem&)> control;
  std::function<void(frmDovetem&, testing::TempDir&)> act;
  std::function<void(frmDovetem&)> check;  // the refill happened
};

void PrintTo(const FocusRow& row, std::ostream* os) { *os << row.name; }

class FocusAfterRefillTest : public ::testing::TestWithParam<FocusRow> {
 protected:
  WindowHarness h;
  testing::TempDir work;
  testing::FaultyFileSystem fs{*h.realFs};
};

TEST_P(FocusAfterRefillTest, TheFocusedControlKeepsTheFocus) {
  const FocusRow& row = GetParam();
  work.MakeFile(u"a");
  work.MakeFile(u"b");
  work.MakeFolder(u"sub");
  work.MakeFile(u"sub/c");
  fs.drives = std::vector<std::u16string>{u"/", work.path(), work.PathOf(u"sub/")};
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"b"), work.PathOf(u"sub/c")}, &fs);
  if (row.page == 2) Control<QPushButton>(w, "cmdSelectNext").click();
  QWidget* control = row.control(w);
  control->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), control);
  row.act(w, work);
  QApplication::processEvents();
  row.check(w);
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(QApplication::focusWidget(), control);
  EXPECT_EQ(w.focusWidget(), control);
}

void PressSpace(frmDovetem&, testing::TempDir&) { ASSERT_TRUE(testing::TypeKey(Qt::Key_Space)); }

INSTANTIATE_TEST_SUITE_P(
    Refills, FocusAfterRefillTest,
    ::testing::Values(
        FocusRow{"SpaceOnAdd", 1,
                 [](frmDovetem& w) -> QWidget* { return &Control<QPushButton>(w, "cmdSelectAdd"); },
                 [](frmDovetem& w, testing::TempDir& dir) {
                   SelectRow(w, "lvwSelect", 1);  // a
                   PressSpace(w, dir);
                 },
                 [](frmDovetem& w) { EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), 3); }},
        FocusRow{
            "SpaceOnRedraw", 1,
            [](frmDovetem& w) -> QWidget* { return &Control<QPushButton>(w, "cmdSelectRefresh"); },
            PressSpace,
            [](frmDovetem& w) { EXPECT_EQ(SelectedTexts(w, "lvwSelect"), QStringList{"b"}); }},
        FocusRow{
            "SpaceOnRemoveSelected", 1,
            [](frmDovetem& w) -> QWidget* { return &Control<QPushButton>(w, "cmdSelectDelete"); },
            [](frmDovetem& w, testing::TempDir& dir) {
              SelectRow(w, "lvwSelect2", 0);
              PressSpace(w, dir);
            },
            [](frmDovetem& w) { EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), 1); }},
        FocusRow{
            "SpaceOnRemoveFolder", 1,
            [](frmDovetem& w) -> QWidget* { return &Control<QPushButton>(w, "cmdSelectDelete2"); },
            PressSpace, [](frmDovetem& w) { EXPECT_EQ(ListModel(w, "lvwSelect2").RowCount(), 1); }},
        FocusRow{"ListingColumnClick", 1,
                 [](frmDovetem& w) -> QWidget* { return &Control<ListView>(w, "lvwSelect"); },
                 [](frmDovetem& w, testing::TempDir&) { ClickColumn(w, "lvwSelect", 0); },
                 [](frmDovetem& w) {
                   EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"b", "a", "sub"}));
                 }},
        FocusRow{"TargetColumnClick", 1,
                 [](frmDovetem& w) -> QWidget* { return &Control<ListView>(w, "lvwSelect2"); },
                 [](frmDovetem& w, testing::TempDir&) { ClickColumn(w, "lvwSelect2", 0); },
                 [](frmDovetem& w) { EXPECT_EQ(Titles(w, "lvwSelect2")[0], "名前▼"); }},
        FocusRow{"TargetDoubleClick", 1,
                 [](frmDovetem& w) -> QWidget* { return &Control<ListView>(w, "lvwSelect2"); },
                 [](frmDovetem& w, testing::TempDir&) { DoubleClickRow(w, "lvwSelect2", 1); },
                 [](frmDovetem& w) { EXPECT_EQ(Column(w, "lvwSelect"), QStringList{"c"}); }},
        FocusRow{"ReturnInFolderTree", 1, [](frmDovetem& w) -> QWidget* { return &FolderTree(w); },
                 [](frmDovetem& w, testing::TempDir&) {
                   FolderTree(w).setCurrentItem(TreeChild(w, "sub"));
                   ASSERT_TRUE(testing::TypeKey(Qt::Key_Return));
                 },
                 [](frmDovetem& w) { EXPECT_EQ(Column(w, "lvwSelect"), QStringList{"c"}); }},
        FocusRow{
            "KeyInDriveList", 1,
            [](frmDovetem& w) -> QWidget* { return &Control<QComboBox>(w, "drvSelect"); },
            [](frmDovetem&, testing::TempDir&) { ASSERT_TRUE(testing::TypeKey(Qt::Key_Down)); },
            [](frmDovetem& w) { EXPECT_EQ(Column(w, "lvwSelect"), QStringList{"c"}); }},
        FocusRow{"DropOnListing", 1,
                 [](frmDovetem& w) -> QWidget* { return &Control<ListView>(w, "lvwSelect"); },
                 [](frmDovetem& w, testing::TempDir& dir) {
                   std::unique_ptr<QMimeData> data(FileDrop({dir.PathOf(u"sub/c")}));
                   QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton,
                                         Qt::NoModifier);
                   QApplication::sendEvent(Control<ListView>(w, "lvwSelect").viewport(), &enter);
                   QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton,
                                   Qt::NoModifier);
                   QApplication::sendEvent(Control<ListView>(w, "lvwSelect").viewport(), &drop);
                 },
                 [](frmDovetem& w) { EXPECT_EQ(Column(w, "lvwSelect"), QStringList{"c"}); }},
        FocusRow{"OrderColumnClick", 2,
                 [](frmDovetem& w) -> QWidget* { return &Control<ListView>(w, "lvwOrder"); },
                 [](frmDovetem& w, testing::TempDir&) { ClickColumn(w, "lvwOrder", 0); },
                 [](frmDovetem& w) { EXPECT_EQ(Titles(w, "lvwOrder")[0], "名前▼"); }}),
    [](const ::testing::TestParamInfo<FocusRow>& info) { return std::string(info.param.name); });

struct MaskRow {
  const char* name;
  int16_t given;
  bool tickModified, tickCreated, tickMix, tickHide;  // toggled before "決定"
  int16_t expected;
};

class ViewDialogTest : public ::testing::TestWithParam<MaskRow> {};

TEST_P(ViewDialogTest, DecideReturnsTheMaskOfTheBoxes) {
  const MaskRow& row = GetParam();
  frmDovetemView dialog(row.given);
  if (row.tickModified) Control<QCheckBox>(dialog, "chkAttribute", 1).toggle();
  if (row.tickCreated) Control<QCheckBox>(dialog, "chkAttribute", 2).toggle();
  if (row.tickMix) Control<QCheckBox>(dialog, "chkMix").toggle();
  if (row.tickHide) Control<QCheckBox>(dialog, "chkHideHeader").toggle();
  Control<QPushButton>(dialog, "cmdDecide").click();
  EXPECT_EQ(dialog.Mask(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, ViewDialogTest,
    ::testing::Values(MaskRow{"unchanged", 1 | 64, false, false, false, false, 1 | 64},
                      MaskRow{"unknown bits dropped", 0x7F, false, false, false, false, 1 | 2 | 32 | 64},
                      MaskRow{"dates off", 1 | 2 | 64, true, true, false, false, 64},
                      MaskRow{"hide headers", 1 | 64, false, false, false, true, 1},
                      MaskRow{"mix on", 0, false, false, true, true, 32 | 64}),
    [](const ::testing::TestParamInfo<MaskRow>& info) {
      std::string n = info.param.name;
      for (char& c : n) if (c == ' ') c = '_';
      return n;
    });

TEST(ViewDialogClose, CancelAndCloseBoxGiveMinusOne) {
  frmDovetemView cancelled(1 | 64);
  Control<QCheckBox>(cancelled, "chkAttribute", 2).toggle();
  Control<QPushButton>(cancelled, "cmdCancel").click();
  EXPECT_EQ(cancelled.Mask(), -1);
  frmDovetemView closed(1 | 64);
  closed.show();
  closed.close();
  EXPECT_EQ(closed.Mask(), -1);
}

TEST_F(ListsWindowTest, ViewCommandChangesColumnsHeadersAndNameSort) {
  work.MakeFile(u"b");
  work.MakeFolder(u"a");
  work.MakeFolder(u"c");
  frmDovetem& w = Start();
  ASSERT_EQ(Column(w, "lvwSelect"), (QStringList{"a", "c", "b"}));
  // Both dates, mixed name sort, headers hidden.
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) {
    Control<QCheckBox>(*dialog, "chkAttribute", 2).setChecked(true);
    Control<QCheckBox>(*dialog, "chkMix").setChecked(true);
    Control<QCheckBox>(*dialog, "chkHideHeader").setChecked(true);
    Control<QPushButton>(*dialog, "cmdDecide").click();
  });
  Control<QPushButton>(w, "cmdCommandView", 1).click();
  EXPECT_EQ(w.State().ViewDialogMask, 1 | 2 | 32);
  EXPECT_TRUE(w.State().settings.view.ViewCreated);
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前▲", "更新日時△", "作成日時∧"}));
  EXPECT_TRUE(Control<ListView>(w, "lvwSelect").isHeaderHidden());
  EXPECT_TRUE(Control<ListView>(w, "lvwSelect2").isHeaderHidden());
  EXPECT_EQ(Column(w, "lvwSelect"), (QStringList{"a", "b", "c"}));

  // Only the creation column: two columns, levels (1, 3, 2).
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) {
    Control<QCheckBox>(*dialog, "chkAttribute", 1).setChecked(false);
    Control<QCheckBox>(*dialog, "chkHideHeader").setChecked(false);
    Control<QPushButton>(*dialog, "cmdDecide").click();
  });
  Control<QPushButton>(w, "cmdCommandView", 1).click();
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前▲", "作成日時△"}));
  EXPECT_FALSE(Control<ListView>(w, "lvwSelect").isHeaderHidden());
  Control<ListView>(w, "lvwSelect").header()->sectionClicked(1);
  EXPECT_EQ(Titles(w, "lvwSelect"), (QStringList{"名前△", "作成日時▲"}));
}

}  // namespace
}  // namespace dovetam
