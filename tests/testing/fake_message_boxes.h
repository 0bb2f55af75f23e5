// Message boxes for tests: every call is recorded (text, icon, buttons,
// default button) and answered from a queue of scripted answers; with the
// queue empty a box answers with its default button.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace dovetam::testing {

struct MessageBoxCall {
  std::u16string text;
  MsgIcon icon;
  MsgButtons buttons;
  MsgAnswer defaultButton;
  MsgAnswer answer;  // what the box answered
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  std::vector<MessageBoxCall> calls;
  std::deque<MsgAnswer> answers;

  void QueueAnswer(MsgAnswer a) { answers.push_back(a); }
  std::size_t Count() const { return calls.size(); }
  // The last call; only valid when Count() > 0.
  const MessageBoxCall& Last() const { return calls.back(); }
  // The texts of all calls, in order.
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> t;
    for (const MessageBoxCall& c : calls) t.push_back(c.text);
    return t;
  }
  void Clear() {
    calls.clear();
    answers.clear();
  }

  MsgAnswer Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                 MsgAnswer defaultButton = MsgAnswer::Ok) override {
    MsgAnswer a = defaultButton;
    if (!answers.empty()) {
      a = answers.front();
      answers.pop_front();
    }
    calls.push_back({std::u16string(text), icon, buttons, defaultButton, a});
    return a;
  }
};

}  // namespace dovetam::testing
