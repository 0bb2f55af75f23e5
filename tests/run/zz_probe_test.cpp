#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <iostream>
#include "run/run_fixture.h"
namespace dovetam::testing {
namespace {
namespace fs_ = std::filesystem;
std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }
std::multiset<std::string> Contents(const std::string& root) {
  std::multiset<std::string> out;
  for (auto& e : fs_::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) { std::ifstream in(e.path()); std::string s; std::getline(in, s); out.insert(s); }
  }
  return out;
}
class Stress : public RunTest {};
TEST_F(Stress, RandomFoldersNeverLoseAFile) {
  for (int seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    std::string root = U8(W());
    fs_::remove_all(root); fs_::create_directory(root);
    objects.Reset(10);
    rule.clear(); changeState = 0; boxes.Clear();
    const char16_t* names[] = {u"a", u"b", u"A", u"c.txt", u"C.TXT", u"d", u"a-2", u"b-2", u"c-2.txt"};
    const char16_t* folders[] = {u"", u"a/", u"b/", u"a/d/"};
    int content = 0;
    std::vector<std::u16string> rels;
    // folders a, b, a/d first; then files
    for (auto f : {u"a", u"b"}) { dir.MakeFolder(std::u16string(u"w/") + f); if (rng() % 2) rels.push_back(f); }
    dir.MakeFolder(u"w/a/d"); if (rng() % 2) rels.push_back(u"a/d");
    for (int k = 0; k < 10; ++k) {
      std::u16string rel = std::u16string(folders[rng() % 4]) + names[rng() % 9];
      if (dir.Exists(u"w/" + rel)) continue;
      dir.MakeFile(u"w/" + rel, std::to_string(++content));
      if (rng() % 3) rels.push_back(rel);
    }
    std::shuffle(rels.begin(), rels.end(), rng);
    for (auto& r : rels) AddTargetOnly(r, !dir.Exists(u"w/" + r) ? false : fs_::is_directory(U8(dir.PathOf(u"w/" + r))));
    for (auto n : names) if (rng() % 2) rule[n] = names[rng() % 9];
    for (auto f : {u"a", u"b", u"d"}) if (rng() % 2) rule[f] = names[rng() % 9];
    settings.BNameMode = rng() % 3 == 0;
    settings.FirstNumMode = rng() % 3 == 0;
    settings.ExtraNum = 2;
    settings.ExtraMode = 1 + rng() % 6;
    auto before = Contents(root);
    std::vector<std::u16string> orig;
    for (int i = 1; i <= objects.ObjCount; ++i) orig.push_back(objects.ObjFolder[i] + objects.ObjName[i]);
    Run();
    ASSERT_EQ(before, Contents(root)) << seed;
    for (int i = 1; i <= objects.ObjCount; ++i)
      ASSERT_TRUE(fs_::exists(fs_::symlink_status(U8(objects.ObjFolder[i] + objects.ObjName[i])))) << seed << " " << U8(objects.ObjFolder[i] + objects.ObjName[i]);
    if (rng() % 2) { Run(2); ASSERT_EQ(before, Contents(root)) << seed; }
    changeState = 3;
    Restore();
    ASSERT_EQ(before, Contents(root)) << seed;
    for (int i = 1; i <= objects.ObjCount; ++i) {
      ASSERT_TRUE(fs_::exists(fs_::symlink_status(U8(objects.ObjFolder[i] + objects.ObjName[i])))) << seed;
      if (objects.ObjState[i] == 0) EXPECT_EQ(U8(orig[i - 1]), U8(objects.ObjFolder[i] + objects.ObjName[i])) << seed;
      else std::cout << "seed " << seed << " state " << int(objects.ObjState[i]) << " " << U8(objects.ObjName[i]) << "\n";
    }
    EXPECT_EQ(0, journal.ErrorCount) << seed << U8(journal.LogText);
  }
}
}  // namespace
}  // namespace dovetam::testing
