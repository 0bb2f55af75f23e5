// Starting another program: the program and its arguments, no shell.
//
// Start returns false when the program could not be started (not found, not
// executable, a text that does not encode, no process or thread to be had
// for it); nothing was started then. A program that starts and later
// ends by itself with a non-zero exit status reports that it failed (a viewer
// that found nothing to show the file with): `failed`, when given, is then
// handed to the launcher's poster, which runs it on the thread that shows the
// windows. Once the launcher is destroyed nothing more is handed over.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dovetam {

class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual bool Start(const std::u16string& program, const std::vector<std::u16string>& args,
                     std::function<void()> failed = nullptr) = 0;
};

// Hands a piece of work to the thread that shows the windows, to be run there
// later; it is called from other threads and must not wait for that thread.
using Poster = std::function<void(std::function<void()> work)>;

std::unique_ptr<Launcher> CreateSystemLauncher(Poster post);

}  // namespace dovetam
