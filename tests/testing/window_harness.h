// The main window with fakes around it, for window tests: scripted message
// boxes, settings in memory, a fixed clock, a recording launcher, and the real
// file system (or one that injects failures). The program's folder is a
// temporary folder, so the log and the report land there.
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QTimer>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "testing/fake_launcher.h"
#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/fixed_clock.h"
#include "testing/memory_settings_store.h"
#include "testing/temp_dir.h"

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace dovetam::testing {

// Presses and releases a key on the widget that has the keyboard focus, as
// typing does. False (nothing sent) when no widget has the focus.
inline bool TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focused = QApplication::focusWidget();
  if (focused == nullptr) return false;
  QTest::keyClick(focused, key, modifiers);
  return true;
}

// Hands the next modal dialog of type D to `work` as soon as it shows. A
// command may run the event loop (a list refill) before its dialog opens, so
// the dialog is looked for until it is there.
template <typename D, typename F>
void OnNextDialog(F work) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, work] {
    if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      work(dialog);
    }
  });
  timer->start(5);
}

class WindowHarness {
 public:
  FakeMessageBoxes boxes;
  MemorySettingsStore store;
  FakeLauncher launcher;
  FixedClock clock{MakeDate(2026, 12, 9, 10, 20, 30)};
  std::unique_ptr<FileSystem> realFs = CreateSystemFileSystem();
  TempDir programDir;  // the program's folder: log, report, help
  std::unique_ptr<frmDovetem> window;

  // Starts the window as the program does (Form_Load). defpath defaults to
  // the program's folder so that no test lists the whole system's root.
  frmDovetem& Start(Capacities caps = Capacities::Large(),
                    std::vector<std::u16string> arguments = {}, FileSystem* fs = nullptr) {
    if (!store.Has(u"general", u"defpath")) store.Set(u"general", u"defpath", programDir.path());
    window = std::make_unique<frmDovetem>(Services{fs ? *fs : *realFs, store, boxes, launcher,
                                                   clock, caps, programDir.path(),
                                                   std::move(arguments)});
    window->Form_Load();
    QApplication::processEvents();
    return *window;
  }

  ~WindowHarness() {
    if (window) {
      // Leave without the exit questions.
      window->hide();
      window.reset();
    }
  }
};

}  // namespace dovetam::testing
