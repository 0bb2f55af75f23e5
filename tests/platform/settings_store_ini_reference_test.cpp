// The INI settings store checked against a plain reference parse of the same
// bytes, on large random files: many keys in many sections, keys and sections
// that stand twice, CR LF, LF and CR line ends mixed, blank lines and odd
// lines, keys with blanks around them, and keys whose hash tags collide in
// the reader's index (chosen with its own hash), so that a look-up that took
// a slot by its tag alone would answer with the value of another key. Each
// case loads its file and compares every key and many absent ones with the
// reference; then it sets existing and new keys in several sections, saves,
// compares the file with the text the reference expects of the save, reloads
// it and compares again.
//
// The reference applies the format's rules (platform/ini_document.h) the
// plain way: a list of lines and a std::map, first entry wins. Every case has
// a fixed seed, printed with a failure, so that a failure reproduces.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ini_document.h"
#include "platform/offset_table.h"
#include "platform/settings_store.h"
#include "platform/utf8_codec.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

constexpr std::u16string_view kApp = u"Ombra-Vale Software\\Dovetam";
constexpr std::u16string_view kDefault = u"<default>";

// ---- The reference ----

// The lines of a file without their ends: CR LF, LF and CR alone each end a
// line; a byte-order mark at the start is no part of the first line.
std::vector<std::string> SplitLines(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      line += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

bool IsSectionLine(const std::string& line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string SectionName(const std::string& line) { return line.substr(1, line.size() - 2); }

std::string TrimBlanks(std::string s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// Of a line that is no section line: whether it is an entry (it holds a "="
// and starts with no comment mark), with its key and its value as stored.
bool SplitEntry(const std::string& line, std::string& key, std::string& stored) {
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos || line[0] == ';' || line[0] == '#') return false;
  key = TrimBlanks(line.substr(0, eq));
  stored = line.substr(eq + 1);
  return true;
}

// A stored value as it reads: "\\", "\n" and "\r" stand for a backslash, a
// line feed and a carriage return; every other backslash stands for itself.
std::u16string ValueOf(std::string_view stored) {
  const std::u16string text = DecodeNative(stored);
  std::u16string value;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
    if (text[i] == u'\\' && (next == u'\\' || next == u'n' || next == u'r')) {
      value += next == u'\\' ? u'\\' : next == u'n' ? u'\n' : u'\r';
      ++i;
    } else {
      value += text[i];
    }
  }
  return value;
}

std::string Stored(std::u16string_view value) {
  std::u16string text;
  for (const char16_t c : value) {
    text += c == u'\\' ? std::u16string(u"\\\\")
            : c == u'\n' ? std::u16string(u"\\n")
            : c == u'\r' ? std::u16string(u"\\r")
                         : std::u16string(1, c);
  }
  return EncodeNativeLossy(text);
}

using Address = std::pair<std::string, std::string>;  // section name and key, as bytes
using Values = std::map<Address, std::u16string>;

struct Reference {
  Values values;  // the first entry of each key of a section name
  // The number of the first section line of each name (counted from 0).
  std::map<std::string, std::uint32_t> firstSection;
  std::size_t sectionLines = 0;
  std::size_t sectionsTwice = 0;  // section lines of a name seen before
  std::size_t keysTwice = 0;      // entries of a key seen before in its section name
  std::size_t entryLines = 0;     // in sections
  std::vector<std::string> keysBeforeAnySection;
  std::optional<std::string> lastSection;  // the name of the last section line
};

Reference Parse(std::string_view bytes) {
  Reference ref;
  std::optional<std::string> section;
  std::string key, stored;
  for (const std::string& line : SplitLines(bytes)) {
    if (IsSectionLine(line)) {
      section = SectionName(line);
      ref.lastSection = section;
      if (!ref.firstSection.emplace(*section, ref.sectionLines).second) ++ref.sectionsTwice;
      ++ref.sectionLines;
    } else if (SplitEntry(line, key, stored)) {
      if (!section) {
        ref.keysBeforeAnySection.push_back(key);
      } else {
        ++ref.entryLines;
        if (!ref.values.emplace(Address{*section, key}, ValueOf(stored)).second) ++ref.keysTwice;
      }
    }
  }
  return ref;
}

struct Set {
  Address address;
  std::u16string value;
};

// The text a save makes of `bytes` after `sets` (in their order): every line
// ended by LF, without the byte-order mark. The first entry of a key in the
// first section of its name takes the new value; a key that this section
// lacks is added after its last line that is not empty; the keys of a
// section the file lacks go into a new section at the end, the new sections
// in the order of their first keys. A key set twice keeps the place of its
// first set and takes the last value.
std::string SavedText(std::string_view bytes, const std::vector<Set>& sets) {
  std::vector<Set> latest;
  for (const Set& s : sets) {
    auto same = std::find_if(latest.begin(), latest.end(),
                             [&](const Set& l) { return l.address == s.address; });
    if (same != latest.end()) {
      same->value = s.value;
    } else {
      latest.push_back(s);
    }
  }
  const std::vector<std::string> lines = SplitLines(bytes);
  std::vector<std::string> out = lines;
  std::map<std::size_t, std::vector<std::string>> addedBefore;  // by line number
  std::vector<std::pair<std::string, std::vector<std::string>>> newSections;
  for (const Set& s : latest) {
    const auto& [section, key] = s.address;
    const std::string entry = key + "=" + Stored(s.value);
    std::size_t first = 0;
    while (first < lines.size() &&
           !(IsSectionLine(lines[first]) && SectionName(lines[first]) == section)) {
      ++first;
    }
    if (first == lines.size()) {
      auto added = std::find_if(newSections.begin(), newSections.end(),
                                [&](const auto& n) { return n.first == section; });
      if (added == newSections.end()) added = newSections.insert(newSections.end(), {section, {}});
      added->second.push_back(entry);
      continue;
    }
    std::size_t end = first + 1;
    while (end < lines.size() && !IsSectionLine(lines[end])) ++end;
    std::size_t at = first + 1;
    std::string lineKey, stored;
    while (at < end && !(SplitEntry(lines[at], lineKey, stored) && lineKey == key)) ++at;
    if (at < end) {
      out[at] = entry;
    } else {
      std::size_t after = end;
      while (lines[after - 1].empty()) --after;
      addedBefore[after].push_back(entry);
    }
  }
  std::string text;
  for (std::size_t i = 0; i <= lines.size(); ++i) {
    for (const std::string& entry : addedBefore[i]) text += entry + "\n";
    if (i < lines.size()) text += out[i] + "\n";
  }
  for (const auto& [section, entries] : newSections) {
    text += "[" + section + "]\n";
    for (const std::string& entry : entries) text += entry + "\n";
  }
  return text;
}

// Whether a section and key read back as themselves once written.
bool Writable(const Address& a) {
  const auto& [section, key] = a;
  return section.find_first_of("[]\r\n") == std::string::npos && !key.empty() &&
         key.find_first_of("=\r\n") == std::string::npos && TrimBlanks(key) == key &&
         key[0] != ';' && key[0] != '#' && key[0] != '[';
}

// ---- The random files ----

struct Shape {
  const char* name;
  std::uint32_t seed;
  // The line ends mixed: 'W' CR LF, 'L' LF, 'C' CR alone.
  std::string_view ends;
  int sectionLines;
  int sectionNames;       // among the section lines, so a name may stand again
  int linesPerSection;    // about
};

void PrintTo(const Shape& shape, std::ostream* os) { *os << shape.name; }

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  // 0 to n - 1, the same on every standard library.
  int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  bool Percent(int p) { return Below(100) < p; }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))];
  }

  std::string Key() {
    static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789_.";
    std::string key;
    if (Percent(3)) key = "\xE3\x82\xAD\xE3\x83\xBC";  // a key in Japanese
    if (Percent(1)) key = "\xFF";                      // a byte that is no UTF-8
    for (int n = 3 + Below(8); n > 0; --n)
      key += kChars[static_cast<std::size_t>(Below(static_cast<int>(kChars.size())))];
    return key;
  }

  // Values with everything a value may hold: blanks at either end, "=",
  // comment marks, brackets, escapes, lone backslashes, Japanese.
  std::string StoredValue() {
    static const std::vector<std::string> kParts = {
        "a", "b", "z", "0", "9", " ", "\t", "=", ";", "#", "[", "]", "\\", "\\\\", "\\n",
        "\\r", "\\x", "\xE5\x80\xA4", "/path/", "C:\\"};
    std::string value;
    for (int n = Below(12); n > 0; --n) value += Pick(kParts);
    return value;
  }

  std::u16string Value() {
    static const std::vector<std::u16string> kParts = {
        u"a", u"Z", u"5", u" ", u"\t", u"=", u";", u"#", u"[general]", u"\\", u"\\n",
        u"\n", u"\r", u"\r\n", u"\u3000", u"\u5024", u"\xDCFF", u"\U0001F600"};
    std::u16string value;
    for (int n = Below(10); n > 0; --n) value += Pick(kParts);
    return value;
  }

  std::string End(std::string_view ends) {
    switch (ends[static_cast<std::size_t>(Below(static_cast<int>(ends.size())))]) {
      case 'W': return "\r\n";
      case 'L': return "\n";
      default: return "\r";
    }
  }

  std::string File(const Shape& shape) {
    static const std::vector<std::string> kOdd = {
        "; comment=1", "# note=2", "no equals here", "[unclosed", " [indented]", "[trailing] ",
        "[", "  ", "\t", " ;blank before=an entry", "=the empty key", "[x=1", "key only"};
    std::vector<std::string> names = {"", "a=b", "\xE8\xA8\xAD\xE5\xAE\x9A", "with blank",
                                      "general"};
    while (names.size() < static_cast<std::size_t>(shape.sectionNames))
      names.push_back("s" + std::to_string(names.size()));
    names.resize(static_cast<std::size_t>(shape.sectionNames));
    std::map<std::string, std::vector<std::string>> keysOf;

    std::string text = Percent(50) ? "\xEF\xBB\xBF" : "";
    text += "; before any section" + End(shape.ends);
    text += "before=1" + End(shape.ends) + Key() + "=2" + End(shape.ends);
    for (int s = 0; s < shape.sectionLines; ++s) {
      // Every name once in turn, then any name again.
      const std::string& name = s < shape.sectionNames ? names[static_cast<std::size_t>(s)]
                                                       : Pick(names);
      std::vector<std::string>& keys = keysOf[name];
      text += "[" + name + "]" + End(shape.ends);
      for (int n = shape.linesPerSection / 2 + Below(shape.linesPerSection); n > 0; --n) {
        if (Percent(6)) {
          text += End(shape.ends);  // a blank line
        } else if (Percent(4)) {
          text += Pick(kOdd) + End(shape.ends);
        } else {
          // Mostly a new key; else one this name had before, in this
          // section line or an earlier one.
          if (keys.empty() || !Percent(15)) keys.push_back(Key());
          std::string key = Percent(15) ? Pick(keys) : keys.back();
          if (Percent(8)) key = Pick(std::vector<std::string>{" ", "\t", "  "}) + key;
          if (Percent(8)) key += Pick(std::vector<std::string>{" ", "\t", " \t"});
          text += key + "=" + StoredValue() + End(shape.ends);
        }
      }
      for (int n = Percent(30) ? Below(3) + 1 : 0; n > 0; --n) text += End(shape.ends);
    }
    if (Percent(50)) {  // a last line without its end
      while (text.back() == '\n' || text.back() == '\r') text.pop_back();
    }
    return text;
  }

 private:
  std::mt19937 random_;
};

