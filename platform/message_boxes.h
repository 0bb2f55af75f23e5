// Message boxes: a text (lines joined by "\n"), an icon, the buttons and the
// default button; the answer comes back. Every box carries the caption that
// all windows of the program share.
#pragma once

#include <string_view>

namespace dovetam {

inline constexpr std::u16string_view kWindowCaption = u"Dovetam - 規則型名前変更ツール";

enum class MsgIcon { None, Question, Exclamation, Critical, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgAnswer Show(std::u16string_view text, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::Ok,
                         MsgAnswer defaultButton = MsgAnswer::Ok) = 0;
};

}  // namespace dovetam
