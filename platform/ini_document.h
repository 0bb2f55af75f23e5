// An INI file's text held as sections of lines, so that the entries the
// program owns can be changed and every other line is written back as it was.
//
// Layout: "[section]" lines, then "key=value" lines, each ended by CR LF, LF
// or CR alone. Sections and keys are
// kept exactly as given (no case folding); a value is everything after the
// first "=" up to the end of its line, with only "\\", "\n" and "\r" escaped,
// never trimmed. Other lines (comments, blank lines) are kept as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dovetam {

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

using IniDocument = std::vector<IniSection>;

IniDocument ParseIni(std::u16string_view text);
// Lines end in "\n"; untouched entries are written as they were read.
std::u16string SerializeIni(const IniDocument& doc);

// The value of key in section, or nullptr when the key is not there.
const std::u16string* FindIniValue(const IniDocument& doc, std::u16string_view section,
                                   std::u16string_view key);
// Sets the value of key in section. A new key goes after the last entry of
// its section (before trailing blank lines); a new section goes at the end.
void PutIniValue(IniDocument& doc, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value);

// Whether key in section would read back as itself: no line breaks, no "]"
// or "[" in a section, no "=", surrounding blanks or comment mark in a key.
bool IsWritableIniAddress(std::u16string_view section, std::u16string_view key);

}  // namespace dovetam
