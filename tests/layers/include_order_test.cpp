// The folders of the tree include one way: every include of core/, platform/,
// ui/, app/, tests/, bench/ and fuzz/ that names a file of the tree, quoted or
// in angle brackets, goes to its own folder or to a folder below it in the README's order ("What may include what"). One test
// for each top folder, so a failure names the part of the tree it is in.
#include "layers/include_order.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "testing/temp_dir.h"

namespace dovetam::layers {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kTops = {"core", "platform", "ui", "app", "tests", "bench", "fuzz"};

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

// The order as the tree's README states it; fails the test when it cannot.
FolderOrder TreeOrder() {
  std::ifstream in(fs::path(DOVETAM_SOURCE_DIR) / "README.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  FolderOrder order;
  std::string error;
  EXPECT_TRUE(ReadFolderOrder(text.str(), order, error)) << error;
  return order;
}

TEST(IncludeOrder, EveryFolderHasOnePlace) {
  const FolderOrder order = TreeOrder();
  const auto mistakes = OrderMistakes(DOVETAM_SOURCE_DIR, order, kTops);
  EXPECT_TRUE(mistakes.empty()) << Joined(mistakes);
}

class IncludeOrderOf : public ::testing::TestWithParam<std::string> {};

TEST_P(IncludeOrderOf, IncludesOnlyDownward) {
  const FolderOrder order = TreeOrder();
  ASSERT_FALSE(order.levels.empty());
  const auto wrong = WrongIncludes(DOVETAM_SOURCE_DIR, order, GetParam());
  EXPECT_TRUE(wrong.empty()) << "Includes against the README's order of folders (What may "
                                "include what):\n"
                             << Joined(wrong);
}

INSTANTIATE_TEST_SUITE_P(Tree, IncludeOrderOf, ::testing::ValuesIn(kTops),
                         [](const auto& info) { return info.param; });

// The check on a small tree of its own: each kind of wrong include is named
// with its file and line, and the includes the order allows are not.
TEST(IncludeOrderCheck, NamesEveryWrongInclude) {
  testing::TempDir dir;
  for (const char16_t* folder :
       {u"low", u"left", u"right", u"top", u"top/sub", u"tests", u"stray"}) {
    dir.MakeFolder(folder);
  }
  dir.MakeFile(u"README.md",
               "Text.\n\n```sh\nlow\n```\n\n```include-order\nlow\nleft right\n  top\n```\n");
  dir.MakeFile(u"low/a.h", "#include \"low/b.h\"\n#include \"b.h\"\n");
  dir.MakeFile(u"low/b.h", "// nothing\n#include \"left/c.h\"\n");
  dir.MakeFile(u"left/c.h", "#include <vector>\n#include \"low/a.h\"\n#include \"right/d.h\"\n");
  dir.MakeFile(u"right/d.h", "");
  dir.MakeFile(u"top/e.cpp", "# include \"left/c.h\"\n#include \"right/d.h\"\n");
  dir.MakeFile(u"top/sub/f.cpp", "#include \"top/e.cpp\"\n#include \"gone.h\"\n");
  dir.MakeFile(u"tests/g.h", "");
  dir.MakeFile(u"top/h.cpp", "#include \"g.h\"\n");
  dir.MakeFile(u"stray/i.h", "");

  FolderOrder order;
  std::string error;
  ASSERT_TRUE(ReadFolderOrder(dir.ReadFile(u"README.md"), order, error)) << error;
  ASSERT_EQ(order.levels.size(), 3u);

  const fs::path root = dir.native();
  std::vector<std::string> wrong;
  for (const char* top : {"low", "left", "right", "top"}) {
    for (auto& w : WrongIncludes(root, order, top)) wrong.push_back(w);
  }
  EXPECT_EQ(Joined(wrong),
            Joined({
                "low/b.h:2: #include \"left/c.h\": low may not include left, which is above it "
                "in the order",
                "left/c.h:3: #include \"right/d.h\": left may not include right, which is its "
                "peer on its line in the order",
                "top/h.cpp:1: #include \"g.h\": tests has no place in the order",
                "top/sub/f.cpp:2: #include \"gone.h\": no file of the tree (looked for beside "
                "the file, from the top of the tree and from tests/)",
            }));

  EXPECT_EQ(Joined(OrderMistakes(root, order, {"low", "left", "right", "top", "stray"})),
            "stray holds sources but has no place in the order\n");
  order.levels.push_back({"gone", "low"});
  EXPECT_EQ(Joined(OrderMistakes(root, order, {"low"})),
            "the order names gone, which is no folder of the tree\n"
            "the order names low twice\n");
}

// The root of the tree and tests/ are on the include path, so a header of the
// tree builds in angle brackets too: such an include is held to the order as
// a quoted one is. A name in angle brackets that is no file of the tree is
// the system's or a library's and is let be; one that is a file only beside
// the including file is not looked for there, as the compiler does not.
TEST(IncludeOrderCheck, HoldsAngleBracketIncludesOfTheTreeToTheOrder) {
  testing::TempDir dir;
  for (const char16_t* folder : {u"low", u"left", u"right", u"top", u"tests"}) {
    dir.MakeFolder(folder);
  }
  dir.MakeFile(u"low/a.h", "#include <left/c.h>\n#include <vector>\n");
  dir.MakeFile(u"left/c.h",
               "#include <low/a.h>\n#  include  <right/d.h>\n#include <gone/x.h>\n");
  dir.MakeFile(u"right/d.h", "");
  dir.MakeFile(u"tests/g.h", "");
  dir.MakeFile(u"top/e.cpp", "#include <g.h>\n#include <e.h>\n#include <left/c.h>\n");
  dir.MakeFile(u"top/e.h", "#include <top/e.cpp>\n");

  FolderOrder order;
  order.levels = {{"low"}, {"left", "right"}, {"top"}};
  std::vector<std::string> wrong;
  for (const char* top : {"low", "left", "right", "top"}) {
    for (auto& w : WrongIncludes(dir.native(), order, top)) wrong.push_back(w);
  }
  EXPECT_EQ(Joined(wrong),
            Joined({
                "low/a.h:1: #include <left/c.h>: low may not include left, which is above it "
                "in the order",
                "left/c.h:2: #include <right/d.h>: left may not include right, which is its "
                "peer on its line in the order",
                "top/e.cpp:1: #include <g.h>: tests has no place in the order",
            }));
}

TEST(IncludeOrderCheck, WantsOneClosedBlock) {
  const struct {
    const char* name;
    const char* readme;
  } cases[] = {
      {"none", "```sh\nlow\n```\n"},
      {"two", "```include-order\nlow\n```\n```include-order\nlow\n```\n"},
      {"not closed", "```include-order\nlow\n"},
      {"empty", "```include-order\n\n```\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FolderOrder order;
    std::string error;
    EXPECT_FALSE(ReadFolderOrder(c.readme, order, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace dovetam::layers
