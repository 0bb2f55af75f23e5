// What the run benchmarks stand in for the window: message boxes that answer
// every question with Yes (OK for a plain message), and a host that keeps
// the size of the report text instead of showing it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/message_boxes.h"
#include "core/run/run_environment.h"

namespace dovetam::bench {

class YesBoxes : public MessageBoxes {
 public:
  MsgAnswer Show(std::u16string_view, MsgIcon, MsgButtons buttons, MsgAnswer) override {
    ++shown;
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
  }
  int shown = 0;
};

class QuietHost : public RunHost {
 public:
  void ShowHourglass() override {}
  void ShowNormalPointer() override {}
  void ShowReportText(std::u16string text) override { reportSize = text.size(); }
  void RememberRule() override {}
  void RebuildOrderList() override {}
  std::size_t reportSize = 0;
};

}  // namespace dovetam::bench
