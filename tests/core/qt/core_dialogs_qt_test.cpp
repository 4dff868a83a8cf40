// The shell's and the conditions' dialogs on widgets, offscreen: every id and text is
// there, focus loss reformats, Enter in the pitch rescales before OK, a failed exchange
// focuses its control, and each condition dialog opens on the bay example's records.
// With WAVORA_SHOT_DIR set, each dialog is also saved there as a PNG to look at.
#include "core/cal_area.h"
#include "core/draw_cond_dlg.h"
#include "core/new_file_dlgs.h"
#include "core/qt/core_dialogs_qt.h"
#include "core/sansyutu.h"
#include "core/terrain_cond_dlg.h"
#include "core/tik_inf.h"
#include "core/tyd_inf.h"
#include "core/wave_cond_dlg.h"
#include "core/zmn_inf.h"
#include "project/tik_doc.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>
#include <map>
#include <set>

namespace wv {
namespace {

class CoreDialogsQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "core_dialogs_qt_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    // Every text the user can read on the dialog.
    static std::set<std::string> Texts(const QWidget& host) {
        std::set<std::string> out;
        for (const QLabel* l : host.findChildren<QLabel*>()) out.insert(l->text().toStdString());
        for (const QAbstractButton* b : host.findChildren<QAbstractButton*>()) out.insert(b->text().toStdString());
        for (const QGroupBox* g : host.findChildren<QGroupBox*>()) out.insert(g->title().toStdString());
        return out;
    }
    // Ids with the text each carries (buttons, radio buttons, check boxes, group boxes).
    static void ExpectIdTexts(const DialogHost& host, const std::map<int, std::string>& idTexts) {
        for (const auto& [id, text] : idTexts) {
            SCOPED_TRACE(id);
            QWidget* w = host.Control(id);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->objectName(), QStringLiteral("c%1").arg(id));
            if (auto* b = qobject_cast<QAbstractButton*>(w)) EXPECT_EQ(b->text().toStdString(), text);
            else if (auto* g = qobject_cast<QGroupBox*>(w)) EXPECT_EQ(g->title().toStdString(), text);
            else ADD_FAILURE() << "no text on control";
        }
    }
    static void ExpectEdits(const DialogHost& host, std::initializer_list<int> ids) {
        for (int id : ids) EXPECT_NE(host.findChild<QLineEdit*>(QStringLiteral("c%1").arg(id)), nullptr) << id;
    }
    static void ExpectList(const DialogHost& host, int id, const std::vector<std::string>& items) {
        auto* cb = host.findChild<QComboBox*>(QStringLiteral("c%1").arg(id));
        ASSERT_NE(cb, nullptr) << id;
        ASSERT_EQ(cb->count(), static_cast<int>(items.size())) << id;
        for (int i = 0; i < cb->count(); ++i) EXPECT_EQ(cb->itemText(i).toStdString(), items[i]);
    }
    static void ExpectTexts(const QWidget& host, std::initializer_list<const char*> texts) {
        const auto all = Texts(host);
        for (const char* t : texts) EXPECT_TRUE(all.count(t)) << "missing text " << t;
    }
    static QLineEdit* Edit(const DialogHost& host, int id) { return qobject_cast<QLineEdit*>(host.Control(id)); }
    static void FocusOut(QWidget* w) {
        QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &e);
    }
    // Nothing may stick out of the dialog.
    static void ExpectInside(const DialogHost& host) {
        const QRect inside = host.rect();
        for (QWidget* w : host.findChildren<QWidget*>()) {
            if (w->parentWidget() != &host || w->objectName().startsWith("qt_")) continue;
            EXPECT_TRUE(inside.contains(w->geometry())) << w->objectName().toStdString() << " "
                                                        << w->metaObject()->className();
        }
    }
    static void Shot(DialogHost& host, const char* name) {
        const char* dir = std::getenv("WAVORA_SHOT_DIR");
        if (!dir) return;
        host.show();
        QApplication::processEvents();
        host.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }

    // The bay example's conditions (examples/bay/README.md).
    static void BayConditions(CTyd_Inf& tyd, CCalArea& area) {
        tyd.Init();
        tyd.m_nDirMode = 1;
        tyd.m_dDirAngle = 15.0;
        tyd.m_dH0 = 2.0;
        tyd.m_dT0 = 8.0;
        tyd.m_nDirDiv = 45;
        tyd.m_nFreqDiv = 7;
        tyd.m_bBreaking = 1;
        area.SetDefault();
        area.SetMeshCountX(240);
        area.SetMeshCountY(200);
        area.SetMeshSize(10.0);
    }
};