// The addresses a case reads: every key of the reference, and many that are
// not there: keys in other sections, keys with blanks, new keys in sections
// that are there (many with the tag of a key that is), keys of a section that
// is not there, and the keys before any section.
std::vector<Address> Probes(const Reference& ref, Generator& g) {
  std::vector<Address> probes;
  std::vector<std::string> names;
  for (const auto& [name, first] : ref.firstSection) names.push_back(name);
  for (const auto& [address, value] : ref.values) {
    probes.push_back(address);
    probes.push_back({g.Pick(names), address.second});
    probes.push_back({address.first, g.Key()});
    if (g.Percent(10)) probes.push_back({address.first, " " + address.second});
    if (g.Percent(10)) probes.push_back({address.first, address.second + "\t"});
    if (g.Percent(10)) probes.push_back({"missing", address.second});
  }
  for (const std::string& key : ref.keysBeforeAnySection) {
    for (const std::string& name : names) probes.push_back({name, key});
  }
  return probes;
}

// Keys of one section that the reader's index files side by side with equal
// tags, found with its own hash: pairs whose hashes agree in their tag and in
// the top 16 bits of their high half, which chooses the slot
// (platform/offset_table.h), so that in a table of up to 65536 slots both
// come home to the same slot or to neighbouring ones, and the key added
// second is mostly found only past the slot of the first. `first` is the
// number of the section's first section line, `limit` the file's size.
std::vector<std::pair<std::string, std::string>> CollidingPairs(std::uint32_t first,
                                                                std::uint32_t limit,
                                                                std::size_t count) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::unordered_map<std::uint64_t, std::string> seen;  // by tag and top bits
  for (int i = 0; pairs.size() < count && i < 2'000'000; ++i) {
    std::string key = "c" + std::to_string(i);
    const std::uint64_t h = IniEntryHash(first, key);
    const std::uint64_t place = std::uint64_t{OffsetTable::TagOf(h, limit)} << 16 | h >> 48;
    auto [it, added] = seen.emplace(place, key);
    if (!added) {
      pairs.push_back({it->second, std::move(key)});
      seen.erase(it);
    }
  }
  return pairs;
}

