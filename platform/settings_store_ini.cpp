// The settings store as one INI file per application key.
//
// A load reads the file once and answers every key from that reading; a save
// changes the keys in memory and writes the whole file once, through a
// temporary file in the same folder that is flushed to disk and renamed over
// the old one, so a crash at any moment leaves either the old or the new file.
// A call outside a batch is a load or save of its own, so changes made by
// another copy of the program are seen.
//
// The file is looked at before it is opened and again through the opened
// descriptor: only a regular file of at most kSettingsFileLimit bytes is
// read, so a FIFO, a device or a huge file can neither hang nor exhaust the
// program. A store that cannot be read is never written either: its lines
// would be lost.
//
// Temporary files are named "<file>.saving-XXXXXX" and locked while a save
// uses them; a save removes the unlocked ones, left behind by a save that
// was killed.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "platform/ini_document.h"
#include "platform/settings_file_calls.h"
#include "platform/settings_store.h"
#include "platform/utf8_codec.h"

namespace dovetam {

int SettingsFileCalls::Open(const std::string& path, int flags, mode_t mode) {
  return ::open(path.c_str(), flags, mode);
}
ssize_t SettingsFileCalls::Read(int fd, char* buffer, std::size_t size) {
  return ::read(fd, buffer, size);
}
ssize_t SettingsFileCalls::Write(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}
int SettingsFileCalls::Fsync(int fd) { return ::fsync(fd); }
int SettingsFileCalls::Close(int fd) { return ::close(fd); }
int SettingsFileCalls::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str());
}
int SettingsFileCalls::Unlink(const std::string& path) { return ::unlink(path.c_str()); }

namespace {

constexpr std::string_view kTempMark = ".saving-";
constexpr std::size_t kTempRandom = 6;
constexpr std::string_view kTempChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsSettingsFile(const struct stat& st) {
  return S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) <= kSettingsFileLimit;
}

// Reads the whole file. A missing file is an empty one; false when the file
// exists but cannot be read or is no settings file.
bool ReadStoreFile(SettingsFileCalls& calls, const std::string& path, std::string& bytes) {
  bytes.clear();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (!IsSettingsFile(st)) return false;
  const int fd = calls.Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
  if (fd < 0) return false;
  // The object opened may not be the one looked at a moment ago.
  bool ok = ::fstat(fd, &st) == 0 && IsSettingsFile(st);
  if (ok) {
    // Room for one byte more than the file holds, and growth up to one byte
    // past the limit, show a file that grew meanwhile.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
      if (done == bytes.size()) {
        if (done > kSettingsFileLimit) {
          ok = false;
          break;
        }
        bytes.resize(std::min(bytes.size() * 2, kSettingsFileLimit + 1));
      }
      const ssize_t n = calls.Read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = n == 0;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(ok ? done : 0);
  }
  calls.Close(fd);
  return ok;
}

