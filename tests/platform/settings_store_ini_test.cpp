// The INI settings store on real files: exact values, hand-written files,
// one reading and one replacement per batch, files that are no settings
// files, and atomic saves that never leave a broken, mixed or half-written
// store.
#include "platform/settings_store.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/settings.h"
#include "testing/counting_file_calls.h"
#include "platform/utf8_codec.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

constexpr std::u16string_view kApp = u"Ombra-Vale Software\\Dovetam";

// The counted calls, where a write can also make no progress: while
// stallWrites is set, every write writes nothing and returns 0. A save that
// kept trying would never end, so once kMostStalls writes have stalled every
// further one fails (EIO), and writeCalls shows how often it was tried.
class StallingFileCalls : public testing::CountingFileCalls {
 public:
  static constexpr int kMostStalls = 100;
  bool stallWrites = false;

  ssize_t Write(int fd, const char* data, std::size_t size) override {
    if (!stallWrites) return CountingFileCalls::Write(fd, data, size);
    if (++writeCalls <= kMostStalls) return 0;
    errno = EIO;
    return -1;
  }
};

class IniStoreTest : public TempDirTest {
 protected:
  IniStoreTest() { calls.storePath = dir.native() + "config/Ombra-Vale Software/Dovetam.ini"; }

  StallingFileCalls calls;
  std::unique_ptr<SettingsStore> store = CreateIniSettingsStore(dir.native() + "config", &calls);
  const std::u16string kFolder = u"config/Ombra-Vale Software";
  const std::u16string kFile = u"config/Ombra-Vale Software/Dovetam.ini";

  std::u16string ReadBack(std::u16string_view section, std::u16string_view key) {
    std::u16string value = u"<not set>";
    EXPECT_TRUE(store->Read(kApp, section, key, u"<default>", value));
    return value;
  }
};

TEST_F(IniStoreTest, MissingFileAndMissingKeyReadAsTheDefault) {
  std::u16string value;
  ASSERT_TRUE(store->Read(kApp, u"general", u"defpath", u"/", value));
  EXPECT_EQ(u"/", value);
  EXPECT_FALSE(dir.Exists(u"config"));  // reading creates nothing
  ASSERT_TRUE(store->Write(kApp, u"general", u"samplename", u"x"));
  EXPECT_EQ(u"<default>", ReadBack(u"general", u"defpath"));
  EXPECT_EQ(u"<default>", ReadBack(u"rule", u"samplename"));  // other section
  EXPECT_EQ(u"<default>", ReadBack(u"general", u"SampleName"));  // keys are exact
}

TEST_F(IniStoreTest, TheBackslashOfTheApplicationKeyMakesTheFolderLevel) {
  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/home/"));
  EXPECT_EQ(std::vector<std::u16string>{u"Ombra-Vale Software"}, dir.Names(u"config"));
  EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(u"config/Ombra-Vale Software"));
  EXPECT_EQ("[general]\ndefpath=/home/\n", dir.ReadFile(kFile));
}

TEST_F(IniStoreTest, EveryDefaultRoundTripsExactly) {
  const auto& keys = SettingKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    ASSERT_TRUE(store->Write(kApp, keys[i].section, keys[i].key, DefaultSettingText(i)));
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    SCOPED_TRACE(std::string(keys[i].key.begin(), keys[i].key.end()));
    EXPECT_EQ(DefaultSettingText(i), ReadBack(keys[i].section, keys[i].key));
  }
  // The long symbol sets, byte for byte, backslash escaped once. Literal on
  // purpose: this is how every file saved so far holds them, and how the
  // program must go on reading them.
  const std::string file = dir.ReadFile(kFile);
  EXPECT_NE(std::string::npos, file.find("\nmarkchr1= !\"#$%&'()*+,-./:;<=>?@[\\\\]^_`{|}~\n"));
  EXPECT_NE(std::string::npos, file.find("\nngstr=:\\\\/*?\"<>|\n"));
  EXPECT_NE(std::string::npos, file.find("\nspacechr= \xE3\x80\x80\n"));
  EXPECT_NE(std::string::npos, file.find("\nchr_yen=\\\\\n"));
  EXPECT_EQ(Settings{}.MarkChr2, ReadBack(u"rule", u"markchr2"));
  EXPECT_EQ(33u, ReadBack(u"rule", u"markchr2").size());
}

