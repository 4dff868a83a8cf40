#include "platform/ui_service.h"

#include <gtest/gtest.h>

using namespace wv;

TEST(UiService, ScriptedAnswersInOrderThenDefaults) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    ui.PushAnswer(IDCANCEL);
    EXPECT_EQ(Ui().MessageBox("水深計算を開始します。", "開始確認", MbButtons::OkCancel, MbIcon::Question),
              IDCANCEL);
    EXPECT_EQ(Ui().MessageBox("q", "c", MbButtons::YesNo, MbIcon::Question), IDYES);
    EXPECT_EQ(Ui().MessageBox("q", "c", MbButtons::Ok, MbIcon::Error), IDOK);
    const auto log = ui.Messages();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].caption, "開始確認");
    EXPECT_EQ(log[0].answer, IDCANCEL);
}

TEST(UiService, HeadlessTakesTheDefault) {
    HeadlessUi ui;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ui.MessageBox("msg", "Error", MbButtons::OkCancel, MbIcon::Error), IDOK);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("[Error] msg"), std::string::npos);
}
