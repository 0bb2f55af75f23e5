// An INI file's bytes as read, with an index of its sections and keys, so
// that a load answers every key from one reading and a save writes every line
// the program does not own back as it was.
//
// Layout: "[section]" lines, then "key=value" lines, each ended by CR LF, LF
// or CR alone. Sections and keys are kept exactly as given (no case folding);
// a key is the text before the first "=" without the blanks around it; a
// value is everything after that "=" up to the end of its line, with only
// "\\", "\n" and "\r" escaped, never trimmed. Other lines (comments starting
// with ";" or "#", blank lines) and the entries before the first section are
// kept as they are and never read. Where a section or a key of a section
// stands twice, the first one counts. Texts decode from the bytes as
// DecodeNative decodes them, so every byte is kept.
//
// Cost, linear in the file: building goes through the bytes twice (counting,
// then indexing) and keeps them as they are, with 8 bytes per section line
// and two tables of 4-byte slots at most three quarters full
// (platform/offset_table.h): a slot for each section line whose name differs
// from that of the one before, and one for each entry whose key differs from
// the key before it in its section. Blank lines, comments and a line that
// stands again and again take nothing, short entries up to about twice the
// file's size, the shortest section lines of changing names up to about four
// times. A look-up or a change costs its key and its value, the first change
// of a section also a look back over the empty lines at its end; writing out
// goes through the bytes once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/offset_table.h"

namespace dovetam {

class IniDocument {
 public:
  IniDocument() = default;
  // The document of a file's bytes (shorter than 4 GiB: offsets are 32 bits).
  explicit IniDocument(std::string bytes);

  // The value of key in section; false when the key is not there.
  bool Find(std::u16string_view section, std::u16string_view key, std::u16string& value) const;

  // Sets the value of key in section: that of the key's entry in the first
  // section of the name when it is there; else a new entry goes after the
  // last line of that section that is not empty (before its trailing empty
  // lines), or, when there is no such section, into a new one at the end.
  void Put(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  // The file's text with every line ended by "\n" and without a byte-order
  // mark; every line not changed by Put as it was read. False when a section,
  // key or value that Put set cannot be encoded.
  bool Serialize(std::string& bytes) const;

 private:
  // A value Put has set: in place of the entry at `at`, or added at `at` (the
  // start of a line, or the end of the text) or in a new section at the end.
  enum class ChangeKind { Replace, Insert, Append };
  struct Change {
    std::u16string section;
    std::u16string key;
    std::u16string value;
    ChangeKind kind;
    std::uint32_t at;
  };

  // A section line: where it starts, and the first section line of its
  // name (an index into headers_), which stands for the name.
  struct Header {
    std::uint32_t at;
    std::uint32_t first;
  };

  std::uint32_t FirstSection(std::string_view name) const;
  std::uint32_t FirstEntry(std::string_view section, std::string_view key) const;
  std::uint32_t SectionOf(std::uint32_t line) const;
  std::string_view NameAt(std::uint32_t header) const;
  std::uint32_t InsertPlace(std::uint32_t header, std::u16string_view section) const;

  std::string text_;
  std::uint32_t start_ = 0;       // after the byte-order mark
  std::vector<Header> headers_;   // every section line, in order
  OffsetTable sections_;          // the first of headers_ of each name
  OffsetTable entries_;           // the first entry line of each key of a section name
  std::vector<Change> changes_;   // one per section and key set
};

// Whether key in section would read back as itself: no line breaks, no "]"
// or "[" in a section, no "=", surrounding blanks or comment mark in a key.
bool IsWritableIniAddress(std::u16string_view section, std::u16string_view key);

// The hashes the index files its offsets under: that of a section name, and
// that of a key of the section whose first line is the firstSection-th
// section line of the file (counted from 0). The slots keep their tags
// (OffsetTable::TagOf, with the file's size as the limit of the entries);
// tests choose names and keys that collide with them.
std::uint64_t IniSectionHash(std::string_view name);
std::uint64_t IniEntryHash(std::uint32_t firstSection, std::string_view key);

}  // namespace dovetam
