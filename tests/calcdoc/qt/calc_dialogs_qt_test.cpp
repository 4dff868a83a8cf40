// The calculation view's dialogs on widgets, offscreen: every id is there with its text,
// nothing sticks out, each opens and closes, and the result list lives and goes as a
// modeless window. With WAVORA_SHOT_DIR set, each dialog is also saved there as a PNG.
#include "calc/calc_doc_data.h"
#include "calcdoc/calc_small_dlgs.h"
#include "calcdoc/contour_cond_dlg.h"
#include "calcdoc/digital_map_interval_dlg.h"
#include "calcdoc/height_check_dlg.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "calcdoc/result_list_dlg.h"
#include "core/sansyutu.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace wv {
namespace {

class Doc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

class View : public CTydViewData, public ResultListView {
public:
    explicit View(CTydDocData& doc) : CTydViewData(doc) {}
    void RedrawAll() override { ++redraws; }
    const CTydViewData& ResultListData() const override { return *this; }
    void OnResultListClosed() override { m_bResultListOpen = 0; }
    int redraws = 0;
};

class Owner : public CMsgTarget {
public:
    long WindowProc(unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
};

class CalcDialogsQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "calcdoc_dialogs_qt_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    static std::set<std::string> Texts(const QWidget& host) {
        std::set<std::string> out;
        for (const QLabel* l : host.findChildren<QLabel*>())
            if (l->isVisibleTo(&host)) out.insert(l->text().toStdString());
        for (const QAbstractButton* b : host.findChildren<QAbstractButton*>()) out.insert(b->text().toStdString());
        return out;
    }
    static void ExpectTexts(const QWidget& host, std::initializer_list<const char*> texts) {
        const auto all = Texts(host);
        for (const char* t : texts) EXPECT_TRUE(all.count(t)) << "missing text " << t;
    }
    // Every control of the model with an id has its widget, of the kind it should be.
    static void ExpectAllIds(const DialogHost& host, const CDialogModel& model) {
        for (const DialogControl& c : model.Controls()) {
            if (c.id == -1) continue;
            QWidget* w = host.findChild<QWidget*>(QStringLiteral("c%1").arg(c.id));
            ASSERT_NE(w, nullptr) << c.id;
            switch (c.kind) {
            case ControlKind::Edit: EXPECT_NE(qobject_cast<QLineEdit*>(w), nullptr) << c.id; break;
            case ControlKind::Button: EXPECT_NE(qobject_cast<QPushButton*>(w), nullptr) << c.id; break;
            case ControlKind::Radio: EXPECT_NE(qobject_cast<QRadioButton*>(w), nullptr) << c.id; break;
            case ControlKind::List: EXPECT_NE(qobject_cast<QComboBox*>(w), nullptr) << c.id; break;
            case ControlKind::ListView: EXPECT_NE(qobject_cast<QTreeWidget*>(w), nullptr) << c.id; break;
            case ControlKind::Label: EXPECT_NE(qobject_cast<QLabel*>(w), nullptr) << c.id; break;
            default: break;
            }
        }
    }
    // Nothing may stick out of the dialog, and no text may be cut.
    static void ExpectInside(const DialogHost& host) {
        const QRect inside = host.rect();
        for (QWidget* w : host.findChildren<QWidget*>()) {
            if (w->parentWidget() != &host || w->objectName().startsWith("qt_")) continue;
            EXPECT_TRUE(inside.contains(w->geometry())) << w->objectName().toStdString();
            if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !l->text().isEmpty())
                EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text().remove('&')), l->width() + 1)
                    << l->text().toStdString();
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text().remove('&')), b->width())
                    << b->text().toStdString();
        }
    }
    static void Shot(DialogHost& host, const char* name) {
        const char* dir = std::getenv("WAVORA_SHOT_DIR");
        if (!dir) return;
        host.show();
        QApplication::processEvents();
        host.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
    static void Key(QWidget* w, int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(CalcDialogsQt, ResultListIsAModelessWindowThatGoesOnClose) {
    g_calcPoints.Reset();
    Doc doc;
    View view(doc);
    doc.m_zmn.m_nValueType = 0;
    doc.m_zmn.m_nDecimals = 2;
    for (int slot : {0, 2}) {
        CSansyutuZokusei p = g_calcPoints.GetAt(slot);
        p.SetName(Utf8ToCp932(slot == 0 ? "港口" : "防波堤先端"));
        p.SetUse(1);
        g_calcPoints.SetAt(slot, p);
        view.m_pCalcPtValue[static_cast<std::size_t>(slot)] = 1.5 + slot;
        view.m_pCalcPtDir[static_cast<std::size_t>(slot)] = 350.0f;
    }
    QMainWindow main;
    main.move(120, 80);
    Owner owner;
    MemoryProfile profile;
    CCalcPointResultDlg dlg(&owner, profile);
    QtResultListHost host(dlg, &main);
    dlg.SetViewSource([&view] { return &view; });
    view.m_bResultListOpen = 1;
    dlg.Create();
    DialogHost* window = host.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("各算出位置の計算結果"));
    ExpectAllIds(*window, dlg);
    ExpectInside(*window);
    ExpectTexts(*window, {"閉じる", "算出方法は、算出点を囲むメッシュ４点の平均値です。"});
    auto* tree = window->findChild<QTreeWidget*>("c1004");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->headerItem()->text(1), QString::fromUtf8("有義波高(m)"));
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QString::fromUtf8("防波堤先端"));
    EXPECT_EQ(tree->topLevelItem(1)->text(1), QString::fromUtf8(" 3.50"));
    EXPECT_EQ(tree->topLevelItem(1)->text(2), QString::fromUtf8("N350.0°"));
    Shot(*window, "result_list");

    // A refresh reaches the widget.
    view.m_pCalcPtValue[0] = 0.25;
    dlg.WindowProc(WM_RESULTLIST_REFRESH, 0, 0);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QString::fromUtf8(" 0.25"));

    // "閉じる": the window goes, the view forgets the list, the place is kept.
    window->move(333, 222);
    window->findChild<QPushButton*>("c2")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(host.Window(), nullptr);
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(view.m_bResultListOpen, 0);
    EXPECT_EQ(profile.GetProfileInt("Position", "RefPosDlgLeft", -1), 333);
    EXPECT_EQ(profile.GetProfileInt("Position", "RefPosDlgTop", -1), 222);
    // Shown again at that place; Escape closes it too.
    dlg.Create();
    ASSERT_NE(host.Window(), nullptr);
    EXPECT_EQ(host.Window()->pos(), QPoint(333, 222));
    Key(host.Window(), Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(host.Window(), nullptr);
    PostedMessages().DeliverPending();
    g_calcPoints.Reset();
}

