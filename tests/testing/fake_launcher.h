// A launcher for tests: records every start and answers `result`.
#pragma once

#include <string>
#include <vector>

#include "platform/launcher.h"

namespace dovetam::testing {

class FakeLauncher : public Launcher {
 public:
  struct Started {
    std::u16string program;
    std::vector<std::u16string> args;
  };
  std::vector<Started> starts;  // every call, also those answered false
  bool result = true;

  bool Start(const std::u16string& program, const std::vector<std::u16string>& args) override {
    starts.push_back({program, args});
    return result;
  }
};

}  // namespace dovetam::testing
