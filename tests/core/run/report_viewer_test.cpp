// The report viewer is started on the saved report, and the user hears when
// it cannot show it: at once when it cannot be started, later when it starts
// and then reports that it failed.
#include "core/run/report_viewer.h"

#include <gtest/gtest.h>

#include "testing/fake_launcher.h"
#include "testing/fake_message_boxes.h"

namespace dovetam {
namespace {

const std::u16string kReport = u"/prog/dovetam_report.dat";
const std::u16string kCannotShow = u"レポート(/prog/dovetam_report.dat)を表示できませんでした。";

TEST(ReportViewer, SaysSoWhenTheViewerCannotShowTheReport) {
  testing::FakeLauncher launcher;
  testing::FakeMessageBoxes boxes;

  OpenReportViewer(false, kReport, u"xdg-open", launcher, boxes);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(u"レポートが保存されていません。", boxes.Last().text);

  boxes.Clear();
  OpenReportViewer(true, kReport, u"xdg-open", launcher, boxes);
  ASSERT_EQ(1u, launcher.starts.size());
  EXPECT_EQ(std::vector<std::u16string>{kReport}, launcher.starts[0].args);
  EXPECT_TRUE(boxes.calls.empty()) << "nothing is said while the viewer shows the report";
  ASSERT_TRUE(launcher.starts[0].failed) << "the viewer's later failure must be heard";
  launcher.starts[0].failed();
  ASSERT_EQ(1u, boxes.calls.size());
  EXPECT_EQ(kCannotShow, boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);

  boxes.Clear();
  launcher.result = false;
  OpenReportViewer(true, kReport, u"no-such-viewer", launcher, boxes);
  ASSERT_EQ(1u, boxes.calls.size());
  EXPECT_EQ(kCannotShow, boxes.Last().text);
}

}  // namespace
}  // namespace dovetam
