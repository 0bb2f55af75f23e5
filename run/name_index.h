// The indexes that keep one rename run, re-run or restore from comparing
// every target with every other one and from asking the disk again and again.
//
// Per folder (the exact text of ObjFolder) it keeps:
// - per upper-cased name: the run positions of the targets bearing it (the
//   holder search of the whole-name mode is its first position other than
//   the object's own), and the number of entries on disk of that upper-cased
//   form (the existence test: "exists" ignores case);
// - in base-name mode, per upper-cased base: the positions of the targets
//   whose name has that base, and for every name of that base on disk the
//   last position of a target bearing it, so that the folder-listing check
//   ("an entry not borne by a target at the object's position or later") is
//   one look at the smallest of them;
// - the numbering hints of CandidateLoop (see candidate_loop.h).
// The entries on disk are listed once per folder, when first needed, and
// then follow the renames of the operation itself. A folder that cannot be
// listed falls back to the file system's own existence test.
//
// Cost: building O(n log n) for n targets; each query and update O(log n)
// plus the length of the names; listing a folder O(entries). A renamed
// folder moves the indexes of every folder inside it and rewrites ObjFolder
// of the targets inside it: O(log n) per folder moved plus one text per
// target moved.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "objects/object_table.h"
#include "platform/file_system.h"

namespace dovetam {

class NameIndex {
 public:
  // Indexes the targets of `objects` in the order of OrderIndex.
  NameIndex(ObjectTable& objects, FileSystem& fs, bool baseMode);

  // Run position of a target index (0 when it has none).
  int32_t PositionOf(int32_t target) const;

  // First position other than p of a target in `folder` whose name equals
  // upperName without case; 0 when there is none.
  int32_t FirstHolder(const std::u16string& folder, const std::u16string& upperName,
                      int32_t p);
  // Base-name mode: first position from `from` on, other than p, of a target
  // in `folder` whose name has the base upperBase (without case); 0 if none.
  int32_t FirstBaseHolder(const std::u16string& folder, const std::u16string& upperBase,
                          int32_t from, int32_t p);

  // Does an entry of that name exist in the folder (case ignored)? Returns
  // the error number of the file system (0 on success).
  int Exists(const std::u16string& folder, const std::u16string& name, bool& exists);
  // Base-name mode: is there an entry on disk whose base is upperBase and
  // that no target at position p or later bears? Error number of the listing.
  int BaseCollides(const std::u16string& folder, const std::u16string& upperBase, int32_t p,
                   bool& collides);

  // True when the folder's listing shows no entry but oldName itself with
  // newName's upper-case form: the rename needs no scan of the folder for
  // the new name in another letter case.
  bool KnownFree(const std::u16string& folder, const std::u16string& oldName,
                 const std::u16string& newName);

  // ObjName of `target` changed from oldName (ObjName holds the new name).
  void TargetRenamed(int32_t target, const std::u16string& oldName);
  // The disk entry oldName of `folder` is now newName.
  void DiskRenamed(const std::u16string& folder, const std::u16string& oldName,
                   const std::u16string& newName);
  // The file system said that `name` exists (a rename refused with 58) or
  // is gone (53): the listing learns it.
  void DiskHas(const std::u16string& folder, const std::u16string& name);
  void DiskLost(const std::u16string& folder, const std::u16string& name);

  // The folder parent+oldName was renamed to parent+newName: every target
  // stored in it or below it gets its ObjFolder rewritten, exactly those
  // whose ObjFolder begins with parent+oldName+"/" (case-sensitive).
  void FolderRenamed(const std::u16string& parent, const std::u16string& oldName,
                     const std::u16string& newName);

  // Numbering hint of a candidate sequence in a folder, if there is one.
  std::optional<int64_t> Hint(const std::u16string& folder, const std::u16string& key);
  void SetHint(const std::u16string& folder, const std::u16string& key, int64_t value);

 private:
  struct NameSlot {
    std::set<int32_t> holders;  // positions of targets bearing this name
    int32_t onDisk = 0;         // entries on disk with this upper-case form
    int32_t Last() const { return holders.empty() ? 0 : *holders.rbegin(); }
  };
  struct BaseSlot {
    std::set<int32_t> holders;       // positions of targets with this base
    std::multiset<int32_t> lastOf;   // per name of this base on disk: NameSlot::Last
  };
  struct FolderState {
    std::vector<int32_t> members;  // target indices stored in this folder
    std::unordered_map<std::u16string, NameSlot> names;
    std::unordered_map<std::u16string, BaseSlot> bases;
    std::unordered_map<std::u16string, int64_t> hints;
    bool listed = false;
  };

  FolderState& Folder(const std::u16string& folder);
  FolderState* FindFolder(const std::u16string& folder);
  void AddHolder(FolderState& f, const std::u16string& upperName, int32_t p);
  void RemoveHolder(FolderState& f, const std::u16string& upperName, int32_t p);
  void AddOnDisk(FolderState& f, const std::u16string& upperName);
  void RemoveOnDisk(FolderState& f, const std::u16string& upperName);
  int List(const std::u16string& folder, FolderState& f);
  void DropListing(FolderState& f);
  void Merge(FolderState& into, FolderState& from);

  ObjectTable& objects_;
  FileSystem& fs_;
  bool baseMode_;
  std::vector<int32_t> positionOf_;
  std::map<std::u16string, FolderState> folders_;
};

}  // namespace dovetam