TEST_F(CalcDialogsQt, HeightCheckMarksFromTheDropDownAndEndsAtOnceWithoutContours) {
    Doc doc;
    View view(doc);
    EXPECT_EQ(RunCalcDialog(*std::make_unique<CHeightCheckDlg>(view)), IDOK);  // nothing to check: not shown

    CContGroup& g = doc.m_contGroup;
    g.SetCapacity(3);
    g.AllocLines();
    g.SetCount(3);
    const double levels[] = {1.5, 2.0, 1.5};
    for (int i = 0; i < 3; ++i) {
        g.SetPointCount(i, 2);
        g.AllocPoints(i);
        g.SetLevel(i, levels[i]);
    }
    CHeightCheckDlg dlg(view);
    DialogHost host(dlg);
    EXPECT_EQ(host.windowTitle(), QString::fromUtf8("高さ確認"));
    ExpectAllIds(host, dlg);
    ExpectInside(host);
    ExpectTexts(host, {"確認ｺﾝﾀｰ値", "閉じる"});
    auto* combo = host.findChild<QComboBox*>("c1083");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "1.50");
    EXPECT_EQ(g.GetPoint(0, 0).m_nSelect, 1);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(g.GetPoint(0, 0).m_nSelect, 0);
    EXPECT_EQ(g.GetPoint(1, 0).m_nSelect, 1);
    Shot(host, "height_check");
    host.show();
    Key(&host, Qt::Key_Escape);
    EXPECT_FALSE(host.isVisible());
    EXPECT_EQ(g.GetPoint(1, 0).m_nSelect, 0);
}

