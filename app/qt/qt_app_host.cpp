#include "app/qt/qt_app_host.h"

#include "app/app_texts.h"
#include "app/qt/icons.h"
#include "app/qt/main_window.h"
#include "platform/qt/scroll_view.h"
#include "platform/qt/window_placement.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace wv {

QtAppHost::QtAppHost() : m_profile(apptext::kRegistryKey, apptext::kAppTitle) {}

QtAppHost::~QtAppHost() { delete m_window.data(); }

bool QtAppHost::AcquireSingleInstance() { return m_lock.TryLock(apptext::kAppTitle); }

bool QtAppHost::CreateMainWindow(CMainFrame& frame) {
    if (!m_app) return false;
    m_window = new MainWindow(*m_app, frame);
    return true;
}

void QtAppHost::ShowMainWindow() {
    if (!m_window) return;
    KeepOnScreen(m_window);
    m_window->show();
    // The keyboard belongs to the new window at once (a window manager may give it the
    // focus, a bare display does not), so Alt+F works before any click.
    m_window->raise();
    m_window->activateWindow();
    m_window->RefreshCommandStates();
}

void QtAppHost::DestroyMainWindow() { delete m_window.data(); }

void QtAppHost::MenusChanged() {
    if (m_window && m_app && m_app->GetMainFrame()) m_window->ShowMenu(m_app->GetMainFrame()->CurrentMenuId());
}

bool QtAppHost::OpenWithShell(const std::string& path) {
    const QString p = QString::fromUtf8(path.c_str());
    const QUrl url = p.contains(QStringLiteral("://")) ? QUrl(p) : QUrl::fromLocalFile(p);
    return QDesktopServices::openUrl(url);
}

void QtAppHost::ShowAbout(const std::string& versionLine) {
    QDialog box(m_window);
    box.setObjectName(QStringLiteral("about"));
    box.setWindowTitle(QString::fromUtf8(apptext::kAboutCaption));
    auto* icon = new QLabel(&box);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* name = new QLabel(QString::fromUtf8(apptext::kAppTitle), &box);
    auto* version = new QLabel(QString::fromUtf8(versionLine.c_str()), &box);
    version->setObjectName(QStringLiteral("control1000"));
    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(texts, 1);
    row->addWidget(ok, 0, Qt::AlignTop);
    box.setLayout(row);
    box.exec();
}

void QtAppHost::Quit(int exitCode) {
    m_exitCode = exitCode;
    m_quit = true;
    QTimer::singleShot(0, qApp, [exitCode] { QCoreApplication::exit(exitCode); });
}

std::unique_ptr<CView> QtAppHost::CreateView(int) { return std::make_unique<CScrollView>(); }

}  // namespace wv
