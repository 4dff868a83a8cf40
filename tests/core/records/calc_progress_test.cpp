// The progress interface: the order of use every computation follows, and cancelling.
#include "core/calc_progress.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wv {
namespace {

// A computation of `steps` units that follows the window's order of use. Returns the
// number of units done, or -1 when cancelled.
int RunSteps(CCalcProgressDlg& dlg, int steps) {
    dlg.SetWindowText("水深計算");
    dlg.m_bCancel = 0;
    dlg.SetRange32(0, steps);
    dlg.SetPos(0);
    dlg.SetStep(1);
    for (int i = 0; i < steps; ++i) {
        dlg.StepIt();
        dlg.PumpMessages();
        if (dlg.m_bCancel == 1) {
            dlg.DestroyWindow();
            return -1;
        }
    }
    dlg.DestroyWindow();
    return steps;
}

TEST(CalcProgress, CancelConfirmedStopsTheComputation) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    ui.PushAnswer(IDOK);
    CTestCalcProgressDlg dlg(3);
    EXPECT_EQ(dlg.GetWindowText(), "計算中");
    EXPECT_EQ(RunSteps(dlg, 10), -1);
    EXPECT_EQ(dlg.PumpCount(), 3);
    EXPECT_EQ(dlg.GetPos(), 3);
    EXPECT_TRUE(dlg.WasDestroyed());
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, "処理を中断します");
    EXPECT_EQ(msgs[0].caption, "中断");
    EXPECT_EQ(msgs[0].buttons, MbButtons::OkCancel);
}

TEST(CalcProgress, CancelAnsweredNoRunsOn) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    ui.PushAnswer(IDCANCEL);
    CTestCalcProgressDlg dlg(2);
    EXPECT_EQ(RunSteps(dlg, 5), 5);
    EXPECT_EQ(dlg.m_bCancel, 0);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(dlg.Positions().back(), 5);
}

TEST(CalcProgress, CancelDoesNotCloseTheWindow) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CTestCalcProgressDlg dlg;
    dlg.OnCancel();  // OK by default
    EXPECT_EQ(dlg.m_bCancel, 1);
    EXPECT_TRUE(dlg.IsWindowOpen());
}

TEST(CalcProgress, BarStaysInItsRange) {
    CTestCalcProgressDlg dlg;
    dlg.SetRange32(10, 20);
    EXPECT_EQ(dlg.GetPos(), 10);
    dlg.SetStep(4);
    EXPECT_EQ(dlg.StepIt(), 10);
    EXPECT_EQ(dlg.GetPos(), 14);
    EXPECT_EQ(dlg.Percent(), 40);
    dlg.OffsetPos(100);
    EXPECT_EQ(dlg.GetPos(), 20);
    EXPECT_EQ(dlg.SetPos(-5), 20);
    EXPECT_EQ(dlg.GetPos(), 10);
    dlg.SetRange32(0, 0);
    EXPECT_EQ(dlg.Percent(), 100);
}

TEST(CalcProgress, HeadlessDrawsABarWithPercentage) {
    std::ostringstream out;
    {
        CHeadlessCalcProgressDlg dlg(out);
        EXPECT_EQ(RunSteps(dlg, 4), 4);
    }
    const std::string text = out.str();
    EXPECT_NE(text.find("水深計算 ["), std::string::npos);
    EXPECT_NE(text.find(" 50%"), std::string::npos);
    EXPECT_NE(text.find("[########################################] 100%\n"), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
}

TEST(CalcProgress, FactoryGivesTheInstalledKind) {
    SetCalcProgressFactory([] { return std::make_unique<CTestCalcProgressDlg>(1); });
    auto dlg = CreateCalcProgressDlg();
    EXPECT_NE(dynamic_cast<CTestCalcProgressDlg*>(dlg.get()), nullptr);
    SetCalcProgressFactory(nullptr);
    auto headless = CreateCalcProgressDlg();
    EXPECT_NE(dynamic_cast<CHeadlessCalcProgressDlg*>(headless.get()), nullptr);
}

}  // namespace
}  // namespace wv