TEST_F(CoreDialogsQt, NewFileDialogsCarryTheirIdsAndTexts) {
    CNewTydDlg tyd;
    tyd.SetFolder("/data/湾の計画");
    DialogHost a(tyd);
    EXPECT_EQ(a.windowTitle().toStdString(), "新規作成");
    ExpectIdTexts(a, {{1, "OK"}, {2, "ｷｬﾝｾﾙ"}});
    ExpectEdits(a, {1009, 1008});
    EXPECT_TRUE(Edit(a, 1008)->isReadOnly());
    EXPECT_EQ(Edit(a, 1008)->text().toStdString(), "/data/湾の計画");
    ExpectTexts(a, {"ﾌﾟﾛｼﾞｪｸﾄの位置(&C)", "ﾌｧｲﾙ名(&N)"});
    EXPECT_EQ(a.focusWidget(), a.Control(1009));
    ExpectInside(a);
    Shot(a, "new_tyd");

    CNewProjectDlg prj;
    DialogHost b(prj);
    EXPECT_EQ(b.windowTitle().toStdString(), "ﾌﾟﾛｼﾞｪｸﾄの新規作成");
    ExpectIdTexts(b, {{1, "OK"}, {2, "ｷｬﾝｾﾙ"}, {1007, "参照(&F)"}});
    ExpectEdits(b, {1005, 1006});
    ExpectTexts(b, {"ﾌﾟﾛｼﾞｪｸﾄ名(&N)", "位置(&C)"});
    ExpectInside(b);
    Shot(b, "new_project");

    CSplashDlg splash;
    auto s = ShowSplash(splash);
    EXPECT_TRUE(s->windowFlags() & Qt::SplashScreen);
    auto* picture = qobject_cast<QLabel*>(s->Control(132));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->geometry(), s->rect());
    Shot(*s, "splash");
}

TEST_F(CoreDialogsQt, WaveConditionsOnTheBayExample) {
    CTyd_Inf tyd;
    CCalArea area;
    BayConditions(tyd, area);
    CWaveCondDlg d;
    d.LoadFrom(tyd, area);
    d.m_nRotation = 0;
    DialogHost host(d);
    EXPECT_EQ(host.windowTitle().toStdString(), "波条件");
    ExpectIdTexts(host, {{1017, "１６方位指定"}, {1019, "北からの角度(左回り：正)"},
                         {1020, "北からの角度(右回り：正)"}, {1021, "北からの角度(左回り：正)"},
                         {1022, "北からの角度(右回り：正)"}, {1035, "屈折後の波向き"}, {1023, "しない(推奨)"},
                         {1024, "する"}, {1040, "しない"}, {1041, "する"}, {1, "OK"}, {2, "ｷｬﾝｾﾙ"},
                         {3, "初期値に設定"}, {4, "初期値に戻す"}});
    ExpectEdits(host, {1034, 1028, 1029, 1030, 1031, 1032, 1036, 1037, 1033, 1025, 1026, 1027, 1014, 1015, 1090});
    ExpectList(host, 1018, {"Ｎ", "ＮＮＥ", "ＮＥ", "ＥＮＥ", "Ｅ", "ＥＳＥ", "ＳＥ", "ＳＳＥ", "Ｓ", "ＳＳＷ", "ＳＷ",
                            "ＷＳＷ", "Ｗ", "ＷＮＷ", "ＮＷ", "ＮＮＷ"});
    ExpectTexts(host, {"主波向きの方向", "主波向きの諸元", "計算領域", "画面回転角度の任意指定", "砕波の影響の考慮",
                       "H0：沖波波高(m)", "T0：沖波周期(sec)", "潮位(m)", "方向分布関数の分割数(方向分割)",
                       "方向集中度ﾊﾟﾗﾒｰﾀ(Smax)", "入射方向より右方向の成分波の広がり（度）",
                       "入射方向より左方向の成分波の広がり（度）", "周波数ｽﾍﾟｸﾄﾙの分割数(周期分割)", "原点位置",
                       "Ｘmin", "Ｙmin", "ﾒｯｼｭ数", "縦", "横", "ﾒｯｼｭﾋﾟｯﾁ(m)",
                       "画面上方から波が入射するように自動回転", "換算沖波算定時は「しない」に設定します。"});
    ExpectInside(host);
    // The example's records are on the widgets.
    EXPECT_EQ(Edit(host, 1028)->text(), "2.00");
    EXPECT_EQ(Edit(host, 1034)->text(), "15.0");
    EXPECT_EQ(Edit(host, 1014)->text(), "240");
    EXPECT_TRUE(static_cast<QRadioButton*>(host.Control(1019))->isChecked());
    EXPECT_TRUE(static_cast<QRadioButton*>(host.Control(1041))->isChecked());
    EXPECT_FALSE(host.Control(1018)->isEnabled());
    EXPECT_FALSE(host.Control(1035)->isEnabled());
    EXPECT_TRUE(host.Control(1090)->isHidden());
    Shot(host, "wave_cond");
    static_cast<QRadioButton*>(host.Control(1024))->click();
    EXPECT_FALSE(host.Control(1090)->isHidden());

    // Focus loss reformats, changed or not.
    Edit(host, 1028)->setText("abc");
    FocusOut(Edit(host, 1028));
    EXPECT_EQ(Edit(host, 1028)->text(), "0.00");
}

