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

TargetSteps::TargetSteps(RunEnvironment& e, bool baseMode)
    : env(e), log(e.journal, JournalServices{e.fs, e.boxes, e.clock}), index(e.objects, e.fs, baseMode) {}

void TargetSteps::WriteObjectLine(int32_t i) { log.LogObjectLine(env.objects, i); }

std::u16string TargetSteps::EarlierPath(int32_t i) const {
  const ObjectTable& o = env.objects;
  return o.ObjFolder[i] + (o.ObjState[i] != kObjUnchanged ? o.ObjOrigName[i] : o.ObjName[i]);
}

void TargetSteps::ErrorEntry(int32_t i, std::u16string_view newName, std::u16string_view status) {
  log.AddReportEntry(kReportError, EarlierPath(i), newName, status);
  log.AddObjectStateEntry(env.objects, i);
  ++env.journal.ErrorCount;
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

void TargetSteps::SetName(int32_t i, const std::u16string& name) {
  const std::u16string old = std::move(env.objects.ObjName[i]);
  env.objects.ObjName[i] = name;
  index.TargetRenamed(i, old);
}

int TargetSteps::RenameOnDisk(int32_t i, const std::u16string& name) {
  ObjectTable& o = env.objects;
  if (!o.ObjIsFolder[i]) return index.Rename(o.ObjFolder[i], o.ObjName[i], name);
  // The rewrite of the folders inside may touch ObjFolder texts: work on copies.
  const std::u16string folder = o.ObjFolder[i];
  const std::u16string old = o.ObjName[i];
  if (const int err = index.Rename(folder, old, name); err != kFsOk) return err;
  index.FolderRenamed(folder, old, name);  // UpdatePathsUnderFolder
  return kFsOk;
}

bool TargetSteps::RenameAnnounced(int32_t i, const std::u16string& name) {
  if (env.journal.AbortRequested) {
    log.LogOutcomeLine(u"中断");
    SkipAborted(i);
    return false;
  }
  if (const int err = RenameOnDisk(i, name); err != kFsOk) {
    const std::u16string_view status = RenameErrorStatus(err);
    log.LogOutcomeLine(status);
    ErrorEntry(i, name, status);
    return false;
  }
  log.LogOutcomeLine(u"正常終了");
  return true;
}

}  // namespace dovetam
