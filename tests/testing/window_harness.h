// The main window with fakes around it, for window tests: scripted message
// boxes, settings in memory, a fixed clock, a recording launcher, and the real
// file system (or one that injects failures). The program's folder is a
// temporary folder, so the log and the report land there. The window's
// pages, lists and report window are reached by their names (widget_probe.h).
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "ui/main_window/main_window.h"
#include "ui/report/report_window.h"
#include "ui/rule_page/rule_page.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"
#include "testing/fake_launcher.h"
#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/fixed_clock.h"
#include "testing/memory_settings_store.h"
#include "testing/temp_dir.h"
#include "testing/widget_probe.h"

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

// Page 2 of the main window, and the report window.
inline fraDovetem2& RulePage(const QWidget& window) {
  return Control<fraDovetem2>(window, QStringLiteral("fraDovetem2"));
}
inline frmDovetemReport& ReportWindow() {
  return Window<frmDovetemReport>(QStringLiteral("frmDovetemReport"));
}

// The rows and columns a list view of the window shows ("lvwSelect",
// "lvwSelect2", "lvwOrder").
inline const ListViewModel& ListModel(const QWidget& window, const QString& list) {
  return Control<ListView>(window, list).Model();
}

// The display position (from 1) of the first selected item of a list view of
// the window; 0 when none is selected.
inline int32_t FirstSelectedPosition(const QWidget& window, const QString& list) {
  const std::vector<int32_t> positions = Control<ListView>(window, list).SelectedPositions();
  return positions.empty() ? 0 : positions.front();
}

// How long a window test waits for something the event loop brings (a
// dialog to open, to close, the window to become active) before it fails.
// Far more than any of them takes, even on a machine busy with other work.
constexpr int kEventWaitMs = 30000;

// Hands the next modal dialog of type D to `work` as soon as it shows. A
// command may run the event loop (a list refill) before its dialog opens, so
// the dialog is looked for until it is there. A dialog that does not show in
// time fails the test, and so does one that `work` leaves open: it is then
// closed, so that the command's modal loop ends instead of hanging the test.
template <typename D, typename F>
void OnNextDialog(F work) {
  // The application owns the timer, so that it goes at the latest with it
  // when no event loop runs after the dialog any more.
  auto* timer = new QTimer(QApplication::instance());
  const auto done = [timer] {
    timer->stop();
    timer->deleteLater();
  };
  QObject::connect(timer, &QTimer::timeout,
                   [done, work, shown = false, opened = QPointer<D>(),
                    deadline = QDeadlineTimer(kEventWaitMs)]() mutable {
    const char* type = D::staticMetaObject.className();
    if (!shown) {
      if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
        shown = true;
        opened = dialog;
        deadline.setRemainingTime(kEventWaitMs);
        work(dialog);  // may run the event loop, and so this again
        if (opened.isNull() || !opened->isVisible()) done();
      } else if (deadline.hasExpired()) {
        ADD_FAILURE() << "no " << type << " showed within " << kEventWaitMs << " ms";
        done();
      }
    } else if (opened.isNull() || !opened->isVisible()) {
      done();
    } else if (deadline.hasExpired()) {
      ADD_FAILURE() << "the " << type << " was still open " << kEventWaitMs
                    << " ms after it showed";
      done();
      if (auto* modal = qobject_cast<QDialog*>(opened.data())) {
        modal->done(QDialog::Rejected);
      } else {
        opened->close();
      }
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
  std::u16string programFolder;  // another program's folder, when set (ending in "/")
  std::unique_ptr<frmDovetem> window;

  // Starts the window as the program does (Form_Load). defpath defaults to
  // the program's folder so that no test lists the whole system's root.
  frmDovetem& Start(Capacities caps = Capacities::Large(),
                    std::vector<std::u16string> arguments = {}, FileSystem* fs = nullptr) {
    if (!store.Has(u"general", u"defpath")) store.Set(u"general", u"defpath", programDir.path());
    // Both the real file system and the failure-injecting one take calls
    // from two threads, as the program's does.
    window = std::make_unique<frmDovetem>(Services{fs ? *fs : *realFs, store, boxes, launcher,
                                                   clock, caps,
                                                   programFolder.empty() ? programDir.path()
                                                                         : programFolder,
                                                   std::move(arguments), /*renameThread=*/true});
    window->Form_Load();
    // Keyboard focus and typed keys need the window active; the window
    // system makes it so when it comes to the events of its showing.
    if (!QTest::qWaitForWindowActive(window.get(), kEventWaitMs)) {
      ADD_FAILURE() << "the main window did not become active within " << kEventWaitMs << " ms";
    }
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
