#include "viewer/qt/main_frame.h"

#include "platform/qt/dialog_host.h"
#include "viewer/messages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace wv {

namespace {

// Command ids of the menu and toolbar.
enum {
    ID_FILE_OPEN = 57601,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_OUTPUT_QSONA = 32776,
    ID_OUTPUT_DXF = 32777,
    ID_ZOOM_IN = 32773,
    ID_ZOOM_OUT = 32774,
    ID_ZOOM_ALL = 32775,
    ID_LOW_TIDE = 32780,
    ID_SET_AREA = 32771,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

QSettings Settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, U(viewer_text::kSettingsOrganisation),
                     U(viewer_text::kAppTitle));
}

// Toolbar pictures, drawn: the program's own bitmaps are not part of the port.
QIcon DrawnIcon(int id)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    switch (id) {
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
        p.drawEllipse(1, 1, 9, 9);
        p.drawLine(9, 9, 14, 14);
        p.drawLine(3, 5, 8, 5);
        if (id == ID_ZOOM_IN) {
            p.drawLine(5, 3, 5, 8);
        }
        break;
    case ID_ZOOM_ALL:
        p.drawRect(1, 1, 13, 13);
        p.drawRect(4, 4, 7, 7);
        break;
    case ID_SET_AREA:
        p.setBrush(QColor(0, 160, 0));
        p.drawRect(2, 3, 11, 9);
        break;
    case ID_OUTPUT_QSONA:
    case ID_OUTPUT_DXF:
        p.drawRect(3, 1, 10, 13);
        p.drawText(QRect(3, 2, 10, 12), Qt::AlignCenter, id == ID_OUTPUT_QSONA ? "Q" : "D");
        break;
    default:
        break;
    }
    return QIcon(pm);
}

}  // namespace

