// Entries looked up by name: see entry_lookup_posix.h.
#include "platform/entry_lookup_posix.h"

#include <cerrno>
#include <vector>

#include "platform/errors_posix.h"
#include "platform/file_system.h"
#include "platform/folder_names_posix.h"
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

int FindOtherCase(const FolderAt& at, const std::string& name, int missing,
                  const std::function<bool(const std::string&)>& accept, std::string& found) {
  const std::u16string wanted = DecodeNative(name);
  if (HasNoCase(wanted)) return kFsNotFound;
  const std::u16string upper = UpperText(wanted);
  std::vector<std::string> names;
  if (const int err = ReadNamesAt(at.fd(), at.Self(), names); err != 0) {
    return MissingAs(err, missing);
  }
  for (const std::string& n : names) {
    if (n == name || UpperText(DecodeNative(n)) != upper || !accept(n)) continue;
    found = n;
    return kFsOk;
  }
  return kFsNotFound;
}

int FindNoCase(const FolderAt& at, const std::string& name, EntryKind kind, std::string& actual) {
  struct statx sx {};
  if (StatxTarget(at.fd(), at.Of(name).c_str(), true, sx)) {
    if (KindMatches(sx.stx_mode, kind)) {
      actual = name;
      return kFsOk;
    }
  } else if (const int rc = MissingAs(errno, kFsNotFound); rc != kFsNotFound) {
    return rc;
  }
  return FindOtherCase(
      at, name, kFsNotFound,
      [&](const std::string& n) {
        struct statx other {};
        return StatxTarget(at.fd(), at.Of(n).c_str(), true, other) && KindMatches(other.stx_mode, kind);
      },
      actual);
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