TEST_F(IniStoreTest, ValuesAreKeptByteForByte) {
  struct Row {
    const char* name;
    std::u16string value;
  };
  const Row rows[] = {
      {"Empty", u""},
      {"LeadingAndTrailingBlanks", u"  a b  "},
      {"OnlyBlanks", u" \u3000 "},
      {"Tabs", u"\ta\t"},
      {"Equals", u"a=b=c"},
      {"Semicolon", u";not a comment"},
      {"Hash", u"#not a comment"},
      {"Brackets", u"[general]"},
      {"Comma", u",,"},
      {"Backslash", u"C:\\new\\r"},
      {"BackslashAtEnd", u"x\\"},
      {"EscapeLookalike", u"\\n\\r\\\\"},
      {"Newline", u"line1\nline2"},
      {"CrLf", u"a\r\nb\r"},
      {"Quotes", u"\"'"},
      {"Japanese", u"メモ帳"},
      {"UndecodableByte", u"x\xDCFF"},
      {"Supplementary", u"\U0001F600"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_TRUE(store->Write(kApp, u"name", u"ngplacestr", r.value));
    ASSERT_TRUE(store->Write(kApp, u"name", u"after", u"next"));
    EXPECT_EQ(r.value, ReadBack(u"name", u"ngplacestr"));
    EXPECT_EQ(u"next", ReadBack(u"name", u"after"));
  }
}

// The file is literal on purpose: a file as a user may have edited it by
// hand, which the program must go on reading. It names a few stored keys, but
// nothing here depends on the key table holding them.
TEST_F(IniStoreTest, ReadsAHandWrittenFileAndKeepsItsOtherLines) {
  dir.MakeFolder(u"config/Ombra-Vale Software");
  dir.MakeFile(kFile,
               "; written by hand\r\n"
               "[general]\r\n"
               "defpath=/home/user/\r\n"
               "samplename= a b \r\n"
               "\r\n"
               "[rule]\n"
               "chr_q1=??\n"
               "escapemode = true\n"
               "[display]\n"
               "udate=False");
  EXPECT_EQ(u"/home/user/", ReadBack(u"general", u"defpath"));
  EXPECT_EQ(u" a b ", ReadBack(u"general", u"samplename"));
  EXPECT_EQ(u"??", ReadBack(u"rule", u"chr_q1"));
  EXPECT_EQ(u" true", ReadBack(u"rule", u"escapemode"));  // the value is not trimmed
  EXPECT_EQ(u"False", ReadBack(u"display", u"udate"));

  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/tmp/"));
  ASSERT_TRUE(store->Write(kApp, u"general", u"repopen", u"x"));
  ASSERT_TRUE(store->Write(kApp, u"process", u"logmode", u"True"));
  EXPECT_EQ(
      "; written by hand\n"
      "[general]\n"
      "defpath=/tmp/\n"
      "samplename= a b \n"
      "repopen=x\n"
      "\n"
      "[rule]\n"
      "chr_q1=??\n"
      "escapemode = true\n"
      "[display]\n"
      "udate=False\n"
      "[process]\n"
      "logmode=True\n",
      dir.ReadFile(kFile));
}

// Lines ended by CR alone, as some editors write them, read as lines: the
// same values as with CR LF or LF, and a save keeps every other line. A new
// key goes after the last line of its section whatever ends that line, with
// a blank line after it or none, so the next start reads it in its section.
// The files are literal: hand-edited files the program must go on reading.
TEST_F(IniStoreTest, ReadsAFileWithLinesEndedByCrAlone) {
  dir.MakeFolder(u"config/Ombra-Vale Software");
  for (const std::string end : {"\r", "\r\n", "\n"}) {
    SCOPED_TRACE(end == "\r" ? "CR" : end == "\n" ? "LF" : "CR LF");
    dir.MakeFile(kFile, "; by hand" + end + "[general]" + end + "defpath=/home/user/" + end +
                            "samplename= a b " + end + end + "[rule]" + end + "chr_q1=??" + end +
                            "[name]" + end + "ngstr=:\\" + end + "[process]" + end +
                            "logmode=True");
    EXPECT_EQ(u"/home/user/", ReadBack(u"general", u"defpath"));
    EXPECT_EQ(u" a b ", ReadBack(u"general", u"samplename"));
    EXPECT_EQ(u"??", ReadBack(u"rule", u"chr_q1"));
    {
      SettingsBatch batch(*store, kApp);
      ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/tmp/"));
      ASSERT_TRUE(store->Write(kApp, u"general", u"added", u"1"));
      ASSERT_TRUE(store->Write(kApp, u"rule", u"added", u"2"));
      ASSERT_TRUE(store->Write(kApp, u"process", u"added", u"3"));
      ASSERT_TRUE(batch.Commit());
    }
    EXPECT_EQ("; by hand\n[general]\ndefpath=/tmp/\nsamplename= a b \nadded=1\n\n"
              "[rule]\nchr_q1=??\nadded=2\n[name]\nngstr=:\\\n[process]\nlogmode=True\nadded=3\n",
              dir.ReadFile(kFile));
    auto next = CreateIniSettingsStore(dir.native() + "config");
    SettingsBatch batch(*next, kApp);
    using Added = std::pair<std::u16string_view, std::u16string_view>;
    for (const auto& [section, value] : {Added{u"general", u"1"}, Added{u"rule", u"2"},
                                         Added{u"process", u"3"}}) {
      std::u16string read;
      ASSERT_TRUE(next->Read(kApp, section, u"added", u"<default>", read));
      EXPECT_EQ(value, read) << std::string(section.begin(), section.end());
    }
  }
}

TEST_F(IniStoreTest, ASecondCopyOfTheProgramSeesEveryWrite) {
  auto other = CreateIniSettingsStore(dir.native() + "config");
  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/a/"));
  ASSERT_TRUE(other->Write(kApp, u"general", u"samplename", u"b"));
  EXPECT_EQ(u"b", ReadBack(u"general", u"samplename"));
  EXPECT_EQ(u"/a/", ReadBack(u"general", u"defpath"));
}

TEST_F(IniStoreTest, UnreadableStoreFailsReadsAndWritesWithoutHarm) {
  // The store file's place is taken by a folder: nothing can be read or written.
  dir.MakeFolder(kFile);
  std::u16string value;
  EXPECT_FALSE(store->Read(kApp, u"general", u"defpath", u"/", value));
  EXPECT_FALSE(store->Write(kApp, u"general", u"defpath", u"/x/"));
  EXPECT_TRUE(dir.IsFolder(kFile));
  EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(u"config/Ombra-Vale Software"));
}

