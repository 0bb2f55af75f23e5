// frmDovetem: the main window, a frame around its two pages: page 1
// (fraDovetem, ui/selection_page/) picks the targets, page 2 (fraDovetem2,
// ui/rule_page/) takes the rule and runs it. The window makes the work state
// the pages share (work_state.h) and the report window, starts the program
// up, resets the work state, switches the pages with their Default and
// Cancel buttons, and exits.
//
// The buttons at the bottom of each page ("設定", "ヘルプ", "クリア", "終了",
// "表示設定") are the window's own: control arrays with index 1 on page 1 and
// index 2 on page 2, each with one handler that is told the page
// (main_window_commands.cpp). A finished run makes the settings and the view
// command ask the guard question first; Yes rebuilds the list of the page.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "core/settings/services.h"
#include "core/work/work_state.h"
#include "ui/widgets/form_pointer.h"
#include "ui/widgets/page_stack.h"

class QPushButton;

namespace dovetam {

class fraDovetem;
class fraDovetem2;
class frmDovetemReport;

// Deletes the report window (main_window.cpp, where it is complete).
struct ReportWindowDeleter {
  void operator()(frmDovetemReport* report) const;
};

class frmDovetem : public QWidget, private PageStack {
  Q_OBJECT

 public:
  explicit frmDovetem(Services services, QWidget* parent = nullptr);
  ~frmDovetem() override;

  // Start-up, as the load event does it: paths, settings, the full reset,
  // both lists of page 1, the command-line targets; then the window is shown
  // on page 1 with the focus on the drive list.
  void Form_Load();

  // The tables, the settings and the shared values of the pages.
  WorkState& State() { return state_; }
  // Page 1 or 2 becomes the shown one, with its Default and Cancel buttons
  // ("決定＞" and "終了", or "名前変更" and "＜戻る"); the other is hidden.
  void ShowPage(int page);
  int CurrentPage() const;
  // The exit questions were answered so that the program ends.
  bool exitAccepted() const { return exitAccepted_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Return presses the page's Default button, Esc its Cancel button.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The shared buttons' handlers, told the page (1 or 2) of the pressed one.
  void cmdCommandClear_Click(int index);
  void cmdCommandExit_Click(int index);
  void cmdCommandHelp_Click(int index);
  void cmdCommandSetting_Click(int index);
  void cmdCommandView_Click(int index);

  void OpenRulePage() override;
  void BackToSelectionPage() override;

  // The full reset: every table at its initial capacity, the sort levels,
  // ChangeState 0, the start folder of defpath, both rule boxes, no report.
  void ResetWorkState();
  // What start-up and clear-all share: the full reset, then both lists of
  // page 1 anew (the listing read from the start folder), the press flags
  // cleared, and page 1 shown with its Default and Cancel buttons.
  void ResetToSelectionPage();
  // The shared buttons of both pages at their design places, and the order
  // of Tab among them (the pages put them into theirs).
  void CreateCommandButtons();
  std::vector<QWidget*> CommandButtons(int index) const;
  // The guard question of a shared command on page `index`: false on No;
  // Yes rebuilds the target list (page 1) or the order list (page 2).
  bool GuardChangeState(int index);
  // Asks the exit questions, saves, deletes the files; false = stay.
  bool Form_QueryUnload();
  void SetDefaultCancel(QPushButton* defaultButton, QPushButton* cancelButton);
  // Shows the settings dialog modally; it sets SettingsApplied on "決定".
  void ShowSettingsDialog();
  // Shows the view dialog with ViewDialogMask; it leaves the new mask or -1.
  void ShowViewDialog();

  WorkState state_;
  FormPointer pointer_;
  // A window of its own without an owner, made hidden with the main window
  // and destroyed before the pages and the work state it refers to.
  std::unique_ptr<frmDovetemReport, ReportWindowDeleter> report_;
  fraDovetem* selectionPage_ = nullptr;
  fraDovetem2* rulePage_ = nullptr;

  std::array<QPushButton*, 3> cmdCommandSetting{};  // index 1 and 2
  std::array<QPushButton*, 3> cmdCommandHelp{};
  std::array<QPushButton*, 3> cmdCommandClear{};
  std::array<QPushButton*, 3> cmdCommandExit{};
  std::array<QPushButton*, 3> cmdCommandView{};

  QPushButton* defaultButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool exitAccepted_ = false;
};

}  // namespace dovetam
