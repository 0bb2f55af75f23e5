// A log file read the way a person reads it after a crash, to learn what
// was renamed: its lines from the start, each rename it announces
// (evacuation lines and change lines, the renamed object known from its
// object line) applied to the names the folder held before the run. The
// file must hold log lines only: no NUL byte, no blanks or other filler, at
// most the start of one line cut short at the end (a write cut off by a
// kill).
#pragma once

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
  bool finished = false;  // the footer line is there: the run ended
  // Whether the folder holds what the log says: every rename made is
  // announced, and every rename announced was made (the last one perhaps not).
  bool Matches(const std::vector<std::u16string>& onDisk) const {
    const std::set<std::u16string> disk(onDisk.begin(), onDisk.end());
    return disk == names || disk == beforeLast;
  }
};

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
  std::u16string current;  // the object whose lines are being read
  std::size_t at = 0;
  for (std::size_t end; r.fault.empty() && (end = text.find(u"\r\n", at)) != std::u16string::npos;
       at = end + 2) {
    const std::u16string_view line = std::u16string_view(text).substr(at, end - at);
    if (r.finished) {
      if (!line.empty()) r.fault = "text after the footer line";
    } else if (endsWith(line, u" 名前変更開始")) {
      if (at != 0) r.fault = "a header line inside the log";
    } else if (endsWith(line, u" 名前変更終了")) {
      r.finished = true;
    } else if (line.substr(0, folder.size()) == folder && endsWith(line, u" :")) {
      // Object line: the current name after the earlier name and state.
      std::u16string_view name = line.substr(folder.size(), line.size() - folder.size() - 2);
      if (const std::size_t open = name.find(u" ("); open != std::u16string_view::npos) {
        name = name.substr(open + 2);
        name = name.substr(name.find(u' ') + 1);
        name.remove_suffix(1);  // ")"
      }
      current = name;
    } else if (line.substr(0, folder.size() + 1) == u"\t" + std::u16string(folder) &&
               endsWith(line, u" 退避開始")) {
      const std::u16string_view move = line.substr(folder.size() + 1, line.size() - folder.size() - 6);
      const std::size_t arrow = move.find(u" -> ");
      rename(std::u16string(move.substr(0, arrow)), std::u16string(move.substr(arrow + 4)));
    } else if (line.substr(0, 4) == u"\t-> " && endsWith(line, u" 変更開始")) {
      const std::u16string to(line.substr(4, line.size() - 9));
      rename(current, to);
      current = to;
    } else if (line.substr(0, 1) != u"\t") {
      r.fault = "a line that is no log line: " + EncodeNativeLossy(line);
    }
  }
  // The start of a line cut short, no more.
  const std::u16string_view rest = std::u16string_view(text).substr(at);
  if (r.fault.empty() && (rest.size() > 300 || rest.find(u"  ") != std::u16string_view::npos)) {
    r.fault = std::to_string(rest.size()) + " characters after the last line: more than a line, or blanks";
  }
  return r;
}

}  // namespace dovetam::testing
