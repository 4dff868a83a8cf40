#include "batch/qt/tydchain_window.h"

#include "batch/batch_messages.h"
#include "platform/ui_service.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <vector>

namespace wv {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

// Column headings and widths of the list.
struct Column {
    const char* heading;
    int width;
};
constexpr Column kColumns[] = {{batchmsg::kColumnFile, 100}, {batchmsg::kColumnTitle, 350}, {batchmsg::kColumnState, 70}};

}  // namespace

CTydchainWindow::CTydchainWindow(CBatchQueue::Solver solver, QWidget* parent)
    : QMainWindow(parent), m_queue(*this, std::move(solver)) {
    setWindowTitle(U(batchmsg::kDocTitle) + " - " + U(batchmsg::kAppTitle));
    setAcceptDrops(true);

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(3);
    QStringList headings;
    for (const Column& c : kColumns) headings << U(c.heading);
    m_list->setHeaderLabels(headings);
    for (int i = 0; i < 3; ++i) {
        m_list->setColumnWidth(i, kColumns[i].width);
        m_list->headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    setCentralWidget(m_list);

    QMenu* file = menuBar()->addMenu(U(batchmsg::kMenuFile));
    AddCommand(file, ID_BATCH_OPEN, batchmsg::kCmdOpen, &CTydchainWindow::OnBatchOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    AddCommand(file, ID_BATCH_DELETE, batchmsg::kCmdDelete, &CTydchainWindow::OnDelete);
    AddCommand(file, ID_BATCH_DELETE_ALL, batchmsg::kCmdDeleteAll, &CTydchainWindow::OnDeleteAll);
    file->addSeparator();
    AddCommand(file, ID_BATCH_START, batchmsg::kCmdStart, &CTydchainWindow::OnBatchStart);
    QMenu* help = menuBar()->addMenu(U(batchmsg::kMenuHelp));
    AddCommand(help, ID_APP_ABOUT, batchmsg::kCmdAbout, &CTydchainWindow::OnAbout);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CTydchainWindow::OnBatchTimer);

    m_openDialog = [this] {
        return QFileDialog::getOpenFileNames(this, U(batchmsg::kOpenDialogTitle), QString(), U(batchmsg::kOpenFilter));
    };

    // The list fits its three columns.
    int width = 0;
    for (const Column& c : kColumns) width += c.width;
    resize(width + 40, 320);
}

CTydchainWindow::~CTydchainWindow() { m_timer.stop(); }

QAction* CTydchainWindow::AddCommand(QMenu* menu, int id, const char* text, void (CTydchainWindow::*slot)()) {
    QAction* action = menu->addAction(U(text));
    action->setData(id);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction* CTydchainWindow::Command(int id) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

void CTydchainWindow::OpenFiles(const QStringList& paths) {
    std::vector<std::string> list;
    for (const QString& p : paths) list.push_back(p.toStdString());
    OpenFiles(list);
}

void CTydchainWindow::OpenFiles(const std::vector<std::string>& paths) {
    if (m_queue.IsSolverRunning()) return;
    m_queue.OnBatchOpen(paths);
}

void CTydchainWindow::OnBatchOpen() {
    if (m_queue.IsSolverRunning()) return;
    const QStringList paths = m_openDialog();
    if (!paths.isEmpty()) OpenFiles(paths);
}

void CTydchainWindow::OnDelete() {
    if (m_queue.IsSolverRunning()) return;
    int row = -1;
    for (int i = 0; i < m_list->topLevelItemCount() && row < 0; ++i)
        if (m_list->topLevelItem(i)->isSelected()) row = i;
    m_queue.OnDelete(row);
}

void CTydchainWindow::OnDeleteAll() {
    if (m_queue.IsSolverRunning()) return;
    m_queue.OnDeleteAll();
}

void CTydchainWindow::OnBatchStart() {
    if (m_queue.IsSolverRunning()) return;
    m_queue.OnBatchStart();
    if (m_queue.IsBatchRunning()) m_timer.start(0);
}

void CTydchainWindow::OnBatchTimer() { ArmAfterStep(m_queue.RunNextBatchEntry()); }

void CTydchainWindow::ArmAfterStep(BatchStep step) {
    switch (step) {
        case BatchStep::Next: m_timer.start(0); break;
        case BatchStep::Retry: m_timer.start(CBatchQueue::kBusyRetryMs); break;
        case BatchStep::Off: m_timer.stop(); break;
        case BatchStep::Refused: break;  // the step that runs re-arms when it returns
    }
}

std::string CTydchainWindow::AboutVersionText() const { return std::string(batchmsg::kVersionPrefix) + m_version; }

void CTydchainWindow::OnAbout() {
    QDialog box(this);
    box.setWindowTitle(U(batchmsg::kAboutTitle));
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(U(batchmsg::kAppTitle), &box));
    auto* version = new QLabel(U(AboutVersionText()), &box);
    version->setObjectName("version");
    layout->addWidget(version);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.exec();
}

void CTydchainWindow::closeEvent(QCloseEvent* event) {
    // The solver runs inside this window's step and its request block lives here.
    if (m_queue.IsSolverRunning()) {
        event->ignore();
        Ui().MessageBox(batchmsg::kCannotClose, batchmsg::kCloseCaption, MbButtons::Ok, MbIcon::Warning);
        return;
    }
    m_timer.stop();
    event->accept();
}

void CTydchainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CTydchainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    event->acceptProposedAction();
    OpenFiles(paths);
}

void CTydchainWindow::InsertRow(int row, const std::string& file, const std::string& title, const std::string& state) {
    auto* item = new QTreeWidgetItem(QStringList{U(file), U(title), U(state)});
    m_list->insertTopLevelItem(row, item);
}

void CTydchainWindow::SetRowState(int row, const std::string& state) {
    if (QTreeWidgetItem* item = m_list->topLevelItem(row)) item->setText(2, U(state));
}

void CTydchainWindow::DeleteRow(int row) { delete m_list->takeTopLevelItem(row); }

void CTydchainWindow::DeleteAllRows() { m_list->clear(); }

void CTydchainWindow::SolverRunning(bool running) {
    for (int id : {ID_BATCH_OPEN, ID_BATCH_DELETE, ID_BATCH_DELETE_ALL, ID_BATCH_START})
        if (QAction* a = Command(id)) a->setEnabled(!running);
    setAcceptDrops(!running);
}

}  // namespace wv