TEST_F(CoreDialogsQt, EnterInThePitchRescalesBeforeOk) {
    CTyd_Inf tyd;
    CCalArea area;
    BayConditions(tyd, area);
    area.SetMeshCountX(101);
    CWaveCondDlg d;
    d.LoadFrom(tyd, area);
    DialogHost host(d);
    host.show();
    QLineEdit* pitch = Edit(host, 1015);
    pitch->setFocus();
    pitch->setText("20");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(pitch, &enter);
    EXPECT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_dMeshPitch, 20.0);
    EXPECT_EQ(d.m_nMeshCountX, 51);
    EXPECT_EQ(d.m_nMeshCountY, 101);  // 199 x 10 / 20 + 0.9 = 100.4
    EXPECT_EQ(Edit(host, 1014)->text(), "51");
    EXPECT_EQ(host.result(), QDialog::Accepted);
}

TEST_F(CoreDialogsQt, AFailedExchangeFocusesItsControl) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CTyd_Inf tyd;
    CCalArea area;
    BayConditions(tyd, area);
    CWaveCondDlg d;
    d.LoadFrom(tyd, area);
    DialogHost host(d);
    host.show();
    Edit(host, 1031)->setText("4 5");
    static_cast<QPushButton*>(host.Control(1))->click();
    EXPECT_EQ(d.Result(), 0);
    EXPECT_TRUE(host.isVisible());
    EXPECT_EQ(host.focusWidget(), host.Control(1031));
    EXPECT_EQ(Edit(host, 1031)->selectedText(), "4 5");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "整数を入力してください。");
}

TEST_F(CoreDialogsQt, AFocusRuleThatFailsTakesTheFocusBack) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CTyd_Inf tyd;
    CCalArea area;
    BayConditions(tyd, area);
    CWaveCondDlg d;
    d.LoadFrom(tyd, area);
    DialogHost host(d);
    host.show();
    QApplication::setActiveWindow(&host);
    QLineEdit* count = Edit(host, 1014);
    count->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), count);
    count->setText("24O");
    Edit(host, 1015)->setFocus(Qt::TabFocusReason);  // the count rule runs and fails
    EXPECT_EQ(QApplication::focusWidget(), count);
    EXPECT_EQ(count->selectedText(), "24O");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(d.m_nPrevCountX, 240);
}

