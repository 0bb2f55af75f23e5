// Parsing and writing INI text without losing the lines the program does not
// own.
#include "platform/ini_document.h"

namespace dovetam {

namespace {

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

}  // namespace

IniDocument ParseIni(std::u16string_view text) {
  IniDocument sections(1);
  sections[0].hasHeader = false;
  std::size_t i = 0;
  if (!text.empty() && text[0] == u'\uFEFF') i = 1;  // byte-order mark of a hand-edited file
  while (i < text.size()) {
    // A line ends in CR LF, LF or CR alone (a file edited on an old Mac).
    std::size_t end = text.find_first_of(u"\r\n", i);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view line = text.substr(i, end - i);
    i = end + 1;
    if (end < text.size() && text[end] == u'\r' && i < text.size() && text[i] == u'\n') ++i;
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

std::u16string SerializeIni(const IniDocument& doc) {
  std::u16string out;
  for (const IniSection& s : doc) {
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

const std::u16string* FindIniValue(const IniDocument& doc, std::u16string_view section,
                                   std::u16string_view key) {
  for (const IniSection& s : doc) {
    if (!s.hasHeader || s.name != section) continue;
    for (const IniLine& l : s.lines) {
      if (l.isEntry && l.key == key) return &l.text;
    }
  }
  return nullptr;
}

void PutIniValue(IniDocument& doc, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) {
  for (IniSection& s : doc) {
    if (!s.hasHeader || s.name != section) continue;
    for (IniLine& l : s.lines) {
      if (l.isEntry && l.key == key) {
        l.text = value;
        l.raw.clear();
        return;
      }
    }
    std::size_t at = s.lines.size();
    while (at > 0 && !s.lines[at - 1].isEntry && s.lines[at - 1].text.empty()) --at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at),
                   {true, std::u16string(key), std::u16string(value), u""});
    return;
  }
  doc.push_back(
      {std::u16string(section), true, {{true, std::u16string(key), std::u16string(value), u""}}});
}

bool IsWritableIniAddress(std::u16string_view section, std::u16string_view key) {
  return section.find_first_of(u"[]\n\r") == std::u16string_view::npos &&
         key.find_first_of(u"=\n\r") == std::u16string_view::npos && !key.empty() &&
         TrimBlanks(key) == key && key[0] != u';' && key[0] != u'#' && key[0] != u'[';
}

}  // namespace dovetam
