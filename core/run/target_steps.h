// The steps of one target that every road of a rename run, re-run or restore
// takes, with what they work on: the operation's log writer, its open
// folders and the indexes of its targets. The object line, the error entries
// (an error entry, a state entry and the error count), the skip and
// system-error lines, a rename made on this thread after the line that
// announces it, its record, and a new name kept in step with the indexes.
// The texts are those of run_journal.h.
//
// A target's change (its new name, its name before the run and its state)
// is made before its rename and put into the table right after it, by
// swaps, which cannot fail: so memory running out after a rename never finds
// the table behind the disk, and the restore finds every object where it is.
// The record of a rename (Record: its outcome line "正常終了" and, for a
// target's final name, its done entry and the counts) is written before the
// rename is made, and taken back (JournalWriter::BackTo, which needs no
// memory) when the rename fails: so memory running out after a rename never
// finds it uncounted, unlisted or without its outcome line. One that runs
// out before the rename leaves the rename undone (announced: "中断").
//
// Cost: a step is O(log n) in the indexes plus the length of its texts; a
// rename is one system call (a renamed folder also moves the stored folders
// of the targets inside it, see name_index.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/run/name_index.h"
#include "core/run/open_folders.h"
#include "core/run/run_environment.h"
#include "core/run/run_journal.h"

namespace dovetam {

// What target `target` becomes: ObjName, ObjOrigName and ObjState.
struct TargetChange {
  int32_t target = 0;
  std::u16string name;
  std::u16string origName;
  uint8_t state = kObjUnchanged;
};

// Target i of `objects` taking `name` with `state`: ObjOrigName is emptied
// for state 0 and otherwise kept, or becomes the present name while the
// target is unchanged.
TargetChange ChangeOf(const ObjectTable& objects, int32_t i, const std::u16string& name,
                      uint8_t state);

class TargetSteps {
 public:
  TargetSteps(RunEnvironment& env, JournalKind kind, bool baseMode);

  RunEnvironment& env;
  JournalWriter log;
  OpenFolders folders;  // before the index, which works in them
  NameIndex index;

  // Object line of target i by its state.
  void WriteObjectLine(int32_t i);
  // Error entry, state entry, error count + 1.
  void ErrorEntry(int32_t i, std::u16string_view newName, std::u16string_view status);
  // Skip line "スキップ(中断)" and the error entry "中断".
  void SkipAborted(int32_t i);
  // Skip line with a system-error word and its error entry.
  void SystemError(int32_t i, std::u16string_view word);
  // Whether target i's folder is still the folder it was chosen in
  // (name_index.h). When it is not (or it cannot be opened for want of
  // descriptors), nothing is done there: the skip line "エラー" (naming the
  // want of descriptors) and its error entry are written, and false
  // returned.
  bool InChosenFolder(int32_t i);
  // Puts the change into the table (swaps: it cannot fail); change.name
  // holds the old name afterwards.
  void Put(TargetChange& change) noexcept;
  // Put, then the indexes kept in step.
  void Keep(TargetChange& change);
  // What the record says of a rename made: the outcome line "正常終了" and,
  // for the target's final name (`final`), its done entry and the counts
  // (DoneEntry). Written before the rename; the announced rename stays due.
  void Record(const TargetChange& change, bool final, bool tentative);
  // The done entry of target `change.target` taking its final name (its
  // state and name before the run as in `change`), the done count, and the
  // tentative count when `tentative` (a restore: state 1).
  void DoneEntry(const TargetChange& change, bool tentative);
  // Renames the target on disk to change.name, its rename announced, with
  // its record (Record) written first and taken back when the rename
  // fails; once the rename is made, the change is put into the table at
  // once, then the indexes are kept in step and the stored folders inside a
  // renamed folder rewritten. Returns the error number (on failure the
  // change and the record are left as they were).
  int RenameOnDisk(TargetChange& change, bool final, bool tentative);
  // The steps after the line that announces the final rename: "中断" when
  // the log asked to stop, else the rename with its record, or its outcome
  // line and error entry when it failed. True: the target bears its new
  // name, on disk and in the table.
  bool RenameAnnounced(TargetChange& change, bool tentative);

 private:
  JournalKind kind_;
  NameIndex::RenamePlan plan_;  // working plan of RenameOnDisk
};

// Status word of a failed rename (or of a folder that cannot be worked in)
// by its error number.
std::u16string_view RenameErrorStatus(int err);
// Skip-line word of a target whose free name could not be looked for (the
// folder could not be listed or asked, error number err): nameWord is
// "変更名" or "復元名".
std::u16string LookupErrorStatus(std::u16string_view nameWord, int err);

}  // namespace dovetam
