// Targets from full paths: files and folders dropped onto the target list,
// and the paths of the command line. Each path that names an existing object
// and is not yet a target (exact names, however the folder is spelled:
// path_adder.h) is added; what was not added, and dates that could not be
// read, are reported in one message.
#include "core/objects/path_adder.h"
#include "core/work/work_state.h"
#include "ui/selection_page/selection_page.h"
#include "ui/widgets/drop_paths.h"
#include "ui/widgets/memory_guard.h"

namespace dovetam {

void fraDovetem::lvwSelect2_OLEDragDrop(const QMimeData* data) {
  const bool guarded = state_.ChangeState != 0;
  if (!GuardTargetChange()) return;
  std::vector<std::u16string> paths;
  if (!DroppedPaths(data, paths)) {
    if (guarded) RefreshTargetList();
    state_.svc.boxes.Show(u"指定されたオブジェクトが正しくありません。", MsgIcon::Critical);
    return;
  }
  MemoryGuarded(state_.svc.boxes, pointer_, [this, &paths] {
    const ViewSettings& view = state_.settings.view;
    PathAdder adder(state_.svc.fs, state_.objects, view.ViewModified, view.ViewCreated,
                    state_.svc.caps);
    const std::size_t n = paths.size();
    for (std::size_t i = 0; i < n; ++i) {
      if (adder.Add(paths[i]) == PathAdd::OutOfMemory) {
        adder.tally.notAdded += static_cast<int32_t>(n - i - 1);
        break;
      }
    }
    RefreshTargetList();
    const std::u16string message = DropSummaryMessage(adder.tally);
    if (!message.empty()) state_.svc.boxes.Show(message, MsgIcon::Critical);
  });
}

void fraDovetem::AddObjectsFromArguments(const std::vector<std::u16string>& paths) {
  MemoryGuarded(state_.svc.boxes, pointer_, [this, &paths] {
    const ViewSettings& view = state_.settings.view;
    PathAdder adder(state_.svc.fs, state_.objects, view.ViewModified, view.ViewCreated,
                    state_.svc.caps);
    for (const std::u16string& path : paths) {
      if (adder.Add(path) == PathAdd::OutOfMemory) break;
    }
    RefreshTargetList();
    FillSelectList();
    const std::u16string message = CommandLineSummaryMessage(adder.tally);
    if (!message.empty()) state_.svc.boxes.Show(message, MsgIcon::Critical);
  });
}

}  // namespace dovetam
