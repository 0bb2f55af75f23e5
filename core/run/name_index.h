// The indexes that keep one rename run, re-run or restore from comparing
// every target with every other one and from asking the disk again and again.
//
// Targets are grouped by the exact text of ObjFolder (the holder searches
// compare folders exactly). Per folder text it keeps:
// - per upper-cased name: the run positions of the targets bearing it (the
//   holder search of the whole-name mode is its first position other than
//   the object's own);
// - in base-name mode, per upper-cased base: the positions of the targets
//   whose name has that base, and for every name of that base on disk the
//   last position of a target of this text bearing it, so that the
//   folder-listing check ("an entry not borne by a target at the object's
//   position or later") is one look at the smallest of them;
// - the numbering hints of CandidateLoop (see candidate_loop.h).
// What is on disk belongs to the folder itself, not to a text: one folder
// reached under several spellings (a link to it and its real path) is one
// disk state, found by the folder's identity (device and inode), so a rename
// made under one spelling is seen under every other. The folder is opened
// once, when first needed; its entries are listed once and then follow the
// renames of the operation. Everything done on disk (listing, existence
// tests, dates, renames) goes through the run's open folders
// (open_folders.h), relative to the open folder: the handle keeps naming the
// folder when a folder above it is renamed, and the length of the folder's
// path does not matter. A folder that cannot be opened falls back to its
// path text, and one that cannot be listed to the existence test of its open
// folder.
//
// Its tables (the positions, the names of a folder, the entries on disk)
// grow past the allocation limit only as memory does: with std::bad_alloc,
// which stops the operation (table_growth.h).
//
// Cost: building O(n log n) for n targets; each query and update O(log n)
// plus the length of the names; listing a folder O(entries). A renamed
// folder moves the indexes of every folder text inside it and rewrites
// ObjFolder of the targets inside it: O(log n) per folder text moved plus
// one text per target moved.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/objects/object_table.h"
#include "platform/file_system.h"
#include "core/run/name_table.h"
#include "core/run/open_folders.h"

namespace dovetam {

class NameIndex {
  struct DiskFolder;

 public:
  // Indexes the targets of `objects` in the order of OrderIndex; works on
  // disk in the folders of `folders`.
  NameIndex(ObjectTable& objects, FileSystem& fs, OpenFolders& folders, bool baseMode,
            std::size_t allocationLimit = SIZE_MAX);
  ~NameIndex();
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  // Run position of a target index (0 when it has none).
  int32_t PositionOf(int32_t target) const;

  // Whether the folder of `target` is the one its targets were chosen in
  // (opening it when first asked): kFsOk, kFsIoError when it is another
  // folder now (or none), or the error of a folder that could not be opened
  // for want of descriptors (asked again for the next target).
  int InChosenFolder(int32_t target);

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
  // The last-modified or (`created`) creation date of the entry `name` of
  // the folder, a folder when `isFolder`. Returns the error number.
  int ReadDate(const std::u16string& folder, const std::u16string& name, bool isFolder,
               bool created, Date& date);
  // Base-name mode: is there an entry on disk whose base is upperBase and
  // that no target of this folder text at position p or later bears? Error
  // number of the listing.
  int BaseCollides(const std::u16string& folder, const std::u16string& upperBase, int32_t p,
                   bool& collides);

  // Renames the entry oldName of `folder` to newName on disk (never
  // replacing an object) and keeps the listing in step. Returns the error
  // number of the file system.
  int Rename(const std::u16string& folder, const std::u16string& oldName,
             const std::u16string& newName);

  // Rename in two steps, for a caller that makes the call itself
  // (handle->Rename): PlanRename, the call, then RenameDone with its error
  // number. `quiet` tells that the steps may lie apart and that the call
  // needs no descriptor of its own: the folder is open, listed and known by
  // one text only, so the rename touches nothing of the indexes but the
  // entries of its two names, and the listing shows that no other entry
  // bears the new name in any letter case, so it is one system call.
  struct RenamePlan {
    FolderHandle* handle = nullptr;          // set when quiet
    OpenFolders::Folder* folder = nullptr;  // the open folder of handle
    bool checkCase = true;
    bool quiet = false;
    std::u16string upperOld, upperNew;

   private:
    friend class NameIndex;
    DiskFolder* disk = nullptr;
  };
  void PlanRename(const std::u16string& folder, const std::u16string& oldName,
                  const std::u16string& newName, RenamePlan& plan);
  // Rename without its second half, for a caller that records a rename made
  // before anything else can fail: PlanRename and the call (through the open
  // folder, the folder opened again, or the path); RenameDone(plan, error
  // number) is to follow.
  int CallRename(const std::u16string& folder, const std::u16string& oldName,
                 const std::u16string& newName, RenamePlan& plan);
  void RenameDone(const RenamePlan& plan, int err);
  // Takes back RenameDone(plan, 0) of a quiet plan.
  void RenameUndone(const RenamePlan& plan);
  // Forgets every numbering hint.
  void ClearHints();

  // Are the entries of the folder known without asking the file system?
  bool Listed(const std::u16string& folder) const;

  // ObjName of `target` changed from oldName (ObjName holds the new name).
  void TargetRenamed(int32_t target, const std::u16string& oldName);

