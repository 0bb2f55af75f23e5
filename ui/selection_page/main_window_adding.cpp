// Targets from full paths: files and folders dropped onto the target list,
// and the paths of the command line. Each path that names an existing object
// and is not yet a target (exact comparison) is added; what was not added,
// and dates that could not be read, are reported in one message.
#include <QMimeData>

#include "ui/main_window/main_window.h"
#include "core/objects/command_line.h"
#include "ui/widgets/drop_paths.h"
#include "core/objects/path_adder.h"

namespace dovetam {

void frmDovetem::lvwSelect2_OLEDragDrop(const QMimeData* data) {
  bool guarded = false;
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    guarded = true;
    SetTargetHeaders();
    ClearTargetItems();
  }
  std::vector<std::u16string> paths;
  if (!DroppedPaths(data, paths)) {
    if (guarded) RefreshTargetList();
    svc.boxes.Show(u"指定されたオブジェクトが正しくありません。", MsgIcon::Critical);
    return;
  }
  PathAdder adder(svc.fs, objects, settings.view.ViewModified, settings.view.ViewCreated,
                  svc.caps);
  const std::size_t n = paths.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (adder.Add(paths[i]) == PathAdd::OutOfMemory) {
      adder.tally.notAdded += static_cast<int32_t>(n - i - 1);
      break;
    }
  }
  RefreshTargetList();
  const std::u16string message = DropSummaryMessage(adder.tally);
  if (!message.empty()) svc.boxes.Show(message, MsgIcon::Critical);
}

void frmDovetem::AddObjectsFromCommandLine(const std::u16string& commandLine) {
  AddObjectsFromPaths(SplitCommandLine(commandLine));
}

void frmDovetem::AddObjectsFromArguments(const std::vector<std::u16string>& paths) {
  AddObjectsFromPaths(paths);
}

void frmDovetem::AddObjectsFromPaths(const std::vector<std::u16string>& paths) {
  PathAdder adder(svc.fs, objects, settings.view.ViewModified, settings.view.ViewCreated,
                  svc.caps);
  for (const std::u16string& path : paths) {
    if (adder.Add(path) == PathAdd::OutOfMemory) break;
  }
  RefreshTargetList();
  FillSelectList();
  const std::u16string message = CommandLineSummaryMessage(adder.tally);
  if (!message.empty()) svc.boxes.Show(message, MsgIcon::Critical);
}

}  // namespace dovetam