// Adds to the end of the file, in its last section, entries whose keys the
// index files side by side with equal tags: of half of the pairs both keys,
// of the others the first, and returns the seconds of those: keys that are
// not there, looked up with the tag and the slot of one that is. Every
// planted entry has a value of its own.
std::vector<Address> PlantCollidingKeys(std::string& bytes, std::string_view end,
                                        std::size_t& pairsPlanted) {
  const Reference ref = Parse(bytes);
  const std::string section = ref.lastSection.value();
  if (!bytes.ends_with('\n') && !bytes.ends_with('\r')) bytes += end;
  // The planted lines are short: the size they take is far below the next
  // power of two, so the tags of the file as it will be are those of now.
  const auto pairs = CollidingPairs(ref.firstSection.at(section),
                                    static_cast<std::uint32_t>(bytes.size()), 16);
  std::vector<Address> absent;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    bytes += pairs[i].first + "=planted " + std::to_string(2 * i) + std::string(end);
    if (i % 2 == 0) {
      bytes += pairs[i].second + "=planted " + std::to_string(2 * i + 1) + std::string(end);
    } else {
      absent.push_back({section, pairs[i].second});
    }
  }
  pairsPlanted = pairs.size();
  return absent;
}

// Tag collisions in the reader's index: keys whose slots keep equal tags
// beside each other, and absent keys looked up with the tag of a key that is
// there. Each would be answered wrongly by a look-up that compared no keys.
struct Collisions {
  std::size_t keys = 0;
  std::size_t absent = 0;
};

