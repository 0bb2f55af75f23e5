// Selection operators: the written forms, the two registers (plain and "!")
// that hold a pending operator with its left operand, and the ways an
// operator is applied: "=", "=!", the next operator of the same register,
// and, for the plain register, the operations that move positions.
//
// An operator is one of 136 exact forms: a base ("+", "&", "&~", "-", "~&"),
// a modifier letter i/o/l/r for the complementing bases ("&~i", "-o", "~l&"),
// "!" for the "!" register, and a right-operand mark last: none (the whole
// operand), "." (the Selection), "@" (the mark M) or "@!" (the mark M!). The
// set operations themselves are services of the pattern core. The "!"
// register keeps positions that are valid only while the operand keeps the
// length it had when the left operand was taken, so every use checks it.
#include <array>
#include <string>

#include "core/rule/selection_messages.h"
#include "core/rule/selection_parts.h"
#include "core/rule/selection_services.h"
#include "core/rule/sections.h"

namespace dovetam {
namespace {

struct OperatorForm {
  int16_t code = 0;      // 1 union, 2 intersection, 3 left minus right, 4 right minus left
  int16_t modifier = 0;  // 0 none, 1 i, 2 o, 3 l, 4 r
  bool second = false;   // the "!" register
  int mark = 0;          // right operand: 0 whole, 1 Selection, 2 M, 3 M!
};

// Reads `text` as an operator; false when it is none of the written forms.
bool ReadOperator(std::u16string_view text, OperatorForm& form) {
  struct Base {
    std::u16string_view head;  // written before the modifier
    std::u16string_view tail;  // written after it
    int16_t code;
    bool modifiable;
  };
  static constexpr Base kBases[] = {{u"+", u"", 1, false}, {u"&", u"", 2, false}, {u"&~", u"", 3, true},
                                    {u"-", u"", 3, true},  {u"~", u"&", 4, true}};
  static constexpr std::u16string_view kModifiers = u"iolr";
  static constexpr std::u16string_view kMarks[] = {u"", u".", u"@", u"@!"};
  for (const Base& base : kBases) {
    if (text.substr(0, base.head.size()) != base.head) continue;
    std::u16string_view rest = text.substr(base.head.size());
    int16_t modifier = 0;
    if (base.modifiable && !rest.empty()) {
      const std::size_t at = kModifiers.find(rest.front());
      if (at != std::u16string_view::npos) {
        modifier = static_cast<int16_t>(at + 1);
        rest.remove_prefix(1);
      }
    }
    if (rest.substr(0, base.tail.size()) != base.tail) continue;
    rest.remove_prefix(base.tail.size());
    bool second = false;
    if (!rest.empty() && rest.front() == u'!') {
      second = true;
      rest.remove_prefix(1);
    }
    for (int mark = 0; mark < 4; ++mark) {
      if (rest == kMarks[mark]) {
        form = OperatorForm{base.code, modifier, second, mark};
        return true;
      }
    }
  }
  return false;
}

// Applies the plain register and copies its result into the Selection.
bool EndPlainOperator(RuleCall& call) {
  RuleWorkspace& ws = call.ws;
  ApplySelectionOperator(call, OperandLength(ws));
  if (call.failed()) return false;
  if (!CopyIntoSelection(call, ws.OpRanges, ws.OpCount)) return false;
  ws.OpCode = 0;
  return true;
}

bool EndSecondOperator(RuleCall& call) {
  RuleWorkspace& ws = call.ws;
  ApplySelectionOperatorSameLength(call, OperandLength(ws));
  if (call.failed()) return false;
  if (!CopyIntoSelection(call, ws.Op2Ranges, ws.Op2Count)) return false;
  ws.Op2Code = 0;
  return true;
}

// Takes the left operand into the register (the result of its pending
// operator, or the Selection) and stores the new operator.
bool WriteOperator(RuleCall& call, const OperatorForm& form, std::u16string_view written) {
  RuleWorkspace& ws = call.ws;
  const int32_t length = OperandLength(ws);
  if (form.second) {
    if (ws.Op2Code != 0) {
      if (length != ws.Op2Length) {
        call.Fail(SelectionLengthMessage(call.settings, written));
        return false;
      }
      ApplySelectionOperatorSameLength(call, length);
      if (call.failed()) return false;
    } else {
      if (!SaveSelection(call, ws.Op2Ranges, ws.Op2Capacity, ws.Op2Count)) return false;
      ws.Op2Length = length;
    }
    ws.Op2Code = form.code;
    ws.Op2Modifier = form.modifier;
  } else {
    if (ws.OpCode != 0) {
      ApplySelectionOperator(call, length);
      if (call.failed()) return false;
    } else {
      if (!SaveSelection(call, ws.OpRanges, ws.OpCapacity, ws.OpCount)) return false;
    }
    ws.OpCode = form.code;
    ws.OpModifier = form.modifier;
  }
  // The right operand starts.
  switch (form.mark) {
    case 0:
      ws.SelRanges[1] = 1;
      ws.SelRanges[2] = length + 1;
      ws.SelCount = 1;
      return true;
    case 1:
      return true;
    case 2:
      return RestoreMark(call, false, written);
    default:
      return RestoreMark(call, true, written);
  }
}

}  // namespace

bool RunSelectionOperator(RuleCall& call, std::u16string_view text, bool& handled) {
  RuleWorkspace& ws = call.ws;
  handled = true;
  OperatorForm form;
  if (ReadOperator(text, form)) return WriteOperator(call, form, text);
  if (text == u"=") {
    if (ws.OpCode < 1) {
      call.Fail(SelectionNoOperatorMessage(call.settings, text));
      return false;
    }
    return EndPlainOperator(call);
  }
  if (text == u"=!") {
    if (ws.Op2Code < 1) {
      call.Fail(SelectionNoOperatorMessage(call.settings, text));
      return false;
    }
    if (OperandLength(ws) != ws.Op2Length) {
      call.Fail(SelectionLengthMessage(call.settings, text));
      return false;
    }
    return EndSecondOperator(call);
  }
  handled = false;
  return true;
}

bool ApplyPendingSelectionOperator(RuleCall& call) {
  if (call.ws.OpCode <= 0) return true;
  return EndPlainOperator(call);
}

}  // namespace dovetam
