// Adding targets from full paths (see path_adder.h). The duplicate test looks
// the full path, and the folder's identity with the name, up in two hash sets
// built once per call, so adding n paths costs O(n + ObjCount).
#include "core/objects/path_adder.h"

#include "core/common/decimal_text.h"
#include "core/common/memory_short.h"

#include <new>

#include "platform/dates.h"

namespace dovetam {

PathAdder::PathAdder(FileSystem& fs, ObjectTable& objects, bool readModified, bool readCreated,
                     const Capacities& caps)
    : fs_(fs), objects_(objects), readModified_(readModified), readCreated_(readCreated),
      caps_(caps) {}

PathAdd PathAdder::Add(const std::u16string& path) {
  PathAdd added = PathAdd::NotAdded;
  const bool allowed = MemoryAllows([&] {
    if (!prepared_) {
      for (int32_t j = 1; j <= objects_.ObjCount; ++j) {
        present_.insert(objects_.ObjFolder[j] + objects_.ObjName[j]);
        if (objects_.ObjFolderId[j].Known()) {
          presentOnDisk_.insert({objects_.ObjFolderId[j], objects_.ObjName[j]});
        }
      }
      prepared_ = true;
    }
    added = AddPath(path);
  });
  return allowed ? added : MemoryShort();
}

std::size_t PathAdder::EntryHash::operator()(const Entry& e) const {
  std::size_t h = std::hash<std::u16string>()(e.name);
  for (const uint64_t part : {e.folder.device, e.folder.inode, e.folder.incarnation}) {
    h ^= std::hash<uint64_t>()(part) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  }
  return h;
}

PathAdd PathAdder::MemoryShort() {
  ++tally.notAdded;
  tally.memoryFailed = true;
  return PathAdd::OutOfMemory;
}

PathAdd PathAdder::AddPath(const std::u16string& path) {
  bool exists = false;
  bool isFolder = false;
  std::u16string full;
  if (fs_.FileExists(path, exists) != kFsOk) exists = false;
  if (exists) {
    if (fs_.GetFullPath(path, false, full) != kFsOk) exists = false;
  } else {
    if (fs_.FolderExists(path, exists) != kFsOk) exists = false;
    if (exists) {
      isFolder = true;
      if (fs_.GetFullPath(path, true, full) != kFsOk) exists = false;
    }
  }
  if (!exists) {
    ++tally.notAdded;
    return PathAdd::NotAdded;
  }
  const std::size_t s = full.rfind(u'/');
  if (s == std::u16string::npos || s + 1 == full.size()) {
    ++tally.notAdded;
    return PathAdd::NotAdded;
  }
  if (present_.count(full) != 0) return PathAdd::Skipped;
  const std::u16string folder = full.substr(0, s + 1);
  auto id = folderIds_.find(folder);
  if (id == folderIds_.end()) {
    std::unique_ptr<FolderHandle> handle;
    if (fs_.OpenFolder(folder, handle) != kFsOk) {
      ++tally.notAdded;
      return PathAdd::NotAdded;
    }
    id = folderIds_.emplace(folder, handle->Identity()).first;
  }
  Entry onDisk{id->second, full.substr(s + 1)};
  if (presentOnDisk_.count(onDisk) != 0) return PathAdd::Skipped;
  if (objects_.ObjCount + 1 > objects_.ObjCapacity &&
      !objects_.Grow(caps_.tableStep, caps_.allocationLimit)) {
    return MemoryShort();
  }
  int dateFailures = 0;
  Date modified = 0;
  Date created = 0;
  if (readModified_ && fs_.GetDateLastModified(full, isFolder, modified) != kFsOk) {
    modified = 0;
    dateFailures |= 1;
  }
  if (readCreated_ && fs_.GetDateCreated(full, isFolder, created) != kFsOk) {
    created = 0;
    dateFailures |= 2;
  }
  // Everything the entry needs is made before it is counted: from here on
  // nothing can fail.
  std::u16string name = onDisk.name;
  std::u16string folderText = folder;
  present_.insert(full);
  if (onDisk.folder.Known()) {
    try {
      presentOnDisk_.insert(std::move(onDisk));
    } catch (const std::bad_alloc&) {
      present_.erase(full);  // the path stays one that is not a target
      throw;                 // on to Add's guard
    }
  }
  const int32_t i = ++objects_.ObjCount;
  objects_.ObjFolder[i].swap(folderText);
  objects_.ObjFolderId[i] = id->second;
  objects_.ObjName[i].swap(name);
  objects_.ObjIsFolder[i] = isFolder;
  objects_.ObjModified[i] = modified;
  objects_.ObjCreated[i] = created;
  tally.dateFailures |= dateFailures;
  return PathAdd::Added;
}

namespace {

std::u16string DatePart(const PathAddTally& tally, bool afterCount) {
  if (tally.dateFailures == 0) return {};
  const std::u16string kind = tally.dateFailures == 1   ? u"更新日時"
                              : tally.dateFailures == 2 ? u"作成日時"
                                                        : u"更新日時・作成日時";
  std::u16string text = afterCount ? u"\n\nまた、" : u"";
  text += u"いくつかのオブジェクトの" + kind + u"を取得できませんでした。\n日時は便宜上、" +
          FormatDate(0) + u"に設定されています。";
  return text;
}

}  // namespace

std::u16string DropSummaryMessage(const PathAddTally& tally) {
  std::u16string text;
  if (tally.notAdded > 0) {
    if (tally.memoryFailed) text.append(MemoryShortText(MemoryShort::NotAllAdded)).append(u"\n");
    text.append(u" ").append(DecimalText(tally.notAdded)).append(u" 個 の オブジェクトを追加できませんでした。");
  }
  return text + DatePart(tally, tally.notAdded > 0);
}

std::u16string CommandLineSummaryMessage(const PathAddTally& tally) {
  std::u16string text;
  if (tally.notAdded > 0) {
    if (tally.memoryFailed) {
      text.append(MemoryShortText(MemoryShort::NotAllAdded)).append(u"いくつかのオブジェクトを追加できませんでした。");
    } else {
      text.append(u" ").append(DecimalText(tally.notAdded)).append(u" 個 の オブジェクトを追加できませんでした。");
    }
  }
  return text + DatePart(tally, tally.notAdded > 0);
}

}  // namespace dovetam
