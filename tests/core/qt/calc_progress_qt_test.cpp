// The Qt progress window: what it shows, and that every way of cancelling only asks.
#include "core/qt/calc_progress_qt.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

namespace wv {
namespace {

class QtProgress : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "core_qt_progress_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) s_app = new QApplication(argc, argv);
    }
    static QApplication* s_app;
};
QApplication* QtProgress::s_app = nullptr;

TEST_F(QtProgress, ShowsCaptionTextAndBar) {
    CQtCalcProgressDlg dlg;
    CalcProgressWindow* w = dlg.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("計算中"));
    EXPECT_EQ(w->CancelButton()->text(), QString::fromUtf8("キャンセル"));
    EXPECT_FALSE(w->CancelButton()->isDefault());

    dlg.SetWindowText("三角網作成");
    dlg.SetRange32(0, 8);
    dlg.SetStep(1);
    dlg.StepIt();
    dlg.StepIt();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("三角網作成"));
    EXPECT_EQ(w->Bar()->maximum(), 8);
    EXPECT_EQ(w->Bar()->value(), 2);
    EXPECT_FALSE(w->TextLabel()->isVisibleTo(w));
    dlg.SetText("2 / 8");
    EXPECT_TRUE(w->TextLabel()->isVisibleTo(w));
    EXPECT_EQ(w->TextLabel()->text(), QString("2 / 8"));
}

TEST_F(QtProgress, EveryWayOfCancellingAsksAndKeepsTheWindow) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CQtCalcProgressDlg dlg;
    dlg.m_bCancel = 0;
    CalcProgressWindow* w = dlg.Window();

    ui.PushAnswer(IDCANCEL);
    w->CancelButton()->click();
    EXPECT_EQ(dlg.m_bCancel, 0);  // the computation runs on

    ui.PushAnswer(IDCANCEL);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &escape);
    EXPECT_EQ(dlg.m_bCancel, 0);

    ui.PushAnswer(IDCANCEL);
    w->close();
    EXPECT_EQ(dlg.m_bCancel, 0);
    EXPECT_TRUE(w->isVisible());

    ui.PushAnswer(IDOK);
    QMetaObject::invokeMethod(w->CancelButton(), "click", Qt::QueuedConnection);
    dlg.PumpMessages();  // the click reaches the window only while the computation pumps
    EXPECT_EQ(dlg.m_bCancel, 1);
    EXPECT_TRUE(w->isVisible());

    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 4u);
    for (const auto& m : msgs) {
        EXPECT_EQ(m.text, "処理を中断します");
        EXPECT_EQ(m.caption, "中断");
    }

    dlg.DestroyWindow();
    EXPECT_EQ(dlg.Window(), nullptr);
}

TEST_F(QtProgress, FactoryMakesQtWindows) {
    InstallQtCalcProgressFactory();
    auto dlg = CreateCalcProgressDlg();
    auto* qt = dynamic_cast<CQtCalcProgressDlg*>(dlg.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_TRUE(qt->Window()->isVisible());
    dlg.reset();
    SetCalcProgressFactory(nullptr);
}

}  // namespace
}  // namespace wv
