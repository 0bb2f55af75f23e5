// Indexing INI bytes as read, and writing them out again with the values the
// program set, without losing the lines it does not own.
//
// The bytes are kept as they are and looked at in place: a line is found again
// from its offset, a value decoded only when it is asked for. Line breaks,
// "=", "[", "]", ";", "#", blanks and the escaped characters are ASCII, which
// never stands inside a multi-byte UTF-8 sequence, so finding them among the
// bytes finds what DecodeNative's text would show, and a key compares as bytes
// the way its text compares (EncodeNativeExactly gives the one byte sequence
// that decodes to a text, when there is one).
#include "platform/ini_document.h"

#include <algorithm>

#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

constexpr std::uint32_t kNone = OffsetTable::kNone;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line: its content [begin, end), its first "=" (end when there is
// none), and where the next line starts.
struct Line {
  std::size_t begin;
  std::size_t end;
  std::size_t eq;
  std::size_t next;
};

// Where the next line starts after the line break at text[i]: CR LF, LF and
// CR alone each end a line (CR alone from a file edited on an old Mac).
std::size_t AfterBreak(std::string_view text, std::size_t i) {
  return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
}

// The line that starts at `at`.
Line LineAt(std::string_view text, std::size_t at) {
  Line line{at, at, std::string_view::npos, at};
  std::size_t i = at;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') break;
    if (c == '=' && line.eq == std::string_view::npos) line.eq = i;
  }
  line.end = i;
  if (line.eq == std::string_view::npos) line.eq = i;
  line.next = i < text.size() ? AfterBreak(text, i) : i;
  return line;
}

// Calls visit(line) for every line from `at` on that is not empty.
template <typename Visit>
void ForEachFilledLine(std::string_view text, std::size_t at, Visit visit) {
  while (at < text.size()) {
    // At the start of a line a line break is an empty line (or the LF of a
    // CR LF that was one), so the next byte that is none starts a line.
    if (text[at] == '\n' || text[at] == '\r') {
      ++at;
      continue;
    }
    const Line line = LineAt(text, at);
    visit(line);
    at = line.next;
  }
}

bool IsHeader(std::string_view text, const Line& line) {
  return line.end - line.begin >= 2 && text[line.begin] == '[' && text[line.end - 1] == ']';
}

// Of a line that is no header.
bool IsEntry(std::string_view text, const Line& line) {
  return line.eq < line.end && text[line.begin] != ';' && text[line.begin] != '#';
}

template <typename Char>
bool IsBlank(Char c) { return c == Char{' '} || c == Char{'\t'}; }

template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> s) {
  std::size_t a = 0, b = s.size();
  while (a < b && IsBlank(s[a])) ++a;
  while (b > a && IsBlank(s[b - 1])) --b;
  return s.substr(a, b - a);
}

std::string_view KeyOf(std::string_view text, const Line& line) {
  return TrimBlanks(text.substr(line.begin, line.eq - line.begin));
}

// The key of the entry line at `at`, read only up to its "=".
std::string_view KeyAt(std::string_view text, std::size_t at) {
  const std::size_t eq = text.find('=', at);
  return TrimBlanks(text.substr(at, eq - at));
}

std::string_view NameOf(std::string_view text, const Line& header) {
  return text.substr(header.begin + 1, header.end - header.begin - 2);
}

// FNV-1a, then mixed so that the low bits the tables use depend on every byte.
std::uint64_t Hash(std::string_view bytes, std::uint64_t h = 0xCBF29CE484222325u) {
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
  return h;
}
std::uint64_t Mixed(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDu;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53u;
  return h ^ (h >> 33);
}

void Unescape(std::u16string& v) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    char16_t c = v[i];
    if (c == u'\\' && i + 1 < v.size()) {
      const char16_t n = v[i + 1];
      if (n == u'\\' || n == u'n' || n == u'r') {
        c = n == u'\\' ? u'\\' : (n == u'n' ? u'\n' : u'\r');
        ++i;
      }
    }
    v[out++] = c;
  }
  v.resize(out);
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

