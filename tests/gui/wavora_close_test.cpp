// Closing Wavora with unsaved changes, with the program's own message boxes and file
// dialogs answered on the screen: the window manager's close request on the main window,
// a document window's close box, and ファイル > アプリケーションの終了. Each save question
// is answered as a user would; what was saved is on disk, what was declined is not, and
// the program ends cleanly (defaults written, its lock released).
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "platform/document.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "project/qt/tik_view.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "app/qt/tree_dialog.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
    std::string s;
    return ReadWholeFile(path, s, nullptr) ? s : "<missing>";
}

std::string Original(const std::string& name) {
    return Bytes((fs::path(WAVORA_SOURCE_DIR) / "examples/bay/BAY" / (name == "BAY2.TYD" ? "BAY1.TYD" : name)).string());
}

const QString kFile = QStringLiteral("ファイル(&F)");

bool Japanese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > 0x7F) return true;
    return false;
}

// The bay, BAY1 and BAY2 open, each with a change: the north mark of both calculations
// placed with a click, a survey point added to the project with a click.
void OpenAndChange(WavoraRun& r) {
    ASSERT_TRUE(r.OpenBayProject());
    ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
    ASSERT_NE(r.OpenFromTree("BAY2.TYD"), nullptr);
    r.CloseTree();
    r.Window()->MdiArea()->tileSubWindows();
    for (const char* name : {"BAY1.TYD", "BAY2.TYD"}) {
        r.Activate(r.WindowOf(name));
        ASSERT_TRUE(r.Choose({QStringLiteral("図面(&Z)"), QStringLiteral("方位記号"), QStringLiteral("設定")})) << name;
        QWidget* port = r.FrameOf(r.WindowOf(name))->Pane(0, 0)->viewport();
        Click(port, port->rect().center() + QPoint(-20, 15));
        Click(port, port->rect().center(), Qt::RightButton);
        ASSERT_TRUE(r.DocumentNamed(name)->IsModified()) << name;
    }
    QMdiSubWindow* project = r.WindowOf("BAY.TIK");
    r.Activate(project);
    ASSERT_TRUE(r.Choose({QStringLiteral("入力(&I)"), QStringLiteral("点"), QStringLiteral("点追加")}));
    auto* view = dynamic_cast<ScrollViewWidget*>(project->widget());
    ASSERT_NE(view, nullptr);
    Click(view->viewport(), view->viewport()->rect().center() + QPoint(13, 9));
    Pump(50);
    ASSERT_TRUE(r.DocumentNamed("BAY.TIK")->IsModified()) << "a point added";
    for (const char* name : {"BAY1.TYD", "BAY2.TYD", "BAY.TIK"})
        ASSERT_TRUE(Bytes(r.BayFile(name)) == Original(name)) << name << " unsaved yet";
}

// The save question of each document answered by its name.
void AnswerSaves(WavoraRun& r, std::map<std::string, int> answers) {
    for (const auto& [name, button] : answers)
        r.Modals().OnBox(QString::fromStdString(name) + QStringLiteral(" への変更を保存しますか"), button, 1);
}

// The save questions seen since `from`: the document names in order, and whether every
// button was in Japanese.
QStringList Questions(WavoraRun& r, std::size_t from, QStringList* english) {
    QStringList names;
    const auto& log = r.Modals().Log();
    for (std::size_t i = from; i < log.size(); ++i) {
        if (!log[i].text.contains(QStringLiteral("への変更を保存しますか"))) continue;
        names << log[i].text.section(QLatin1Char(' '), 0, 0);
        for (const QString& b : log[i].buttons)
            if (!Japanese(b)) *english << b;
    }
    return names;
}

void ExpectCleanEnd(const std::string& start) {
    EXPECT_TRUE(fs::exists(start + "/PARAINI.DAT")) << "the defaults written";
    EXPECT_FALSE(fs::exists(RuntimeFolder() + "/Wavora.lock")) << "the instance lock released";
    EXPECT_FALSE(FileLock::IsHeld(start + "/CALC.DAT.lock"));
}