std::optional<std::string> QtOutputPrompts::AskSaveFile(SaveFileKind kind)
{
    QFileDialog dlg(m_parent);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (kind == SaveFileKind::Dxf) {
        dlg.setNameFilter(U(viewer_text::kDxfFilesFilter));
        dlg.setDefaultSuffix("dxf");
    } else {
        dlg.setNameFilter(U(viewer_text::kAllFilesFilter));
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dlg.selectedFiles().first().toStdString();
}

void QtOutputPrompts::BeginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtOutputPrompts::EndWait() { QApplication::restoreOverrideCursor(); }

bool QtOutputPrompts::AskDxfOptions(CDxfOutputDlg& dlg)
{
    DialogHost host(dlg, m_parent);
    return host.exec() == QDialog::Accepted;
}

CMainFrame::CMainFrame() : m_qtPrompts(this)
{
    m_prompts = &m_qtPrompts;
    m_view = new CReliefscopeView(m_doc, this);
    setCentralWidget(m_view);
    BuildMenusAndBars();
    connect(m_view, &CReliefscopeView::StatusChanged, this, &CMainFrame::UpdateStatus);
    LoadRecent();
    UpdateTitle();
    UpdateStatus();
    resize(900, 650);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenusAndBars()
{
    auto add = [this](QMenu* menu, int id, const char* text, auto slot) {
        QAction* a = menu->addAction(U(text));
        a->setData(id);
        a->setObjectName(QString("id%1").arg(id));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    CReliefscopeViewLogic& logic = m_view->Logic();
    auto viewCommand = [this](void (CReliefscopeViewLogic::*f)()) {
        return [this, f] {
            (m_view->Logic().*f)();
            m_view->ModeChanged();
        };
    };
    (void)logic;

    m_fileMenu = menuBar()->addMenu(U(viewer_text::kMenuFile));
    QAction* open = add(m_fileMenu, ID_FILE_OPEN, viewer_text::kMenuOpen, &CMainFrame::OnFileOpen);
    open->setShortcut(QKeySequence::Open);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    QMenu* output = m_fileMenu->addMenu(U(viewer_text::kMenuAreaOutput));
    QAction* qsona = add(output, ID_OUTPUT_QSONA, viewer_text::kMenuOutputQsona, &CMainFrame::OnOutputAreaFile);
    QAction* dxf = add(output, ID_OUTPUT_DXF, viewer_text::kMenuOutputDxf, &CMainFrame::OnOutput3dDxf);
    qsona->setIcon(DrawnIcon(ID_OUTPUT_QSONA));
    dxf->setIcon(DrawnIcon(ID_OUTPUT_DXF));
    m_fileMenu->addSeparator();
    m_recentAnchor = m_fileMenu->addSeparator();
    add(m_fileMenu, ID_APP_EXIT, viewer_text::kMenuExit, &CMainFrame::close);

    QMenu* view = menuBar()->addMenu(U(viewer_text::kMenuView));
    QAction* zoomIn = add(view, ID_ZOOM_IN, viewer_text::kMenuZoomIn, viewCommand(&CReliefscopeViewLogic::OnZoomIn));
    QAction* zoomOut = add(view, ID_ZOOM_OUT, viewer_text::kMenuZoomOut, viewCommand(&CReliefscopeViewLogic::OnZoomOut));
    QAction* zoomAll = add(view, ID_ZOOM_ALL, viewer_text::kMenuZoomAll, viewCommand(&CReliefscopeViewLogic::OnZoomAll));
    QAction* lowTide = add(view, ID_LOW_TIDE, viewer_text::kMenuLowTide, viewCommand(&CReliefscopeViewLogic::OnLowTideLine));
    lowTide->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, [this, lowTide] { lowTide->setChecked(m_doc.LowTide()); });
    zoomIn->setIcon(DrawnIcon(ID_ZOOM_IN));
    zoomOut->setIcon(DrawnIcon(ID_ZOOM_OUT));
    zoomAll->setIcon(DrawnIcon(ID_ZOOM_ALL));
    view->addSeparator();

    m_toolBar = addToolBar("Toolbar");
    m_toolBar->setObjectName("toolbar128");
    m_toolBar->setIconSize(QSize(16, 16));
    QAction* toolBarToggle = m_toolBar->toggleViewAction();
    toolBarToggle->setText(U(viewer_text::kMenuToolBar));
    toolBarToggle->setData(ID_VIEW_TOOLBAR);
    toolBarToggle->setObjectName(QString("id%1").arg(ID_VIEW_TOOLBAR));
    view->addAction(toolBarToggle);
    QAction* statusToggle = view->addAction(U(viewer_text::kMenuStatusBar));
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    statusToggle->setData(ID_VIEW_STATUS_BAR);
    statusToggle->setObjectName(QString("id%1").arg(ID_VIEW_STATUS_BAR));
    connect(statusToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    QMenu* settings = menuBar()->addMenu(U(viewer_text::kMenuSettings));
    QAction* area = add(settings, ID_SET_AREA, viewer_text::kMenuSetArea, viewCommand(&CReliefscopeViewLogic::OnSetArea));
    area->setIcon(DrawnIcon(ID_SET_AREA));

    QMenu* help = menuBar()->addMenu(U(viewer_text::kMenuHelp));
    QAction* about = add(help, ID_APP_ABOUT, viewer_text::kMenuAbout, &CMainFrame::OnAppAbout);
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));

    m_toolBar->addAction(open);
    m_toolBar->addAction(qsona);
    m_toolBar->addAction(dxf);
    m_toolBar->addSeparator();
    m_toolBar->addAction(area);
    m_toolBar->addSeparator();
    m_toolBar->addAction(about);
    m_toolBar->addSeparator();
    m_toolBar->addAction(zoomIn);
    m_toolBar->addAction(zoomOut);
    m_toolBar->addAction(zoomAll);

    // Panes 59144 (the mode prompt, stretching) and 59143 (the cursor position). The
    // keyboard-state panes (Kana, Caps, Num, Scroll) are not made: Linux gives no
    // portable way to read those states.
    m_promptPane = new QLabel(this);
    m_promptPane->setObjectName("pane59144");
    m_positionPane = new QLabel(this);
    m_positionPane->setObjectName("pane59143");
    m_positionPane->setMinimumWidth(m_positionPane->fontMetrics().horizontalAdvance(
        U(PositionStatusText(35.999, 139.999))) + 8);
    statusBar()->addWidget(m_promptPane, 1);
    statusBar()->addPermanentWidget(m_positionPane);
}

QAction* CMainFrame::Action(int id) const
{
    return findChild<QAction*>(QString("id%1").arg(id));
}

QString CMainFrame::PromptPaneText() const { return m_promptPane->text(); }
QString CMainFrame::PositionPaneText() const { return m_positionPane->text(); }

void CMainFrame::UpdateStatus()
{
    m_promptPane->setText(U(m_view->Logic().StatusPrompt()));
    m_positionPane->setText(U(m_view->Logic().StatusPosition()));
}

void CMainFrame::UpdateTitle()
{
    // The application's name first, then the document's (the frame style's prefix bit
    // is toggled).
    const std::string title = m_doc.GetPathName().empty() ? viewer_text::kUntitled : m_doc.GetTitle();
    setWindowTitle(U(viewer_text::kAppTitle) + " - " + U(title));
}

bool CMainFrame::OpenFile(const std::string& path)
{
    if (!m_doc.OnOpenDocument(path)) {
        m_recent.Remove(path);
        SaveRecent();
        UpdateRecentMenu();
        return false;
    }
    m_recent.Add(path);
    SaveRecent();
    UpdateRecentMenu();
    UpdateTitle();
    m_view->OnInitialUpdate();
    return true;
}

void CMainFrame::OnFileOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), U(viewer_text::kAllFilesFilter));
    if (!path.isEmpty()) {
        OpenFile(path.toStdString());
    }
}