Collisions CountCollisions(const Reference& ref, const std::vector<Address>& probes,
                           std::size_t fileSize) {
  const auto tag = [&](const Address& a) {
    return OffsetTable::TagOf(IniEntryHash(ref.firstSection.at(a.first), a.second),
                              static_cast<std::uint32_t>(fileSize));
  };
  std::map<std::uint32_t, std::size_t> keysOfTag;
  for (const auto& [address, value] : ref.values) ++keysOfTag[tag(address)];
  Collisions c;
  for (const auto& [t, n] : keysOfTag) {
    if (n > 1) c.keys += n;
  }
  for (const Address& p : probes) {
    if (ref.firstSection.contains(p.first) && !ref.values.contains(p) &&
        keysOfTag.contains(tag(p))) {
      ++c.absent;
    }
  }
  return c;
}

// Bytes as a C string literal, so that a failure shows line ends and odd
// bytes as what they are.
std::string Quoted(std::string_view bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += {'\\', c};
    } else if (u >= 0x20 && u < 0x7F) {
      out += c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += {'\\', 'x', kHex[u >> 4], kHex[u & 15]};
    }
  }
  return out + "\"";
}

// Reads every probe in one batch and fails for each that differs from
// `expected` (the default for an address it lacks), naming the first few.
void ExpectReads(SettingsStore& store, const Values& expected, const std::vector<Address>& probes) {
  SettingsBatch batch(store, kApp);
  std::size_t wrong = 0;
  for (const Address& p : probes) {
    const auto it = expected.find(p);
    const std::u16string want = it != expected.end() ? it->second : std::u16string(kDefault);
    std::u16string value;
    const bool read =
        store.Read(kApp, DecodeNative(p.first), DecodeNative(p.second), kDefault, value);
    if (read && value == want) continue;
    if (++wrong <= 5) {
      ADD_FAILURE() << "section " << Quoted(p.first) << ", key " << Quoted(p.second) << ": read "
                    << (read ? Quoted(EncodeNativeLossy(value)) : "nothing (failed)")
                    << ", expected " << Quoted(EncodeNativeLossy(want));
    }
  }
  EXPECT_EQ(0u, wrong) << "of " << probes.size() << " reads";
}

