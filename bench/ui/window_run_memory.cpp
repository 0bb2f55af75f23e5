// Peak memory of the program after a run of many targets through its window.
//
// Builds the main window as the program does (real file system, settings
// file, clock and launcher; the settings under a temporary config folder),
// lists a folder of n fresh files (under $TMPDIR), selects them all, presses
// "∨追加", "決定＞", types the rule "g\06(n-1)" and presses "名前変更"; the
// questions are answered Yes, the messages OK. Prints the peak resident size
// (VmHWM) and the time taken after the start, after the add, after the rule
// page is shown with the rule and after the run, and checks that every file
// was renamed. Then it sets the run's report into the report window once
// more and prints the time that takes, with the report's size. Run it under
// a display server as the program runs (xvfb-run -a window_run_memory) or
// with QT_QPA_PLATFORM=offscreen.
//
// Usage: window_run_memory [n]   (default 100000)
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/main_window/main_window.h"
#include "bench/core/run/bench_hosts.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/settings_store.h"
#include "platform/utf8_codec.h"
#include "ui/report/report_window.h"
#include "tests/testing/widget_probe.h"

namespace {

using dovetam::testing::Control;
using dovetam::testing::Window;

std::string Status(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field, 0) == 0) return line;
  }
  return std::string(field) + " ?";
}

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Peak and current memory, and the time since the last report (for the first
// one: since the window was made).
void Report(const char* stage, double& since) {
  const double now = Now();
  std::printf("%-14s %s   %s   %7.3f s\n", stage, Status("VmHWM:").c_str(),
              Status("VmRSS:").c_str(), now - since);
  std::fflush(stdout);
  since = now;
}

[[noreturn]] void Die(const char* why) {
  std::fprintf(stderr, "window_run_memory: %s\n", why);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;

  const char* base = std::getenv("TMPDIR");
  std::string root = std::string(base != nullptr && *base != 0 ? base : "/tmp") +
                     "/dovetam-window-memory-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) Die("cannot make a folder under $TMPDIR");
  const std::string work = root + "/w/";
  const std::string program = root + "/p/";
  std::filesystem::create_directories(work);
  std::filesystem::create_directories(program);
  std::filesystem::create_directories(root + "/config");
  char name[32];
  for (int i = 0; i < n; ++i) {
    std::snprintf(name, sizeof name, "f%06d", i);
    const int fd = ::open((work + name).c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) Die("cannot make the files");
    ::close(fd);
  }

  {
    auto fs = dovetam::CreateSystemFileSystem();
    auto store = dovetam::CreateIniSettingsStore(root + "/config");
    auto launcher = dovetam::CreateSystemLauncher([](std::function<void()>) {});
    auto clock = dovetam::CreateSystemClock();
    dovetam::bench::YesBoxes boxes;
    double since = Now();
    store->Write(u"Ombra-Vale Software\\Dovetam", u"general", u"defpath", dovetam::DecodeNative(work));
    dovetam::frmDovetem window(dovetam::Services{*fs, *store, boxes, *launcher, *clock,
                                                 dovetam::Capacities::Large(),
                                                 dovetam::DecodeNative(program), {},
                                                 /*renameThread=*/true});
    window.Form_Load();
    window.show();
    QApplication::processEvents();
    dovetam::WorkState& state = window.State();
    if (state.listing.ListCount != n) Die("the folder was not listed");
    Report("started", since);

    Control<QTreeView>(window, "lvwSelect").selectAll();
    Control<QPushButton>(window, "cmdSelectAdd").click();
    QApplication::processEvents();
    if (state.objects.ObjCount != n) Die("not every file became a target");
    Report("added", since);

    Control<QPushButton>(window, "cmdSelectNext").click();
    Control<QLineEdit>(window, "txtRule1").setText(QStringLiteral("g\\06(n-1)"));
    QApplication::processEvents();
    Report("rule page", since);
    Control<QPushButton>(window, "cmdRuleExecute", 1).click();
    QApplication::processEvents();
    if (state.ChangeState != 3) Die("the run did not happen");
    int renamed = 0;
    for (const auto& e : std::filesystem::directory_iterator(work)) {
      renamed += e.path().filename().string()[0] == 'g' ? 1 : 0;
    }
    if (renamed != n) Die("not every file was renamed");
    Report("after the run", since);

    // The report of the run, set again as the run set it (from a copy made
    // before the clock starts; the copy's memory is the benchmark's, so no
    // peak is printed after it).
    auto& report = Window<dovetam::frmDovetemReport>(QStringLiteral("frmDovetemReport"));
    std::u16string text = report.ReportText();
    const std::size_t chars = text.size();
    since = Now();
    report.SetReportText(std::move(text));
    const double setTime = Now() - since;
    if (report.ReportText().size() != chars) Die("the report was not set");
    std::printf("set report     %zu characters, %d lines in %.3f s\n", chars,
                Control<dovetam::ReportTextView>(report, "txtReport").LineCount(), setTime);
    window.hide();
  }
  std::filesystem::remove_all(root);
  return 0;
}
