// A launcher for tests: records every start and answers `result`. A test
// plays a started program that reports its failure by calling its `failed`.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/launcher.h"

namespace dovetam::testing {

class FakeLauncher : public Launcher {
 public:
  struct Started {
    std::u16string program;
    std::vector<std::u16string> args;
    std::function<void()> failed;
  };
  std::vector<Started> starts;  // every call, also those answered false
  bool result = true;

  bool Start(const std::u16string& program, const std::vector<std::u16string>& args,
             std::function<void()> failed) override {
    starts.push_back({program, args, std::move(failed)});
    return result;
  }
};

}  // namespace dovetam::testing
