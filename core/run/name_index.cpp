// Indexes of one operation: see name_index.h.
#include "core/run/name_index.h"

#include <algorithm>

#include "platform/table_growth.h"
#include "platform/text_case.h"
#include "core/run/name_candidates.h"

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

void EraseOne(std::multiset<int32_t>& set, int32_t value) {
  auto it = set.find(value);
  if (it != set.end()) set.erase(it);
}

// out = UpperText(text), reusing out's storage.
void UpperInto(std::u16string_view text, std::u16string& out) {
  out.assign(text);
  for (char16_t& c : out) c = UpperChar(c);
}

}  // namespace

NameIndex::NameIndex(ObjectTable& objects, FileSystem& fs, OpenFolders& open, bool baseMode,
                     std::size_t allocationLimit)
    : objects_(objects),
      fs_(fs),
      open_(open),
      baseMode_(baseMode),
      allocationLimit_(allocationLimit) {
  const int32_t n = objects.ObjCount;
  AllowGrowth(static_cast<std::size_t>(n) + 1, allocationLimit_);
  positionOf_.assign(static_cast<std::size_t>(n) + 1, 0);
  for (int32_t p = 1; p <= n; ++p) {
    const int32_t i = objects.OrderIndex[p];
    if (i < 1 || i > n || positionOf_[i] != 0) continue;  // not a target index
    positionOf_[i] = p;
    Folder(objects.ObjFolder[i]).members.push_back(i);
  }
  std::u16string upper;
  for (auto& [text, f] : folders_) {
    f.names.Reserve(f.members.size());
    for (const int32_t i : f.members) {
      UpperInto(objects.ObjName[i], upper);
      AddHolder(f, upper, positionOf_[i]);
    }
  }
}

NameIndex::~NameIndex() = default;

int32_t NameIndex::PositionOf(int32_t target) const {
  if (target < 1 || static_cast<std::size_t>(target) >= positionOf_.size()) return 0;
  return positionOf_[target];
}

NameIndex::FolderState& NameIndex::Folder(const std::u16string& folder) {
  auto [it, added] = folders_.try_emplace(folder);
  if (added) {
    it->second.text = folder;
    it->second.names.SetLimit(allocationLimit_);
    if (componentsBuilt_) IndexComponents(it->second, true);
  }
  return it->second;
}

NameIndex::FolderState* NameIndex::FindFolder(const std::u16string& folder) {
  auto it = folders_.find(folder);
  return it == folders_.end() ? nullptr : &it->second;
}

bool NameIndex::ChosenThere(const FolderState& f, const std::optional<FolderIdentity>& id) const {
  for (const int32_t k : f.members) {
    const FolderIdentity& chosen = objects_.ObjFolderId[k];
    if (chosen.Known() && (!id || chosen != *id)) return false;
  }
  return true;
}

NameIndex::DiskFolder& NameIndex::NewDisk() {
  disks_.push_back(std::make_unique<DiskFolder>());
  DiskFolder& d = *disks_.back();
  d.onDisk.SetLimit(allocationLimit_);
  d.open = &open_.NewFolder();
  return d;
}

NameIndex::DiskFolder* NameIndex::Disk(FolderState& f, int* err) {
  if (f.disk) return f.disk;
  std::unique_ptr<FolderHandle> handle;
  std::optional<FolderIdentity> id;
  const int opened = open_.Open(f.text, handle);
  if (opened == kFsOk) {
    id = handle->Identity();
  } else if (opened == kFsTooManyFiles && err) {
    // Not known to be another folder: asked again when next needed.
    *err = opened;
    return nullptr;
  }
  if (!ChosenThere(f, id)) {
    // Another folder than the one chosen (or none): a disk state of its own
    // in which nothing can be read or done.
    DiskFolder& refused = NewDisk();
    refused.refused = true;
    Attach(f, refused);
    return &refused;
  }
  DiskFolder* d = nullptr;
  if (id) {
    if (auto it = byIdentity_.find(*id); it != byIdentity_.end()) d = it->second;
  }
  if (!d) {
    d = &NewDisk();
    d->open->identity = id;
    if (id) byIdentity_[*id] = d;
  }
  if (handle) open_.Keep(*d->open, handle);
  Attach(f, *d);
  return d;
}

