// What the stock-dialog tests of the three programs share: a program started in-process
// in the test's scratch folder, and once its event loop runs, the UI service's message
// box, file dialog with its overwrite question and the print dialog opened and read as a
// user sees them.
#pragma once

#include "platform/qt/printer_setup.h"
#include "platform/ui_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QMessageBox>
#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace wv::stocktest {

namespace fs = std::filesystem;

// What the user saw of the stock dialogs.
struct Seen {
    QStringList messageButtons;    // Yes, No, Cancel of a question
    QPoint messageOffset;          // the box's centre from the program window's centre
    QStringList fileDialogLabels;  // the file dialog's labels and buttons
    QString replaceQuestion;       // the question when the chosen file exists
    QStringList printButtons;      // the print dialog's buttons
    QStringList folderLabels;      // the folder dialog's labels and buttons
    QStringList previewTips;       // the print preview's tool tips
};

// Runs `answer` on the next modal dialog once it shows.
inline void WhenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(100, qApp, [answer] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            answer(m);
        } else {
            WhenModal(answer);
        }
    });
}

inline QStringList ButtonTexts(QWidget* w) {
    QStringList t;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty()) t << b->text();
    return t;
}

// Opens the stock dialogs one after the other through the program's UI service and
// records them; then ends the program's event loop.
// With WAVORA_SHOT_DIR set: a picture of the screen as NAME.png there.
inline void Shot(const QString& name) {
    const char* dir = std::getenv("WAVORA_SHOT_DIR");
    if (!dir) return;
    QApplication::processEvents();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(QString::fromUtf8(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

inline void LookAtTheStockDialogs(Seen& seen, const QString& program = QStringLiteral("program")) {
    WhenModal([&seen, program](QWidget* box) {
        Shot(program + QStringLiteral("_message_box"));
        seen.messageButtons = ButtonTexts(box);
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && qobject_cast<QMainWindow*>(t))
                seen.messageOffset = box->frameGeometry().center() - t->frameGeometry().center();
        qobject_cast<QDialog*>(box)->reject();
    });
    Ui().MessageBox("test", "test", MbButtons::YesNoCancel, MbIcon::Question);

    // A save dialog onto a file that is there: the dialog asks before replacing it.
    { std::ofstream("THERE.TXT") << "x"; }
    WhenModal([&seen, program](QWidget* dialog) {
        Shot(program + QStringLiteral("_file_dialog"));
        auto* fd = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fd, nullptr);
        for (QLabel* l : fd->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty()) seen.fileDialogLabels << l->text();
        seen.fileDialogLabels << ButtonTexts(fd);
        WhenModal([&seen, fd, program](QWidget* question) {
            Shot(program + QStringLiteral("_replace_question"));
            if (auto* q = qobject_cast<QMessageBox*>(question)) {
                seen.replaceQuestion = q->text();
                q->reject();
            }
            fd->reject();
        });
        // The name typed in, as a user does.
        auto* name = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("THERE.TXT"));
        auto* box = fd->findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        QPushButton* save = box->button(QDialogButtonBox::Save) ? box->button(QDialogButtonBox::Save)
                                                                    : box->button(QDialogButtonBox::Open);
        ASSERT_NE(save, nullptr);
        save->click();
    });
    FileDialogOptions save;
    save.mode = FileDialogOptions::Mode::Save;
    save.title = "test";
    save.initialFolder = fs::current_path().string();
    save.overwritePrompt = true;
    std::string path;
    Ui().FileDialog(save, path);

    WhenModal([&seen, program](QWidget* dialog) {
        Shot(program + QStringLiteral("_print_dialog"));
        seen.printButtons = ButtonTexts(dialog);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QPrintDialog print(&ProgramPrinter());
    print.exec();

    WhenModal([&seen, program](QWidget* dialog) {
        Shot(program + QStringLiteral("_folder_dialog"));
        for (QLabel* l : dialog->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty()) seen.folderLabels << l->text();
        seen.folderLabels << ButtonTexts(dialog);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    std::string folder;
    Ui().FolderDialog("test", fs::current_path().string(), folder);

    WhenModal([&seen, program](QWidget* dialog) {
        Shot(program + QStringLiteral("_print_preview"));
        for (QAction* a : dialog->findChildren<QAction*>())
            if (!a->toolTip().isEmpty()) seen.previewTips << a->toolTip();
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QPrintPreviewDialog preview(&ProgramPrinter());
    preview.exec();
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

inline void ExpectJapanese(const Seen& seen) {
    EXPECT_TRUE(seen.messageButtons.contains(QStringLiteral("はい(&Y)")) ||
                seen.messageButtons.contains(QStringLiteral("はい")))
        << seen.messageButtons.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(seen.messageButtons.contains(QStringLiteral("&Yes")));
    // Without a window manager Qt allows for a frame it cannot know, 10 x 40 pixels.
    EXPECT_LE(seen.messageOffset.manhattanLength(), 50)
        << "the message box centred on the program's window, off by " << seen.messageOffset.x() << ","
        << seen.messageOffset.y();
    EXPECT_FALSE(seen.messageButtons.contains(QStringLiteral("Cancel")));
    EXPECT_FALSE(seen.fileDialogLabels.isEmpty());
    for (const QString& t : seen.fileDialogLabels)
        EXPECT_FALSE(t.contains(QStringLiteral("File &name")) || t == QStringLiteral("&Save") ||
                     t == QStringLiteral("Cancel") || t.contains(QStringLiteral("Look in")))
            << t.toStdString();
    EXPECT_FALSE(seen.replaceQuestion.isEmpty());
    EXPECT_FALSE(seen.replaceQuestion.contains(QStringLiteral("already exists"))) << seen.replaceQuestion.toStdString();
    EXPECT_TRUE(seen.replaceQuestion.contains(QStringLiteral("THERE.TXT")));
    EXPECT_FALSE(seen.folderLabels.isEmpty());
    for (const QString& t : seen.folderLabels)
        EXPECT_FALSE(t.contains(QStringLiteral("Directory:")) || t == QStringLiteral("&Choose") ||
                     t == QStringLiteral("Cancel") || t.contains(QStringLiteral("Look in")))
            << t.toStdString();
    EXPECT_FALSE(seen.previewTips.isEmpty());
    for (const QString& t : seen.previewTips)
        EXPECT_FALSE(t == QStringLiteral("Next page") || t == QStringLiteral("Print") || t == QStringLiteral("Zoom in"))
            << t.toStdString();
    EXPECT_FALSE(seen.printButtons.isEmpty());
    for (const QString& t : seen.printButtons)
        EXPECT_FALSE(t == QStringLiteral("&Print") || t == QStringLiteral("Cancel")) << t.toStdString();
}

// A start in the scratch folder: settings and locks there, a version file.
inline void ScratchStart() {
    const fs::path here = fs::current_path();
    fs::create_directories(here / "runtime");
    fs::permissions(here / "runtime", fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (here / "runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (here / "config").c_str(), 1);
    std::ofstream(here / "SYSVER.DAT") << "1.0\r\n";
}

// Runs a program through its own start-up (`start` passes `look` on as the program's
// started callable) and looks at the stock dialogs once its event loop runs.
template <class Start>
void ExpectStockDialogsInJapanese(const QString& program, Start start) {
    ScratchStart();
    Seen seen;
    const std::function<void()> look = [&seen, program] {
        QTimer::singleShot(300, qApp, [&seen, program] { LookAtTheStockDialogs(seen, program); });
    };
    EXPECT_EQ(start(look), 0);
    ExpectJapanese(seen);
}

}  // namespace wv::stocktest