void CMainFrame::OnOutputAreaFile()
{
    wv::OnOutputAreaFile(m_doc, *m_prompts);
}

void CMainFrame::OnOutput3dDxf() { wv::OnOutput3dDxf(m_doc, *m_prompts); }

void CMainFrame::OnAppAbout()
{
    CAboutDlg dlg(m_version);
    DialogHost host(dlg, this);
    host.exec();
}

void CMainFrame::LoadRecent()
{
    QSettings s = Settings();
    std::vector<std::string> files;
    for (int i = 1; i <= RecentFiles::kMax; ++i) {
        files.push_back(s.value(QString("Recent File List/File%1").arg(i)).toString().toStdString());
    }
    m_recent.Set(files);
    UpdateRecentMenu();
}

void CMainFrame::SaveRecent()
{
    QSettings s = Settings();
    for (int i = 1; i <= RecentFiles::kMax; ++i) {
        const auto& f = m_recent.Files();
        const QString key = QString("Recent File List/File%1").arg(i);
        if (i <= static_cast<int>(f.size())) {
            s.setValue(key, U(f[static_cast<std::size_t>(i - 1)]));
        } else {
            s.remove(key);
        }
    }
}

void CMainFrame::UpdateRecentMenu()
{
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    const auto& files = m_recent.Files();
    if (files.empty()) {
        QAction* none = new QAction(U(viewer_text::kMenuRecentNone), m_fileMenu);
        none->setEnabled(false);
        m_fileMenu->insertAction(m_recentAnchor, none);
        m_recentActions.push_back(none);
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string path = files[i];
        QAction* a = new QAction(QString("&%1 %2").arg(i + 1).arg(U(path)), m_fileMenu);
        a->setObjectName(QString("id%1").arg(57616 + static_cast<int>(i)));
        connect(a, &QAction::triggered, this, [this, path] { OpenFile(path); });
        m_fileMenu->insertAction(m_recentAnchor, a);
        m_recentActions.push_back(a);
    }
}

}  // namespace wv