TEST(WavoraClose, WindowManagerCloseAsksForEveryChangedDocument) {
    WavoraOptions own;
    own.scriptedUi = false;
    std::string start;
    const int code = RunWavoraScript(own, [&](WavoraRun& r) {
        start = r.Start();
        OpenAndChange(r);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());

        // Cancel on the first question: nothing closes, nothing is saved.
        std::size_t from = r.Modals().Log().size();
        r.Modals().OnBox(QStringLiteral("への変更を保存しますか"), QMessageBox::Cancel, 1);
        ASSERT_TRUE(SendWindowManagerClose(r.Window()));
        ASSERT_TRUE(WaitFor([&] { return r.Modals().Log().size() > from && !QApplication::activeModalWidget(); }));
        Pump(100);
        ASSERT_TRUE(r.Running()) << "Cancel keeps the program";
        EXPECT_EQ(r.Window()->MdiArea()->subWindowList().size(), 3);
        EXPECT_EQ(r.Inconsistency(), "");
        for (const char* name : {"BAY1.TYD", "BAY2.TYD", "BAY.TIK"}) {
            ASSERT_NE(r.DocumentNamed(name), nullptr) << name;
            EXPECT_TRUE(r.DocumentNamed(name)->IsModified()) << name;
        }

        // Again, and each question answered.
        from = r.Modals().Log().size();
        AnswerSaves(r, {{"BAY1.TYD", QMessageBox::Yes}, {"BAY2.TYD", QMessageBox::No}, {"BAY.TIK", QMessageBox::Yes}});
        ASSERT_TRUE(SendWindowManagerClose(r.Window()));
        ASSERT_TRUE(WaitFor([&] { return !r.Running(); }, 20000)) << "the program ends";
        QStringList english;
        QStringList asked = Questions(r, from, &english);
        asked.sort();
        EXPECT_EQ(asked, (QStringList{"BAY.TIK", "BAY1.TYD", "BAY2.TYD"})) << "one question for each";
        english.removeDuplicates();
        EXPECT_TRUE(english.isEmpty()) << "the box's buttons in English: " << english.join(' ').toStdString();
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Bytes(start + "/BAY/BAY1.TYD") != Original("BAY1.TYD")) << "saved on Yes";
    EXPECT_TRUE(Bytes(start + "/BAY/BAY2.TYD") == Original("BAY2.TYD")) << "left on No";
    EXPECT_TRUE(Bytes(start + "/BAY/BAY.TIK") != Original("BAY.TIK")) << "saved on Yes";
    ExpectCleanEnd(start);
}

TEST(WavoraClose, CloseBoxOfADocumentWindowAsksToSave) {
    WavoraOptions own;
    own.scriptedUi = false;
    std::string start;
    RunWavoraScript(own, [&](WavoraRun& r) {
        start = r.Start();
        OpenAndChange(r);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        AnswerSaves(r, {{"BAY1.TYD", QMessageBox::No}});
        ClickCloseBox(r.WindowOf("BAY1.TYD"));
        ASSERT_TRUE(WaitFor([&] { return r.WindowOf("BAY1.TYD") == nullptr; })) << "closed on No";
        EXPECT_EQ(r.DocumentNamed("BAY1.TYD"), nullptr);
        AnswerSaves(r, {{"BAY2.TYD", QMessageBox::Yes}});
        ClickCloseBox(r.WindowOf("BAY2.TYD"));
        ASSERT_TRUE(WaitFor([&] { return r.WindowOf("BAY2.TYD") == nullptr; })) << "closed on Yes";
        r.Modals().OnBox(QStringLiteral("BAY.TIK への変更を保存しますか"), QMessageBox::Cancel, 1);
        ClickCloseBox(r.WindowOf("BAY.TIK"));
        Pump(300);
        EXPECT_NE(r.WindowOf("BAY.TIK"), nullptr) << "kept open on Cancel";
        EXPECT_EQ(r.Inconsistency(), "");
        ASSERT_TRUE(r.Running());
    });
    EXPECT_TRUE(Bytes(start + "/BAY/BAY1.TYD") == Original("BAY1.TYD"));
    EXPECT_TRUE(Bytes(start + "/BAY/BAY2.TYD") != Original("BAY2.TYD"));
    EXPECT_TRUE(Bytes(start + "/BAY/BAY.TIK") == Original("BAY.TIK")) << "declined when the program closed";
    ExpectCleanEnd(start);
}

