// Entries looked up by name: see entry_lookup_posix.h.
#include "platform/entry_lookup_posix.h"

#include <cerrno>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_handle_posix.h"
#include "platform/text_case.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

bool KindMatches(mode_t mode, EntryKind kind) {
  if (kind == EntryKind::Any) return true;
  return S_ISDIR(mode) == (kind == EntryKind::Folder);
}

// True when no case variant of the name can differ from it, so a pass over
// the folder cannot find anything the exact test has not found.
bool HasNoCase(std::u16string_view name) {
  for (char16_t c : name) {
    if (UpperChar(c) != c || LowerChar(c) != c) return false;
  }
  return true;
}

}  // namespace

bool StatByTarget(const FolderAt& at, const std::string& name, struct stat& st) {
  const std::string path = at.Of(name);
  if (fstatat(at.fd(), path.c_str(), &st, 0) == 0) return true;
  const int err = errno;
  if ((err == ENOENT || err == ELOOP) && fstatat(at.fd(), path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(st.st_mode)) {
    return true;
  }
  errno = err;
  return false;
}

int FindNoCase(const FolderAt& at, const std::string& name, EntryKind kind, std::string& actual) {
  struct stat st {};
  if (StatByTarget(at, name, st)) {
    if (KindMatches(st.st_mode, kind)) {
      actual = name;
      return kFsOk;
    }
  } else if (errno != ENOENT && errno != ENOTDIR) {
    return FsErrorOfErrno(errno);
  }
  const std::u16string wanted = DecodeNative(name);
  if (HasNoCase(wanted)) return kFsNotFound;
  const std::u16string upper = UpperText(wanted);
  std::vector<std::string> names;
  if (const int err = ReadNamesAt(at.fd(), at.Self(), names); err != 0) {
    return err == ENOENT || err == ENOTDIR ? kFsNotFound : FsErrorOfErrno(err);
  }
  for (const std::string& n : names) {
    if (n == name || UpperText(DecodeNative(n)) != upper) continue;
    if (StatByTarget(at, n, st) && KindMatches(st.st_mode, kind)) {
      actual = n;
      return kFsOk;
    }
  }
  return kFsNotFound;
}

bool StatxTarget(int dir, const char* path, bool brokenLinkAsItself, struct statx& sx) {
  if (statx(dir, path, 0, kDateMask, &sx) == 0) return true;
  const int err = errno;
  if (brokenLinkAsItself && (err == ENOENT || err == ELOOP) &&
      statx(dir, path, AT_SYMLINK_NOFOLLOW, kDateMask, &sx) == 0 && S_ISLNK(sx.stx_mode)) {
    return true;
  }
  errno = err;
  return false;
}

Date LocalTimeCache::Of(std::time_t t) {
  if (!filled || t != time) {
    date = DateFromUnixTime(t);
    time = t;
    filled = true;
  }
  return date;
}

int DateOfStatx(const struct statx& sx, bool birth, LocalTimeCache& cache, Date& date) {
  const unsigned need = birth ? STATX_BTIME : STATX_MTIME;
  if ((sx.stx_mask & need) == 0) return kFsIoError;
  date = cache.Of(static_cast<std::time_t>(birth ? sx.stx_btime.tv_sec : sx.stx_mtime.tv_sec));
  return kFsOk;
}

int EntryDate(const FolderAt& at, const std::string& name, bool isFolder, bool birth, Date& date) {
  struct statx sx {};
  if (!StatxTarget(at.fd(), at.Of(name).c_str(), !isFolder, sx)) return FsErrorOfErrno(errno);
  if (isFolder != S_ISDIR(sx.stx_mode)) return kFsNotFound;
  LocalTimeCache cache;
  return DateOfStatx(sx, birth, cache, date);
}

int FindDate(const FolderAt& at, const std::string& name, bool isFolder, bool birth, Date& date) {
  std::string actual;
  const int rc = FindNoCase(at, name, isFolder ? EntryKind::Folder : EntryKind::File, actual);
  if (rc != kFsOk) return rc;
  return EntryDate(at, actual, isFolder, birth, date);
}

}  // namespace dovetam
