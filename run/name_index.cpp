// Indexes of one operation: see name_index.h.
#include "run/name_index.h"

#include "platform/text_case.h"
#include "run/name_candidates.h"

namespace dovetam {

namespace {

std::u16string BaseKey(const std::u16string& upperName) {
  return std::u16string(NameBase(upperName));
}

void ReplaceOne(std::multiset<int32_t>& set, int32_t oldValue, int32_t newValue) {
  auto it = set.find(oldValue);
  if (it != set.end()) set.erase(it);
  set.insert(newValue);
}

}  // namespace

NameIndex::NameIndex(ObjectTable& objects, FileSystem& fs, bool baseMode)
    : objects_(objects), fs_(fs), baseMode_(baseMode) {
  const int32_t n = objects.ObjCount;
  positionOf_.assign(static_cast<std::size_t>(n) + 1, 0);
  for (int32_t p = 1; p <= n; ++p) {
    const int32_t i = objects.OrderIndex[p];
    if (i < 1 || i > n || positionOf_[i] != 0) continue;  // not a target index
    positionOf_[i] = p;
    FolderState& f = Folder(objects.ObjFolder[i]);
    f.members.push_back(i);
    AddHolder(f, UpperText(objects.ObjName[i]), p);
  }
}

int32_t NameIndex::PositionOf(int32_t target) const {
  if (target < 1 || static_cast<std::size_t>(target) >= positionOf_.size()) return 0;
  return positionOf_[target];
}

NameIndex::FolderState& NameIndex::Folder(const std::u16string& folder) {
  return folders_[folder];
}

NameIndex::FolderState* NameIndex::FindFolder(const std::u16string& folder) {
  auto it = folders_.find(folder);
  return it == folders_.end() ? nullptr : &it->second;
}

void NameIndex::AddHolder(FolderState& f, const std::u16string& upperName, int32_t p) {
  NameSlot& slot = f.names[upperName];
  const int32_t before = slot.Last();
  slot.holders.insert(p);
  if (!baseMode_) return;
  BaseSlot& base = f.bases[BaseKey(upperName)];
  base.holders.insert(p);
  if (f.listed && slot.onDisk > 0 && slot.Last() != before) {
    ReplaceOne(base.lastOf, before, slot.Last());
  }
}

void NameIndex::RemoveHolder(FolderState& f, const std::u16string& upperName, int32_t p) {
  auto it = f.names.find(upperName);
  if (it == f.names.end()) return;
  NameSlot& slot = it->second;
  const int32_t before = slot.Last();
  slot.holders.erase(p);
  if (!baseMode_) return;
  BaseSlot& base = f.bases[BaseKey(upperName)];
  base.holders.erase(p);
  if (f.listed && slot.onDisk > 0 && slot.Last() != before) {
    ReplaceOne(base.lastOf, before, slot.Last());
  }
}

void NameIndex::AddOnDisk(FolderState& f, const std::u16string& upperName) {
  NameSlot& slot = f.names[upperName];
  if (++slot.onDisk == 1 && baseMode_) f.bases[BaseKey(upperName)].lastOf.insert(slot.Last());
}

void NameIndex::RemoveOnDisk(FolderState& f, const std::u16string& upperName) {
  auto it = f.names.find(upperName);
  if (it == f.names.end() || it->second.onDisk == 0) return;
  NameSlot& slot = it->second;
  if (--slot.onDisk == 0 && baseMode_) {
    std::multiset<int32_t>& lastOf = f.bases[BaseKey(upperName)].lastOf;
    auto pos = lastOf.find(slot.Last());
    if (pos != lastOf.end()) lastOf.erase(pos);
  }
}

int NameIndex::List(const std::u16string& folder, FolderState& f) {
  if (f.listed) return kFsOk;
  std::vector<FsEntry> files, subfolders;
  const int err = fs_.ListFolder(folder, files, subfolders);
  if (err != kFsOk) return err;
  f.listed = true;
  for (const FsEntry& e : files) AddOnDisk(f, UpperText(e.name));
  for (const FsEntry& e : subfolders) AddOnDisk(f, UpperText(e.name));
  return kFsOk;
}

void NameIndex::DropListing(FolderState& f) {
  for (auto& [name, slot] : f.names) slot.onDisk = 0;
  for (auto& [base, slot] : f.bases) slot.lastOf.clear();
  f.listed = false;
}

int32_t NameIndex::FirstHolder(const std::u16string& folder, const std::u16string& upperName,
                               int32_t p) {
  FolderState* f = FindFolder(folder);
  if (!f) return 0;
  auto it = f->names.find(upperName);
  if (it == f->names.end()) return 0;
  for (int32_t q : it->second.holders) {
    if (q != p) return q;
  }
  return 0;
}

int32_t NameIndex::FirstBaseHolder(const std::u16string& folder, const std::u16string& upperBase,
                                   int32_t from, int32_t p) {
  FolderState* f = FindFolder(folder);
  if (!f) return 0;
  auto it = f->bases.find(upperBase);
  if (it == f->bases.end()) return 0;
  const std::set<int32_t>& holders = it->second.holders;
  for (auto q = holders.lower_bound(from); q != holders.end(); ++q) {
    if (*q != p) return *q;
  }
  return 0;
}

int NameIndex::Exists(const std::u16string& folder, const std::u16string& name, bool& exists) {
  exists = false;
  FolderState& f = Folder(folder);
  if (List(folder, f) != kFsOk) {
    // The folder cannot be listed: ask the file system about this one name.
    const std::u16string path = folder + name;
    bool file = false, dir = false;
    int err = fs_.FileExists(path, file);
    if (err == kFsOk && !file) err = fs_.FolderExists(path, dir);
    exists = file || dir;
    return err;
  }
  auto it = f.names.find(UpperText(name));
  exists = it != f.names.end() && it->second.onDisk > 0;
  return kFsOk;
}

int NameIndex::BaseCollides(const std::u16string& folder, const std::u16string& upperBase,
                            int32_t p, bool& collides) {
  collides = false;
  FolderState& f = Folder(folder);
  if (const int err = List(folder, f); err != kFsOk) return err;
  auto it = f.bases.find(upperBase);
  collides = it != f.bases.end() && !it->second.lastOf.empty() && *it->second.lastOf.begin() < p;
  return kFsOk;
}

bool NameIndex::KnownFree(const std::u16string& folder, const std::u16string& oldName,
                          const std::u16string& newName) {
  FolderState* f = FindFolder(folder);
  if (!f || !f->listed) return false;
  const std::u16string upper = UpperText(newName);
  auto it = f->names.find(upper);
  const int32_t others = (it == f->names.end() ? 0 : it->second.onDisk) -
                         (UpperText(oldName) == upper ? 1 : 0);
  return others == 0;
}

void NameIndex::TargetRenamed(int32_t target, const std::u16string& oldName) {
  const int32_t p = PositionOf(target);
  if (p == 0) return;
  FolderState& f = Folder(objects_.ObjFolder[target]);
  RemoveHolder(f, UpperText(oldName), p);
  AddHolder(f, UpperText(objects_.ObjName[target]), p);
}

void NameIndex::DiskRenamed(const std::u16string& folder, const std::u16string& oldName,
                            const std::u16string& newName) {
  FolderState* f = FindFolder(folder);
  if (!f || !f->listed) return;
  RemoveOnDisk(*f, UpperText(oldName));
  AddOnDisk(*f, UpperText(newName));
}

void NameIndex::DiskHas(const std::u16string& folder, const std::u16string& name) {
  FolderState* f = FindFolder(folder);
  if (!f || !f->listed) return;
  auto it = f->names.find(UpperText(name));
  if (it == f->names.end() || it->second.onDisk == 0) AddOnDisk(*f, UpperText(name));
}

void NameIndex::DiskLost(const std::u16string& folder, const std::u16string& name) {
  FolderState* f = FindFolder(folder);
  if (f && f->listed) RemoveOnDisk(*f, UpperText(name));
}

void NameIndex::Merge(FolderState& into, FolderState& from) {
  // Two folder texts became one (a target was stored under a path that did
  // not exist). Keep every holder; the listing is read again when needed.
  DropListing(into);
  into.hints.clear();
  into.members.insert(into.members.end(), from.members.begin(), from.members.end());
  for (auto& [name, slot] : from.names) {
    for (int32_t p : slot.holders) AddHolder(into, name, p);
  }
}

void NameIndex::FolderRenamed(const std::u16string& parent, const std::u16string& oldName,
                              const std::u16string& newName) {
  const std::u16string oldPrefix = parent + oldName + u"/";
  const std::u16string newPrefix = parent + newName + u"/";
  if (oldPrefix == newPrefix) return;
  std::vector<decltype(folders_)::node_type> moved;
  for (auto it = folders_.lower_bound(oldPrefix);
       it != folders_.end() && it->first.starts_with(oldPrefix);) {
    auto next = std::next(it);
    moved.push_back(folders_.extract(it));
    it = next;
  }
  for (auto& node : moved) {
    const std::u16string newKey = newPrefix + node.key().substr(oldPrefix.size());
    for (int32_t k : node.mapped().members) objects_.ObjFolder[k] = newKey;
    auto existing = folders_.find(newKey);
    if (existing != folders_.end()) {
      Merge(existing->second, node.mapped());
    } else {
      node.key() = newKey;
      folders_.insert(std::move(node));
    }
  }
}

std::optional<int64_t> NameIndex::Hint(const std::u16string& folder,
                                       const std::u16string& key) {
  FolderState* f = FindFolder(folder);
  if (!f) return std::nullopt;
  auto it = f->hints.find(key);
  if (it == f->hints.end()) return std::nullopt;
  return it->second;
}

void NameIndex::SetHint(const std::u16string& folder, const std::u16string& key,
                        int64_t value) {
  Folder(folder).hints[key] = value;
}

}  // namespace dovetam
