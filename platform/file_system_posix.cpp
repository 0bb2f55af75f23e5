// The file system of this machine, through POSIX calls.
//
// Listing reads the folder with readdir (hidden entries included, no pattern
// matching); links count by what they point to. A listing with dates makes
// one status call per entry, relative to the open folder; those of a big
// folder are shared among a few threads. Renames use renameat2 with
// RENAME_NOREPLACE, so an existing object is never replaced, and refuse a new
// name that an entry of the folder already has in another letter case.
// Existence tests ignore letter case (the exact name first, then one pass
// over the folder). Creation dates are birth times from statx; where the file
// system keeps none, the date cannot be read. Listings, existence tests,
// dates, renames and open folders take paths of any length (a path too long
// for the system is walked, folder_at_posix.h). Text files are only ever
// appended to (O_APPEND), one write call per text as far as the system
// takes it; they are regular files opened by their own name only (never
// through a link), locked while open, and cut only once locked
// (OpenTextFile).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/entry_lookup_posix.h"
#include "platform/errors_posix.h"
#include "platform/file_system.h"
#include "platform/folder_at_posix.h"
#include "platform/folder_handle_posix.h"
#include "platform/folder_identity_posix.h"
#include "platform/folder_names_posix.h"
#include "platform/parallel_slices.h"
#include "platform/text_case.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

// Path without its trailing "/" (the root stays "/").
std::string StripSlash(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

void SplitPath(const std::string& path, std::string& parent, std::string& name) {
  const std::string p = StripSlash(path);
  const std::size_t slash = p.rfind('/');
  if (slash == std::string::npos) {
    parent.assign(1, '.');
    name = p;
  } else {
    parent = p.substr(0, slash == 0 ? 1 : slash);  // the root keeps its "/"
    name = p.substr(slash + 1);
  }
}

// Finds the object at path ignoring the case of its last component, in the
// folder reached through `at` (its parent, of any path length). Returns 0
// with `actual` set to the path on disk, 53 when there is none of that kind,
// or another error when the question cannot be answered.
int FindPathNoCase(const std::string& path, EntryKind kind, FolderAt& at, std::string& name,
                   std::string& actual) {
  const std::string p = StripSlash(path);
  if (p.empty()) return kFsNotFound;
  if (p == "/") {
    struct stat st {};
    if (stat("/", &st) != 0) return FsErrorOfErrno(errno);
    if (kind == EntryKind::File) return kFsNotFound;
    at.Reach("/");
    name.assign(1, '.');
    actual = p;
    return kFsOk;
  }
  std::string parent;
  SplitPath(p, parent, name);
  if (const int err = at.Reach(parent); err != 0) return MissingAs(err, kFsNotFound);
  std::string found;
  const int rc = FindNoCase(at, name, kind, found);
  if (rc != kFsOk) return rc;
  actual = found == name ? p : (parent == "/" ? "" : parent) + "/" + found;
  name = found;
  return kFsOk;
}

std::string CurrentFolder() {
  std::vector<char> buf(4096);
  while (getcwd(buf.data(), buf.size()) == nullptr && errno == ERANGE) buf.resize(buf.size() * 2);
  return std::string(buf.data());
}

// Absolute path with "." and ".." taken out and no trailing "/", naming what
// the system means by `path`: a ".." is the parent of the folder reached so
// far on disk, after links, so the part up to the last ".." is resolved
// through the disk. The parts after it, which hold no "..", are joined as
// they are written: a link named there, the last part above all, stays the
// link. False when the part up to the last ".." leads to no folder.
bool FullPathThroughDisk(const std::string& path, std::string& full) {
  std::size_t upEnd = std::string::npos;  // just past the last ".."
  for (std::size_t i = 0; i <= path.size();) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    if (path.compare(i, j - i, "..") == 0) upEnd = j;
    i = j + 1;
  }
  std::string out;
  std::size_t rest = 0;
  if (upEnd != std::string::npos) {
    char* real = ::realpath(path.substr(0, upEnd).c_str(), nullptr);
    if (real == nullptr) return false;
    out = real;
    std::free(real);
    rest = upEnd;
  } else if (path.empty() || path[0] != '/') {
    out = CurrentFolder();
  }
  if (out == "/") out.clear();
  for (std::size_t i = rest; i <= path.size();) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    if (j > i && path.compare(i, j - i, ".") != 0) {
      out += '/';
      out.append(path, i, j - i);
    }
    i = j + 1;
  }
  full = out.empty() ? "/" : out;
  return true;
}

