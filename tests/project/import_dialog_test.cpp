// The importers' dialogs: their exchange, the layer list and its editor, and the
// commands answered through them. With WAVORA_SHOT_DIR set (and a Qt build), each
// dialog is also saved there as a PNG to look at.
#include "platform/data_exchange.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "project/import_dlgs.h"
#include "project/import_ui.h"
#include "project/tik_doc.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

DxfLayer Layer(const char* name) { return LayerFromName(name); }

TEST(ImportDialogs, LayerListRowsAndTheirEditor) {
    int edits = 0;
    int answer = IDOK;
    CDxf2DReadDlg dlg({Layer("T12_5"), Layer("H3"), Layer("TA1")}, {"T12_5", "H3", "TA1"},
                      [&](CLayerDlg& d) {
                          ++edits;
                          d.InitDialog();
                          EXPECT_EQ(d.GetIndex(kIdcAttribute), kLayerUndefined);
                          EXPECT_FALSE(d.IsEnabled(kIdcReference));
                          // The user makes TA1 a depth line of 4.25 m.
                          d.ListChanged(kIdcAttribute, kLayerDepth);
                          EXPECT_TRUE(d.IsEnabled(kIdcReference));
                          d.SetText(kIdcReference, "4.26");
                          d.FocusOut(kIdcReference);
                          EXPECT_EQ(d.GetText(kIdcReference), "4.3");
                          if (answer == IDOK) d.Enter(kIdcReference);
                          else d.Escape();
                          return d.Result();
                      });
    dlg.InitDialog();
    ASSERT_EQ(dlg.RowCount(kIdcLayerList), 3);
    const std::vector<std::vector<std::string>> shown = {
        {"T12_5", "地形線", "12.5"}, {"H3", "水深線", "3.0"}, {"TA1", "未定義", "0.0"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(dlg.GetCell(kIdcLayerList, r, c), shown[r][c]) << r << c;
    }
    // Neither unit is chosen at first, and the reference shows one decimal.
    EXPECT_EQ(dlg.GetCheck(kIdcMathematical) + dlg.GetCheck(kIdcSurvey), 0);
    EXPECT_EQ(dlg.GetText(kIdcReference), "0.0");

    answer = IDCANCEL;
    dlg.RowDoubleClicked(kIdcLayerList, 2);
    EXPECT_EQ(dlg.Layers()[2].attribute, kLayerUndefined);
    answer = IDOK;
    dlg.RowDoubleClicked(kIdcLayerList, 2);
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(dlg.Layers()[2].attribute, kLayerDepth);
    EXPECT_DOUBLE_EQ(dlg.Layers()[2].value, 4.3);
    EXPECT_EQ(dlg.GetCell(kIdcLayerList, 2, 1), "水深線");
    EXPECT_EQ(dlg.GetCell(kIdcLayerList, 2, 2), "4.3");

    dlg.Click(kIdcMathematical);
    dlg.SetText(kIdcReference, "10");
    dlg.Enter(kIdcReference);
    ASSERT_EQ(dlg.Result(), IDOK);
    EXPECT_TRUE(dlg.Options().millimetres);
    EXPECT_DOUBLE_EQ(dlg.Options().reference, 10.0);
}

TEST(ImportDialogs, InitialChoicesOfTheOtherDialogs) {
    CCoordAxisDlg axis;
    axis.InitDialog();
    EXPECT_EQ(axis.GetCheck(kIdcMathematical), 1);
    axis.Click(kIdcSurvey);
    axis.Enter(-1);
    EXPECT_EQ(axis.m_nAxis, 1);

    CCsvReadDlg csv;
    csv.InitDialog();
    EXPECT_EQ(csv.GetCheck(kIdcMathematical), 1);
    EXPECT_EQ(csv.GetText(kIdcReference), "0.0");
    csv.SetText(kIdcReference, "abc");
    csv.FocusOut(kIdcReference);
    EXPECT_EQ(csv.GetText(kIdcReference), "0.0");

    CBathyReadDlg bathy;
    bathy.InitDialog();
    ASSERT_EQ(bathy.Find(kIdcZone)->items.size(), 19u);
    EXPECT_EQ(bathy.Find(kIdcZone)->items.back(), "ⅩⅨ");
    EXPECT_EQ(bathy.GetIndex(kIdcZone), 0);
    EXPECT_EQ(bathy.GetCheck(kIdcLowTide), 0);

    CDxf3DReadDlg d3;
    d3.InitDialog();
    EXPECT_EQ(d3.GetCheck(kIdcMathematical) + d3.GetCheck(kIdcSurvey), 0);
    d3.Click(kIdcSurvey);
    d3.Enter(-1);
    EXPECT_FALSE(d3.Options().millimetres);
}

// The commands with their real dialogs, filled by a script as a user would.
TEST(ImportDialogs, CommandsRunThroughTheirDialogs) {
    ResetTikData();
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    std::vector<int> shown;
    DialogImportUi dui(
        [&](CDialogModel& d) {
            shown.push_back(d.TemplateId());
            d.InitDialog();
            if (d.TemplateId() == 168) {
                d.SetText(kIdcReference, "30");
                d.ListChanged(kIdcZone, 8);
            }
            d.Enter(-1);
            return d.Result();
        },
        {});
    // A Q-SONA file of one line gives the message after its dialog.
    std::string err;
    ASSERT_TRUE(AtomicWriteFile("one.dat", std::string("L"), &err));
    ui.PushFileAnswer("one.dat");
    EXPECT_EQ(ImportQsona(dui).status, ImportStatus::Refused);
    ui.PushFileAnswer("");
    EXPECT_EQ(ImportCsvPoints(dui).status, ImportStatus::Cancelled);
    EXPECT_EQ(shown, std::vector<int>{168});
    ASSERT_FALSE(ui.FileDialogs().empty());
    const FileDialogOptions csv = ui.FileDialogs().back().fileDialog;
    EXPECT_EQ(csv.title, "CSVファイル読み込み");
    ASSERT_FALSE(csv.filters.empty());
    EXPECT_EQ(csv.filters[0].second, "*.csv *.CSV");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].caption, "Q-SONA");
}

}  // namespace
}  // namespace wv
