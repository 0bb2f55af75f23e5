// The report window: see report_window.h.
#include "ui/report/report_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "core/common/memory_short.h"
#include "core/run/report_viewer.h"
#include "ui/widgets/controls.h"

namespace dovetam {

namespace {
constexpr int kClientWidth = 7380;   // twips
constexpr int kClientHeight = 4485;  // twips
constexpr int kButtonWidth = 855;
constexpr int kButtonHeight = 375;
constexpr int kMinClientWidth = 480;
}  // namespace

frmDovetemReport::frmDovetemReport(SettingsModule& settings, Launcher& launcher,
                                   MessageBoxes& boxes)
    : QWidget(nullptr), settings_(settings), launcher_(launcher), boxes_(boxes, this) {
  setObjectName(QStringLiteral("frmDovetemReport"));
  setWindowTitle(QtText(kWindowCaption));
  // A window of its own that never keeps the program alive.
  setAttribute(Qt::WA_QuitOnClose, false);

  txtReport = new ReportTextView(this);
  txtReport->setObjectName(QStringLiteral("txtReport"));
  txtReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtReport->installEventFilter(this);
  connect(txtReport, &ReportTextView::CopyShortOfMemory, this, [this] {
    // Not even the message, perhaps: the window goes on as it is.
    MemoryAllows([&] { boxes_.Show(MemoryShortText(MemoryShort::NotDone), MsgIcon::Critical); });
  });

  // Placed by Form_Resize; only its size is designed.
  cmdCommandOpen = MakeButton(this, QStringLiteral("cmdCommandOpen"), QStringLiteral("全表示"),
                              QString(), 0, 0, kButtonWidth, kButtonHeight);
  cmdCommandOpen->setDefault(true);
  cmdCommandOpen->installEventFilter(this);
  connect(cmdCommandOpen, &QPushButton::clicked, this, &frmDovetemReport::cmdCommandOpen_Click);

  setTabOrder(txtReport, cmdCommandOpen);
  setMinimumSize(TwipsToPixels(kMinClientWidth, this),
                 cmdCommandOpen->height() + TwipsToPixels(600, this));
  resize(TwipsToPixels(kClientWidth, this), TwipsToPixels(kClientHeight, this));
  Form_Resize();  // laid out before it is first shown
}

void frmDovetemReport::SetReportText(std::u16string text) { txtReport->SetText(std::move(text)); }

const std::u16string& frmDovetemReport::ReportText() const { return txtReport->Text(); }

void frmDovetemReport::Form_Resize() {
  if (isMinimized()) return;
  const int w = width(), h = height();
  const int bw = cmdCommandOpen->width(), bh = cmdCommandOpen->height();
  const int m120 = TwipsToPixels(120, this), m240 = TwipsToPixels(240, this),
            m360 = TwipsToPixels(360, this);
  txtReport->setGeometry(m120, m120, std::max(0, w - m240), std::max(0, h - bh - m360));
  cmdCommandOpen->move(w - bw - m240, h - bh - m120);
}

void frmDovetemReport::cmdCommandOpen_Click() {
  OpenReportViewer(settings_.ReportSaved, settings_.ReportPath, settings_.settings.RepOpenApp,
                   launcher_, boxes_);
}

void frmDovetemReport::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void frmDovetemReport::closeEvent(QCloseEvent* event) {
  // Every close request only hides the window.
  event->ignore();
  hide();
}

bool frmDovetemReport::HandleKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return true;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    cmdCommandOpen->click();
    return true;
  }
  return false;
}

void frmDovetemReport::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) QWidget::keyPressEvent(event);
}

bool frmDovetemReport::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace dovetam