TEST_F(IniStoreTest, UnencodableValueIsNotWritten) {
  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/old/"));
  EXPECT_FALSE(store->Write(kApp, u"general", u"defpath", u"/bad\xD800/"));
  EXPECT_EQ(u"/old/", ReadBack(u"general", u"defpath"));
}

// Writes one key as the user "nobody" when running as root, whom a read-only
// folder does not stop; otherwise as this user. Returns the result of Write.
bool WriteAsOrdinaryUser(SettingsStore& store, std::u16string_view value) {
  if (geteuid() != 0) return store.Write(kApp, u"general", u"defpath", value);
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    _exit(store.Write(kApp, u"general", u"defpath", value) ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "cannot become nobody";
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST_F(IniStoreTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/old/"));
  const std::string before = dir.ReadFile(kFile);
  // Everyone may read the store and reach its folder, nobody may write there.
  dir.SetMode(u"", 0755);
  dir.SetMode(u"config", 0755);
  dir.SetMode(kFile, 0644);
  dir.SetMode(u"config/Ombra-Vale Software", 0555);
  EXPECT_FALSE(WriteAsOrdinaryUser(*store, u"/new/"));
  dir.SetMode(u"config/Ombra-Vale Software", 0755);
  EXPECT_EQ(before, dir.ReadFile(kFile));
  EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(u"config/Ombra-Vale Software"));
}

TEST_F(IniStoreTest, ALinkedStoreStaysALinkAndKeepsItsMode) {
  dir.MakeFolder(u"dotfiles");
  dir.MakeFile(u"dotfiles/dovetam.ini", "\xEF\xBB\xBF[general]\ndefpath=/bom/\n");
  dir.SetMode(u"dotfiles/dovetam.ini", 0640);
  dir.MakeFolder(u"config/Ombra-Vale Software");
  dir.MakeSymlink(kFile, dir.native() + "dotfiles/dovetam.ini");
  EXPECT_EQ(u"/bom/", ReadBack(u"general", u"defpath"));
  ASSERT_TRUE(store->Write(kApp, u"general", u"samplename", u"s"));
  EXPECT_EQ("[general]\ndefpath=/bom/\nsamplename=s\n", dir.ReadFile(u"dotfiles/dovetam.ini"));
  struct stat st {};
  ASSERT_EQ(0, lstat((dir.native() + "config/Ombra-Vale Software/Dovetam.ini").c_str(), &st));
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(0, stat((dir.native() + "dotfiles/dovetam.ini").c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 07777);
  EXPECT_EQ(std::vector<std::u16string>{u"dovetam.ini"}, dir.Names(u"dotfiles"));
}

TEST_F(IniStoreTest, SavesLeaveNoTemporaryFiles) {
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store->Write(kApp, u"display", u"mix", u"True"));
  EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(u"config/Ombra-Vale Software"));
}