TEST_F(CalcDialogsQt, ContourConditionsShowTheRangeRowsOnlyForResults) {
    for (int rows : {0, 1}) {
        CContourCondDlg dlg;
        dlg.m_bContRangeRows = rows;
        dlg.m_dDispTo = 12.0;
        dlg.m_dCalcFrom = 0.35;
        dlg.m_dCalcTo = 15.2;
        dlg.m_dInterval = 1.0;
        dlg.m_levels = {2.5, 7.25};
        if (rows) {
            dlg.m_strDispLabel = "表示範囲";
            dlg.m_strCalcLabel = "計算範囲";
            dlg.m_strContLabel = "ｺﾝﾀｰ範囲";
            dlg.m_strColorLabel = "色の範囲";
            dlg.m_strIntervalLabel = "表示間隔";
            dlg.m_strLevelLabel = "任意表示";
        }
        DialogHost host(dlg);
        EXPECT_EQ(host.windowTitle(), QString::fromUtf8("ｺﾝﾀｰ表示条件"));
        ExpectAllIds(host, dlg);
        ExpectInside(host);
        ExpectTexts(host, {"下限値", "上限値", "登録", "全削除", "ダブルクリックで削除", "OK", "ｷｬﾝｾﾙ"});
        if (rows) ExpectTexts(host, {"ｺﾝﾀｰ範囲", "色の範囲", "任意表示"});
        else ExpectTexts(host, {"表示範囲(m)", "計算範囲(m)", "表示間隔(m)", "任意表示(m)"});
        for (int id : {1013, 1020, 1014, 1021, 1070, 1071})
            EXPECT_EQ(host.Control(id)->isHidden(), rows == 0) << id;
        auto* list = host.findChild<QTreeWidget*>("c1004");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_TRUE(list->isHeaderHidden());
        Shot(host, rows ? "contour_cond_result" : "contour_cond_depth");
        // Register, double-click away, close with OK.
        host.findChild<QLineEdit*>("c1015")->setText("5");
        host.findChild<QPushButton*>("c1076")->click();
        ASSERT_EQ(list->topLevelItemCount(), 3);
        EXPECT_EQ(list->topLevelItem(1)->text(0), "5.00");
        emit list->itemDoubleClicked(list->topLevelItem(0), 0);
        host.show();
        host.findChild<QPushButton*>("c1")->click();
        EXPECT_EQ(dlg.Result(), IDOK);
        EXPECT_FALSE(host.isVisible());
        EXPECT_EQ(dlg.m_levels, (std::vector<double>{5.0, 7.25}));
    }
}

