// The steps of one target: see target_steps.h.
#include "core/run/target_steps.h"

namespace dovetam {

std::u16string_view RenameErrorStatus(int err) {
  switch (err) {
    case kFsNotFound: return u"エラー(オブジェクトが存在しません。)";
    case kFsAlreadyExists: return u"エラー(同名のオブジェクトが既に存在します。)";
    default: return u"エラー";
  }
}

TargetChange ChangeOf(const ObjectTable& objects, int32_t i, const std::u16string& name,
                      uint8_t state) {
  TargetChange change{i, name, {}, state};
  if (state != kObjUnchanged) {
    change.origName =
        objects.ObjState[i] == kObjUnchanged ? objects.ObjName[i] : objects.ObjOrigName[i];
  }
  return change;
}

TargetSteps::TargetSteps(RunEnvironment& e, bool baseMode)
    : env(e),
      log(e.journal, JournalServices{e.fs, e.boxes, e.clock, e.caps.textLimit}),
      index(e.objects, e.fs, baseMode, e.caps.allocationLimit) {}

void TargetSteps::WriteObjectLine(int32_t i) { log.LogObjectLine(env.objects, i); }

void TargetSteps::ErrorEntry(int32_t i, std::u16string_view newName, std::u16string_view status) {
  log.AddErrorEntries(env.objects, i, newName, status);
}

void TargetSteps::SkipAborted(int32_t i) {
  log.LogSkipLine(u"スキップ(中断)");
  ErrorEntry(i, u"", u"中断");
}

void TargetSteps::SystemError(int32_t i, std::u16string_view word) {
  log.LogSkipLine(word);
  ErrorEntry(i, u"", word);
}

bool TargetSteps::InChosenFolder(int32_t i) {
  if (index.InChosenFolder(i)) return true;
  SystemError(i, u"エラー");
  return false;
}

void TargetSteps::Put(TargetChange& change) noexcept {
  ObjectTable& o = env.objects;
  const auto i = static_cast<std::size_t>(change.target);
  o.ObjName[i].swap(change.name);
  o.ObjOrigName[i].swap(change.origName);
  o.ObjState[i] = change.state;
}

void TargetSteps::Keep(TargetChange& change) {
  Put(change);
  index.TargetRenamed(change.target, change.name);
}

int TargetSteps::RenameOnDisk(TargetChange& change) {
  ObjectTable& o = env.objects;
  const int32_t i = change.target;
  if (!o.ObjIsFolder[i]) {
    const int err = index.CallRename(o.ObjFolder[i], o.ObjName[i], change.name, plan_);
    env.journal.RenameDue = 0;      // made or failed: no longer due
    if (err == kFsOk) Put(change);  // first: nothing may come between the rename and the table
    index.RenameDone(plan_, err);
    if (err == kFsOk) index.TargetRenamed(i, change.name);
    return err;
  }
  // The rewrite of the folders inside may touch ObjFolder texts: work on copies.
  const std::u16string folder = o.ObjFolder[i];
  const std::u16string old = o.ObjName[i];
  const int err = index.CallRename(folder, old, change.name, plan_);
  env.journal.RenameDue = 0;
  if (err == kFsOk) Put(change);
  index.RenameDone(plan_, err);
  if (err != kFsOk) return err;
  index.FolderRenamed(folder, old, o.ObjName[i]);  // UpdatePathsUnderFolder
  index.TargetRenamed(i, old);
  return kFsOk;
}

bool TargetSteps::RenameAnnounced(TargetChange& change) {
  const int32_t i = change.target;
  if (env.journal.AbortRequested) {
    log.LogOutcomeLine(u"中断");
    SkipAborted(i);
    return false;
  }
  if (const int err = RenameOnDisk(change); err != kFsOk) {
    const std::u16string_view status = RenameErrorStatus(err);
    log.LogOutcomeLine(status);
    ErrorEntry(i, change.name, status);
    return false;
  }
  log.LogOutcomeLine(u"正常終了");
  return true;
}

}  // namespace dovetam