void NameIndex::Attach(FolderState& f, DiskFolder& d) {
  f.disk = &d;
  d.spellings.push_back(&f);
  if (!baseMode_ || !d.listed) return;
  d.onDisk.ForEach([&](const std::u16string& name, int32_t count) {
    if (count > 0) f.bases[BaseKey(name)].lastOf.insert(LastHolder(f, name));
  });
}

void NameIndex::Detach(FolderState& f) {
  if (!f.disk) return;
  std::vector<FolderState*>& s = f.disk->spellings;
  s.erase(std::remove(s.begin(), s.end(), &f), s.end());
  for (auto& [base, slot] : f.bases) slot.lastOf.clear();
  f.disk = nullptr;
}

int32_t NameIndex::LastHolder(const FolderState& f, const std::u16string& upperName) const {
  const NameSlot* slot = f.names.Find(upperName);
  return slot ? slot->Last() : 0;
}

bool NameIndex::OnDisk(const FolderState& f, const std::u16string& upperName) const {
  if (!f.disk || !f.disk->listed) return false;
  const int32_t* count = f.disk->onDisk.Find(upperName);
  return count && *count > 0;
}

void NameIndex::AddHolder(FolderState& f, const std::u16string& upperName, int32_t p) {
  NameSlot& slot = *f.names.Emplace(upperName).first;
  const int32_t before = slot.Last();
  std::vector<int32_t>& h = slot.holders;
  auto at = std::lower_bound(h.begin(), h.end(), p);
  if (at == h.end() || *at != p) h.insert(at, p);
  if (!baseMode_) return;
  BaseSlot& base = f.bases[BaseKey(upperName)];
  base.holders.insert(p);
  if (slot.Last() != before && OnDisk(f, upperName)) ReplaceOne(base.lastOf, before, slot.Last());
}

void NameIndex::RemoveHolder(FolderState& f, const std::u16string& upperName, int32_t p) {
  NameSlot* slot = f.names.Find(upperName);
  if (!slot) return;
  const int32_t before = slot->Last();
  std::vector<int32_t>& h = slot->holders;
  h.erase(std::remove(h.begin(), h.end(), p), h.end());
  const int32_t after = slot->Last();
  if (h.empty()) f.names.Erase(upperName);
  if (!baseMode_) return;
  BaseSlot& base = f.bases[BaseKey(upperName)];
  base.holders.erase(p);
  if (after != before && OnDisk(f, upperName)) ReplaceOne(base.lastOf, before, after);
}

void NameIndex::AddOnDisk(DiskFolder& d, const std::u16string& upperName) {
  if (++*d.onDisk.Emplace(upperName).first != 1 || !baseMode_) return;
  for (FolderState* f : d.spellings) {
    f->bases[BaseKey(upperName)].lastOf.insert(LastHolder(*f, upperName));
  }
}

void NameIndex::RemoveOnDisk(DiskFolder& d, const std::u16string& upperName) {
  int32_t* count = d.onDisk.Find(upperName);
  if (!count || *count == 0) return;
  if (--*count == 0) {
    d.onDisk.Erase(upperName);
    if (baseMode_) {
      for (FolderState* f : d.spellings) {
        EraseOne(f->bases[BaseKey(upperName)].lastOf, LastHolder(*f, upperName));
      }
    }
  }
  // A name freed under one spelling may have blocked the numbers of another,
  // where no target bore it: those hints no longer hold.
  if (d.spellings.size() > 1) {
    for (FolderState* f : d.spellings) f->hints.clear();
  }
}

bool NameIndex::IdentityOf(const std::u16string& folder, FolderIdentity& id) {
  std::unique_ptr<FolderHandle> handle;
  if (open_.Open(folder, handle) != kFsOk) return false;
  id = handle->Identity();
  return true;
}

