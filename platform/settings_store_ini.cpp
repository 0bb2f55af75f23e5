// The settings store as one INI file per application key.
//
// Layout: "[section]" lines, then "key=value" lines. Sections and keys are
// kept exactly as given (no case folding); a value is everything after the
// first "=" up to the end of its line, with only "\\", "\n" and "\r" escaped,
// never trimmed. Other lines (comments, blank lines) are kept as they are.
// Every read reads the whole file, so changes made by another copy of the
// program are seen; every write rewrites the whole file through a temporary
// file in the same folder, flushed to disk and renamed over the old one, so
// the file is always either the old or the new one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/settings_store.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

struct IniLine {
  bool isEntry = false;
  std::u16string key;   // entry
  std::u16string text;  // value of an entry (unescaped), or the raw line
  std::u16string raw;   // an entry as read from the file, "" once changed
};

struct IniSection {
  std::u16string name;
  bool hasHeader = true;  // false for the lines before the first header
  std::vector<IniLine> lines;
};

std::u16string Unescape(std::u16string_view v) {
  std::u16string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == u'\\' && i + 1 < v.size()) {
      const char16_t n = v[i + 1];
      if (n == u'\\' || n == u'n' || n == u'r') {
        out += n == u'\\' ? u'\\' : (n == u'n' ? u'\n' : u'\r');
        ++i;
        continue;
      }
    }
    out += v[i];
  }
  return out;
}

std::u16string Escape(std::u16string_view v) {
  std::u16string out;
  out.reserve(v.size());
  for (char16_t c : v) {
    if (c == u'\\') {
      out += u"\\\\";
    } else if (c == u'\n') {
      out += u"\\n";
    } else if (c == u'\r') {
      out += u"\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string TrimBlanks(std::u16string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == u' ' || s[a] == u'\t')) ++a;
  while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t')) --b;
  return std::u16string(s.substr(a, b - a));
}

std::vector<IniSection> Parse(std::u16string_view text) {
  std::vector<IniSection> sections(1);
  sections[0].hasHeader = false;
  std::size_t i = 0;
  if (!text.empty() && text[0] == u'\uFEFF') i = 1;  // byte-order mark of a hand-edited file
  while (i < text.size()) {
    std::size_t end = text.find(u'\n', i);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(i, end - i);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    i = end + 1;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      sections.push_back({std::u16string(line.substr(1, line.size() - 2)), true, {}});
      continue;
    }
    const std::size_t eq = line.find(u'=');
    const bool comment = !line.empty() && (line[0] == u';' || line[0] == u'#');
    if (eq == std::u16string_view::npos || comment) {
      sections.back().lines.push_back({false, u"", std::u16string(line), u""});
    } else {
      sections.back().lines.push_back({true, TrimBlanks(line.substr(0, eq)),
                                       Unescape(line.substr(eq + 1)), std::u16string(line)});
    }
  }
  return sections;
}

std::u16string Serialize(const std::vector<IniSection>& sections) {
  std::u16string out;
  for (const IniSection& s : sections) {
    if (s.hasHeader) out += u"[" + s.name + u"]\n";
    for (const IniLine& l : s.lines) {
      if (!l.isEntry) {
        out += l.text;
      } else if (!l.raw.empty()) {
        out += l.raw;  // untouched lines stay as they were written
      } else {
        out += l.key + u"=" + Escape(l.text);
      }
      out += u'\n';
    }
  }
  return out;
}

// Reads the whole file. A missing file is an empty one; false when the file
// exists but cannot be read.
bool ReadFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Creates every missing folder of path (a folder path without trailing "/").
bool MakeFolders(const std::string& folder) {
  struct stat st {};
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::size_t slash = folder.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
    return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool ReplaceAtomically(const std::string& folder, const std::string& file,
                       const std::string& bytes) {
  if (!MakeFolders(folder)) return false;
  // A store that is a link (kept with other configuration elsewhere) stays a
  // link: the file it points to is the one replaced.
  std::string path = file;
  std::string targetFolder = folder;
  struct stat st {};
  if (lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* real = realpath(file.c_str(), nullptr);
    if (real == nullptr) return false;
    path = real;
    std::free(real);
    targetFolder = path.substr(0, path.rfind('/'));
    if (targetFolder.empty()) targetFolder = "/";
  }
  const bool existed = stat(path.c_str(), &st) == 0;
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok =
      WriteAll(fd, bytes) && (!existed || fchmod(fd, st.st_mode & 07777) == 0) && fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const int dfd = ::open(targetFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    ::close(dfd);
  }
  return true;
}

class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string configHome) : home_(std::move(configHome)) {}

  bool Read(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
            std::u16string_view defaultValue, std::u16string& value) override {
    std::string folder, path, bytes;
    if (!PathOf(appKey, folder, path) || !ReadFile(path, bytes)) return false;
    for (const IniSection& s : Parse(DecodeNative(bytes))) {
      if (!s.hasHeader || s.name != section) continue;
      for (const IniLine& l : s.lines) {
        if (l.isEntry && l.key == key) {
          value = l.text;
          return true;
        }
      }
    }
    value = std::u16string(defaultValue);
    return true;
  }

  bool Write(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
             std::u16string_view value) override {
    if (section.find_first_of(u"[]\n\r") != std::u16string_view::npos ||
        key.find_first_of(u"=\n\r") != std::u16string_view::npos || key.empty() ||
        TrimBlanks(key) != key || key[0] == u';' || key[0] == u'#' || key[0] == u'[') {
      return false;
    }
    std::string checked;
    if (!EncodeNative(value, checked)) return false;
    std::string folder, path, bytes;
    if (!PathOf(appKey, folder, path) || !ReadFile(path, bytes)) return false;
    std::vector<IniSection> sections = Parse(DecodeNative(bytes));
    Put(sections, section, key, value);
    std::string out;
    if (!EncodeNative(Serialize(sections), out)) return false;
    return ReplaceAtomically(folder, path, out);
  }

 private:
  static void Put(std::vector<IniSection>& sections, std::u16string_view section,
                  std::u16string_view key, std::u16string_view value) {
    for (IniSection& s : sections) {
      if (!s.hasHeader || s.name != section) continue;
      for (IniLine& l : s.lines) {
        if (l.isEntry && l.key == key) {
          l.text = value;
          l.raw.clear();
          return;
        }
      }
      // After the last entry, before trailing blank lines.
      std::size_t at = s.lines.size();
      while (at > 0 && !s.lines[at - 1].isEntry && s.lines[at - 1].text.empty()) --at;
      s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at),
                     {true, std::u16string(key), std::u16string(value), u""});
      return;
    }
    sections.push_back(
        {std::u16string(section), true, {{true, std::u16string(key), std::u16string(value), u""}}});
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
};

}  // namespace

std::unique_ptr<SettingsStore> CreateIniSettingsStore(std::string configHome) {
  return std::make_unique<IniSettingsStore>(std::move(configHome));
}

std::string DefaultConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config";
}

}  // namespace dovetam