// Writes every settings key with the text value in one batch.
bool SaveAllKeys(SettingsStore& store, std::u16string_view value) {
  SettingsBatch batch(store, kApp);
  for (const SettingKey& k : SettingKeys()) {
    if (!store.Write(kApp, k.section, k.key, value)) return false;
  }
  return batch.Commit();
}

// What a save of every key (key i holding values(i)) makes of a file that
// holds `kept`, the first key's section with the first key, and then `after`:
// the first key in its place, the other keys of its section after it, then
// `after`, then every other section in the table's order, each with its keys
// in the table's order. Made from the key table, so that a key added to it
// changes what is expected here with it.
template <typename Value>
std::string SavedEveryKey(std::string_view kept, std::string_view after, Value values) {
  const auto& keys = SettingKeys();
  const auto bytes = [](std::u16string_view text) { return EncodeNativeLossy(text); };
  const auto sectionOf = [&](std::u16string_view section) {
    std::string out = std::string("[").append(bytes(section)).append("]\n");
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i].section == section) out += bytes(keys[i].key) + "=" + bytes(values(i)) + "\n";
    }
    return out;
  };
  std::string out = std::string(kept) + sectionOf(keys[0].section) + std::string(after);
  std::vector<std::u16string_view> done = {keys[0].section};
  for (const SettingKey& k : keys) {
    if (std::find(done.begin(), done.end(), k.section) != done.end()) continue;
    done.push_back(k.section);
    out += sectionOf(k.section);
  }
  return out;
}

TEST_F(IniStoreTest, ABatchReadsTheFileOnceAndReplacesItOnce) {
  const auto& keys = SettingKeys();
  const std::string first =
      std::string("[").append(EncodeNativeLossy(keys[0].section)).append("]\n") +
      EncodeNativeLossy(keys[0].key) + "=";
  dir.MakeFolder(kFolder);
  dir.MakeFile(kFile, "; kept\n" + first + "/old/\n[other]\nx=1\n");
  {
    SettingsBatch batch(*store, kApp);
    std::u16string value;
    for (const SettingKey& k : keys) ASSERT_TRUE(store->Read(kApp, k.section, k.key, u"-", value));
    EXPECT_EQ(u"/old/", ReadBack(keys[0].section, keys[0].key));
  }
  EXPECT_EQ(1, calls.readings);
  EXPECT_EQ(0, calls.creations);

  calls.Reset();
  const auto value = [](std::size_t i) {
    return std::u16string{u'v', static_cast<char16_t>(u'A' + i % 26)};
  };
  {
    SettingsBatch batch(*store, kApp);
    for (std::size_t i = 0; i < keys.size(); ++i)
      ASSERT_TRUE(store->Write(kApp, keys[i].section, keys[i].key, value(i)));
    EXPECT_EQ(u"vA", ReadBack(keys[0].section, keys[0].key));  // the batch sees its own writes
    EXPECT_EQ(0, calls.creations);  // nothing is written before the end
    ASSERT_TRUE(batch.Commit());
  }
  const std::string file = dir.ReadFile(kFile);
  EXPECT_EQ(SavedEveryKey("; kept\n", "[other]\nx=1\n", value), file);
  EXPECT_EQ(1, calls.readings);
  EXPECT_EQ(1, calls.creations);
  EXPECT_EQ(1, calls.writeCalls);
  EXPECT_EQ(file.size(), calls.bytesWritten);
  EXPECT_EQ(2, calls.fsyncs);  // the file and its folder
  EXPECT_EQ(1, calls.renames);
  EXPECT_EQ(calls.opens, calls.closes);

  // A batch that is not committed, or has nothing to write, writes nothing.
  calls.Reset();
  {
    SettingsBatch batch(*store, kApp);
    ASSERT_TRUE(store->Write(kApp, keys[0].section, keys[0].key, u"dropped"));
  }
  {
    SettingsBatch batch(*store, kApp);
    ReadBack(keys[0].section, keys[0].key);
    EXPECT_TRUE(batch.Commit());
  }
  EXPECT_EQ(0, calls.creations);
  EXPECT_EQ(file, dir.ReadFile(kFile));
}

