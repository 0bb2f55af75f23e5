// Copying from the report window when memory runs short: the whole report of
// 100,000 objects selected and copied under a real limit of the address space
// (RLIMIT_AS) that leaves no room for the copy. The window says that memory
// ran short, the clipboard keeps what it held, and the program goes on: with
// the limit lifted the same keys copy the whole text.
//
// The sanitizers reserve more address space than any limit set here, so the
// test does not run under them.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <malloc.h>
#include <sys/resource.h>

#include "core/common/decimal_text.h"
#include "core/common/memory_short.h"
#include "testing/address_space.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::AddressSpace;
using testing::Control;
using testing::kSanitized;
using testing::WindowHarness;

// The address space held to `room` bytes more than is used now, while it
// lives.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(std::size_t room) {
    getrlimit(RLIMIT_AS, &before_);
    const rlimit limit{AddressSpace() + room, before_.rlim_max};
    set_ = setrlimit(RLIMIT_AS, &limit) == 0;
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &before_); }
  bool Set() const { return set_; }

 private:
  rlimit before_{};
  bool set_ = false;
};

TEST(ReportCopy, MemoryShortForTheCopySaysSoAndTheProgramGoesOn) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer's shadow memory passes any limit set here";
  // Every large block is fresh address space, never a freed one kept.
  ASSERT_EQ(1, mallopt(M_MMAP_THRESHOLD, 1 << 20));
  WindowHarness h;
  h.Start();
  // The report of 100,000 objects, about 9 million characters.
  std::u16string text;
  for (int k = 0; k < 100000; ++k) {
    const std::u16string n = DecimalText(k);
    text += u"\"/home/user/photos/2026/holiday/beach/IMG_" + n + u".jpg\" \"beach_" + n +
            u".jpg\" \"正常変更\"\r\n";
  }
  frmDovetemReport& report = testing::ReportWindow();
  report.SetReportText(text);
  report.show();
  ReportTextView& txtReport = Control<ReportTextView>(report, "txtReport");
  txtReport.setFocus();
  QApplication::processEvents();
  QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
  QTest::keyClick(&txtReport, Qt::Key_A, Qt::ControlModifier);
  ASSERT_EQ(txtReport.CursorPosition(), text.size());
  h.boxes.Clear();
  {
    // Room for the handler and its message, not for a copy of the text.
    AddressSpaceLimit limit(8u << 20);
    ASSERT_TRUE(limit.Set());
    QTest::keyClick(&txtReport, Qt::Key_C, Qt::ControlModifier);
  }
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, MemoryShortText(MemoryShort::NotDone));
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("held before"));
  EXPECT_TRUE(report.isVisible());

  QTest::keyClick(&txtReport, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(QGuiApplication::clipboard()->text().size(),
            static_cast<qsizetype>(text.size() - 100000));  // "\r\n" copied as "\n"
  report.hide();
}

}  // namespace
}  // namespace dovetam
