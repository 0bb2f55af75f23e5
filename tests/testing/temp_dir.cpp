// Temporary folders for tests (see temp_dir.h).
#include "testing/temp_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/utf8_codec.h"

namespace dovetam::testing {

namespace fs = std::filesystem;

namespace {

void Throw(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + ": " + path);
}

void WriteBytes(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) Throw("cannot create file", path);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) Throw("cannot write file", path);
}

// Lets the owner into every folder again so that everything can be removed.
void MakeRemovable(const fs::path& p) {
  std::error_code ec;
  fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, ec);
  if (!fs::is_directory(fs::symlink_status(p, ec))) return;
  for (const auto& e : fs::directory_iterator(p, ec)) {
    if (fs::is_directory(e.symlink_status(ec))) MakeRemovable(e.path());
  }
}

}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp");
  if (pattern.back() != '/') pattern += '/';
  pattern += "dovetam-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Throw("cannot create temporary folder", pattern);
  native_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  MakeRemovable(native_);
  fs::remove_all(native_, ec);
}

std::u16string TempDir::path() const { return DecodeNative(native_); }

std::u16string TempDir::PathOf(std::u16string_view relative) const {
  return path() + std::u16string(relative);
}

std::string TempDir::Native(std::u16string_view relative) const {
  std::string bytes;
  if (!EncodeNative(relative, bytes)) Throw("name cannot be encoded", EncodeNativeLossy(relative));
  return native_ + bytes;
}

void TempDir::MakeFile(std::u16string_view relative, std::string_view content) const {
  WriteBytes(Native(relative), content);
}

void TempDir::MakeFileBytes(std::string_view relativeBytes, std::string_view content) const {
  WriteBytes(native_ + std::string(relativeBytes), content);
}

void TempDir::MakeFolder(std::u16string_view relative) const {
  std::error_code ec;
  fs::create_directories(Native(relative), ec);
  if (ec) Throw("cannot create folder", Native(relative));
}

void TempDir::MakeSymlink(std::u16string_view relative, std::string_view target) const {
  if (symlink(std::string(target).c_str(), Native(relative).c_str()) != 0) {
    Throw("cannot create link", Native(relative));
  }
}

void TempDir::SetModified(std::u16string_view relative, std::time_t t) const {
  const timespec times[2] = {{t, 0}, {t, 0}};
  if (utimensat(AT_FDCWD, Native(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    Throw("cannot set time", Native(relative));
  }
}

void TempDir::SetMode(std::u16string_view relative, unsigned mode) const {
  if (chmod(Native(relative).c_str(), mode) != 0) Throw("cannot set mode", Native(relative));
}

bool TempDir::Exists(std::u16string_view relative) const {
  struct stat st {};
  return lstat(Native(relative).c_str(), &st) == 0;
}

bool TempDir::IsFolder(std::u16string_view relative) const {
  struct stat st {};
  return lstat(Native(relative).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string TempDir::ReadFile(std::u16string_view relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  if (!in) Throw("cannot read file", Native(relative));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::u16string> TempDir::Names(std::u16string_view relativeFolder) const {
  std::vector<std::u16string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(Native(relativeFolder), ec)) {
    names.push_back(DecodeNative(e.path().filename().native()));
  }
  if (ec) Throw("cannot list folder", Native(relativeFolder));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace dovetam::testing