TEST_F(IniStoreTest, WhatIsNoSettingsFileIsNeverOpenedNorReplaced) {
  struct Row {
    const char* name;
    void (*make)(const std::string& path);
  };
  const Row rows[] = {
      {"Fifo", [](const std::string& p) { ASSERT_EQ(0, mkfifo(p.c_str(), 0600)); }},
      {"LinkToDevZero", [](const std::string& p) { ASSERT_EQ(0, symlink("/dev/zero", p.c_str())); }},
      {"LinkToDevNull", [](const std::string& p) { ASSERT_EQ(0, symlink("/dev/null", p.c_str())); }},
      {"Folder", [](const std::string& p) { ASSERT_EQ(0, mkdir(p.c_str(), 0700)); }},
      {"Oversized",
       [](const std::string& p) {
         std::string bytes = "[general]\ndefpath=/big/\n;";
         bytes.resize(kSettingsFileLimit + 1, 'x');
         std::ofstream(p, std::ios::binary) << bytes;
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const std::string home = dir.native() + r.name;
    const std::string folder = home + "/Ombra-Vale Software";
    const std::string path = folder + "/Dovetam.ini";
    ASSERT_EQ(0, mkdir(home.c_str(), 0700));
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    r.make(path);
    struct stat before {};
    ASSERT_EQ(0, lstat(path.c_str(), &before));
    calls.storePath = path;
    calls.Reset();
    auto s = CreateIniSettingsStore(home, &calls);

    std::u16string value;
    EXPECT_FALSE(s->Read(kApp, u"general", u"defpath", u"/", value));
    EXPECT_FALSE(s->Write(kApp, u"general", u"defpath", u"/x/"));
    EXPECT_FALSE(SaveAllKeys(*s, u"x"));
    EXPECT_EQ(0, calls.readings);
    EXPECT_EQ(0, calls.creations);
    struct stat after {};
    ASSERT_EQ(0, lstat(path.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_size, after.st_size);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"},
              dir.Names(DecodeNative(std::string(r.name) + "/Ombra-Vale Software")));
  }
}

// A save never makes a file that the next load would refuse.
TEST_F(IniStoreTest, AFileOfExactlyTheLimitIsReadAndNeverOutgrown) {
  dir.MakeFolder(kFolder);
  std::string bytes = "[general]\ndefpath=/ab/\n;";
  bytes.resize(kSettingsFileLimit - 1, 'x');
  bytes += '\n';
  dir.MakeFile(kFile, bytes);
  EXPECT_EQ(u"/ab/", ReadBack(u"general", u"defpath"));
  EXPECT_FALSE(store->Write(kApp, u"general", u"defpath", u"/abc/"));  // one byte too many
  EXPECT_EQ(0, calls.creations);
  EXPECT_EQ(bytes, dir.ReadFile(kFile));
}

// Every save writes its file in one write of the whole text here; a write
// that fails, or that writes nothing (a save that kept trying would never
// end), fails the save at once, as does a failing flush or rename.
TEST_F(IniStoreTest, AFailingSystemCallFailsTheSaveAndKeepsTheOldFile) {
  ASSERT_TRUE(SaveAllKeys(*store, u"old"));
  const std::string before = dir.ReadFile(kFile);
  struct Row {
    const char* name;
    void (*fail)(StallingFileCalls& calls);
  };
  const Row rows[] = {
      {"WriteFails", [](StallingFileCalls& c) { c.failWrites = true; }},
      {"WriteWritesNothing", [](StallingFileCalls& c) { c.stallWrites = true; }},
      {"FsyncFails", [](StallingFileCalls& c) { c.failFsyncs = true; }},
      {"RenameFails", [](StallingFileCalls& c) { c.failRenames = true; }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    calls.Reset();
    calls.stallWrites = false;
    r.fail(calls);
    EXPECT_FALSE(SaveAllKeys(*store, u"new"));
    EXPECT_EQ(1, calls.creations);
    EXPECT_EQ(1, calls.writeCalls);
    EXPECT_EQ(before, dir.ReadFile(kFile));
    EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(kFolder));
  }
  calls.stallWrites = false;
}

TEST_F(IniStoreTest, ASaveRemovesTheTemporaryFilesOfKilledSavesOnly) {
  ASSERT_TRUE(store->Write(kApp, u"general", u"defpath", u"/a/"));
  const std::u16string f = kFolder + u"/";
  dir.MakeFile(f + u"Dovetam.ini.saving-Ab3xY9", "[general]\ndefpath=/ha");  // a killed save
  dir.MakeFile(f + u"Dovetam.ini.saving-000000", "[general]\n");             // another one
  const std::vector<std::u16string> kept = {
      u"Dovetam.ini",
      u"Dovetam.ini.saving-Ab3xY",    // not the store's own names
      u"Dovetam.ini.saving-Ab3xY9z",
      u"Dovetam.ini.saving-Ab.xY9",
      u"Dovetam.ini.backup",
      u"Dovetam.ini.Ab3xY9",
      u"Other.ini.saving-Ab3xY9",
      u"Dovetam.ini.saving-InUse1",   // held by a save in progress
      u"Dovetam.ini.saving-Link01",   // a link, not a file of the store
      u"target",
  };
  for (const std::u16string& name : kept) {
    if (name != u"Dovetam.ini" && name != u"Dovetam.ini.saving-Link01") dir.MakeFile(f + name);
  }
  dir.MakeSymlink(f + u"Dovetam.ini.saving-Link01", "target");
  const std::string inUse = dir.native() + "config/Ombra-Vale Software/Dovetam.ini.saving-InUse1";
  const int held = open(inUse.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(0, flock(held, LOCK_EX));
  EXPECT_TRUE(store->Write(kApp, u"general", u"defpath", u"/b/"));
  close(held);
  std::vector<std::u16string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, dir.Names(kFolder));
  EXPECT_EQ(u"/b/", ReadBack(u"general", u"defpath"));
}

// A child process saves all keys again and again, each save with a new
// number, and is killed at a random moment after its first save. Whenever it
// dies, the file holds one whole save: every key the same number, from this
// child, and the line the program does not own still in place. Where the
// machine is busy, kills may keep missing the moments of a save in progress:
// the rounds go on until one has landed part-way.
TEST_F(IniStoreTest, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  dir.MakeFolder(kFolder);
  dir.MakeFile(kFile, "; mine\n");
  // Kill moments spread over about two saves of this file system.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(SaveAllKeys(*store, u"0"));
  const auto save = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start) / 3;
  std::uniform_int_distribution<long> moment(0, 2 * save.count() + 200);
  std::mt19937 random(12345);
  int partWay = 0;  // kills that left a save's temporary file behind
  constexpr long kRounds = 40;
  constexpr long kMostRounds = 1000;
  for (long round = 1; round <= kRounds || (partWay == 0 && round <= kMostRounds); ++round) {
    int saved[2];
    ASSERT_EQ(0, pipe2(saved, O_CLOEXEC));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      auto own = CreateIniSettingsStore(dir.native() + "config");
      for (long n = round * 1000000;; ++n) {
        const std::string text = std::to_string(n);
        if (!SaveAllKeys(*own, std::u16string(text.begin(), text.end()))) _exit(3);
        if (write(saved[1], "s", 1) != 1) _exit(4);
      }
    }
    close(saved[1]);
    char byte = 0;
    const bool firstSaved = read(saved[0], &byte, 1) == 1;
    usleep(static_cast<useconds_t>(moment(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(saved[0]);
    ASSERT_TRUE(firstSaved && WIFSIGNALED(status)) << "the saving child failed";
    if (dir.Names(kFolder).size() > 1) ++partWay;

    auto reader = CreateIniSettingsStore(dir.native() + "config");
    SettingsBatch batch(*reader, kApp);
    std::u16string first;
    ASSERT_TRUE(reader->Read(kApp, u"general", u"defpath", u"", first));
    for (const SettingKey& k : SettingKeys()) {
      std::u16string value;
      ASSERT_TRUE(reader->Read(kApp, k.section, k.key, u"missing", value));
      ASSERT_EQ(first, value) << "round " << round;
    }
    EXPECT_EQ(round, std::stol(std::string(first.begin(), first.end())) / 1000000);
    EXPECT_EQ(0u, dir.ReadFile(kFile).find("; mine\n"));
  }
  EXPECT_GT(partWay, 0) << "no save was killed part-way in " << kMostRounds << " rounds";
  ASSERT_TRUE(SaveAllKeys(*store, u"end"));
  EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(kFolder));
}

TEST(DefaultConfigHomeTest, XdgConfigHomeOrDotConfig) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  setenv("XDG_CONFIG_HOME", "/xdg/home", 1);
  EXPECT_EQ("/xdg/home", DefaultConfigHome());
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + "/.config",
            DefaultConfigHome());
  if (oldXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

}  // namespace
}  // namespace dovetam
