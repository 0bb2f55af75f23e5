// A log file read the way a person reads it after a crash, to learn what
// was renamed: its lines from the start, block by block (a run, re-runs and
// restores), each rename it announces (evacuation lines and change lines,
// the renamed object known from its object line) applied to the names the
// folder held before the first block, unless the outcome line after it says
// that it was not made (an error, "中断"). The folder may hold the targets in
// subfolders: their names are then paths relative to it ("a/x"). The file
// must hold log lines only: no NUL byte, no blanks or other filler, at most
// the start of one line cut short at the end (a write cut off by a kill).
#pragma once

#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/utf8_codec.h"

namespace dovetam::testing {

struct LogReading {
  std::string fault;  // what is wrong with the file; "" when it is a log
  // The folder's names after every rename announced, and after all but the
  // last (that one may not have been made when the run was killed).
  std::set<std::u16string> names, beforeLast;
  int announced = 0;      // renames announced
  // Renames announced with no outcome line after them (made or not, the log
  // does not say): none in a log whose operation ended.
  int unanswered = 0;
  bool finished = false;  // the last block has its footer line: its operation ended
  // Whether the folder holds what the log says: every rename made is
  // announced, and every rename announced was made (the last one perhaps not).
  bool Matches(const std::vector<std::u16string>& onDisk) const {
    const std::set<std::u16string> disk(onDisk.begin(), onDisk.end());
    return disk == names || disk == beforeLast;
  }
};

// How often `part` stands in `text` (a log's text), counting overlaps.
inline int Occurrences(std::u16string_view text, std::u16string_view part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::u16string_view::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// `bytes`: the log file; `folder`: the folder of the targets as the log
// writes it (ending in "/"); `before`: the names it held before the run.
inline LogReading ReadLog(const std::string& bytes, std::u16string_view folder,
                          const std::vector<std::u16string>& before) {
  LogReading r;
  r.names.insert(before.begin(), before.end());
  r.beforeLast = r.names;
  if (bytes.find('\0') != std::string::npos) {
    r.fault = "a NUL byte at offset " + std::to_string(bytes.find('\0'));
    return r;
  }
  const std::u16string text = DecodeNative(bytes);
  const auto endsWith = [](std::u16string_view s, std::u16string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
  };
  const auto rename = [&r](const std::u16string& from, const std::u16string& to) {
    if (r.names.count(from) == 0 || r.names.count(to) != 0) {
      r.fault = "the log renames a name that is not there or onto one that is";
      return;
    }
    r.beforeLast = r.names;
    r.names.erase(from);
    r.names.insert(to);
    ++r.announced;
  };
  bool outcomeDue = false;  // the line before announced a rename
  const auto endsWithAny = [&endsWith](std::u16string_view s,
                                       std::initializer_list<std::u16string_view> ends) {
    for (std::u16string_view end : ends) {
      if (endsWith(s, end)) return true;
    }
    return false;
  };
  // The folder part of a relative path ("" or ending in "/").
  const auto folderOf = [](std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? u"" : path.substr(0, slash + 1));
  };
  bool inBlock = false;
  std::u16string current;  // the object whose lines are being read
  std::size_t at = 0;
  for (std::size_t end; r.fault.empty() && (end = text.find(u"\r\n", at)) != std::u16string::npos;
       at = end + 2) {
    const std::u16string_view line = std::u16string_view(text).substr(at, end - at);
    const bool afterAnnounce = outcomeDue;
    outcomeDue = false;
    if (afterAnnounce && line.substr(0, 2) != u"\t\t") ++r.unanswered;
    if (afterAnnounce && line.substr(0, 2) == u"\t\t") {
      // The outcome of the rename just announced: not made unless done well.
      if (line.substr(2) != u"正常終了") {
        r.names = r.beforeLast;
        --r.announced;
      }
    } else if (endsWithAny(line, {u" 名前変更開始", u" 名前再変更開始", u" 名前復元開始"})) {
      if (inBlock) r.fault = "a header line inside a block";
      inBlock = true;
      r.finished = false;
    } else if (!inBlock) {
      if (!line.empty() || !r.finished) r.fault = "text outside a block";
    } else if (endsWithAny(line, {u" 名前変更終了", u" 名前再変更終了", u" 名前復元終了"})) {
      inBlock = false;
      r.finished = true;
    } else if (line.substr(0, folder.size()) == folder && endsWith(line, u" :")) {
      // Object line: the current name after the earlier name and state.
      std::u16string_view path = line.substr(folder.size(), line.size() - folder.size() - 2);
      std::u16string_view name = path;
      if (const std::size_t open = name.find(u" ("); open != std::u16string_view::npos) {
        path = path.substr(0, open);
        name = name.substr(open + 2);
        name = name.substr(name.find(u' ') + 1);
        name.remove_suffix(1);  // ")"
        current = folderOf(path) + std::u16string(name);
      } else {
        current = path;
      }
    } else if (line.substr(0, folder.size() + 1) == u"\t" + std::u16string(folder) &&
               endsWith(line, u" 退避開始")) {
      const std::u16string_view move = line.substr(folder.size() + 1, line.size() - folder.size() - 6);
      const std::size_t arrow = move.find(u" -> ");
      const std::u16string from(move.substr(0, arrow));
      rename(from, folderOf(from) + std::u16string(move.substr(arrow + 4)));
      outcomeDue = true;
    } else if (line.substr(0, 4) == u"\t-> " && endsWithAny(line, {u" 変更開始", u" 復元開始"})) {
      const std::u16string to = folderOf(current) + std::u16string(line.substr(4, line.size() - 9));
      rename(current, to);
      outcomeDue = true;
    } else if (line.substr(0, 1) != u"\t") {
      r.fault = "a line that is no log line: " + EncodeNativeLossy(line);
    }
  }
  if (outcomeDue) ++r.unanswered;
  // The start of a line cut short, no more.
  const std::u16string_view rest = std::u16string_view(text).substr(at);
  if (r.fault.empty() && (rest.size() > 300 || rest.find(u"  ") != std::u16string_view::npos)) {
    r.fault = std::to_string(rest.size()) + " characters after the last line: more than a line, or blanks";
  }
  return r;
}

}  // namespace dovetam::testing
