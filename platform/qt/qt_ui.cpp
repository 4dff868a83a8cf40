#include "qt_ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace wv {

void RunOnGuiThread(const std::function<void()>& fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, fn, Qt::BlockingQueuedConnection);
}

int QtUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                     MbIcon icon) {
    int answer = DefaultAnswer(buttons);
    RunOnGuiThread([&] {
        QMessageBox box;
        box.setWindowTitle(QString::fromStdString(caption));
        box.setText(QString::fromStdString(text));
        switch (icon) {
        case MbIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MbIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MbIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MbIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MbIcon::None: break;
        }
        QMessageBox::StandardButtons set;
        switch (buttons) {
        case MbButtons::Ok: set = QMessageBox::Ok; break;
        case MbButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MbButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case MbButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        case MbButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
        }
        box.setStandardButtons(set);
        switch (box.exec()) {
        case QMessageBox::Ok: answer = IDOK; break;
        case QMessageBox::Cancel: answer = IDCANCEL; break;
        case QMessageBox::Yes: answer = IDYES; break;
        case QMessageBox::No: answer = IDNO; break;
        case QMessageBox::Retry: answer = IDRETRY; break;
        default: answer = buttons == MbButtons::Ok ? IDOK : IDCANCEL; break;
        }
    });
    return answer;
}

}  // namespace wv
