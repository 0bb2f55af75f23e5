// The real program takes every command-line argument as a path: arguments
// that Qt would take for options of its own ("-platform", "-reverse",
// "-style x", ...) are files here, and they become targets, and the program
// starts. Each row starts the built dovetam_0_9_2_ex as a shell does
// (`dovetam_0_9_2_ex *` in a folder holding such files), under the offscreen
// platform, with its settings in a temporary XDG_CONFIG_HOME; the window
// reader (window_reader.cpp), preloaded into it, writes what the started
// window shows and ends the program. A child that does not end in time is
// killed, and the test fails saying so.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "testing/temp_dir.h"

extern char** environ;

namespace dovetam {
namespace {

using testing::TempDir;

// Far more than a start takes, even on a machine busy with other work.
constexpr auto kChildDeadline = std::chrono::seconds(60);

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ChildRun {
  bool ended = false;  // false: killed at the deadline
  int status = 0;      // waitpid's
  std::string output;  // what the reader wrote
  std::string log;     // the program's standard output and error

  std::vector<std::string> Lines(const std::string& kind) const {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
      if (line.compare(0, kind.size() + 1, kind + '\t') == 0) {
        lines.push_back(line.substr(kind.size() + 1));
      }
    }
    return lines;
  }
};

// Starts the program in `folder` with `arguments` and waits for it to end.
ChildRun StartProgram(const TempDir& folder, const TempDir& config,
                 const std::vector<std::string>& arguments) {
  const std::string readerOut = config.native() + "reader.txt";
  const std::string logPath = config.native() + "program.log";
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (name != "QT_QPA_PLATFORM" && name != "XDG_CONFIG_HOME" && name != "LD_PRELOAD" &&
        name != "ASAN_OPTIONS" && name != "DOVETAM_READER_OUT") {
      env.push_back(entry);
    }
  }
  const char* asan = std::getenv("ASAN_OPTIONS");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("XDG_CONFIG_HOME=" + config.native());
  env.push_back("LD_PRELOAD=" DOVETAM_WINDOW_READER);
  env.push_back("DOVETAM_READER_OUT=" + readerOut);
  // A sanitized program finds the reader loaded before the sanitizer's runtime.
  env.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") +
                ":verify_asan_link_order=0");

  std::vector<std::string> args{DOVETAM_PROGRAM};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  ChildRun run;
  const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (log < 0) {
    ADD_FAILURE() << "cannot create " << logPath;
    return run;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only calls that are safe in the child of a process with threads.
    if (::chdir(folder.native().c_str()) != 0 || ::dup2(log, 1) < 0 || ::dup2(log, 2) < 0) {
      ::_exit(126);
    }
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(log);
  if (pid < 0) {
    ADD_FAILURE() << "cannot start the program";
    return run;
  }
  const auto deadline = std::chrono::steady_clock::now() + kChildDeadline;
  for (;;) {
    const pid_t got = ::waitpid(pid, &run.status, WNOHANG);
    if (got == pid) {
      run.ended = true;
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &run.status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  run.output = ReadAll(readerOut);
  run.log = ReadAll(logPath);
  return run;
}

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;  // names of files in the started folder
};
void PrintTo(const ArgumentsCase& c, std::ostream* os) { *os << c.name; }

class ArgumentsTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ArgumentsTest, EveryArgumentIsATargetAndTheProgramStarts) {
  const ArgumentsCase& c = GetParam();
  TempDir folder;
  TempDir config;
  std::vector<std::string> expected;
  for (const std::string& name : c.arguments) {
    folder.MakeFileBytes(name);
    expected.push_back(folder.native() + name);
  }
  std::sort(expected.begin(), expected.end());
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  // The listing opens at the started folder, not at the root of the system.
  config.MakeFolder(u"Ombra-Vale Software");
  config.MakeFile(u"Ombra-Vale Software/Dovetam.ini",
                  "[general]\ndefpath=" + folder.native() + "\n");

  const ChildRun run = StartProgram(folder, config, c.arguments);
  ASSERT_TRUE(run.ended) << "the program did not end within " << kChildDeadline.count()
                         << " s and was killed; it wrote:\n"
                         << run.log;
  ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)
      << "the program ended with status " << run.status << "; the reader wrote:\n"
      << run.output << "the program wrote:\n"
      << run.log;
  EXPECT_EQ(run.Lines("argument"), std::vector<std::string>{DOVETAM_PROGRAM})
      << "Qt is given the program's name alone";
  EXPECT_EQ(run.Lines("direction"), std::vector<std::string>{"left-to-right"});
  std::vector<std::string> targets = run.Lines("target");
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ(targets, expected);
}

INSTANTIATE_TEST_SUITE_P(
    QtOptionNames, ArgumentsTest,
    ::testing::Values(ArgumentsCase{"platform", {"-platform", "a.txt"}},
                      ArgumentsCase{"display", {"-display", "a.txt"}},
                      ArgumentsCase{"reverse", {"-reverse"}},
                      ArgumentsCase{"style", {"-style", "x"}},
                      ArgumentsCase{"stylesheet", {"-stylesheet", "y"}},
                      ArgumentsCase{"name", {"-name", "n"}},
                      ArgumentsCase{"all", {"-reverse", "-style", "x", "-name", "n", "-stylesheet",
                                            "y", "-display", "d", "-platform", "p", "plain.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