TEST(WavoraClose, ExitFromTheFileMenuAsksForEveryChangedDocument) {
    WavoraOptions own;
    own.scriptedUi = false;
    std::string start;
    const int code = RunWavoraScript(own, [&](WavoraRun& r) {
        start = r.Start();
        OpenAndChange(r);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        const std::size_t from = r.Modals().Log().size();
        AnswerSaves(r, {{"BAY1.TYD", QMessageBox::No}, {"BAY2.TYD", QMessageBox::Yes}, {"BAY.TIK", QMessageBox::Yes}});
        ASSERT_TRUE(r.Choose({kFile, QStringLiteral("アプリケーションの終了(&X)")}));
        ASSERT_TRUE(WaitFor([&] { return !r.Running(); }, 20000)) << "the program ends";
        QStringList english;
        QStringList asked = Questions(r, from, &english);
        asked.sort();
        EXPECT_EQ(asked, (QStringList{"BAY.TIK", "BAY1.TYD", "BAY2.TYD"}));
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Bytes(start + "/BAY/BAY1.TYD") == Original("BAY1.TYD"));
    EXPECT_TRUE(Bytes(start + "/BAY/BAY2.TYD") != Original("BAY2.TYD"));
    EXPECT_TRUE(Bytes(start + "/BAY/BAY.TIK") != Original("BAY.TIK"));
    ExpectCleanEnd(start);
}

// The window of a calculation closed while its run goes on: the run ends by itself, its
// end is reported, the program stays whole and ends cleanly.
// The run is held open by the file it reads first: once the start is confirmed, its
// solver input is a named pipe, so the solver waits for the input the test gives only
// after the window is closed, however fast or slow the machine is.
TEST(WavoraClose, CalculationWindowClosedWhileItsRunGoesOn) {
    std::string start;
    RunWavoraScript({}, [&](WavoraRun& r) {
        start = r.Start();
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        r.CloseTree();
        const std::string cal = r.BayFile("BAY1.CAL");
        std::string input;
        // Confirmed, the start finds its input a pipe.
        r.Ui().AnswerAfter(
            "波浪計算を開始します",
            [&] {
                ReadWholeFile(cal, input, nullptr);
                ::unlink(cal.c_str());
                ::mkfifo(cal.c_str(), 0644);
            },
            IDOK, 1);
        const std::size_t from = r.Modals().Log().size();
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("計算")}));
        // The solver has opened its input (a writer can open the pipe only then), and
        // waits for it.
        // The input reaches the run however the test goes on, or it would wait for good.
        struct Feeder {
            const std::string& cal;
            const std::string& input;
            int pipe = -1;
            void Feed() {
                if (pipe < 0) pipe = ::open(cal.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (pipe >= 0) {
                    ::fcntl(pipe, F_SETFL, 0);
                    EXPECT_EQ(::write(pipe, input.data(), input.size()), static_cast<ssize_t>(input.size()));
                    ::close(pipe);
                    pipe = -2;
                }
            }
            ~Feeder() { Feed(); }
        } feeder{cal, input};
        ASSERT_TRUE(WaitFor(
            [&] { return (feeder.pipe = ::open(cal.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; }, 30000))
            << r.Modals().LogLines(from).join('\n').toStdString();
        ASSERT_FALSE(input.empty());
        EXPECT_TRUE(FileLock::IsHeld(start + "/CALC.DAT.lock")) << "the run goes on";
        Pump(150);
        ClickCloseBox(r.WindowOf("BAY1.TYD"));
        const bool closed = WaitFor([&] { return r.WindowOf("BAY1.TYD") == nullptr; });
        feeder.Feed();
        ASSERT_TRUE(closed) << r.Modals().LogLines(from).join('\n').toStdString();
        // The solver's end message comes and is acknowledged.
        EXPECT_TRUE(WaitFor(
            [&] {
                for (std::size_t i = from; i < r.Modals().Log().size(); ++i)
                    if (r.Modals().Log()[i].text.contains(QStringLiteral("正常終了"))) return true;
                return false;
            },
            60000))
            << r.Modals().LogLines(from).join('\n').toStdString();
        Pump(200);
        ASSERT_TRUE(r.Running());
        EXPECT_EQ(r.Inconsistency(), "");
        EXPECT_TRUE(fs::exists(r.BayFile("BAY1.KKA"))) << "the run wrote its results";
        // The pipe goes; the calculation opened again reads the results in.
        ::unlink(cal.c_str());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        QString failed;
        EXPECT_TRUE(OpenEveryMenu(r.Bar(), 2, &failed)) << failed.toStdString();
    });
    ExpectCleanEnd(start);
}

}  // namespace
}  // namespace wv::gui
