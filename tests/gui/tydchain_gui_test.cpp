// Tydchain through its own start-up with the real solver, in a scratch start folder: its
// menus opened twice; .DEC files chosen in the real file dialog; a row picked and deleted;
// the batch started and run to its end, a close request while the solver runs unheeded;
// the queue cleared after its question; the About box; the window manager's close.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "batch/batch_messages.h"
#include "platform/files.h"
#include "solver/tydsolv.h"
#include "tests/batch/batch_calc_util.h"

#include "gui/gui_driver.h"

#include "batch/qt/tydchain_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

const QString kFile = QString::fromUtf8(batchmsg::kMenuFile);
const QString kHelp = QString::fromUtf8(batchmsg::kMenuHelp);

std::string Here() { return fs::current_path().string(); }

void PrepareStart() {
    PrepareScratchStart();
    AtomicWriteFile(Here() + "/CALC.DAT", "0\r\n", nullptr);
}

// Runs Tydchain with `script` in its event loop; afterwards the window is closed unless
// the script ended the program.
int RunTydchain(const std::function<void(CTydchainWindow&, ModalAnswerer&)>& script) {
    static char name[] = "Tydchain";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<ModalAnswerer> modals;
    return TydchainMain(1, argv, &TYDSOLV, [&](CTydchainWindow& w) {
        ScriptWhenShown(w, modals, [&](ModalAnswerer& m) { script(w, m); });
    });
}

QStringList Rows(CTydchainWindow& w) {
    QStringList rows;
    for (int i = 0; i < w.List()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = w.List()->topLevelItem(i);
        rows << it->text(0) + QLatin1Char('|') + it->text(1) + QLatin1Char('|') + it->text(2);
    }
    return rows;
}

// The files typed into the open dialog as a user lists several: each in quotes.
void ChooseFiles(ModalAnswerer& modals, const QStringList& paths) {
    QStringList quoted;
    for (const QString& p : paths) quoted << QLatin1Char('"') + p + QLatin1Char('"');
    modals.OnTitle(QString::fromUtf8(batchmsg::kOpenDialogTitle),
                   [q = quoted.join(QLatin1Char(' '))](QWidget* d) { ModalAnswerer::AnswerFileDialog(d, q); }, 1);
}

// The answerer itself: a window that opens while an answer's click runs (a run's end
// message over the dialog being answered) is answered too, not left waiting under it.
TEST(ModalAnswererGui, AWindowOpenedWhileAnAnswerRunsIsAnsweredToo) {
    PrepareStart();
    bool guardFired = false;
    QStringList log;
    RunTydchain([&](CTydchainWindow& w, ModalAnswerer& modals) {
        QDialog outer(&w);
        outer.setWindowTitle(QStringLiteral("outer"));
        auto* ok = new QPushButton(QStringLiteral("OK"), &outer);
        QObject::connect(ok, &QPushButton::clicked, [&] {
            QMessageBox::information(&outer, QStringLiteral("inner"), QStringLiteral("the inner message"));
            outer.accept();
        });
        modals.OnTitle(QStringLiteral("outer"), [&](QWidget*) { ClickButton(ok); }, 1);
        // Without an answer the two windows would wait for ever: close them, and fail.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            guardFired = true;
            while (QWidget* m = QApplication::activeModalWidget()) m->close();
        });
        guard.start(15000);
        outer.exec();
        guard.stop();
        log = modals.LogLines();
    });
    EXPECT_FALSE(guardFired) << log.join(QStringLiteral("\n")).toStdString();
    EXPECT_TRUE(log.filter(QStringLiteral("inner")).size() == 1) << log.join(QStringLiteral("\n")).toStdString();
}

TEST(TydchainGui, MenusOpenTwice) {
    PrepareStart();
    RunTydchain([](CTydchainWindow& w, ModalAnswerer&) {
        EXPECT_EQ(MenuTitles(w.menuBar()), (QStringList{kFile, kHelp}));
        QString failed;
        EXPECT_TRUE(OpenEveryMenu(w.menuBar(), 2, &failed)) << failed.toStdString();
        EXPECT_TRUE(ShootEveryMenu(w.menuBar(), QStringLiteral("tydchain"), &failed)) << failed.toStdString();
    });
}

