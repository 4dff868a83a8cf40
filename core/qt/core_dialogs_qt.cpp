#include "core/qt/core_dialogs_qt.h"

#include "core/new_file_dlgs.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

namespace wv {

int RunDialog(CDialogModel& dlg, QWidget* parent) {
    DialogHost host(dlg, parent);
    if (!dlg.Result()) host.exec();
    return dlg.Result() ? dlg.Result() : IDCANCEL;
}

QPixmap SplashPicture(const QSize& size) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    // Sky over a sea that darkens offshore: the program's subject, waves coming in.
    QLinearGradient sky(0, 0, 0, h * 0.45);
    sky.setColorAt(0, QColor(196, 224, 244));
    sky.setColorAt(1, QColor(236, 246, 252));
    p.fillRect(QRectF(0, 0, w, h * 0.45), sky);
    QLinearGradient sea(0, h * 0.45, 0, h);
    sea.setColorAt(0, QColor(40, 110, 170));
    sea.setColorAt(1, QColor(12, 48, 96));
    p.fillRect(QRectF(0, h * 0.45, w, h * 0.55), sea);
    for (int k = 0; k < 6; ++k) {
        const double y0 = h * (0.52 + 0.08 * k);
        const double amp = h * (0.012 + 0.004 * k);
        const double len = w / (3.0 + k * 0.5);
        QPainterPath path(QPointF(0, y0));
        for (double x = 0; x <= w; x += 2) path.lineTo(x, y0 + amp * std::sin(2 * M_PI * x / len + k));
        p.setPen(QPen(QColor(220, 240, 255, 200 - 25 * k), 1.5 + 0.3 * k));
        p.drawPath(path);
    }
    QFont title = DialogHost::DialogFont(28);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(20, 60, 110));
    p.drawText(QRectF(0, h * 0.06, w, h * 0.3), Qt::AlignCenter, QStringLiteral("Wavora"));
    return pm;
}

std::unique_ptr<DialogHost> ShowSplash(CSplashDlg& dlg, QWidget* parent) {
    auto host = std::make_unique<DialogHost>(dlg, parent);
    if (QWidget* picture = host->Control(CSplashDlg::kPicture)) host->SetPicture(CSplashDlg::kPicture, SplashPicture(picture->size()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = host->frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        host->move(r.topLeft());
    }
    // A picture only: the keyboard stays with the program's window, which a splash that
    // took the focus and went would leave without it.
    host->setAttribute(Qt::WA_ShowWithoutActivating);
    host->show();
    host->raise();
    return host;
}

std::string RunNewTydDialog(const std::string& projectFolder, QWidget* parent) {
    CNewTydDlg dlg;
    dlg.SetFolder(projectFolder);
    return RunDialog(dlg, parent) == IDOK ? dlg.GetPath() : std::string();
}

bool RunNewProjectDialog(std::string& folder, std::string& name, QWidget* parent) {
    CNewProjectDlg dlg;
    if (RunDialog(dlg, parent) != IDOK) return false;
    folder = dlg.GetFolder();
    name = dlg.GetName();
    return true;
}

}  // namespace wv
