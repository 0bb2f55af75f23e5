// The run buttons of page 2 and their handlers: "名前変更" and "名前再変更"
// (cmdRuleExecute 1 and 2), "元に戻す" and "レポート表示". The operations
// themselves are the core's (rename_run.h, restore_run.h); this file hands
// them the work state and does the steps that touch the window.
#include "core/run/rename_run.h"
#include "core/run/restore_run.h"
#include "core/work/work_state.h"
#include "ui/widgets/form_pointer.h"
#include "ui/widgets/memory_guard.h"
#include "ui/report/report_window.h"
#include "ui/rule_page/rule_page.h"

namespace dovetam {

// The window's part of a run, re-run or restore.
class fraDovetem2::WindowRunHost : public RunHost {
 public:
  WindowRunHost(WorkState& state, FormPointer& pointer, frmDovetemReport& report, fraDovetem2& page)
      : state_(state), pointer_(pointer), report_(report), page_(page) {}
  void ShowHourglass() override { pointer_.ShowHourglass(); }
  void ShowNormalPointer() override { pointer_.ShowNormalPointer(); }
  void ShowReportText(std::u16string text) override { report_.SetReportText(std::move(text)); }
  void RememberRule() override {
    ChangeRule rule = page_.CurrentRule();
    state_.LastRule1 = std::move(rule.rule1);
    state_.LastRule2 = std::move(rule.rule2);
    state_.LastChkRule = rule.oneRule;
  }
  void RebuildOrderList() override {
    page_.RebuildOrderList();  // ends with the default pointer
    pointer_.ShowNormalPointer();
  }

 private:
  WorkState& state_;
  FormPointer& pointer_;
  frmDovetemReport& report_;
  fraDovetem2& page_;
};

namespace {

// What a run, re-run or restore works on; `generate` is the rule engine for
// a run, nothing for a restore.
RunEnvironment Environment(WorkState& s, RunHost& host, NameGenerator generate) {
  s.journal.LogPath = s.LogPath;
  return RunEnvironment{s.objects,
                        s.settings.settings,
                        s.svc.fs,
                        s.svc.renameThread,
                        s.svc.boxes,
                        s.svc.clock,
                        s.journal,
                        s.settings.ReportPath,
                        s.settings.ReportSaved,
                        s.ChangeState,
                        s.listing.ListStale,
                        s.engine.context,
                        std::move(generate),
                        host,
                        s.svc.caps};
}

}  // namespace

void fraDovetem2::cmdRuleExecute_Click(int index) {
  MemoryGuarded(state_.svc.boxes, pointer_, [this, index] {
    WindowRunHost host(state_, pointer_, report_, *this);
    state_.engine.rule = CurrentRule();
    RunEnvironment env = Environment(state_, host, [this](const std::u16string& name) {
      return state_.engine.GenerateNewName(name, RuleEngine::MemoryShortStops::Operation);
    });
    ExecuteRenameRun(env, index);
  });
}

void fraDovetem2::cmdRuleUndo_Click() {
  MemoryGuarded(state_.svc.boxes, pointer_, [this] {
    WindowRunHost host(state_, pointer_, report_, *this);
    RunEnvironment env = Environment(state_, host, nullptr);
    RestoreNames(env);
  });
}

void fraDovetem2::cmdRuleReport_Click() {
  report_.show();
  report_.raise();
  report_.activateWindow();
}

}  // namespace dovetam
