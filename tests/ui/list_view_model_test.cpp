// The lists' model: names holding control characters show each of them as
// its visible symbol, in the folder listing and in the target and order
// lists alike, so every entry is one line and no two names that differ there
// look the same; every other character shows as it is.
#include "ui/widgets/list_view_model.h"

#include <gtest/gtest.h>

#include <string>

namespace dovetam {
namespace {

struct ShownName {
  const char* name;
  std::u16string stored;
  std::u16string shown;
};

const ShownName kShownNames[] = {
    {"Plain", u"plain.txt", u"plain.txt"},
    {"LineBreak", u"line\nbreak.txt", u"line\u240Abreak.txt"},
    {"CarriageReturn", u"line\rbreak.txt", u"line\u240Dbreak.txt"},
    {"Tab", u"a\tb", u"a\u2409b"},
    {"Nul", std::u16string(u"a\0b", 3), u"a\u2400b"},
    {"FirstAndLastOfC0", u"\x01z\x1F", u"\u2401z\u241F"},
    {"Delete", u"del\x7F", u"del\u2421"},
    {"EscapeAndBell", u"\x1B\x07", u"\u241B\u2407"},
    {"SpaceAndTildeStay", u" ~", u" ~"},
    {"C1ControlsStay", u"\u0080\u009F", u"\u0080\u009F"},
    {"SymbolsStay", u"\u2400\u240A\u2421", u"\u2400\u240A\u2421"},
    {"JapaneseStays", u"写真\u3000一覧", u"写真\u3000一覧"},
    {"OddByteStays", u"bad\xDCFE", u"bad\xDCFE"},
};

class ShownNameTest : public ::testing::TestWithParam<ShownName> {};

TEST_P(ShownNameTest, InTheListingAndInTheTargets) {
  const ShownName& c = GetParam();
  const QString expected = QString::fromStdU16String(c.shown);

  ListingTable listing;
  listing.ListName = {u"", c.stored};
  listing.ListIsFolder = {false, false};
  listing.ListModified = listing.ListCreated = {0, 0};
  ListViewModel listed(&listing, nullptr);
  listed.Fill({-1, 1}, 1, false, false);
  EXPECT_EQ(listed.Text(0, 0), expected);
  EXPECT_EQ(listed.data(listed.index(0, 0), Qt::DisplayRole).toString(), expected);
  EXPECT_EQ(listing.ListName[1], c.stored);

  // A target shows its folder and name; a control character in the folder
  // shows as a symbol too.
  ObjectTable objects;
  objects.ObjFolder = {u"", u"/w/\n/"};
  objects.ObjName = {u"", c.stored};
  objects.ObjIsFolder = {false, true};
  objects.ObjModified = objects.ObjCreated = {0, 0};
  ListViewModel targets(nullptr, &objects);
  targets.Fill({-1, 1}, 1, false, false);
  EXPECT_EQ(targets.Text(0, 0), QStringLiteral("/w/\u240A/") + expected);
  EXPECT_EQ(objects.ObjName[1], c.stored);
}

INSTANTIATE_TEST_SUITE_P(Names, ShownNameTest, ::testing::ValuesIn(kShownNames),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
