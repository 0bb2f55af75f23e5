// Placeholder: the lists come with their own change.
#include "app/main_window.h"

namespace dovetam {

void frmDovetem::CreateSelectionPage() {}
void frmDovetem::CreateOrderList() {}
void frmDovetem::SetSelectHeaders() {}
void frmDovetem::LoadFolderListing() {}
void frmDovetem::FillSelectList() {}
void frmDovetem::SortSelectIndex(int32_t, int32_t) {}
void frmDovetem::SetTargetHeaders() {}
void frmDovetem::RefreshTargetList() {}
void frmDovetem::FillTargetList() {}
void frmDovetem::SetOrderHeaders() {}
void frmDovetem::RefreshOrderList() { UpdateRulePreview(); }
void frmDovetem::FillOrderList() {}
void frmDovetem::AddObjectsFromCommandLine(const std::u16string&) {}
void frmDovetem::AddObjectsFromArguments(const std::vector<std::u16string>&) {}
void frmDovetem::cmdSelectNext_Click() {}
void frmDovetem::SelectStartFolder(const std::u16string&) {}
int32_t frmDovetem::FirstSelectedOrderPosition() const { return 0; }
int32_t frmDovetem::OrderItemCount() const { return 0; }
void frmDovetem::ClearSelectItems() {}
void frmDovetem::ClearTargetItems() {}
void frmDovetem::ClearOrderItems() {}
void frmDovetem::ShowViewDialog() { ViewDialogMask = -1; }

}  // namespace dovetam
