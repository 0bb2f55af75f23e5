// The steps of one target: see target_steps.h.
#include "core/run/target_steps.h"

namespace dovetam {

std::u16string_view RenameErrorStatus(int err) {
  switch (err) {
    case kFsNotFound: return u"エラー(オブジェクトが存在しません。)";
    case kFsAlreadyExists: return u"エラー(同名のオブジェクトが既に存在します。)";
    case kFsTooManyFiles: return u"エラー(開いているファイルが多すぎます。)";
    default: return u"エラー";
  }
}

std::u16string LookupErrorStatus(std::u16string_view nameWord, int err) {
  std::u16string word = u"システムエラー(";
  if (err == kFsTooManyFiles) word += u"開いているファイルが多すぎるため、";
  word += nameWord;
  word += u"を取得できませんでした。)";
  return word;
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

TargetSteps::TargetSteps(RunEnvironment& e, JournalKind kind, bool baseMode)
    : env(e),
      log(e.journal, JournalServices{e.fs, e.boxes, e.clock, e.caps.textLimit}),
      folders(e.fs),
      index(e.objects, e.fs, folders, baseMode, e.caps.allocationLimit),
      kind_(kind) {}

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
  const int err = index.InChosenFolder(i);
  if (err == kFsOk) return true;
  SystemError(i, RenameErrorStatus(err));
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

void TargetSteps::DoneEntry(const TargetChange& change, bool tentative) {
  const std::u16string& folder = env.objects.ObjFolder[change.target];
  RunJournal& j = env.journal;
  if (kind_ != JournalKind::Restore) {
    log.AddReportEntry(kReportDone, folder, change.origName, change.name,
                       tentative ? u"仮変更" : u"正常変更");
  } else if (change.state == kObjUnchanged) {
    log.AddReportEntry(kReportDone, folder, change.name, u"", u"正常復元");
    tentative = false;
  } else {
    log.AddReportEntry(kReportDone, folder, change.origName, change.name, u"仮復元");
    tentative = true;
  }
  ++j.DoneCount;
  if (tentative) ++j.TentativeCount;
}

void TargetSteps::Record(const TargetChange& change, bool final, bool tentative) {
  const JournalMark mark = log.Mark();
  try {
    log.AppendOutcomeLine(u"正常終了");
    if (final) DoneEntry(change, tentative);
  } catch (...) {
    log.BackTo(mark);  // whole or not at all
    throw;
  }
}

int TargetSteps::RenameOnDisk(TargetChange& change, bool final, bool tentative) {
  ObjectTable& o = env.objects;
  const int32_t i = change.target;
  const bool isFolder = o.ObjIsFolder[i];
  // The rewrite of the folders inside may touch ObjFolder texts: work on copies.
  const std::u16string folder = isFolder ? o.ObjFolder[i] : std::u16string();
  const std::u16string old = isFolder ? o.ObjName[i] : std::u16string();
  const JournalMark before = log.Mark();
  Record(change, final, tentative);
  int err;
  try {
    err = index.CallRename(o.ObjFolder[i], o.ObjName[i], change.name, plan_);
  } catch (...) {
    log.BackTo(before);  // memory ran out before the rename: still due
    throw;
  }
  env.journal.RenameDue = 0;  // made or failed: no longer due
  if (err != kFsOk) {
    log.BackTo(before);
    index.RenameDone(plan_, err);
    return err;
  }
  Put(change);  // first: nothing may come between the rename and the table
  index.RenameDone(plan_, err);
  if (!isFolder) {
    index.TargetRenamed(i, change.name);
    return kFsOk;
  }
  index.FolderRenamed(folder, old, o.ObjName[i]);  // UpdatePathsUnderFolder
  index.TargetRenamed(i, old);
  return kFsOk;
}

bool TargetSteps::RenameAnnounced(TargetChange& change, bool tentative) {
  const int32_t i = change.target;
  if (env.journal.AbortRequested) {
    log.LogOutcomeLine(u"中断");
    SkipAborted(i);
    return false;
  }
  if (const int err = RenameOnDisk(change, /*final=*/true, tentative); err != kFsOk) {
    const std::u16string_view status = RenameErrorStatus(err);
    log.LogOutcomeLine(status);
    ErrorEntry(i, change.name, status);
    return false;
  }
  return true;
}

}  // namespace dovetam
