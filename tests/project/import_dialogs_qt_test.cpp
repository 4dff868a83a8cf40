// The importers' dialogs on widgets: every control of each template is there and inside
// its dialog. With WAVORA_SHOT_DIR set, each dialog is also saved there as a PNG.
#include "platform/qt/dialog_host.h"
#include "project/import_dlgs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTreeWidget>
#include <cstdlib>
#include <memory>

namespace wv {
namespace {

class ImportDialogsQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "import_dialogs_qt_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

TEST_F(ImportDialogsQt, EveryDialogShowsItsControlsInside) {
    std::vector<std::unique_ptr<CDialogModel>> dialogs;
    dialogs.push_back(std::make_unique<CCoordAxisDlg>());
    dialogs.push_back(std::make_unique<CCsvReadDlg>());
    dialogs.push_back(std::make_unique<CBathyReadDlg>());
    dialogs.push_back(std::make_unique<CDxf3DReadDlg>());
    dialogs.push_back(std::make_unique<CLayerDlg>("H12水深線"));
    dialogs.push_back(std::make_unique<CDxf2DReadDlg>(
        std::vector<DxfLayer>{LayerFromName("T12_5"), LayerFromName("H3"), LayerFromName("道路")},
        std::vector<std::string>{"T12_5", "H3", "道路"}, nullptr));
    for (auto& dlg : dialogs) {
        DialogHost host(*dlg);
        host.show();
        QApplication::processEvents();
        for (const DialogControl& c : dlg->Controls()) {
            if (c.id < 0) continue;
            QWidget* w = host.Control(c.id);
            ASSERT_NE(w, nullptr) << dlg->TemplateId() << " " << c.id;
            EXPECT_TRUE(host.rect().contains(w->geometry())) << dlg->TemplateId() << " " << c.id;
        }
        EXPECT_EQ(host.windowTitle().toStdString(), dlg->Caption());
        if (dlg->TemplateId() == 172) {
            auto* list = qobject_cast<QTreeWidget*>(host.Control(kIdcLayerList));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->topLevelItemCount(), 3);
        }
        if (const char* dir = std::getenv("WAVORA_SHOT_DIR")) {
            host.grab().save(QString::fromUtf8(dir) + QString("/import_%1.png").arg(dlg->TemplateId()));
        }
    }
}

}  // namespace
}  // namespace wv
