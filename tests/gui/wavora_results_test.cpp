// The output-point result list and the figure's file label on the running program: the
// list shows what the calculation view's values are after a change of the wave and the
// drawing conditions, a solver run and the loading of its results, and it closes when the
// project window is activated; a printed figure carries the version text of SYSVER.DAT.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "calc/cal_threads.h"
#include "calc/digital_lattice.h"
#include "calcdoc/result_list_dlg.h"
#include "calcdoc/tyd_doc.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "app/qt/tree_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

namespace wv::gui {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The list's window as it shows on the screen: null when it is not shown.
QTreeWidget* ResultList() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            if (auto* list = top->findChild<QTreeWidget*>(QStringLiteral("c1004"))) return list;
    return nullptr;
}

// The column title and the rows "name|value|direction" as the list shows them.
QStringList Shown(QTreeWidget* list) {
    QStringList rows;
    if (!list) return rows;
    rows << list->headerItem()->text(1);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = list->topLevelItem(i);
        rows << it->text(0) + QLatin1Char('|') + it->text(1) + QLatin1Char('|') + it->text(2);
    }
    return rows;
}

// What the list must show for the view now: its output-point values worked out afresh
// from the mesh, in the list's own formats.
QStringList Expected(CTydView& view) {
    UpdateCalcPointResults(view, view.Angle());
    const CTydDoc& doc = view.Doc();
    QStringList rows;
    rows << Q(CCalcPointResultDlg::ValueColumnTitle(doc.m_zmn.m_nValueType));
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) {
        const CSansyutuZokusei p = g_calcPoints.GetAt(i);
        if (p.GetUse() == 0) continue;
        rows << Q(Cp932ToUtf8(p.GetName())) + QLatin1Char('|') +
                    Q(CCalcPointResultDlg::FormatValue(view.m_pCalcPtValue[static_cast<std::size_t>(i)],
                                                       doc.m_zmn.m_nDecimals)) +
                    QLatin1Char('|') +
                    Q(CCalcPointResultDlg::FormatDirection(view.m_pCalcPtDir[static_cast<std::size_t>(i)]));
    }
    return rows;
}

// Types into an edit of a dialog of the program: the field cleared, the text typed.
void TypeInto(QWidget* dialog, int id, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("c%1").arg(id));
    ASSERT_NE(edit, nullptr) << "control " << id;
    Click(edit, edit->rect().center());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void ClickControl(QWidget* dialog, int id) {
    auto* b = dialog->findChild<QAbstractButton*>(QStringLiteral("c%1").arg(id));
    ASSERT_NE(b, nullptr) << "control " << id;
    ClickButton(b);
}

// The wait box of the result reading, as the screen shows it.
bool IsWaitBox(const QWidget* w) {
    return w->isWindow() && w->windowTitle() == QStringLiteral("計算結果ﾌｧｲﾙ読込中");
}
bool WaitBoxShown() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && IsWaitBox(top)) return true;
    return false;
}

// The engine's messages passed on to the suite's service, noting for each one shown on
// the program's thread whether the wait box stood behind it; and how often the box showed.
class WaitBoxWatch : public UiService, public QObject {
public:
    explicit WaitBoxWatch(UiService& next) : m_next(next) { qApp->installEventFilter(this); }
    ~WaitBoxWatch() override { qApp->removeEventFilter(this); }

    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override {
        if (QThread::currentThread() == qApp->thread()) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_behind.emplace_back(caption, WaitBoxShown());
        }
        return m_next.MessageBox(text, caption, buttons, icon);
    }
    bool FileDialog(const FileDialogOptions& options, std::string& path) override {
        return m_next.FileDialog(options, path);
    }
    bool FolderDialog(const std::string& title, const std::string& initial, std::string& folder) override {
        return m_next.FolderDialog(title, initial, folder);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->isWidgetType() && IsWaitBox(static_cast<QWidget*>(o))) ++m_shows;
        return false;
    }

    int Shows() const { return m_shows; }
    // Captions of the messages, each with whether the wait box stood behind it.
    std::vector<std::pair<std::string, bool>> Behind() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_behind;
    }

private:
    UiService& m_next;
    mutable std::mutex m_mutex;
    std::vector<std::pair<std::string, bool>> m_behind;
    int m_shows = 0;
};

bool RunFinished(CTydView& view) {
    const int code = view.CalcSlot().GetExitCode();
    return code != CCalThreads::kStillActive && code != -1 && !QApplication::activeModalWidget();
}

