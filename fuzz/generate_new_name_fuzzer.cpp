// libFuzzer target: any rule typed into the rule boxes gives a new name or an
// error, never a crash, a hang or undefined behaviour.
//
// The input is split into settings and texts:
//   byte 0: bit 0 one rule, bit 1 escapemode, bits 2-3 spacemode,
//           bit 4 savemode, bit 5 ngcngmode, bit 6 ngplacemode, bit 7 ngdelmode
//   byte 1: bit 0 other rule symbols ([ ] { } ' ` ; # ( ) !), bit 1 small
//           build, bit 2 dates 0 (read through a file system that fails
//           or answers), bits 3-7 position of the object
//   rest:   rule1, rule2, name, clip items..., separated by 0x00 bytes.
// Text bytes: 0x01-0x7F are themselves; 0x80-0xEF pick from a list of
// characters the engine treats specially; 0xF0 b1 b2 is the unit b1*256+b2.
// After GenerateNewName, rule1 is also expanded as a text with the clip items
// in place, which reaches the repeat sections and the clip codes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "core/rule/change_rule.h"
#include "core/rule/rule_call.h"
#include "core/rule/rule_workspace.h"
#include "core/rule/text_expansion.h"

namespace {

using namespace dovetam;

class FuzzFileSystem : public FileSystem {
 public:
  bool answer = false;
  int GetDateLastModified(std::u16string_view, bool, Date& d) override { return Give(d); }
  int GetDateCreated(std::u16string_view, bool, Date& d) override { return Give(d); }
  int ListFolder(std::u16string_view, std::vector<FsEntry>&, std::vector<FsEntry>&) override { return 75; }
  int ListFolderWithDates(std::u16string_view, bool, bool, std::vector<FsEntry>&, std::vector<FsEntry>&,
                          FolderIdentity&) override {
    return 75;
  }
  int OpenFolder(std::u16string_view, std::unique_ptr<FolderHandle>&) override { return 75; }  // no folders
  int FileExists(std::u16string_view, bool&) override { return 75; }
  int FolderExists(std::u16string_view, bool&) override { return 75; }
  int GetFullPath(std::u16string_view, bool, std::u16string&) override { return 75; }
  int Rename(std::u16string_view, std::u16string_view, std::u16string_view) override { return 75; }
  int DeleteFile(std::u16string_view) override { return 75; }
  int CreateTextFile(std::u16string_view, std::unique_ptr<TextFile>&) override { return 75; }
  int AppendTextFile(std::u16string_view, std::unique_ptr<TextFile>&) override { return 75; }
  std::vector<std::u16string> Drives() override { return {u"/"}; }

 private:
  int Give(Date& d) {
    if (!answer) return 53;
    d = MakeDate(2024, 2, 29, 23, 59, 58);
    return 0;
  }
};

constexpr char16_t kSpecial[] = {
    u'\u3000', u'ｶ', u'ﾞ', u'ﾟ', u'ガ', u'あ', u'ー', u'・', u'￥', u'＼', u'～', u'？',
    0xD800,    0xDC00, 0xDC80, 0xDFFF, u'é', u'漢', u'「', u'｡', u'\uFFFF', u'\u00A5',
};

std::vector<std::u16string> SplitTexts(const uint8_t* data, size_t size) {
  std::vector<std::u16string> texts(1);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    if (b == 0) {
      texts.emplace_back();
    } else if (b < 0x80) {
      texts.back() += static_cast<char16_t>(b);
    } else if (b < 0xF0) {
      texts.back() += kSpecial[(b - 0x80) % std::size(kSpecial)];
    } else if (i + 2 < size) {
      texts.back() += static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
      i += 2;
    }
  }
  return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const uint8_t more = data[1];
  // One engine per build for the whole run, as the program keeps one for its
  // life: the workspace carries over from input to input.
  static Settings settings;
  static FuzzFileSystem fs;
  static RuleEngine largeEngine(settings, fs, Capacities::Large());
  static RuleEngine smallEngine(settings, fs, Capacities::Small());
  settings = Settings();
  settings.EscapeMode = flags & 2;
  settings.SpaceMode = static_cast<int16_t>(((flags >> 2) & 3) == 3 ? 2 : (flags >> 2) & 3);
  settings.SaveMode = flags & 16;
  settings.NgCngMode = flags & 32;
  settings.NgPlaceMode = flags & 64;
  settings.NgDelMode = flags & 128;
  if (more & 1) {
    settings.ChrQ1 = u"[";
    settings.ChrQ2 = u"]";
    settings.ChrS1 = u"{";
    settings.ChrS2 = u"}";
    settings.ChrDq1 = u"'";
    settings.ChrDq2 = u"`";
    settings.ChrCol = u";";
    settings.ChrYen = u"#";
    settings.ChrLt = u"(";
    settings.ChrGt = u")";
    settings.ChrBar = u"!";
  }
  const Capacities caps = (more & 2) ? Capacities::Small() : Capacities::Large();
  fs.answer = (more & 4) && (more & 8);

  std::vector<std::u16string> texts = SplitTexts(data + 2, size - 2);
  texts.resize(std::max<size_t>(texts.size(), 3));

  RuleEngine& engine = (more & 2) ? smallEngine : largeEngine;
  engine.rule = ChangeRule{texts[0], texts[1], static_cast<bool>(flags & 1)};
  engine.context.CurPos = more >> 3;
  engine.context.CurTotal = 20;
  const Date date = (more & 4) ? 0 : MakeDate(1990, 1, 2, 3, 4, 5);
  engine.context.CurModified = date;
  engine.context.CurCreated = date;
  engine.context.CurPath = u"/fuzz/object";
  const std::u16string result = engine.GenerateNewName(texts[2]);
  if (engine.context.RuleErrorKind == 0 && result.empty()) __builtin_trap();  // success needs a name
  if (engine.context.RuleErrorKind != 0 && !result.empty()) __builtin_trap();

  // The same text as a piece of literal text, with clip items in the list.
  RuleWorkspace& ws = engine.workspace();
  const int32_t items = static_cast<int32_t>(texts.size()) - 3;
  if (items > 0 && GrowClipListTo(ws, items, caps)) {
    for (int32_t k = 1; k <= items; ++k) ws.ClipItems[static_cast<size_t>(k)] = texts[static_cast<size_t>(k) + 2];
    ws.ClipCount = items;
    ws.ClipFront = 1;
    ws.ClipBack = items;
    ws.CurNamePart = texts[2];
    engine.context.RuleErrorKind = 0;
    RuleCall call{settings, engine.context, ws, fs, caps};
    try {
      const std::u16string expanded = ExpandSections(call, texts[0]);
      if (call.failed() && !expanded.empty()) __builtin_trap();
    } catch (const std::bad_alloc&) {
    }
  }
  return 0;
}
