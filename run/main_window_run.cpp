// Placeholder: the run comes with its own change.
#include "app/main_window.h"

namespace dovetam {

void frmDovetem::CreateRunButtons() {}
void frmDovetem::CreateReportWindow() {}
void frmDovetem::SetReportText(const std::u16string&) {}
void frmDovetem::cmdRuleExecute_Click(int) {}
void frmDovetem::cmdRuleUndo_Click() {}
void frmDovetem::cmdRuleReport_Click() {}

}  // namespace dovetam
