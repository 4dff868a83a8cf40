// The calculation area's mesh count as a user reads it: a 5 m mesh of 264 x 254 nodes
// dragged over the bay in the calculation-area mode, the count in the status bar while
// the mouse moves and under the area once it is set.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "calcdoc/tyd_doc.h"
#include "platform/text.h"
#include "tests/support/label_pixels.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wv::gui {
namespace {

QStringList StatusTexts(MainWindow* w) {
    QStringList texts;
    for (QLabel* l : w->statusBar()->findChildren<QLabel*>()) texts << l->text();
    return texts;
}

TEST(WavoraAreaLabel, MeshCountOfADraggedAreaReadsAsItsText) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        r.CloseTree();
        calc->showMaximized();
        Pump(100);
        TydScrollView* pane = r.PaneView(calc, 0, 0);
        ASSERT_NE(pane, nullptr);
        CTydView& view = *pane->Controller();
        QWidget* port = r.FrameOf(calc)->Pane(0, 0)->viewport();

        // A 5 m mesh in the wave conditions.
        r.Modals().OnTitle(QStringLiteral("波条件"), [](QWidget* d) {
            TypeInto(d, 1015, QStringLiteral("5.0"));
            ModalAnswerer::PressDialogButton(d, 1);
        }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("波条件")}));
        Pump(100);
        ASSERT_DOUBLE_EQ(view.Doc().m_calcArea.GetMeshSize(), 5.0);

        // Zoomed in until a mesh is more than a pixel, so that the drag can give any count.
        ASSERT_TRUE(r.Choose({QStringLiteral("表示(&V)"), QStringLiteral("拡大")}));
        for (int i = 0; i < 4; ++i) {
            Click(port, port->rect().center() + QPoint(-150, -100));
            Pump(30);
        }
        Click(port, port->rect().center(), Qt::RightButton);
        Pump(30);

        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("計算領域"), QStringLiteral("設定")}));
        const double step = 5.0 * view.State().coord.GetScale();
        ASSERT_GT(step, 1.0);
        const QPoint from(40, 30);
        const QPoint to =
            from + QPoint(static_cast<int>(std::ceil(263 * step)), static_cast<int>(std::ceil(253 * step)));
        QTest::mouseMove(port, from);
        QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, from);
        for (int i = 1; i <= 8; ++i) {
            QTest::mouseMove(port, from + (to - from) * i / 8);
            QTest::qWait(5);
        }
        Pump(30);
        EXPECT_TRUE(StatusTexts(r.Window()).contains(QStringLiteral("メッシュ数：67056")))
            << StatusTexts(r.Window()).join('|').toStdString();
        QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, to);
        Pump(100);
        ASSERT_EQ(view.Doc().m_calcArea.GetMeshCountX(), 264);
        ASSERT_EQ(view.Doc().m_calcArea.GetMeshCountY(), 254);
        Shot(QStringLiteral("wavora-area-label"));

        // The label as the view's window paints it, against its characters drawn one by one.
        const CPointD o = view.Doc().m_calcArea.GetOrigin();
        double ox = o.m_dX, oy = o.m_dY;
        view.State().coord.WorldToView(&ox, &oy);
        ox -= view.State().scrollX;
        oy -= view.State().scrollY;
        const QImage shown = port->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QRect cells;
        const QImage alone =
            test::TextDrawnAlone(Utf8ToCp932("メッシュ数：67056"), ox, oy + 20, 14, shown.size(), &cells);
        ASSERT_TRUE(shown.rect().contains(cells));
        EXPECT_EQ(test::DifferingPixels(shown, alone, cells), 0)
            << "on the window\n" << test::LitRows(shown, cells) << "the characters alone\n"
            << test::LitRows(alone, cells);
    });
}

}  // namespace
}  // namespace wv::gui