// A listing of more than twice this many entries shares its status calls
// among up to kStatThreads threads.
constexpr std::size_t kStatSlice = 1024;
constexpr unsigned kStatThreads = 8;

// A text file written by write calls on a descriptor opened for appending:
// each text goes to the end the file has at that moment, whatever another
// program did to it meanwhile (appended to it, cut it short), so the file
// never gets a hole and never holds anything but the texts written. A text
// goes in as many calls as the system needs to take it whole; one that does
// not fit (a full disk) fails, and what fitted of it stays.
class PosixTextFile : public TextFile {
 public:
  explicit PosixTextFile(int fd) : fd_(fd) {}
  ~PosixTextFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  int Write(std::string_view bytes) override {
    if (fd_ < 0) return kFsIoError;
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return FsErrorOfErrno(errno);
      }
      if (n == 0) return kFsIoError;  // no progress: never loop on it
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return kFsOk;
  }
  int Close() override {
    if (fd_ < 0) return kFsOk;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? kFsOk : FsErrorOfErrno(errno);
  }

 private:
  int fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// flock errors that say the file system keeps no locks at all, not that
// someone else holds one.
bool LocksUnsupported(int err) { return err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS; }

int TakeLock(int fd) {
  int rc;
  while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  return rc == 0 || LocksUnsupported(errno) ? 0 : errno;
}

// The checks of OpenTextFile on a descriptor just opened: kFsOk when it is
// ready for writing, -1 when `path` no longer names the file opened (open it
// again), an error otherwise.
int PrepareTextFile(int fd, const std::string& path, bool cut) {
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) return FsErrorOfErrno(errno);
  // A file with a second name (a hard link) may be anybody's file anywhere.
  if (!S_ISREG(opened.st_mode) || opened.st_nlink > 1) return kFsIoError;
  if (const int err = TakeLock(fd); err != 0) return FsErrorOfErrno(err);
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0 || !SameFile(named, opened)) return -1;
  if (cut && ::ftruncate(fd, 0) != 0) return FsErrorOfErrno(errno);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return FsErrorOfErrno(errno);
  return kFsOk;
}

// Opens the text file at `path` for appending, creating it when missing, and
// cuts it to nothing when `cut`. Only a regular file of that very name is
// used: a link there (dangling or not) is not followed, a FIFO, a device or
// a folder is neither written nor waited for (the open does not block; that
// is switched off once the file is known to be regular), and a file with a
// second name is left alone. The file is locked (flock, exclusive, not
// waiting) for as long as it stays open, so one writer at a time uses it: a
// file another writer holds is refused, and nothing of it is cut. A file
// replaced or removed between the open and the lock is opened again.
int OpenTextFile(const std::string& path, bool cut, std::unique_ptr<TextFile>& file) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    // What is there already is looked at before it is opened, so a device
    // is never opened at all; the descriptor is checked again below.
    struct stat named {};
    if (::lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) return kFsIoError;
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY |
                              O_CLOEXEC,
                          0666);
    if (fd < 0) return MissingAs(errno, kFsPathNotFound);
    const int rc = PrepareTextFile(fd, path, cut);
    if (rc == kFsOk) {
      file = std::make_unique<PosixTextFile>(fd);
      return kFsOk;
    }
    ::close(fd);
    if (rc != -1) return rc;
  }
  return kFsIoError;
}

