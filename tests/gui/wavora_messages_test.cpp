// Damaged files refused in the program's own message boxes: a truncated project, a
// truncated calculation file and a truncated side archive. What the box says is Japanese
// throughout, the reason under the message too; only the file's path is not.
#include "gui/wavora_run.h"

#include "app/qt/main_window.h"

#include <QMessageBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

void Truncate(const std::string& path) {
    const auto size = fs::file_size(path);
    fs::resize_file(path, size / 2);
}

// Answers the refusal with OK after a picture of it; returns where its text goes.
void AnswerRefusals(WavoraRun& r, std::vector<QString>& texts, const QString& shot) {
    ModalAnswerer::Rule rule;
    rule.name = "refusal";
    rule.match = [](QWidget* w) {
        auto* b = qobject_cast<QMessageBox*>(w);
        return b && b->text().contains(QStringLiteral("ファイルを読み込めません"));
    };
    rule.act = [&texts, shot](QWidget* w) {
        texts.push_back(static_cast<QMessageBox*>(w)->text());
        if (texts.size() == 1) Shot(shot);
        ModalAnswerer::PressButton(w, QMessageBox::Ok);
    };
    r.Modals().On(rule);
}

void ExpectJapanese(const std::vector<QString>& texts, std::size_t count) {
    ASSERT_EQ(texts.size(), count);
    for (const QString& t : texts) {
        EXPECT_TRUE(t.contains(QLatin1Char('('))) << "the reason is given: " << t.toStdString();
        EXPECT_EQ(EnglishWords(t), QStringList()) << t.toStdString();
    }
}

TEST(WavoraMessages, DamagedProjectIsRefusedInJapanese) {
    WavoraOptions options;
    options.scriptedUi = false;
    RunWavoraScript(options, [](WavoraRun& r) {
        const std::string tik = WavoraRun::BayFile("BAY.TIK");
        Truncate(tik);
        std::vector<QString> texts;
        AnswerRefusals(r, texts, QStringLiteral("wavora-damaged-file"));
        r.Modals().OnTitle(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く"),
                           [tik](QWidget* w) { ModalAnswerer::AnswerFileDialog(w, QString::fromStdString(tik)); }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く(&W)...")}));
        ASSERT_TRUE(WaitFor([&] { return !texts.empty(); }, 10000));
        ExpectJapanese(texts, 1);
        EXPECT_EQ(r.WindowOf("BAY.TIK"), nullptr);
    });
}

TEST(WavoraMessages, DamagedCalculationFilesAreRefusedInJapanese) {
    WavoraOptions options;
    options.scriptedUi = false;
    RunWavoraScript(options, [](WavoraRun& r) {
        const std::string tik = WavoraRun::BayFile("BAY.TIK");
        r.Modals().OnTitle(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く"),
                           [tik](QWidget* w) { ModalAnswerer::AnswerFileDialog(w, QString::fromStdString(tik)); }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く(&W)...")}));
        ASSERT_TRUE(WaitFor([&] { return r.WindowOf("BAY.TIK") != nullptr; }));
        Truncate(WavoraRun::BayFile("BAY1.DPT"));  // the side archive
        Truncate(WavoraRun::BayFile("BAY2.TYD"));  // the calculation file itself
        std::vector<QString> texts;
        AnswerRefusals(r, texts, QStringLiteral("wavora-damaged-calc"));
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("開く(&O)...")}));
        QTreeWidget* tree = r.Tree();
        ASSERT_TRUE(tree && WaitFor([tree] { return tree->isVisible() && tree->topLevelItemCount() > 0; }));
        for (const char* name : {"BAY1.TYD", "BAY2.TYD"}) {
            const std::size_t before = texts.size();
            QTreeWidgetItem* root = tree->topLevelItem(0);
            for (int i = 0; i < root->childCount(); ++i)
                if (root->child(i)->text(0).endsWith(QString::fromUtf8(name))) {
                    tree->scrollToItem(root->child(i));
                    Click(tree->viewport(), tree->visualItemRect(root->child(i)).center());
                }
            ASSERT_TRUE(WaitFor([&] { return texts.size() > before; }, 10000)) << name << " was not refused";
            EXPECT_EQ(r.WindowOf(name), nullptr);
        }
        ExpectJapanese(texts, 2);
    });
}

}  // namespace
}  // namespace wv::gui
