// A slow, plainly written rename run and restore over a model of one folder,
// following the steps of the candidate loop one by one (holder search over
// every target, existence by comparing every entry, the folder-listing check
// entry by entry). The indexed run must give exactly its names, states and
// log. One folder of files, which targets may reach under several spellings
// (its path and links to it): the holder searches compare the spelling, the
// disk is one. No failures injected.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "platform/text_case.h"
#include "core/run/name_candidates.h"

namespace dovetam::testing {

struct ReferenceTarget {
  std::u16string name, orig;
  int state = 0;
  int folder = 0;  // which spelling of the folder the target is stored under
};

class ReferenceRun {
 public:
  ReferenceRun(std::vector<std::u16string> folders, std::vector<std::u16string> disk,
               const Settings& s)
      : disk(std::move(disk)), folders_(std::move(folders)), s_(s) {}

  std::vector<std::u16string> disk;       // exact names in the folder
  std::vector<ReferenceTarget> targets;   // index 0 unused
  std::vector<int> order;                 // position -> target, index 0 unused
  std::u16string log;                     // object lines to footer, without header/footer
  int done = 0, errors = 0, tentative = 0;

  template <class Rule>
  void Run(bool rerun, Rule rule) {
    const int n = static_cast<int>(order.size()) - 1;
    if (!rerun) {
      for (int i = 1; i <= n; ++i) targets[i].orig.clear(), targets[i].state = 0;
    }
    const bool bmode = s_.BNameMode && !s_.ExtraMixMode;
    for (int p = 1; p <= n; ++p) {
      const int i = order[p];
      ReferenceTarget& t = targets[i];
      ObjectLine(t);
      const std::u16string newName = rule(t.state ? t.orig : t.name);
      const NameParts parts = SplitNewName(newName, s_.ExtraMixMode);
      int64_t num = s_.FirstNumMode ? s_.ExtraNum : int64_t{s_.ExtraNum} - 1;
      std::u16string cand = s_.FirstNumMode ? NumberedBase(parts.base, s_.ExtraMode, num) + parts.ext : newName;
      std::u16string candBase = s_.FirstNumMode ? NumberedBase(parts.base, s_.ExtraMode, num) : parts.base;
      bool tent = false, accepted = false, failed = false;
      int from = 1;
      while (!accepted && !failed) {
        if (!bmode && Up(t.name) == Up(cand)) break;
        int holder = 0;
        for (int q = bmode ? from : 1; q <= n; ++q) {
          const std::u16string& kn = targets[order[q]].name;
          const bool match = bmode ? Up(std::u16string(NameBase(kn))) == Up(candBase) : Up(kn) == Up(cand);
          if (match && q != p && targets[order[q]].folder == t.folder) {
            holder = q;
            break;
          }
        }
        bool next = false;
        if (holder > p) {
          if (Evacuate(order[holder])) {
            if (!bmode) break;
            from = holder + 1;
            continue;
          }
          tent = true;
          next = true;
        } else if (holder > 0) {
          next = true;
        } else if (!bmode) {
          if (!Exists(cand)) break;
          next = true;
        } else {
          bool collision = false;
          for (const std::u16string& e : disk) {
            if (Up(std::u16string(NameBase(e))) != Up(candBase)) continue;
            bool exempt = false;
            for (int q = p; q <= n; ++q) {
              exempt |= targets[order[q]].folder == t.folder && Up(targets[order[q]].name) == Up(e);
            }
            if (!exempt) collision = true;
          }
          if (!collision) break;
          next = true;
        }
        if (next) {
          if (++num >= kNumberLimit) {
            log += u"\tシステムエラー(変更名の添字が範囲を超えました。)\r\n";
            ++errors;
            failed = true;
            break;
          }
          candBase = NumberedBase(parts.base, s_.ExtraMode, num);
          cand = candBase + parts.ext;
          from = 1;
        }
      }
      if (failed) continue;
      if (cand == t.name) {
        log += u"\t-> " + cand + u"\r\n\t\tスキップ(同名)\r\n";
      } else {
        log += u"\t-> " + cand + u" 変更開始\r\n";
        const int err = RenameOnDisk(t.name, cand);
        if (err) {
          log += u"\t\t" + ErrorStatus(err) + u"\r\n";
          ++errors;
          continue;
        }
        log += u"\t\t正常終了\r\n";
      }
      if (t.state == 0) t.orig = t.name;
      t.name = cand;
      t.state = tent ? 3 : 2;
      ++done;
      tentative += tent;
    }
  }