TEST(TydchainGui, OpenDeleteStartClearAboutAndClose) {
    PrepareStart();
    const std::string bay = Here() + "/calc";
    fs::create_directories(bay);
    // A is large enough for its run to take a while (the close request comes meanwhile).
    for (const char* name : {"A", "B", "C"})
        batchtest::PreparePlaneBeach("calc/" + std::string(name) + ".TYD", name[0] == 'A' ? 160 : 14,
                                     name[0] == 'A' ? 120 : 12, std::string("浜 ") + name);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const QString dir = QString::fromStdString(bay);
    const int code = RunTydchain([&](CTydchainWindow& w, ModalAnswerer& modals) {
        ChooseFiles(modals, {dir + "/A.DEC", dir + "/B.DEC", dir + "/C.DEC"});
        ASSERT_EQ(Choose(w.menuBar(), {kFile, QString::fromUtf8(batchmsg::kCmdOpen)}), ChooseResult::Chosen);
        ASSERT_EQ(Rows(w), (QStringList{"A|浜 A|待ち", "B|浜 B|待ち", "C|浜 C|待ち"}));

        // The last row picked with a click, then deleted.
        QTreeWidgetItem* c = w.List()->topLevelItem(2);
        Click(w.List()->viewport(), w.List()->visualItemRect(c).center());
        ASSERT_TRUE(c->isSelected());
        ASSERT_EQ(Choose(w.menuBar(), {kFile, QString::fromUtf8(batchmsg::kCmdDelete)}), ChooseResult::Chosen);
        ASSERT_EQ(Rows(w), (QStringList{"A|浜 A|待ち", "B|浜 B|待ち"}));

        // Start: both run; a close request while the solver runs is refused with a message.
        bool closeSent = false;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (!closeSent && w.Queue().IsSolverRunning()) closeSent = SendWindowManagerClose(&w);
        });
        watcher.start(5);
        const std::size_t before = modals.Log().size();
        ASSERT_EQ(Choose(w.menuBar(), {kFile, QString::fromUtf8(batchmsg::kCmdStart)}), ChooseResult::Chosen);
        ASSERT_TRUE(WaitFor([&] { return !w.Queue().IsBatchRunning() && !w.IsTimerArmed(); }, 120000));
        watcher.stop();
        EXPECT_EQ(Rows(w), (QStringList{"A|浜 A|終了", "B|浜 B|終了"}));
        for (const char* name : {"A", "B"}) {
            EXPECT_TRUE(fs::exists(bay + "/" + name + ".KKA")) << name;
            EXPECT_TRUE(fs::exists(bay + "/" + name + ".YNO")) << name;
        }
        EXPECT_FALSE(fs::exists(bay + "/C.KKA")) << "the deleted entry did not run";
        // The solver's window holds the program modal: the request goes unheeded and the
        // batch runs on to its end.
        EXPECT_TRUE(closeSent) << "the close request was sent while the solver ran";
        EXPECT_TRUE(w.isVisible()) << "the window stayed while the solver ran";
        for (std::size_t i = before; i < modals.Log().size(); ++i)
            ADD_FAILURE() << "unexpected window during the batch: " << modals.LogLines(i).front().toStdString();

        // Delete all: its question answered OK.
        modals.OnBox(QString::fromUtf8(batchmsg::kDeleteAllQuestion), QMessageBox::Ok, 1);
        ASSERT_EQ(Choose(w.menuBar(), {kFile, QString::fromUtf8(batchmsg::kCmdDeleteAll)}), ChooseResult::Chosen);
        EXPECT_TRUE(Rows(w).isEmpty());

        // The About box shows the version; its OK closes it.
        QString shown;
        modals.OnTitle(QString::fromUtf8(batchmsg::kAboutTitle), [&shown](QWidget* d) {
            if (auto* v = d->findChild<QLabel*>(QStringLiteral("version"))) shown = v->text();
            for (QAbstractButton* b : d->findChildren<QAbstractButton*>()) ClickButton(b);
        }, 1);
        ASSERT_EQ(Choose(w.menuBar(), {kHelp, QString::fromUtf8(batchmsg::kCmdAbout)}), ChooseResult::Chosen);
        EXPECT_EQ(shown, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.5.1"));

        ASSERT_TRUE(SendWindowManagerClose(&w));
        EXPECT_TRUE(WaitFor([&] { return !w.isVisible(); })) << "closed when idle";
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(Here() + "/runtime/Tydchain.lock")) << "the instance lock released";
}

}  // namespace
}  // namespace wv::gui
