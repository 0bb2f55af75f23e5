// Starting another program: the program and its arguments, no shell. Returns
// false when it could not be started.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dovetam {

class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual bool Start(const std::u16string& program, const std::vector<std::u16string>& args) = 0;
};

std::unique_ptr<Launcher> CreateSystemLauncher();

}  // namespace dovetam