bool WriteAll(SettingsFileCalls& calls, int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = calls.Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;  // no progress: never loop on it
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Creates every missing folder of path (a folder path without trailing "/").
bool MakeFolders(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::size_t slash = folder.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
    return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool IsTempName(std::string_view entry, std::string_view fileName) {
  if (entry.size() != fileName.size() + kTempMark.size() + kTempRandom) return false;
  if (entry.substr(0, fileName.size()) != fileName ||
      entry.substr(fileName.size(), kTempMark.size()) != kTempMark)
    return false;
  for (char c : entry.substr(entry.size() - kTempRandom)) {
    if (kTempChars.find(c) == std::string_view::npos) return false;
  }
  return true;
}

// Removes the temporary files of fileName in folder that no save holds:
// those of a save that was killed.
void RemoveLeftovers(SettingsFileCalls& calls, const std::string& folder,
                     const std::string& fileName) {
  DIR* d = ::opendir(folder.c_str());
  if (d == nullptr) return;
  while (const dirent* e = ::readdir(d)) {
    if (!IsTempName(e->d_name, fileName)) continue;
    const std::string path = folder + "/" + e->d_name;
    const int fd = calls.Open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      calls.Unlink(path);
    calls.Close(fd);
  }
  ::closedir(d);
}

// A new temporary file for fileName in folder, locked against RemoveLeftovers
// of another save; -1 when none can be made.
int CreateTemp(SettingsFileCalls& calls, const std::string& folder, const std::string& fileName,
               std::string& temp) {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + "/" + fileName + std::string(kTempMark);
    for (std::size_t i = 0; i < kTempRandom; ++i) temp += kTempChars[random() % kTempChars.size()];
    const int fd =
        calls.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX | LOCK_NB);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool ReplaceAtomically(SettingsFileCalls& calls, const std::string& folder,
                       const std::string& file, const std::string& bytes) {
  if (!MakeFolders(folder)) return false;
  // A store that is a link (kept with other configuration elsewhere) stays a
  // link: the file it points to is the one replaced.
  std::string path = file;
  std::string targetFolder = folder;
  struct stat st {};
  if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* real = ::realpath(file.c_str(), nullptr);
    if (real == nullptr) return false;
    path = real;
    std::free(real);
    targetFolder = path.substr(0, path.rfind('/'));
    if (targetFolder.empty()) targetFolder.assign(1, '/');
  }
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) return false;
  const std::string fileName = path.substr(path.rfind('/') + 1);
  RemoveLeftovers(calls, targetFolder, fileName);
  std::string temp;
  const int fd = CreateTemp(calls, targetFolder, fileName, temp);
  if (fd < 0) return false;
  // The rename happens while the lock is held, so no other save takes the
  // file for a leftover.
  const bool ok = WriteAll(calls, fd, bytes) &&
                  (!existed || ::fchmod(fd, st.st_mode & 07777) == 0) && calls.Fsync(fd) == 0 &&
                  calls.Rename(temp, path) == 0;
  if (!ok) calls.Unlink(temp);
  calls.Close(fd);
  if (!ok) return false;
  // Make the rename itself durable.
  const int dfd = calls.Open(targetFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (dfd >= 0) {
    calls.Fsync(dfd);
    calls.Close(dfd);
  }
  return true;
}

// The store file of one application key as one load or save sees it: read
// at most once, changed in memory, written at most once.
struct StoreFile {
  std::u16string appKey;
  bool loaded = false;
  bool readable = false;
  bool changed = false;
  std::string folder, path;
  IniDocument doc;
};

class IniSettingsStore : public SettingsStore {
 public:
  IniSettingsStore(std::string configHome, SettingsFileCalls& calls)
      : home_(std::move(configHome)), calls_(calls) {}

  bool Read(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
            std::u16string_view defaultValue, std::u16string& value) override {
    StoreFile single;
    StoreFile& f = FileOf(appKey, single);
    if (!Load(f)) return false;
    if (!f.doc.Find(section, key, value)) value = defaultValue;
    return true;
  }

  bool Write(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
             std::u16string_view value) override {
    std::string checked;
    if (!IsWritableIniAddress(section, key) || !EncodeNative(value, checked)) return false;
    StoreFile single;
    StoreFile& f = FileOf(appKey, single);
    if (!Load(f)) return false;
    f.doc.Put(section, key, value);
    f.changed = true;
    return &f != &single || Save(f);
  }

  void BeginBatch(std::u16string_view appKey) override {
    batch_.emplace();
    batch_->appKey = appKey;
  }

  bool EndBatch(bool commit) override {
    if (!batch_) return true;
    StoreFile f = std::move(*batch_);
    batch_.reset();
    return !commit || !f.changed || Save(f);
  }

 private:
  StoreFile& FileOf(std::u16string_view appKey, StoreFile& single) {
    if (batch_ && batch_->appKey == appKey) return *batch_;
    single.appKey = appKey;
    return single;
  }

  bool Load(StoreFile& f) {
    if (f.loaded) return f.readable;
    f.loaded = true;
    std::string bytes;
    f.readable = PathOf(f.appKey, f.folder, f.path) && ReadStoreFile(calls_, f.path, bytes);
    if (f.readable) f.doc = IniDocument(std::move(bytes));
    return f.readable;
  }

  bool Save(const StoreFile& f) {
    std::string out;
    if (!f.doc.Serialize(out) || out.size() > kSettingsFileLimit) return false;
    return ReplaceAtomically(calls_, f.folder, f.path, out);
  }

  // "A\B" -> home/A/B.ini
  bool PathOf(std::u16string_view appKey, std::string& folder, std::string& path) const {
    std::u16string rel(appKey);
    for (char16_t& c : rel) {
      if (c == u'\\') c = u'/';
    }
    std::string relBytes;
    if (rel.empty() || !EncodeNative(rel, relBytes)) return false;
    for (const char* bad : {"/../", "/./"}) {
      if (("/" + relBytes + "/").find(bad) != std::string::npos) return false;
    }
    path = home_ + "/" + relBytes + ".ini";
    folder = path.substr(0, path.rfind('/'));
    return true;
  }

  std::string home_;
  SettingsFileCalls& calls_;
  std::optional<StoreFile> batch_;
};

}  // namespace

std::unique_ptr<SettingsStore> CreateIniSettingsStore(std::string configHome,
                                                      SettingsFileCalls* calls) {
  static SettingsFileCalls systemCalls;
  return std::make_unique<IniSettingsStore>(std::move(configHome),
                                            calls != nullptr ? *calls : systemCalls);
}

std::string DefaultConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config";
}

}  // namespace dovetam