// Appends the encoded text; false when it cannot be encoded.
bool AppendEncoded(std::string& out, std::u16string_view text, std::string& scratch) {
  if (!EncodeNative(text, scratch)) return false;
  out += scratch;
  return true;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : text_(std::move(bytes)) {
  const std::string_view text = text_;
  if (text.starts_with(kByteOrderMark)) start_ = kByteOrderMark.size();  // of a hand-edited file
  // A first look counts what the tables may have to hold: the section names
  // and the keys of each section name where they first stand. Such a name
  // differs from that of the section line before it, and such a key from the
  // key before it in its section, so only those are counted (a file of one
  // line again and again takes no room). The entries before the first
  // section are never read.
  std::size_t headers = 0, names = 0, entries = 0;
  std::string_view lastName, lastKey;
  bool sectionStart = true;
  ForEachFilledLine(text, start_, [&](const Line& line) {
    if (IsHeader(text, line)) {
      const std::string_view name = NameOf(text, line);
      if (headers++ == 0 || name != lastName) ++names;
      lastName = name;
      sectionStart = true;
    } else if (headers > 0 && IsEntry(text, line)) {
      const std::string_view key = KeyOf(text, line);
      if (sectionStart || key != lastKey) ++entries;
      lastKey = key;
      sectionStart = false;
    }
  });
  headers_.reserve(headers);
  sections_.Reserve(names, static_cast<std::uint32_t>(headers));
  entries_.Reserve(entries, static_cast<std::uint32_t>(text.size()));
  std::uint32_t first = 0;  // that of the current section
  ForEachFilledLine(text, start_, [&](const Line& line) {
    const auto at = static_cast<std::uint32_t>(line.begin);
    if (IsHeader(text, line)) {
      const std::string_view name = NameOf(text, line);
      const auto index = static_cast<std::uint32_t>(headers_.size());
      headers_.push_back({at, index});
      first = sections_.AddFirst(IniSectionHash(name), index,
                                 [&](std::uint32_t held) { return NameAt(held) == name; });
      headers_.back().first = first;
    } else if (!headers_.empty() && IsEntry(text, line)) {
      const std::string_view key = KeyOf(text, line);
      entries_.AddFirst(IniEntryHash(first, key), at, [&](std::uint32_t held) {
        return headers_[SectionOf(held)].first == first && KeyAt(text, held) == key;
      });
    }
  });
}

// The index in headers_ of the section the line at `line` belongs to (one
// after the first section line).
std::uint32_t IniDocument::SectionOf(std::uint32_t line) const {
  const auto after = std::upper_bound(headers_.begin(), headers_.end(), line,
                                      [](std::uint32_t at, const Header& h) { return at < h.at; });
  return static_cast<std::uint32_t>(after - headers_.begin() - 1);
}

std::string_view IniDocument::NameAt(std::uint32_t header) const {
  return NameOf(text_, LineAt(text_, headers_[header].at));
}

std::uint32_t IniDocument::FirstSection(std::string_view name) const {
  return sections_.Find(IniSectionHash(name),
                        [&](std::uint32_t held) { return NameAt(held) == name; });
}

std::uint32_t IniDocument::FirstEntry(std::string_view section, std::string_view key) const {
  const std::uint32_t first = FirstSection(section);
  if (first == kNone) return kNone;
  return entries_.Find(IniEntryHash(first, key), [&](std::uint32_t held) {
    return headers_[SectionOf(held)].first == first && KeyAt(text_, held) == key;
  });
}

bool IniDocument::Find(std::u16string_view section, std::u16string_view key,
                       std::u16string& value) const {
  for (const Change& c : changes_) {
    if (c.section == section && c.key == key) {
      value = c.value;
      return true;
    }
  }
  std::string sectionBytes, keyBytes;
  if (!EncodeNativeExactly(section, sectionBytes) || !EncodeNativeExactly(key, keyBytes))
    return false;  // no bytes decode to it: it cannot stand in the file
  const std::uint32_t at = FirstEntry(sectionBytes, keyBytes);
  if (at == kNone) return false;
  const Line line = LineAt(text_, at);
  value = DecodeNative(std::string_view(text_).substr(line.eq + 1, line.end - line.eq - 1));
  Unescape(value);
  return true;
}

// Where the section whose line is headers_[header] takes a new key: after
// its last line that is not empty.
std::uint32_t IniDocument::InsertPlace(std::uint32_t header, std::u16string_view section) const {
  for (const Change& c : changes_) {
    if (c.kind == ChangeKind::Insert && c.section == section) return c.at;
  }
  const std::size_t end = header + 1 < headers_.size() ? headers_[header + 1].at : text_.size();
  // Where the last line that is not empty ends: at the section line at the
  // latest, as that is not empty.
  std::size_t content = end;
  while (text_[content - 1] == '\n' || text_[content - 1] == '\r') --content;
  if (content == end) return static_cast<std::uint32_t>(end);  // the text ends on that line
  return static_cast<std::uint32_t>(AfterBreak(text_, content));
}

void IniDocument::Put(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
  for (Change& c : changes_) {
    if (c.section == section && c.key == key) {
      c.value = value;
      return;
    }
  }
  Change change{std::u16string(section), std::u16string(key), std::u16string(value),
                ChangeKind::Append, 0};
  std::string sectionBytes, keyBytes;
  const std::uint32_t header =
      EncodeNativeExactly(section, sectionBytes) ? FirstSection(sectionBytes) : kNone;
  if (header != kNone) {
    const std::size_t end = header + 1 < headers_.size() ? headers_[header + 1].at : text_.size();
    const std::uint32_t entry =
        EncodeNativeExactly(key, keyBytes) ? FirstEntry(sectionBytes, keyBytes) : kNone;
    if (entry != kNone && entry < end) {
      change.kind = ChangeKind::Replace;
      change.at = entry;
    } else {
      change.kind = ChangeKind::Insert;
      change.at = InsertPlace(header, section);
    }
  }
  changes_.push_back(std::move(change));
}

bool IniDocument::Serialize(std::string& out) const {
  std::string scratch;
  bool ok = true;
  const auto putEntry = [&](const Change& c) {
    ok = AppendEncoded(out, c.key, scratch) && ok;
    out += '=';
    ok = AppendEncoded(out, Escape(c.value), scratch) && ok;
    out += '\n';
  };
  // The changes within the text by place; those added at one place in the
  // order they were put.
  std::vector<const Change*> inText;
  for (const Change& c : changes_) {
    if (c.kind != ChangeKind::Append) inText.push_back(&c);
  }
  std::stable_sort(inText.begin(), inText.end(),
                   [](const Change* a, const Change* b) { return a->at < b->at; });
  out.clear();
  out.reserve(text_.size() + 1);
  const std::string_view text = text_;
  std::size_t next = 0;
  for (std::size_t at = start_; at < text.size();) {
    while (next < inText.size() && inText[next]->at == at &&
           inText[next]->kind == ChangeKind::Insert) {
      putEntry(*inText[next++]);
    }
    const Line line = LineAt(text, at);
    if (next < inText.size() && inText[next]->at == at) {
      putEntry(*inText[next++]);  // an entry replaced
    } else {
      out.append(text.substr(line.begin, line.end - line.begin));
      out += '\n';
    }
    at = line.next;
  }
  while (next < inText.size()) putEntry(*inText[next++]);  // added at the end of the text
  // New sections in the order they were made, each with its keys in the
  // order they were put.
  for (std::size_t i = 0; i < changes_.size(); ++i) {
    const Change& first = changes_[i];
    if (first.kind != ChangeKind::Append) continue;
    const auto same = [&](const Change& c) {
      return c.kind == ChangeKind::Append && c.section == first.section;
    };
    if (std::any_of(changes_.begin(), changes_.begin() + static_cast<std::ptrdiff_t>(i), same))
      continue;
    out += '[';
    ok = AppendEncoded(out, first.section, scratch) && ok;
    out += "]\n";
    for (std::size_t j = i; j < changes_.size(); ++j) {
      if (same(changes_[j])) putEntry(changes_[j]);
    }
  }
  return ok;
}

std::uint64_t IniSectionHash(std::string_view name) { return Mixed(Hash(name)); }

// Of a key in the section whose first line is headers_[firstSection].
std::uint64_t IniEntryHash(std::uint32_t firstSection, std::string_view key) {
  return Mixed(
      Hash(key, 0xCBF29CE484222325u ^ (std::uint64_t{firstSection} * 0x9E3779B97F4A7C15u)));
}

bool IsWritableIniAddress(std::u16string_view section, std::u16string_view key) {
  return section.find_first_of(u"[]\n\r") == std::u16string_view::npos &&
         key.find_first_of(u"=\n\r") == std::u16string_view::npos && !key.empty() &&
         TrimBlanks(key) == key && key[0] != u';' && key[0] != u'#' && key[0] != u'[';
}

}  // namespace dovetam