TEST(WavoraResults, ListFollowsConditionsRunResultsAndTheProjectWindow) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        r.CloseTree();
        TydScrollView* pane = r.PaneView(calc, 0, 0);
        ASSERT_NE(pane, nullptr);
        CTydView& view = *pane->Controller();
        ASSERT_EQ(view.Doc().m_info.m_nCalcState, 3) << "the example carries its results";

        ASSERT_TRUE(r.Choose({QStringLiteral("表示(&V)"), QStringLiteral("一覧表示")}));
        ASSERT_TRUE(WaitFor([] { return ResultList() != nullptr; }));
        Pump(50);
        const QStringList first = Shown(ResultList());
        EXPECT_EQ(first, Expected(view)) << "as opened";
        ASSERT_GT(first.size(), 1) << "the bay has output points";

        // Another value in the drawing conditions: another column, other values.
        const int type = view.Doc().m_zmn.m_nValueType;
        r.Modals().OnTitle(QStringLiteral("図面条件"), [type](QWidget* d) {
            ClickControl(d, type == 1 ? 1053 : 1057);
            ModalAnswerer::PressDialogButton(d, 1);
        }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("図面(&Z)"), QStringLiteral("図面条件")}));
        Pump(100);
        ASSERT_NE(view.Doc().m_zmn.m_nValueType, type) << r.Modals().LogLines().join('\n').toStdString();
        EXPECT_EQ(Shown(ResultList()), Expected(view)) << "after the drawing conditions";
        const QStringList retitled = Shown(ResultList());
        EXPECT_NE(retitled.front(), first.front()) << "the value column's title";
        EXPECT_NE(retitled, first);

        // The tide level raised in the wave conditions: the mesh and its results are gone.
        const QString tide = QString::number(view.Doc().m_info.m_dTide + 0.5, 'f', 2);
        r.Modals().OnTitle(QStringLiteral("波条件"), [tide](QWidget* d) {
            TypeInto(d, 1030, tide);
            ModalAnswerer::PressDialogButton(d, 1);
        }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("波条件")}));
        Pump(100);
        ASSERT_EQ(view.Doc().m_info.m_nCalcState, 0) << "the new tide level clears the mesh";
        const QStringList cleared = Shown(ResultList());
        EXPECT_EQ(cleared, Expected(view)) << "after the wave conditions";
        EXPECT_NE(cleared, retitled);

        // The depths anew, a run, its end acknowledged; then the results read in by the
        // result contours.
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("水深計算")}));
        ASSERT_TRUE(WaitFor([&] { return view.Doc().m_info.m_nCalcState == 1; }, 60000));
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("計算")}));
        ASSERT_TRUE(WaitFor([&] { return RunFinished(view); }, 120000));
        ASSERT_EQ(view.CalcSlot().GetExitCode(), 0);
        Pump(100);
        EXPECT_EQ(Shown(ResultList()), Expected(view)) << "after the run";
        {
            // The wait box shows while the result file is read and has gone when the
            // message of the load comes.
            WaitBoxWatch watch(r.Ui());
            ScopedUi watching(&watch);
            ASSERT_TRUE(r.Choose({QStringLiteral("ｺﾝﾀｰ(&K)"), QStringLiteral("ｺﾝﾀｰ発生")}));
            ASSERT_TRUE(WaitFor([&] { return view.Doc().m_info.m_nCalcState == 3; }, 30000));
            Pump(100);
            EXPECT_GT(watch.Shows(), 0) << "the wait box while the results are read";
            int loadedMessages = 0;
            for (const auto& [caption, boxBehind] : watch.Behind()) {
                EXPECT_FALSE(boxBehind) << "the wait box behind the message " << caption;
                loadedMessages += caption == "結果更新" ? 1 : 0;
            }
            EXPECT_EQ(loadedMessages, 1);
        }
        const QStringList loaded = Shown(ResultList());
        EXPECT_EQ(loaded, Expected(view)) << "after the results were read in";
        EXPECT_NE(loaded, cleared);

        // The project window comes to the front: the list goes.
        r.Activate(r.WindowOf("BAY.TIK"));
        EXPECT_TRUE(WaitFor([] { return ResultList() == nullptr; }, 2000))
            << "activating the project view closes the list";
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

TEST(WavoraFigure, PrintedFigureCarriesTheVersionText) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        CTydView& view = *r.PaneView(calc, 0, 0)->Controller();
        if (view.Doc().m_zmn.m_bDrawFileName != 1) {
            // The file label switched on in the drawing conditions.
            r.Modals().OnTitle(QStringLiteral("図面条件"), [](QWidget* d) {
                ClickControl(d, 1009);
                ModalAnswerer::PressDialogButton(d, 1);
            }, 1);
            ASSERT_TRUE(r.Choose({QStringLiteral("図面(&Z)"), QStringLiteral("図面条件")}));
            ASSERT_EQ(view.Doc().m_zmn.m_bDrawFileName, 1);
        }
        const std::string pdf = r.Start() + "/BAY1.pdf";
        r.Ui().AnswerFile("印刷", [pdf](const FileDialogOptions&) { return pdf; });
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("直接印刷")}));
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(pdf); }, 20000));
        std::string plot;
        ASSERT_TRUE(ReadWholeFile(r.Start() + "/pdata000.plt", plot, nullptr));
        EXPECT_NE(plot.find("[BAY1]"), std::string::npos) << "the file label";
        const std::string label = Utf8ToCp932("V2.5.1－[BAY1]");
        EXPECT_NE(plot.find(label), std::string::npos) << "the file label with the version, in the file's bytes";
    });
}

}  // namespace
}  // namespace wv::gui
