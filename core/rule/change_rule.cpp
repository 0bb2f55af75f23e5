// Name generation: the rule or rules applied to one name (see change_rule.h).
//
// With one rule (or a name without ".") the first rule makes the whole name;
// otherwise the first rule makes the part before the last "." and the second
// the part after it. Blanks (U+0020 only) are trimmed as spacemode says,
// empty parts are refused when savemode is on, and an empty name always.
// A name the file system could not take is refused as well: one holding "/"
// or NUL, "." or "..", a lone surrogate that stands for no byte on disk
// (only U+DC80..U+DCFF, the bytes of names that are not UTF-8, round-trip),
// or one longer on disk than a name may be (name_length.h).
// Running out of memory anywhere in the engine is caught here, at its door,
// and becomes the rule error "memory short" or, in a run, goes on to stop it.
#include "core/rule/change_rule.h"

#include <new>
#include <stdexcept>

#include "core/common/memory_short.h"
#include "core/rule/rule_call.h"
#include "core/rule/rule_interpreter.h"
#include "core/rule/rule_messages.h"
#include "core/rule/rule_workspace.h"
#include "platform/name_length.h"

namespace dovetam {
namespace {

void TrimLeft(std::u16string& s) {
  std::size_t n = 0;
  while (n < s.size() && s[n] == u' ') ++n;
  s.erase(0, n);
}

void TrimRight(std::u16string& s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == u' ') --n;
  s.resize(n);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A generated name the file system cannot take: sets the kind 2 error.
bool RefuseUnusableName(RuleCall& call, const std::u16string& name) {
  if (name == u"." || name == u"..") {
    call.Fail(UnusableNameMessage(name), 2);
    return true;
  }
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c == u'/') {
      call.Fail(UnusableCharMessage(name, u"/"), 2);
      return true;
    }
    if (c == 0) {
      call.Fail(UnusableCharMessage(name, u"NUL"), 2);
      return true;
    }
    if (IsHighSurrogate(c)) {
      if (i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
        ++i;  // a pair: any character
        continue;
      }
      call.Fail(UnencodableNameMessage(name), 2);
      return true;
    }
    if (IsLowSurrogate(c) && !(c >= 0xDC80 && c <= 0xDCFF)) {
      call.Fail(UnencodableNameMessage(name), 2);
      return true;
    }
  }
  if (!FitsNameLength(name)) {
    call.Fail(UnusableNameMessage(name), 2);
    return true;
  }
  return false;
}

std::u16string Generate(RuleCall& call, const ChangeRule& rule, const std::u16string& name) {
  const Settings& s = call.settings;
  const std::size_t dot = name.rfind(u'.');
  std::u16string result;
  if (rule.oneRule || dot == std::u16string::npos) {
    result = ApplyChangeRule(call, name, rule.rule1);
    if (call.failed()) return std::u16string();
    if (s.SpaceMode == 1 || s.SpaceMode == 2) {
      TrimRight(result);
      TrimLeft(result);
    }
  } else {
    std::u16string base = ApplyChangeRule(call, std::u16string_view(name).substr(0, dot), rule.rule1);
    if (call.failed()) return std::u16string();
    if (s.SpaceMode == 1 || s.SpaceMode == 2) TrimLeft(base);
    if (s.SpaceMode == 2) TrimRight(base);
    std::u16string ext = ApplyChangeRule(call, std::u16string_view(name).substr(dot + 1), rule.rule2);
    if (call.failed()) return std::u16string();
    if (s.SpaceMode == 1 || s.SpaceMode == 2) TrimRight(ext);
    if (s.SpaceMode == 2) TrimLeft(ext);
    if (s.SaveMode && (base.empty() || ext.empty())) {
      call.Fail(EmptyPartMessage(base, ext), 2);
      return std::u16string();
    }
    if (!ext.empty()) {
      result = std::move(base);
      result += u'.';
      result += ext;
    } else {
      if (s.SpaceMode == 1) TrimRight(base);
      result = std::move(base);
    }
  }
  if (result.empty()) {
    call.Fail(EmptyNameMessage(), 2);
    return std::u16string();
  }
  if (RefuseUnusableName(call, result)) return std::u16string();
  return result;
}

}  // namespace

RuleEngine::RuleEngine(const Settings& settings, FileSystem& fs, Capacities caps)
    : settings_(settings), fs_(fs), caps_(caps), ws_(std::make_unique<RuleWorkspace>()) {
  ResetWorkspace(*ws_, caps_);
}

RuleEngine::~RuleEngine() = default;

void RuleEngine::ResetTables() { ResetWorkspace(*ws_, caps_); }

std::u16string RuleEngine::GenerateNewName(const std::u16string& name, MemoryShortStops stops) {
  RuleCall call{settings_, context, *ws_, fs_, caps_};
  context.RuleErrorKind = 0;
  std::u16string result;
  const bool enough = MemoryAllows([&] {
    try {
      result = Generate(call, rule, name);
    } catch (const std::length_error&) {
      throw std::bad_alloc();  // a text past what a string can hold
    }
  });
  if (enough && !call.memoryShort) return result;
  if (stops == MemoryShortStops::Operation) throw std::bad_alloc();
  call.FailMemory();
  return std::u16string();
}

}  // namespace dovetam