int NameIndex::List(DiskFolder& d, const std::u16string& folder) {
  if (d.listed) return kFsOk;
  std::vector<std::u16string> names;
  const int err = Call(
      d, folder,
      [&](FolderHandle& handle) {
        names.clear();
        return handle.Names(names);
      },
      [&] {
        names.clear();
        std::vector<FsEntry> files, folders;
        const int e = fs_.ListFolder(folder, files, folders);
        for (std::vector<FsEntry>* list : {&files, &folders}) {
          for (FsEntry& entry : *list) names.push_back(std::move(entry.name));
        }
        return e;
      });
  if (err != kFsOk) return err;
  d.listed = true;
  d.onDisk.Reserve(d.onDisk.size() + names.size());
  for (std::u16string& name : names) {
    for (char16_t& c : name) c = UpperChar(c);
    AddOnDisk(d, name);
  }
  return kFsOk;
}

int32_t NameIndex::FirstHolder(const std::u16string& folder, const std::u16string& upperName,
                               int32_t p) {
  FolderState* f = FindFolder(folder);
  if (!f) return 0;
  const NameSlot* slot = f->names.Find(upperName);
  if (!slot) return 0;
  for (int32_t q : slot->holders) {
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

int NameIndex::InChosenFolder(int32_t target) {
  int err = kFsOk;
  const DiskFolder* d = Disk(Folder(objects_.ObjFolder[target]), &err);
  if (!d) return err;
  return d->refused ? kFsIoError : kFsOk;
}

int NameIndex::Exists(const std::u16string& folder, const std::u16string& name, bool& exists) {
  exists = false;
  DiskFolder& d = Disk(Folder(folder));
  if (d.refused) return kFsIoError;
  if (List(d, folder) != kFsOk) {
    // The folder cannot be listed: ask about this one name.
    return Call(
        d, folder, [&](FolderHandle& handle) { return handle.Exists(name, exists); },
        [&] {
          const std::u16string path = folder + name;
          bool file = false, dir = false;
          int e = fs_.FileExists(path, file);
          if (e == kFsOk && !file) e = fs_.FolderExists(path, dir);
          exists = file || dir;
          return e;
        });
  }
  UpperInto(name, upperNew_);
  const int32_t* count = d.onDisk.Find(upperNew_);
  exists = count && *count > 0;
  return kFsOk;
}

int NameIndex::ReadDate(const std::u16string& folder, const std::u16string& name, bool isFolder,
                        bool created, Date& date) {
  return Call(
      Disk(Folder(folder)), folder,
      [&](FolderHandle& handle) { return handle.ReadDate(name, isFolder, created, date); },
      [&] {
        const std::u16string path = folder + name;
        return created ? fs_.GetDateCreated(path, isFolder, date)
                       : fs_.GetDateLastModified(path, isFolder, date);
      });
}

int NameIndex::BaseCollides(const std::u16string& folder, const std::u16string& upperBase,
                            int32_t p, bool& collides) {
  collides = false;
  FolderState& f = Folder(folder);
  if (const int err = List(Disk(f), folder); err != kFsOk) return err;
  auto it = f.bases.find(upperBase);
  collides = it != f.bases.end() && !it->second.lastOf.empty() && *it->second.lastOf.begin() < p;
  return kFsOk;
}

int NameIndex::Rename(const std::u16string& folder, const std::u16string& oldName,
                      const std::u16string& newName) {
  const int err = CallRename(folder, oldName, newName, plan_);
  RenameDone(plan_, err);
  return err;
}

int NameIndex::CallRename(const std::u16string& folder, const std::u16string& oldName,
                          const std::u16string& newName, RenamePlan& plan) {
  PlanRename(folder, oldName, newName, plan);
  // A rename that fails for want of descriptors (its letter-case check
  // reads the folder) has renamed nothing: it may be made again.
  return Call(
      *plan.disk, folder,
      [&](FolderHandle& handle) { return handle.Rename(oldName, newName, plan.checkCase); },
      [&] { return fs_.Rename(folder, oldName, newName); });
}

void NameIndex::PlanRename(const std::u16string& folder, const std::u16string& oldName,
                           const std::u16string& newName, RenamePlan& plan) {
  DiskFolder& d = Disk(Folder(folder));
  UpperInto(oldName, plan.upperOld);
  UpperInto(newName, plan.upperNew);
  plan.disk = &d;
  // A folder whose handle was closed to make room is opened again, so that
  // its renames may go to the rename thread.
  const bool held = !d.refused && d.listed && open_.Hold(*d.open, folder);
  plan.handle = held ? d.open->handle() : nullptr;
  plan.folder = held ? d.open : nullptr;
  // With the folder's entries known to hold no other bearer of the new name
  // in any letter case, the rename is one system call; otherwise the file
  // system reads the folder itself. Neither ever replaces an object.
  bool knownFree = false;
  if (d.listed) {
    const int32_t* count = d.onDisk.Find(plan.upperNew);
    const int32_t bearers = count ? *count : 0;
    knownFree = bearers - (plan.upperOld == plan.upperNew ? 1 : 0) == 0;
  }
  plan.checkCase = !knownFree;
  plan.quiet = held && knownFree && d.spellings.size() == 1 && !baseMode_;
}

void NameIndex::RenameDone(const RenamePlan& plan, int err) {
  DiskFolder& d = *plan.disk;
  if (!d.listed) return;
  if (err == kFsOk) {
    RemoveOnDisk(d, plan.upperOld);
    AddOnDisk(d, plan.upperNew);
  } else if (err == kFsAlreadyExists) {
    // The file system knows of a bearer the listing missed.
    if (!d.onDisk.Find(plan.upperNew)) AddOnDisk(d, plan.upperNew);
  } else if (err == kFsNotFound) {
    RemoveOnDisk(d, plan.upperOld);
  }
}

void NameIndex::RenameUndone(const RenamePlan& plan) {
  RemoveOnDisk(*plan.disk, plan.upperNew);
  AddOnDisk(*plan.disk, plan.upperOld);
}

void NameIndex::ClearHints() {
  for (auto& [text, f] : folders_) f.hints.clear();
}

bool NameIndex::Listed(const std::u16string& folder) const {
  const auto it = folders_.find(folder);
  return it != folders_.end() && it->second.disk && it->second.disk->listed;
}

void NameIndex::TargetRenamed(int32_t target, const std::u16string& oldName) {
  const int32_t p = PositionOf(target);
  if (p == 0) return;
  FolderState& f = Folder(objects_.ObjFolder[target]);
  UpperInto(oldName, upperOld_);
  RemoveHolder(f, upperOld_, p);
  AddHolder(f, UpperText(objects_.ObjName[target]), p);
}

void NameIndex::Merge(FolderState& into, FolderState& from) {
  // Two folder texts became one (a target was stored under a path that did
  // not exist). Keep every holder; the text now names the moved folder.
  DiskFolder* disk = from.disk;
  Detach(from);
  Detach(into);
  into.hints.clear();
  into.members.insert(into.members.end(), from.members.begin(), from.members.end());
  from.names.ForEach([&](const std::u16string& name, const NameSlot& slot) {
    for (int32_t p : slot.holders) AddHolder(into, name, p);
  });
  if (disk) Attach(into, *disk);
}

void NameIndex::IndexComponents(FolderState& f, bool add) {
  std::size_t start = 0;
  while (start < f.text.size()) {
    std::size_t slash = f.text.find(u'/', start);
    if (slash == std::u16string::npos) slash = f.text.size();
    if (slash > start) {
      const std::u16string part = f.text.substr(start, slash - start);
      if (add) {
        components_[part].insert(&f);
      } else if (auto it = components_.find(part); it != components_.end()) {
        it->second.erase(&f);
        if (it->second.empty()) components_.erase(it);
      }
    }
    start = slash + 1;
  }
}

void NameIndex::MovePrefix(const std::u16string& oldPrefix, const std::u16string& newPrefix) {
  if (oldPrefix == newPrefix) return;
  std::vector<FolderMap::node_type> moved;
  for (auto it = folders_.lower_bound(oldPrefix);
       it != folders_.end() && it->first.starts_with(oldPrefix);) {
    auto next = std::next(it);
    moved.push_back(folders_.extract(it));
    it = next;
  }
  // Every new folder text of the targets is made first and then swapped into
  // the table, so that memory running out never leaves it half rewritten.
  std::vector<std::u16string> keys;
  std::vector<std::u16string> texts;
  keys.reserve(moved.size());
  for (auto& node : moved) {
    keys.push_back(newPrefix + node.key().substr(oldPrefix.size()));
    texts.insert(texts.end(), node.mapped().members.size(), keys.back());
  }
  std::size_t text = 0;
  for (auto& node : moved) {
    for (int32_t k : node.mapped().members) objects_.ObjFolder[k].swap(texts[text++]);
  }
  for (std::size_t m = 0; m < moved.size(); ++m) {
    auto& node = moved[m];
    FolderState& f = node.mapped();
    if (componentsBuilt_) IndexComponents(f, false);
    const std::u16string& newKey = keys[m];
    if (auto existing = folders_.find(newKey); existing != folders_.end()) {
      Merge(existing->second, f);
    } else {
      node.key() = newKey;
      f.text = newKey;
      if (componentsBuilt_) IndexComponents(f, true);
      folders_.insert(std::move(node));
    }
  }
}

void NameIndex::MoveOtherSpellings(const std::u16string& parent, const std::u16string& oldName,
                                   const std::u16string& newName) {
  FolderState* p = FindFolder(parent);
  if (!p || !p->disk || !p->disk->open->identity) return;
  const FolderIdentity parentId = *p->disk->open->identity;
  if (!componentsBuilt_) {
    componentsBuilt_ = true;
    for (auto& [text, f] : folders_) IndexComponents(f, true);
  }
  auto it = components_.find(oldName);
  if (it == components_.end()) return;
  // Folder texts that pass through a folder named oldName: those whose path
  // up to it is another spelling of the parent reach the renamed folder.
  std::vector<std::u16string> texts;
  for (const FolderState* f : it->second) texts.push_back(f->text);
  std::map<std::u16string, bool> isParent;
  const std::u16string part = u"/" + oldName + u"/";
  for (const std::u16string& text : texts) {
    for (std::size_t pos = text.find(part); pos != std::u16string::npos;
         pos = text.find(part, pos + 1)) {
      const std::u16string prefix = text.substr(0, pos + 1);
      auto known = isParent.find(prefix);
      if (known == isParent.end()) {
        FolderIdentity id;
        known = isParent.emplace(prefix, prefix != parent && IdentityOf(prefix, id) &&
                                             id == parentId).first;
        if (known->second) MovePrefix(prefix + oldName + u"/", prefix + newName + u"/");
      }
      if (known->second) break;
    }
  }
}

void NameIndex::MoveLostSpellings(const std::u16string& newPrefix) {
  // Only folders opened or identified so far can have been reached through
  // a link to the renamed folder; the parent is one of them.
  if (disks_.size() < 2) return;
  FolderIdentity id;
  if (!IdentityOf(newPrefix, id)) return;
  auto it = byIdentity_.find(id);
  if (it == byIdentity_.end()) return;
  std::vector<std::u16string> lost;
  for (const FolderState* f : it->second->spellings) {
    FolderIdentity now;
    if (f->text != newPrefix && (!IdentityOf(f->text, now) || now != id)) {
      lost.push_back(f->text);
    }
  }
  for (const std::u16string& text : lost) MovePrefix(text, newPrefix);
}

void NameIndex::FolderRenamed(const std::u16string& parent, const std::u16string& oldName,
                              const std::u16string& newName) {
  const std::u16string newPrefix = parent + newName + u"/";
  MovePrefix(parent + oldName + u"/", newPrefix);
  MoveOtherSpellings(parent, oldName, newName);
  MoveLostSpellings(newPrefix);
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