TEST_F(CalcDialogsQt, DisplayIntervalRetitlesItselfForVectors) {
    Doc doc;
    doc.m_mesh.SetMeshSize(10.0);
    doc.m_calcArea.SetMeshSize(10.0);
    doc.m_calcArea.SetMeshCountX(31);
    doc.m_calcArea.SetMeshCountY(21);
    for (int kind : {1, 3}) {
        CDigitalMapIntervalDlg dlg;
        dlg.LoadFrom(doc, kind == 1 ? 1 : 3, kind, 0.0);
        dlg.SetAreaExtent(doc);
        DialogHost host(dlg);
        EXPECT_EQ(host.windowTitle(), QString::fromUtf8(kind == 3 ? "ベクトルの表示間隔" : "デジタルマップの表示間隔"));
        ExpectAllIds(host, dlg);
        ExpectInside(host);
        ExpectTexts(host, {"表示間隔(m)", "横", "縦", "ﾒｯｼｭﾋﾟｯﾁ(m)", "基準座標(m)", "Ｘ", "Ｙ", "OK", "ｷｬﾝｾﾙ"});
        EXPECT_TRUE(host.findChild<QLineEdit*>("c1012")->isReadOnly());
        EXPECT_EQ(host.findChild<QLineEdit*>("c1012")->text(), "10.0");
        EXPECT_EQ(host.Control(1014)->isHidden(), kind != 3);
        EXPECT_TRUE(host.Control(1015)->isEnabled());
        Shot(host, kind == 3 ? "interval_vector" : "interval_map");
        host.show();
        Key(&host, Qt::Key_Escape);
        EXPECT_EQ(dlg.Result(), IDCANCEL);
    }
}

TEST_F(CalcDialogsQt, AcadVersionWaitBoxAndSaveAs) {
    CAcadVersionDlg acad;
    acad.m_nVersion = 0;
    {
        DialogHost host(acad);
        EXPECT_EQ(host.windowTitle(), QString::fromUtf8("AutoCADのﾊﾞｰｼﾞｮﾝ"));
        ExpectAllIds(host, acad);
        ExpectInside(host);
        EXPECT_TRUE(host.findChild<QRadioButton*>("c1087")->isChecked());
        Shot(host, "acad_version");
        host.show();
        host.findChild<QRadioButton*>("c1088")->click();
        host.findChild<QPushButton*>("c1")->click();
        EXPECT_EQ(acad.m_nVersion, 1);
        EXPECT_FALSE(host.isVisible());
    }

    CResultReadingDlg reading;
    {
        auto box = ShowResultReadingBox(reading);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("計算結果ﾌｧｲﾙ読込中"));
        ExpectTexts(*box, {"しばらくお待ちください"});
        ExpectInside(*box);
        // Escape does not take it away: the reading ends it.
        Key(box.get(), Qt::Key_Escape);
        EXPECT_TRUE(box->isVisible());
        Shot(*box, "result_reading");
    }

    const std::string folder = CurrentFolder() + "saveas/";
    std::filesystem::create_directories(folder);
    for (const char* name : {"BAY.TYD", "湾奥.tyd", "BAY.TIK"}) ASSERT_TRUE(AtomicWriteFile(folder + name, "", nullptr));
    CFileSaveDlg save(folder, "BAY.TYD");
    DialogHost host(save);
    EXPECT_EQ(host.windowTitle(), QString::fromUtf8("名前を付けて保存"));
    ExpectAllIds(host, save);
    ExpectInside(host);
    ExpectTexts(host, {"保存する場所:", "ファイル名(&N):", "ファイルの種類(&T):", "保存(&S)", "ｷｬﾝｾﾙ"});
    auto* files = host.findChild<QTreeWidget*>("c1120");
    ASSERT_EQ(files->topLevelItemCount(), 2);
    EXPECT_EQ(host.findChild<QComboBox*>("c1136")->currentText(), "Tyd Files (*.tyd)");
    Shot(host, "save_as");
    files->setCurrentItem(files->topLevelItem(1));
    EXPECT_EQ(host.findChild<QLineEdit*>("c1152")->text(), QString::fromUtf8("湾奥.tyd"));
    host.show();
    host.findChild<QLineEdit*>("c1152")->setText(QString::fromUtf8("新しい計算"));
    host.findChild<QPushButton*>("c1")->click();
    EXPECT_EQ(save.Result(), IDOK);
    EXPECT_EQ(save.GetPathName(), folder + "新しい計算.TYD");
    EXPECT_FALSE(host.isVisible());
}

}  // namespace
}  // namespace wv