  // The folder parent+oldName was renamed to parent+newName: every target
  // stored in it or below it gets its ObjFolder rewritten: those whose
  // ObjFolder begins with parent+oldName+"/" (case-sensitive), those that
  // reach the same folder through another spelling of the parent, and those
  // stored under a link to the folder itself, which the rename left leading
  // nowhere (they get the folder's new path).
  void FolderRenamed(const std::u16string& parent, const std::u16string& oldName,
                     const std::u16string& newName);

  // Numbering hint of a candidate sequence in a folder, if there is one.
  std::optional<int64_t> Hint(const std::u16string& folder, const std::u16string& key);
  void SetHint(const std::u16string& folder, const std::u16string& key, int64_t value);

 private:
  struct NameSlot {
    // Positions of the targets bearing this name, ascending: rarely more
    // than one (names on disk differ at least in letter case).
    std::vector<int32_t> holders;
    int32_t Last() const { return holders.empty() ? 0 : holders.back(); }
  };
  struct BaseSlot {
    std::set<int32_t> holders;       // positions of targets with this base
    std::multiset<int32_t> lastOf;   // per name of this base on disk: NameSlot::Last
  };
  struct FolderState {
    std::u16string text;           // the folder text (its key)
    std::vector<int32_t> members;  // target indices stored in this folder
    NameTable<NameSlot> names;
    std::unordered_map<std::u16string, BaseSlot> bases;
    std::unordered_map<std::u16string, int64_t> hints;
    DiskFolder* disk = nullptr;    // resolved when first needed
  };
  struct DiskFolder {
    // The folder itself: its identity (none: known by its text only) and
    // its handle while held.
    OpenFolders::Folder* open = nullptr;
    NameTable<int32_t> onDisk;               // upper name -> entries
    std::vector<FolderState*> spellings;     // folder texts that reach it
    bool listed = false;
    bool refused = false;  // not the folder chosen: nothing is done in it
  };
  using FolderMap = std::map<std::u16string, FolderState>;

  FolderState& Folder(const std::u16string& folder);
  // Whether every target of f whose folder identity is known was chosen in
  // the folder of identity `id`.
  bool ChosenThere(const FolderState& f, const std::optional<FolderIdentity>& id) const;
  FolderState* FindFolder(const std::u16string& folder);
  // The disk state of f, opening its folder when first asked; with `err`,
  // a folder that cannot be opened for want of descriptors is left
  // unresolved (nullptr, err set) instead of refused.
  DiskFolder* Disk(FolderState& f, int* err);
  DiskFolder& Disk(FolderState& f) { return *Disk(f, nullptr); }
  DiskFolder& NewDisk();
  // Work in d through its open folder (open_folders.h): kFsIoError for a
  // refused folder.
  template <typename ByHandle, typename ByPath>
  int Call(DiskFolder& d, const std::u16string& folder, ByHandle&& byHandle, ByPath&& byPath) {
    if (d.refused) return kFsIoError;
    return open_.Call(*d.open, folder, byHandle, byPath);
  }
  void Attach(FolderState& f, DiskFolder& d);
  void Detach(FolderState& f);
  int32_t LastHolder(const FolderState& f, const std::u16string& upperName) const;
  bool OnDisk(const FolderState& f, const std::u16string& upperName) const;
  void AddHolder(FolderState& f, const std::u16string& upperName, int32_t p);
  void RemoveHolder(FolderState& f, const std::u16string& upperName, int32_t p);
  void AddOnDisk(DiskFolder& d, const std::u16string& upperName);
  void RemoveOnDisk(DiskFolder& d, const std::u16string& upperName);
  int List(DiskFolder& d, const std::u16string& folder);
  // The identity of the folder at a path, when it can be opened.
  bool IdentityOf(const std::u16string& folder, FolderIdentity& id);
  void MovePrefix(const std::u16string& oldPrefix, const std::u16string& newPrefix);
  void Merge(FolderState& into, FolderState& from);
  void MoveOtherSpellings(const std::u16string& parent, const std::u16string& oldName,
                          const std::u16string& newName);
  // Spellings of the renamed folder (now at newPrefix) that reached it
  // through a link to its old path lead nowhere now: they become newPrefix.
  void MoveLostSpellings(const std::u16string& newPrefix);
  void IndexComponents(FolderState& f, bool add);

  ObjectTable& objects_;
  FileSystem& fs_;
  OpenFolders& open_;
  bool baseMode_;
  std::size_t allocationLimit_;
  std::vector<int32_t> positionOf_;
  FolderMap folders_;
  std::vector<std::unique_ptr<DiskFolder>> disks_;
  std::map<FolderIdentity, DiskFolder*> byIdentity_;
  // Folder texts by the names of their path components, built at the first
  // folder rename: the other spellings a renamed folder may be reached by.
  std::unordered_map<std::u16string, std::unordered_set<FolderState*>> components_;
  bool componentsBuilt_ = false;
  std::u16string upperOld_, upperNew_;  // working texts of Exists and TargetRenamed
  RenamePlan plan_;                     // working plan of Rename
};

}  // namespace dovetam
