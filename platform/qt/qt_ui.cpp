#include "platform/qt/qt_ui.h"

#include "platform/gui_wait.h"
#include "platform/qt/gui_call.h"
#include "platform/qt/window_placement.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

namespace wv {

namespace {

void PumpQueuedCalls() {
    // Only the calls queued to the application object: those are the workers'. User
    // input waits, so no command starts while the GUI thread is inside a wait.
    if (OnGuiThread()) QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

QMessageBox::Icon QtIcon(MbIcon icon) {
    switch (icon) {
    case MbIcon::Information: return QMessageBox::Information;
    case MbIcon::Warning: return QMessageBox::Warning;
    case MbIcon::Error: return QMessageBox::Critical;
    case MbIcon::Question: return QMessageBox::Question;
    case MbIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string FromQ(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace

void InstallGuiWaitPump() { SetGuiWaitPump(&PumpQueuedCalls); }

int ShowQtMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                     MbButtons buttons, MbIcon icon, const QWidget* beside) {
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    switch (buttons) {
    case MbButtons::Ok: set = QMessageBox::Ok; break;
    case MbButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MbButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MbButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MbButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    QMessageBox box(QtIcon(icon), ToQ(caption), ToQ(text), set, owner);
    if (beside) {
        // Its own size is only known once it lays itself out.
        box.adjustSize();
        QPointer<const QWidget> next(beside);
        PlaceFrame(&box, [&box, next](QSize frame) { return next ? Beside(next, frame) : box.pos(); });
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Retry: return IDRETRY;
    case QMessageBox::Cancel: return IDCANCEL;
    default:
        // Closed from the title bar: a box with OK only was acknowledged, any other
        // question was declined.
        return buttons == MbButtons::Ok ? IDOK : IDCANCEL;
    }
}

QString CaseBlindPattern(const QString& pattern) {
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toUpper() != c.toLower()) {
            out += QLatin1Char('[');
            out += c.toUpper();
            out += c.toLower();
            out += QLatin1Char(']');
        } else {
            out += c;
        }
    }
    return out;
}

void RunOnGuiThread(const std::function<void()>& fn) {
    CallOnGui<int>([&fn] { fn(); return 0; }, 0);
}

int QtUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                     MbIcon icon) {
    return CallOnGui<int>([&] { return ShowQtMessageBox(m_owner.data(), text, caption, buttons, icon); },
                          DefaultAnswer(buttons));
}

bool QtUi::FileDialog(const FileDialogOptions& fileDialog, std::string& path) {
    const QString chosen = CallOnGui<QString>(
        [&] {
            QFileDialog dialog(m_owner.data(), ToQ(fileDialog.title), ToQ(fileDialog.initialFolder));
            dialog.setAcceptMode(fileDialog.mode == FileDialogOptions::Mode::Save ? QFileDialog::AcceptSave
                                                                         : QFileDialog::AcceptOpen);
            dialog.setFileMode(fileDialog.mode == FileDialogOptions::Mode::Save ? QFileDialog::AnyFile
                                                                       : QFileDialog::ExistingFile);
            // Qt's own dialog, so the patterns below are honoured the same everywhere.
            dialog.setOption(QFileDialog::DontUseNativeDialog, true);
            if (!fileDialog.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
            QStringList filters;
            for (const auto& [label, patterns] : fileDialog.filters) {
                QStringList blind;
                for (const QString& p : ToQ(patterns).split(QRegularExpression(QStringLiteral("[; ]")),
                                                             Qt::SkipEmptyParts))
                    blind << (p == QStringLiteral("*.*") ? QStringLiteral("*") : CaseBlindPattern(p));
                filters << ToQ(label) + QStringLiteral(" (") + blind.join(QLatin1Char(' ')) + QLatin1Char(')');
            }
            // The filter's own text already shows its pattern ("ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙ(*.TIK)"), as on
            // Windows: the case-blind form Qt filters by stays out of sight.
            dialog.setOption(QFileDialog::HideNameFilterDetails, true);
            if (!filters.isEmpty()) dialog.setNameFilters(filters);
            if (!fileDialog.defaultExt.empty()) dialog.setDefaultSuffix(ToQ(fileDialog.defaultExt));
            if (!fileDialog.initialName.empty()) dialog.selectFile(ToQ(fileDialog.initialName));
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
            return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
        },
        QString());
    if (chosen.isEmpty()) return false;
    path = FromQ(chosen);
    return true;
}

bool QtUi::FolderDialog(const std::string& title, const std::string& initialFolder, std::string& folder) {
    const QString chosen = CallOnGui<QString>(
        [&] {
            return QFileDialog::getExistingDirectory(m_owner.data(), ToQ(title), ToQ(initialFolder),
                                                     QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        },
        QString());
    if (chosen.isEmpty()) return false;
    folder = FromQ(QDir::cleanPath(chosen));
    return true;
}

}  // namespace wv
