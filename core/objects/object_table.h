// The targets: parallel arrays indexed 1..ObjCount (element 0 holds no
// target), and OrderIndex, the display and processing position -> target.
//
// ObjFolderId is the identity of the target's folder when the target was
// chosen (listed or added): a run, re-run or restore renames nothing in a
// folder that has become another one since, also one made on the inode of
// the folder deleted (platform/folder_handle.h). A target made without it
// (not known, as tests make them) has its folder taken as it is found. It is
// also what makes one folder one folder however its path is spelled
// (through a link, a bind mount): InFolder.
//
// Capacity grows in fixed steps (the build's table step) with contents kept;
// Grow() fails without change when the allocation limit refuses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/folder_handle.h"

namespace dovetam {

enum ObjStateValue : uint8_t {
  kObjUnchanged = 0,
  kObjTentativelyRestored = 1,
  kObjChanged = 2,
  kObjTentativelyChanged = 3,
  kObjEvacuated = 4,
};

struct ObjectTable {
  std::vector<std::u16string> ObjFolder;  // ends in "/"
  std::vector<FolderIdentity> ObjFolderId;
  std::vector<std::u16string> ObjName;
  std::vector<bool> ObjIsFolder;
  std::vector<Date> ObjModified;
  std::vector<Date> ObjCreated;
  std::vector<int32_t> OrderIndex;
  std::vector<std::u16string> ObjOrigName;  // name before the first change, "" while unchanged
  std::vector<uint8_t> ObjState;
  int32_t ObjCount = 0;
  int32_t ObjCapacity = 0;

  // Re-creates every array empty at the given capacity.
  void Reset(int32_t capacity);
  // Grows every array by step, contents kept; false (nothing changed) when
  // the allocation limit refuses.
  bool Grow(int32_t step, std::size_t allocationLimit);
  // Grows by whole steps until `needed` targets fit, as that many single
  // steps would (a refused step keeps the ones before it), but without
  // moving the contents at every step.
  bool GrowFor(int64_t needed, int32_t step, std::size_t allocationLimit);
  // Appends a target (growing when full); false when growing failed.
  bool Append(const std::u16string& folder, const std::u16string& name, bool isFolder,
              Date modified, Date created, const Capacities& caps,
              FolderIdentity folderId = {});
  // Whether target j lies in the folder `folder` of identity `folderId`:
  // its folder is that text, or that very folder on disk (both identities
  // known and equal) under another spelling of its path.
  bool InFolder(int32_t j, const std::u16string& folder, FolderIdentity folderId) const {
    return (folderId.Known() && ObjFolderId[j] == folderId) || ObjFolder[j] == folder;
  }
};

}  // namespace dovetam
