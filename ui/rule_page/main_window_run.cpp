// The run buttons of the rule page and their handlers: "名前変更" and
// "名前再変更" (cmdRuleExecute 1 and 2), "元に戻す" and "レポート表示", and the
// report window's creation and text. The operations themselves are the
// core's (rename_run.h, restore_run.h); this file hands them the window's
// tables, settings and services and does the steps that touch controls.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/main_window/main_window.h"
#include "ui/widgets/twips.h"
#include "core/run/rename_run.h"
#include "ui/report/report_window.h"
#include "core/run/restore_run.h"

namespace dovetam {

namespace {

QPushButton* MakeButton(QWidget* page, const char16_t* caption, const char16_t* tip, int left,
                        int top, int width, int height) {
  auto* b = new QPushButton(QString::fromUtf16(caption), page);
  if (tip) b->setToolTip(QString::fromUtf16(tip));
  PlaceTwips(b, left, top, width, height);
  return b;
}

// The window's part of a run, re-run or restore.
class WindowRunHost : public RunHost {
 public:
  explicit WindowRunHost(frmDovetem& w) : w_(w) {}
  void ShowHourglass() override { w_.ShowHourglass(); }
  void ShowNormalPointer() override { w_.ShowNormalPointer(); }
  void ShowReportText(std::u16string text) override { w_.report->SetReportText(std::move(text)); }
  void RememberRule() override {
    w_.LastRule1 = w_.txtRule1->text().toStdU16String();
    w_.LastRule2 = w_.txtRule2->text().toStdU16String();
    w_.LastChkRule = w_.chkRule->isChecked();
  }
  void RebuildOrderList() override {
    w_.SetOrderHeaders();
    w_.ClearOrderItems();
    w_.RefreshOrderList();  // ends with the default pointer
    w_.ShowNormalPointer();
  }

 private:
  frmDovetem& w_;
};

}  // namespace

void frmDovetem::CreateRunButtons() {
  // Below the order list, in the order of the work: run, re-run, restore,
  // then the report.
  cmdRuleExecute[1] = MakeButton(fraDovetem2, u"名前変更", nullptr, 240, 6480, 1335, 495);
  cmdRuleExecute[2] = MakeButton(fraDovetem2, u"名前再変更", nullptr, 1695, 6480, 1335, 495);
  cmdRuleUndo = MakeButton(fraDovetem2, u"元に戻す",
                           u"元の名前に戻っていない全てのオブジェクトを復元します。", 3150, 6480,
                           1215, 495);
  cmdRuleReport =
      MakeButton(fraDovetem2, u"レポート表示", u"処理の結果を詳細表示します。", 4485, 6480, 1455, 495);
  connect(cmdRuleExecute[1], &QPushButton::clicked, this, [this] { cmdRuleExecute_Click(1); });
  connect(cmdRuleExecute[2], &QPushButton::clicked, this, [this] { cmdRuleExecute_Click(2); });
  connect(cmdRuleUndo, &QPushButton::clicked, this, &frmDovetem::cmdRuleUndo_Click);
  connect(cmdRuleReport, &QPushButton::clicked, this, &frmDovetem::cmdRuleReport_Click);
}

void ReportWindowDeleter::operator()(frmDovetemReport* report) const { delete report; }

void frmDovetem::CreateReportWindow() {
  // A window of its own (no owner), loaded hidden.
  report.reset(new frmDovetemReport(settings, svc.launcher, svc.boxes));
}

void frmDovetem::SetReportText(const std::u16string& text) { report->SetReportText(text); }

void frmDovetem::cmdRuleExecute_Click(int index) {
  WindowRunHost host(*this);
  engine.rule = CurrentRule();
  journal.LogPath = LogPath;
  RunEnvironment env{objects,
                     settings.settings,
                     svc.fs,
                     svc.renameThread,
                     svc.boxes,
                     svc.clock,
                     journal,
                     settings.ReportPath,
                     settings.ReportSaved,
                     ChangeState,
                     listing.ListStale,
                     engine.context,
                     [this](const std::u16string& name) { return engine.GenerateNewName(name); },
                     host};
  ExecuteRenameRun(env, index);
}

void frmDovetem::cmdRuleUndo_Click() {
  WindowRunHost host(*this);
  journal.LogPath = LogPath;
  RunEnvironment env{objects,      settings.settings,  svc.fs,      svc.renameThread, svc.boxes,
                     svc.clock,    journal,            settings.ReportPath,
                     settings.ReportSaved,              ChangeState, listing.ListStale,
                     engine.context, nullptr,          host};
  RestoreNames(env);
}

void frmDovetem::cmdRuleReport_Click() {
  report->show();
  report->raise();
  report->activateWindow();
}

}  // namespace dovetam