TEST_F(CoreDialogsQt, DrawingConditionsOnTheBayExample) {
    CZmn_Inf zmn;
    zmn.m_strRemark = "\x98\x70\x82\xcc\x94\x67\x98\x51\x95\xcf\x8c\x60";  // 湾の波浪変形
    CDrawCondDlg d;
    d.LoadFrom(zmn);
    d.m_bDocBreaking = 1;  // the example considers breaking
    DialogHost host(d);
    EXPECT_EQ(host.windowTitle().toStdString(), "図面条件");
    ExpectIdTexts(host, {{1008, "しない"}, {1009, "する"}, {1021, "文字"}, {1022, "目盛"}, {1010, "しない"},
                         {1011, "する"}, {1012, "しない"}, {1013, "する"}, {1053, "有義波高"},
                         {1057, "有義波高比"}, {1054, "換算沖波波高"}, {1005, "換算沖波波高比"}, {1006, "黒色"},
                         {1007, "白色"}, {1056, "ｺﾝﾀｰ線表示色"}, {1044, "ｺﾝﾀｰ図"}, {1045, "ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図"},
                         {1046, "ｶﾗｰｺﾝﾀｰ図"}, {1047, "ﾍﾞｸﾄﾙ図"}, {1048, "水深ﾁｪｯｸ図(ｺﾝﾀｰ図)"},
                         {1055, "水深ﾁｪｯｸ図(ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図)"}, {1015, "しない"}, {1018, "する"},
                         {1058, "波向(ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図)"}, {1019, "しない"}, {1020, "する"}, {1093, "等深線値作図"},
                         {1, "OK"}, {2, "ｷｬﾝｾﾙ"}, {3, "初期値に設定"}, {4, "初期値に戻す"}});
    ExpectEdits(host, {1039, 1040, 1041, 1042, 1014, 1043, 1016, 1017, 1050, 1051, 1052, 1059, 1060, 1061});
    ExpectList(host, 1037, {"Ａ０", "Ａ１", "Ａ２", "Ａ３", "Ａ４", "Ａ５", "Ｂ１", "Ｂ２", "Ｂ３", "Ｂ４", "Ｂ５"});
    ExpectList(host, 1038, {"よこ", "たて"});
    ExpectList(host, 1049, {"赤色", "黄色", "緑色", "水色", "青色", "紫色", "黒色"});
    ExpectTexts(host, {"備　考", "図面枠", "枠ｻｲｽﾞ", "余白(mm)", "上", "下", "右", "左", "作図ｽｹｰﾙ", "１／",
                       "中心座標", "Ｘ", "Ｙ", "ﾃﾞｰﾀﾌｧｲﾙ名作図", "ｽｹｰﾙ作図", "等深線作図", "陸域塗り潰し",
                       "作図する値", "作図図面", "各種ｻｲｽﾞ(mm)", "ｺﾝﾀｰ文字ｻｲｽﾞ", "ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ文字ｻｲｽﾞ",
                       "波高（比）・水深", "陸域格子作図", "波向", "ﾍﾞｸﾄﾙｻｲｽﾞ", "～", "小数点以下桁数",
                       "算出点での波高（比）",
                       "※但し、[備考]、[図面枠]の作図ｽｹｰﾙ・中心座標、[作図する値]、[作図図面]は初期値設定項目に含まれません。"});
    ExpectInside(host);
    EXPECT_EQ(Edit(host, 1039)->text().toStdString(), "湾の波浪変形");
    EXPECT_EQ(static_cast<QComboBox*>(host.Control(1037))->currentIndex(), 3);
    EXPECT_FALSE(host.Control(1054)->isEnabled());
    EXPECT_FALSE(host.Control(1005)->isEnabled());
    EXPECT_FALSE(host.Control(1049)->isEnabled());
    EXPECT_FALSE(host.Control(1056)->isEnabled());
    Shot(host, "draw_cond");

    Edit(host, 1016)->setText("12.34567");
    FocusOut(Edit(host, 1016));
    EXPECT_EQ(Edit(host, 1016)->text(), "12.346");
    static_cast<QComboBox*>(host.Control(1038))->setCurrentIndex(1);  // not a user's choice: no event
    EXPECT_EQ(d.GetIndex(1038), 0);
}

TEST_F(CoreDialogsQt, TerrainConditionsOnTheBayExample) {
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
    CTerrainCondDlg d;
    d.LoadFrom(g_tikInf, g_calcPoints);
    DialogHost host(d);
    EXPECT_EQ(host.windowTitle().toStdString(), "地形条件");
    ExpectIdTexts(host, {{1, "OK"}, {2, "ｷｬﾝｾﾙ"}});
    ExpectEdits(host, {1058, 1059, 1060, 1013});
    for (int r = 1; r <= 10; ++r) {
        EXPECT_NE(host.findChild<QCheckBox*>(QStringLiteral("c%1").arg(CTerrainCondDlg::CheckId(r))), nullptr);
        ExpectEdits(host, {CTerrainCondDlg::NameId(r), CTerrainCondDlg::XId(r), CTerrainCondDlg::YId(r)});
        EXPECT_EQ(Edit(host, CTerrainCondDlg::NameId(r))->isEnabled(), g_calcPoints.GetAt(r - 1).GetUse() != 0);
    }
    ExpectTexts(host, {"磁北", "方向(度)", "磁北の方向はX軸からY軸方向への角度を入力",
                       "磁北を変更する場合は、再計算を行ってください。", "諸元算出位置", "設定/削除", "名　称", "Ｘ",
                       "Ｙ", "同一点とみなす許容誤差", "ﾏｳｽ（ﾋﾟｸｾﾙ）", "ﾀﾌﾞﾚｯﾄ（mm）", "画面回転角(度)"});
    ExpectInside(host);
    EXPECT_EQ(Edit(host, 1059)->text().toStdString(), std::to_string(g_tikInf.m_nTolMouse));
    Shot(host, "terrain_cond");

    // A sixteenth byte cannot be typed into a name.
    QLineEdit* name = Edit(host, CTerrainCondDlg::NameId(1));
    name->setText("");
    name->insert(QString::fromUtf8("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ"));
    EXPECT_EQ(name->text().toStdString(), "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ");
}

}  // namespace
}  // namespace wv
