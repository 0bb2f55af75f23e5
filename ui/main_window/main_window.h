// frmDovetem: the main window. Page 1 (fraDovetem) picks the targets, page 2
// (fraDovetem2) takes the rule and runs it; the buttons at the bottom exist
// once per page (index 1 and 2) and share one handler.
//
// The window owns the work state for the life of the process: the tables, the
// settings module, the rule engine and the run journal. Its member functions
// are defined by subsystem: ui/main_window/*.cpp (start-up, pages, shared
// commands), ui/rule_page/main_window_rule_page.cpp (rule boxes and preview),
// ui/selection_page/*.cpp (listing, targets, order, sorting),
// ui/rule_page/main_window_run.cpp (run, re-run, restore).
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "core/settings/services.h"
#include "core/settings/settings.h"
#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_state.h"
#include "core/rule/change_rule.h"
#include "core/run/run_journal.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace dovetam {

class frmDovetemReport;
class ListViewModel;

// Deletes the report window (ui/rule_page/main_window_run.cpp, where it is complete).
struct ReportWindowDeleter {
  void operator()(frmDovetemReport* report) const;
};

class frmDovetem : public QWidget {
  Q_OBJECT

 public:
  explicit frmDovetem(Services services, QWidget* parent = nullptr);
  ~frmDovetem() override;

  // Start-up: everything the load event does, in order; shows the window.
  void Form_Load();

  // ---------------------------------------------------------------------
  // Work state (fields of the main window and of the settings module)
  Services svc;
  SettingsModule settings;
  RuleEngine engine;  // engine.context is the RuleContext
  ListingTable listing;
  ObjectTable objects;
  SortState sort;
  RunJournal journal;
  int EventLock = 0;
  int16_t ChangeState = 0;
  int RuleBoxWidth = 5535;  // twips
  std::u16string HelpPath;
  std::u16string LogPath;
  int16_t SelectListPressed = 0;
  int16_t TargetListPressed = 0;
  int16_t OrderListPressed = 0;
  std::u16string LastRule1;
  std::u16string LastRule2;
  bool LastChkRule = false;
  int16_t ViewDialogMask = 0;
  // The report window: a window of its own without an owner, made hidden with
  // the main window and destroyed with it. It refers to the settings and the
  // services above; declared after them, it is destroyed before them.
  std::unique_ptr<frmDovetemReport, ReportWindowDeleter> report;

  // ---------------------------------------------------------------------
  // Subsystem 1: start-up, reset, pages, shared commands (ui/main_window/)
  void ResetWorkState();
  void ResetSortKeys();
  // The guard question of a finished run. Returns false when the user
  // answered No; Yes clears ChangeState and rebuilds the list of the page.
  bool GuardChangeState(int page, bool allTargets = false);
  // The guard question alone: false on No; Yes clears ChangeState. The caller
  // rebuilds what it changes.
  bool AskGuardQuestion(bool allTargets = false);
  // Asks the exit questions, saves, deletes the files; false = stay.
  bool Form_QueryUnload();
  void ShowPage(int page);
  int CurrentPage() const;
  void SetDefaultCancel(QPushButton* defaultButton, QPushButton* cancelButton);
  void ShowHourglass();
  void ShowNormalPointer();
  void YieldWithFormDisabled();
  void OpenHelp(int context);  // 0 = default topic
  // The help context of a control: 12 cmdRuleHelp, 60 cmdRuleExample, else 0.
  int HelpContextOf(const QWidget* focused) const;
  // Shows the settings dialog modally; it sets settings.SettingsApplied on 決定.
  void ShowSettingsDialog();
  bool exitAccepted() const { return exitAccepted_; }

  void cmdCommandClear_Click(int index);
  void cmdCommandExit_Click(int index);
  void cmdCommandHelp_Click(int index);
  void cmdCommandSetting_Click(int index);
  void cmdCommandView_Click(int index);
  void cmdRuleBack_Click();
  void cmdRuleHelp_Click();
  void cmdRuleExample_Click();

  QFrame* fraDovetem = nullptr;
  QFrame* fraDovetem2 = nullptr;
  std::array<QPushButton*, 3> cmdCommandSetting{};  // index 1 and 2
  std::array<QPushButton*, 3> cmdCommandHelp{};
  std::array<QPushButton*, 3> cmdCommandClear{};
  std::array<QPushButton*, 3> cmdCommandExit{};
  std::array<QPushButton*, 3> cmdCommandView{};
  QPushButton* cmdRuleBack = nullptr;
  QPushButton* cmdRuleHelp = nullptr;
  QPushButton* cmdRuleExample = nullptr;

  // ---------------------------------------------------------------------
  // Subsystem 2: rule page and preview (ui/rule_page/main_window_rule_page.cpp)
  void CreateRulePage();
  void ArrangeRuleBoxes();
  void ShowRulePreview();
  void UpdateRulePreview();
  void chkRule_Click();
  void txtRule1_Change();
  void txtRule2_Change();
  // Rule boxes and scope as the engine wants them.
  ChangeRule CurrentRule() const;