  void Restore() {
    const int n = static_cast<int>(order.size()) - 1;
    for (int p = 1; p <= n; ++p) {
      const int i = order[p];
      ReferenceTarget& t = targets[i];
      ObjectLine(t);
      if (t.state == 0) {
        log += u"\tスキップ(正常復元済)\r\n";
        ++done;
        continue;
      }
      const NameParts parts = SplitNewName(t.orig, s_.ExtraMixMode);
      int64_t num = s_.FirstNumMode ? s_.ExtraNum : int64_t{s_.ExtraNum} - 1;
      std::u16string cand = t.orig;
      bool failed = false;
      for (;;) {
        if (Up(t.name) == Up(cand)) break;
        int holder = 0;
        for (int q = 1; q <= n; ++q) {
          if (q != p && targets[order[q]].folder == t.folder && Up(targets[order[q]].name) == Up(cand)) {
            holder = q;
            break;
          }
        }
        if (holder == 0 && !Exists(cand)) break;
        if (holder > p && Evacuate(order[holder])) break;
        if (++num >= kNumberLimit) {
          log += u"\tシステムエラー(復元名の添字が範囲を超えました。)\r\n";
          ++errors;
          failed = true;
          break;
        }
        cand = NumberedBase(parts.base, s_.ExtraMode, num) + parts.ext;
      }
      if (failed) continue;
      if (cand == t.name) {
        log += u"\t-> " + cand + u"\r\n\t\tスキップ(同名)\r\n";
      } else {
        log += u"\t-> " + cand + u" 復元開始\r\n";
        const int err = RenameOnDisk(t.name, cand);
        if (err) {
          log += u"\t\t" + ErrorStatus(err) + u"\r\n";
          ++errors;
          continue;
        }
        log += u"\t\t正常終了\r\n";
      }
      t.name = cand;
      if (cand == t.orig) {
        t.orig.clear();
        t.state = 0;
      } else {
        t.state = 1;
        ++tentative;
      }
      ++done;
    }
  }

 private:
  static std::u16string Up(const std::u16string& s) { return UpperText(s); }
  static std::u16string ErrorStatus(int err) {
    if (err == 58) return u"エラー(同名のオブジェクトが既に存在します。)";
    return err == 53 ? u"エラー(オブジェクトが存在しません。)" : u"エラー";
  }

  void ObjectLine(const ReferenceTarget& t) {
    static const char16_t* kStates[] = {u"元名", u"仮復元名", u"変更名", u"仮変更名", u"退避名"};
    if (t.state == 0) {
      log += folders_[t.folder] + t.name + u" :\r\n";
    } else {
      log += folders_[t.folder] + t.orig + u" (" + kStates[t.state] + u" " + t.name + u") :\r\n";
    }
  }

  bool Exists(const std::u16string& name) const {
    return std::any_of(disk.begin(), disk.end(), [&](const std::u16string& e) { return Up(e) == Up(name); });
  }

  // The no-replace rename: refused when any other entry bears the name in
  // any letter case.
  int RenameOnDisk(const std::u16string& from, const std::u16string& to) {
    auto src = std::find(disk.begin(), disk.end(), from);
    if (src == disk.end()) return 53;
    for (const std::u16string& e : disk) {
      if (e != from && Up(e) == Up(to)) return 58;
    }
    *src = to;
    return 0;
  }

  std::u16string MakeTemporaryName(const std::u16string& name, const std::u16string& avoid) const {
    for (int64_t n = 1; n < 1000; ++n) {
      const std::u16string t = EvacuationName(name, s_.ExtraMode2, n);
      if (t != avoid && !Exists(t)) return t;
    }
    return u"";
  }

  bool Evacuate(int k) {
    ReferenceTarget& h = targets[k];
    const std::u16string evac = h.state ? MakeTemporaryName(h.orig, h.name) : MakeTemporaryName(h.name, u"");
    if (evac.empty()) return false;
    log += u"\t" + folders_[h.folder] + h.name + u" -> " + evac + u" 退避開始\r\n";
    if (RenameOnDisk(h.name, evac) != 0) {
      log += u"\t\tエラー\r\n";
      return false;
    }
    log += u"\t\t正常終了\r\n";
    if (h.state == 0) h.orig = h.name;
    h.name = evac;
    h.state = 4;
    return true;
  }

  std::vector<std::u16string> folders_;
  const Settings& s_;
};

}  // namespace dovetam::testing