// Sets keys as a user's saves would, in several sections: keys that are there
// (also ones whose first entry is in a later section of the name), new keys
// of sections that are there, keys of new sections, and keys set again.
std::vector<Set> Sets(const Reference& ref, Generator& g) {
  std::vector<Address> there;
  for (const auto& [address, value] : ref.values) {
    if (Writable(address)) there.push_back(address);
  }
  std::vector<std::string> names;
  for (const auto& [name, first] : ref.firstSection) names.push_back(name);
  std::vector<Set> sets;
  for (int i = 0; i < 80; ++i) sets.push_back({g.Pick(there), g.Value()});
  for (int i = 0; i < 80; ++i) sets.push_back({{g.Pick(names), "new" + g.Key()}, g.Value()});
  for (int i = 0; i < 40; ++i) {
    sets.push_back({{"added" + std::to_string(g.Below(3)), g.Key()}, g.Value()});
  }
  for (int i = 0; i < 30; ++i) sets.push_back({g.Pick(sets).address, g.Value()});
  return sets;
}

// Where two texts first differ, with a little of each from there.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const auto around = [&](const std::string& s) {
    const std::size_t from = at < 40 ? 0 : at - 40;
    return Quoted(s.substr(from, 80));
  };
  return "they differ from byte " + std::to_string(at) + " of " + std::to_string(expected.size()) +
         ": expected " + around(expected) + ", saved " + around(actual);
}

class IniReferenceTest : public ::testing::TestWithParam<Shape> {
 protected:
  testing::TempDir dir;
};

TEST_P(IniReferenceTest, ReadsAndSavesAsTheReferenceDoes) {
  const Shape& shape = GetParam();
  SCOPED_TRACE("seed " + std::to_string(shape.seed));
  Generator g(shape.seed);
  std::string bytes = g.File(shape);
  const std::size_t unplanted = bytes.size();
  std::size_t pairs = 0;
  const std::vector<Address> plantedAbsent = PlantCollidingKeys(bytes, g.End(shape.ends), pairs);
  ASSERT_EQ(16u, pairs) << "too few keys of equal tags and slots were found";
  ASSERT_EQ(std::bit_width(unplanted), std::bit_width(bytes.size()))
      << "the planted keys changed the tags: choose another seed";
  dir.MakeFolder(u"config/Ombra-Vale Software");
  const std::u16string file = u"config/Ombra-Vale Software/Dovetam.ini";
  dir.MakeFile(file, bytes);
  ASSERT_LE(bytes.size(), kSettingsFileLimit);

  const Reference ref = Parse(bytes);
  std::vector<Address> probes = Probes(ref, g);
  probes.insert(probes.end(), plantedAbsent.begin(), plantedAbsent.end());
  ASSERT_LT(ref.entryLines, 49'000u) << "a table of more than 65536 slots";
  // The case holds what it is meant to.
  EXPECT_GT(ref.keysTwice, 0u);
  if (shape.sectionLines > shape.sectionNames) {
    EXPECT_GT(ref.sectionsTwice, 0u);
  }
  const Collisions collisions = CountCollisions(ref, probes, bytes.size());
  EXPECT_GT(collisions.keys, 100u) << "keys of equal tags";
  EXPECT_GT(collisions.absent, 100u) << "absent keys with the tag of a key that is there";

  auto store = CreateIniSettingsStore(dir.native() + "config");
  ExpectReads(*store, ref.values, probes);

  const std::vector<Set> sets = Sets(ref, g);
  {
    SettingsBatch batch(*store, kApp);
    for (const Set& s : sets) {
      ASSERT_TRUE(store->Write(kApp, DecodeNative(s.address.first),
                               DecodeNative(s.address.second), s.value))
          << Quoted(s.address.first) << " " << Quoted(s.address.second);
    }
    ASSERT_TRUE(batch.Commit());
  }
  Values expected = ref.values;
  for (const Set& s : sets) expected[s.address] = s.value;
  const std::string saved = SavedText(bytes, sets);
  ASSERT_EQ(expected, Parse(saved).values) << "the reference disagrees with itself";
  const std::string written = dir.ReadFile(file);
  EXPECT_TRUE(saved == written) << "the saved file is not the text expected: "
                                << FirstDifference(saved, written);

  std::vector<Address> again = probes;
  for (const Set& s : sets) again.push_back(s.address);
  ExpectReads(*CreateIniSettingsStore(dir.native() + "config"), expected, again);
}

const Shape kShapes[] = {
    {"MixedLineEnds", 1001, "WLC", 120, 40, 200},
    {"CrLfLines", 1002, "W", 100, 100, 240},
    {"LfLines", 1003, "L", 80, 30, 300},
    {"CrLines", 1004, "C", 80, 30, 300},
    {"FewLargeSections", 1005, "W", 8, 3, 3000},
    {"ManySmallSections", 1006, "WLC", 3000, 800, 8},
};

INSTANTIATE_TEST_SUITE_P(Files, IniReferenceTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace dovetam