  QLineEdit* txtRule1 = nullptr;
  QLineEdit* txtRule2 = nullptr;
  QCheckBox* chkRule = nullptr;
  QLabel* lblRule = nullptr;
  QLabel* lblRule2 = nullptr;
  QLabel* lblRule3 = nullptr;
  QLabel* lblRule4 = nullptr;
  QLabel* lblRule5 = nullptr;
  QLabel* lblRuleName1 = nullptr;
  QLabel* lblRuleName2 = nullptr;

  // ---------------------------------------------------------------------
  // Subsystem 3: listing, targets, order (ui/selection_page/*.cpp)
  void CreateSelectionPage();  // page 1 lists and buttons
  void CreateOrderList();      // lvwOrder and lblOrderCount on page 2
  void SetSelectHeaders();
  void LoadFolderListing();
  void FillSelectList();
  void SortSelectIndex(int32_t first, int32_t last);
  void SetTargetHeaders();
  void RefreshTargetList();
  void FillTargetList();
  void SetOrderHeaders();
  void RefreshOrderList();
  void FillOrderList();
  void AddObjectsFromCommandLine(const std::u16string& commandLine);
  void AddObjectsFromArguments(const std::vector<std::u16string>& paths);
  void cmdSelectNext_Click();
  // Selects the start drive and folder of defpath (ResetWorkState step 5).
  void SelectStartFolder(const std::u16string& path);
  // The order list's first selected display position, 0 when none.
  int32_t FirstSelectedOrderPosition() const;
  int32_t OrderItemCount() const;
  void ClearSelectItems();
  void ClearTargetItems();
  void ClearOrderItems();
  // Shows the view dialog with ViewDialogMask; it leaves the new mask or -1.
  void ShowViewDialog();
  void SortObjectIndex(int32_t first, int32_t last);
  void ShowSelectCount();
  void ShowOrderCount();
  void drvSelect_Change();
  void dirSelect_Change();
  void lvwSelect_OLEDragDrop(const QMimeData* data);
  void lvwSelect2_OLEDragDrop(const QMimeData* data);
  void lvwSelect2_DblClick();
  void lvwSelect_ColumnClick(int column);
  void lvwSelect2_ColumnClick(int column);
  void lvwOrder_ColumnClick(int column);
  void cmdSelectAdd_Click();
  void cmdSelectRefresh_Click();
  void cmdSelectDelete_Click();
  void cmdSelectDelete2_Click();
  void cmdSelectClear_Click();
  void cmdSelectUndo_Click();
  // The folder tree's path (a folder ending in "/"); writing it rebuilds the
  // tree and raises dirSelect_Change. False (nothing changed) when there is
  // no such folder; a folder that cannot be listed is still shown.
  const std::u16string& FolderTreePath() const { return dirSelectPath; }
  bool SetFolderTreePath(const std::u16string& path);
  // Moves the tree to a folder named as the system names it, with the
  // subfolders that can be read, and raises dirSelect_Change.
  void ShowFolderInTree(const std::u16string& folder);
  // The drive list's drive; writing it raises drvSelect_Change. False when
  // the drive is not in the list.
  std::u16string DriveListDrive() const;
  bool SetDriveListDrive(const std::u16string& drive);
  // Adds paths as targets (command line or arguments) and reports once.
  void AddObjectsFromPaths(const std::vector<std::u16string>& paths);
  void SetListHeaders(QTreeView* view, ListViewModel* model, const std::array<int16_t, 4>& keys,
                      const std::array<int16_t, 4>& dirs, bool parenthesize);
  void FillTargetView(QTreeView* view, ListViewModel* model);
  // Display positions (1-based, ascending) of the selected rows of a view.
  std::vector<int32_t> SelectedPositions(const QTreeView* view) const;

  std::u16string dirSelectPath;

  QComboBox* drvSelect = nullptr;
  QTreeWidget* dirSelect = nullptr;
  QTreeView* lvwSelect = nullptr;
  QTreeView* lvwSelect2 = nullptr;
  QTreeView* lvwOrder = nullptr;
  ListViewModel* selectModel = nullptr;
  ListViewModel* targetModel = nullptr;
  ListViewModel* orderModel = nullptr;
  QPushButton* cmdSelectAdd = nullptr;
  QPushButton* cmdSelectRefresh = nullptr;
  QPushButton* cmdSelectDelete = nullptr;
  QPushButton* cmdSelectDelete2 = nullptr;
  QPushButton* cmdSelectClear = nullptr;
  QPushButton* cmdSelectNext = nullptr;
  QPushButton* cmdSelectUndo = nullptr;
  QLabel* lblSelectCount = nullptr;
  QLabel* lblOrderCount = nullptr;

  // ---------------------------------------------------------------------
  // Subsystem 4: run, re-run, restore, report (ui/rule_page/main_window_run.cpp)
  void CreateRunButtons();
  void CreateReportWindow();
  void SetReportText(const std::u16string& text);
  void cmdRuleExecute_Click(int index);
  void cmdRuleUndo_Click();
  void cmdRuleReport_Click();

  std::array<QPushButton*, 3> cmdRuleExecute{};  // 1 名前変更, 2 名前再変更
  QPushButton* cmdRuleUndo = nullptr;
  QPushButton* cmdRuleReport = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateCommandButtons();
  QPushButton* defaultButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool exitAccepted_ = false;
  int hourglassDepth_ = 0;
};

}  // namespace dovetam