// Every call works on its own buffers; the process-wide state it touches
// (descriptors, the current folder) is the system's own. So calls may come
// from two threads at once.
class PosixFileSystem : public FileSystem {
 public:
  int ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                 std::vector<FsEntry>& folders) override {
    FolderIdentity ignored;
    return List(folder, false, false, files, folders, ignored);
  }

  int ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                          std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                          FolderIdentity& identity) override {
    return List(folder, modified, created, files, folders, identity);
  }

  int FileExists(std::u16string_view path, bool& exists) override {
    return Exists(path, EntryKind::File, exists);
  }
  int FolderExists(std::u16string_view path, bool& exists) override {
    return Exists(path, EntryKind::Folder, exists);
  }

  int GetFullPath(std::u16string_view path, bool isFolder, std::u16string& full) override {
    std::string bytes;
    if (!EncodeNative(path, bytes) || bytes.empty()) return kFsNotFound;
    std::string whole;
    if (!FullPathThroughDisk(bytes, whole)) return kFsNotFound;
    FolderAt at;
    std::string name, actual;
    const int rc = FindPathNoCase(whole, isFolder ? EntryKind::Folder : EntryKind::File, at, name,
                                  actual);
    if (rc != kFsOk) return rc;
    full = DecodeNative(actual);
    return kFsOk;
  }

  int GetDateLastModified(std::u16string_view path, bool isFolder, Date& date) override {
    return Dates(path, isFolder, false, date);
  }
  int GetDateCreated(std::u16string_view path, bool isFolder, Date& date) override {
    return Dates(path, isFolder, true, date);
  }

  int Rename(std::u16string_view folder, std::u16string_view oldName,
             std::u16string_view newName) override {
    return RenameByPathPosix(folder, oldName, newName);
  }

  int OpenFolder(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle) override {
    return OpenFolderPosix(folder, handle);
  }

  int DeleteFile(std::u16string_view path) override {
    std::string bytes;
    if (!EncodeNative(path, bytes) || bytes.empty()) return kFsNotFound;
    struct stat st {};
    if (lstat(bytes.c_str(), &st) != 0) return FsErrorOfErrno(errno);
    if (S_ISDIR(st.st_mode)) return kFsNotFound;
    int fd = -1;
    if (S_ISREG(st.st_mode)) {
      // A file a writer holds locked (a log that another copy of the program
      // is writing) stays; otherwise the lock is held until the name is gone,
      // so no writer takes the file meanwhile.
      fd = ::open(bytes.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
      struct stat opened {};
      if (fd >= 0 && ::fstat(fd, &opened) == 0 && SameFile(st, opened) && TakeLock(fd) != 0) {
        ::close(fd);
        return kFsPermissionDenied;
      }
    }
    const int rc = unlink(bytes.c_str()) == 0 ? kFsOk : FsErrorOfErrno(errno);
    if (fd >= 0) ::close(fd);
    return rc;
  }

  int CreateTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override {
    return Open(path, true, file);
  }
  int AppendTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override {
    return Open(path, false, file);
  }

  // The soft limit of open files less the descriptors open now below it (a
  // new one gets the lowest number free, and none at or above the limit),
  // as /proc/self/fd lists them; the listing's own is free again after.
  int FilesFree() override {
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur >= static_cast<rlim_t>(kNoFileLimit)) {
      return kNoFileLimit;
    }
    std::vector<std::string> fds;
    if (ReadNamesAt(AT_FDCWD, "/proc/self/fd", fds) != 0) return 0;
    const long below = static_cast<long>(limit.rlim_cur);
    long open = -1;  // the listing's own
    for (const std::string& fd : fds) {
      if (std::strtol(fd.c_str(), nullptr, 10) < below) ++open;
    }
    return static_cast<int>(std::max(0L, below - open));
  }

  std::vector<std::u16string> Drives() override {
    std::vector<std::u16string> drives{u"/"};
    std::set<std::u16string> seen{u"/"};
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
      // id parent major:minor root mount-point options ... - fstype source ...
      std::istringstream fields(line);
      std::string id, parent, dev, root, mount;
      fields >> id >> parent >> dev >> root >> mount;
      const std::size_t dash = line.find(" - ");
      std::string fstype;
      if (dash != std::string::npos) std::istringstream(line.substr(dash + 3)) >> fstype;
      const std::string point = Unescape(mount);
      if (point.empty() || point[0] != '/' || IsSystemMount(point, fstype)) continue;
      std::u16string drive = DecodeNative(point);
      if (drive.back() != u'/') drive += u'/';
      if (seen.insert(drive).second) drives.push_back(drive);
    }
    return drives;
  }

 private:
  // The entries of a folder with the asked dates, and its identity. Without
  // dates, an entry's kind comes from the listing (a status call only for a
  // link or an unknown kind); with dates, one status call per entry gives
  // kind and dates, the calls of a big folder shared among a few threads.
  static int List(std::u16string_view folder, bool modified, bool created,
                  std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                  FolderIdentity& identity) {
    std::string path;
    if (!EncodeNative(folder, path) || path.empty()) return kFsPathNotFound;
    const int opened = OpenAnyLength(AT_FDCWD, path, O_RDONLY | O_DIRECTORY);
    if (opened < 0) return MissingAs(errno, kFsPathNotFound);
    DIR* dir = fdopendir(opened);
    if (dir == nullptr) {
      const int err = errno;
      ::close(opened);
      return MissingAs(err, kFsPathNotFound);
    }
    // Closed also when memory runs out on the way.
    const std::unique_ptr<DIR, int (*)(DIR*)> stream(dir, closedir);
    const int dfd = dirfd(dir);
    FolderIdentityOf(dfd, identity);  // a folder read has one
    std::vector<std::string> names;
    std::vector<unsigned char> types;
    const int err = ReadNames(dir, names, &types);
    if (err == 0 && !modified && !created) {
      for (std::size_t k = 0; k < names.size(); ++k) {
        bool isFolder = types[k] == DT_DIR;
        if (types[k] == DT_LNK || types[k] == DT_UNKNOWN) {
          struct statx sx {};
          isFolder = StatxTarget(dfd, names[k].c_str(), false, sx) && S_ISDIR(sx.stx_mode);
        }
        (isFolder ? folders : files).push_back({DecodeNative(names[k]), isFolder});
      }
    } else if (err == 0) {
      std::vector<FsEntry> entries(names.size());
      ForEachSlice(names.size(), kStatSlice, kStatThreads, [&](std::size_t begin, std::size_t end) {
        LocalTimeCache modifiedTimes;
        LocalTimeCache birthTimes;
        for (std::size_t k = begin; k < end; ++k) {
          FsEntry& entry = entries[k];
          entry.name = DecodeNative(names[k]);
          struct statx sx {};
          if (StatxTarget(dfd, names[k].c_str(), true, sx)) {
            entry.isFolder = S_ISDIR(sx.stx_mode);
            if (modified && DateOfStatx(sx, false, modifiedTimes, entry.modified) != kFsOk) entry.dateErrors |= 1;
            if (created && DateOfStatx(sx, true, birthTimes, entry.created) != kFsOk) entry.dateErrors |= 2;
          } else {
            entry.isFolder = types[k] == DT_DIR;
            entry.dateErrors = (modified ? 1 : 0) | (created ? 2 : 0);
          }
        }
      });
      for (FsEntry& entry : entries) (entry.isFolder ? folders : files).push_back(std::move(entry));
    }
    return err == 0 ? kFsOk : FsErrorOfErrno(err);
  }

  static int Exists(std::u16string_view path, EntryKind kind, bool& exists) {
    exists = false;
    std::string bytes;
    if (!EncodeNative(path, bytes) || bytes.empty()) return kFsOk;
    FolderAt at;
    std::string name, actual;
    const int rc = FindPathNoCase(bytes, kind, at, name, actual);
    if (rc == kFsNotFound) return kFsOk;
    exists = rc == kFsOk;
    return rc;
  }

  static int Dates(std::u16string_view path, bool isFolder, bool birth, Date& date) {
    std::string bytes;
    if (!EncodeNative(path, bytes) || bytes.empty()) return kFsNotFound;
    FolderAt at;
    std::string name, actual;
    const int rc = FindPathNoCase(bytes, isFolder ? EntryKind::Folder : EntryKind::File, at, name,
                                  actual);
    if (rc != kFsOk) return rc;
    return EntryDate(at, name, isFolder, birth, date);
  }

  static int Open(std::u16string_view path, bool cut, std::unique_ptr<TextFile>& file) {
    std::string bytes;
    if (!EncodeNative(path, bytes) || bytes.empty()) return kFsPathNotFound;
    return OpenTextFile(bytes, cut, file);
  }

  // Mount points in mountinfo escape blank, tab, newline and backslash as \ooo.
  static std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\\' && i + 3 < s.size() + 0 && s[i + 1] >= '0' && s[i + 1] <= '7') {
        out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
        i += 3;
      } else {
        out += s[i];
      }
    }
    return out;
  }

  // Kernel and runtime file systems hold no user files: they stay out of the
  // drive list.
  static bool IsSystemMount(const std::string& point, const std::string& fstype) {
    static const std::set<std::string> kPseudo = {
        "proc",        "sysfs",    "cgroup",          "cgroup2",    "devpts",
        "mqueue",      "debugfs",  "tracefs",         "securityfs", "pstore",
        "bpf",         "configfs", "fusectl",         "hugetlbfs",  "autofs",
        "binfmt_misc", "devtmpfs", "efivarfs",        "rpc_pipefs", "nsfs",
        "selinuxfs",   "squashfs", "fuse.gvfsd-fuse", "fuse.portal"};
    if (kPseudo.count(fstype) != 0) return true;
    for (const char* prefix : {"/proc", "/sys", "/dev"}) {
      const std::size_t n = std::strlen(prefix);
      if (point.compare(0, n, prefix) == 0 && (point.size() == n || point[n] == '/')) return true;
    }
    if (point.compare(0, 4, "/run") == 0 && (point.size() == 4 || point[4] == '/')) {
      return point.compare(0, 11, "/run/media/") != 0;
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<FileSystem> CreateSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace dovetam
