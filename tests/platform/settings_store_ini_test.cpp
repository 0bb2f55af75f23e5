// The INI settings store on real files: exact values, hand-written files,
// atomic saves that never leave a broken or half-written store.
#include "platform/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

constexpr std::u16string_view kApp = u"Ombra-Vale Software\\Dovetam";

class IniStoreTest : public TempDirTest {
 protected:
  std::unique_ptr<SettingsStore> store = CreateIniSettingsStore(dir.native() + "config");
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
  // The long symbol sets, byte for byte, backslash escaped once.
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
