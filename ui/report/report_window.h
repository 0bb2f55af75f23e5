// frmDovetemReport: the report window. Shows the report of the last run,
// re-run or restore; "全表示" opens the saved report file in the viewer.
// It lives as long as the main window: closing it (close box or Esc) only
// hides it, so its text stays until the next operation or full reset.
// Sizable; below a client width of 480 twips or a height of the button's
// height + 600 twips it does not shrink. The window is named
// "frmDovetemReport", its controls "txtReport" and "cmdCommandOpen".
#pragma once

#include <QWidget>
#include <string>

#include "core/settings/settings.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "ui/widgets/qt_message_boxes.h"
#include "ui/report/report_text_view.h"

class QPushButton;

namespace dovetam {

class frmDovetemReport : public QWidget {
  Q_OBJECT

 public:
  // settings gives ReportSaved, ReportPath and the viewer (repopenapp); the
  // window's messages go through boxes and stand over it.
  frmDovetemReport(SettingsModule& settings, Launcher& launcher, MessageBoxes& boxes);

  // The report text on display (CR LF line breaks are shown as line breaks).
  void SetReportText(std::u16string text);
  const std::u16string& ReportText() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Lays out the text box and "全表示" over the client area.
  void Form_Resize();
  void cmdCommandOpen_Click();
  // Esc hides the window and Return presses "全表示", wherever the focus is.
  bool HandleKey(QKeyEvent* event);

  SettingsModule& settings_;
  Launcher& launcher_;
  WindowMessageBoxes boxes_;
  ReportTextView* txtReport = nullptr;
  QPushButton* cmdCommandOpen = nullptr;
};

}  // namespace dovetam
