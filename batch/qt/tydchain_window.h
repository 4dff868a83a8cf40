// The Tydchain main window: the three-column list of the queue, the commands, and the
// timer that drives the batch. The queue itself (CBatchQueue) decides everything; the
// window passes the commands on and shows the rows.
#pragma once

#include "batch/batch_queue.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QTreeWidget;

namespace wv {

// Command ids of the menus.
enum TydchainCommand {
    ID_BATCH_OPEN = 57601,
    ID_BATCH_DELETE = 32771,
    ID_BATCH_DELETE_ALL = 32772,
    ID_BATCH_START = 32773,
    ID_APP_ABOUT = 57664,
};

class CTydchainWindow : public QMainWindow, private BatchRowSink {
    Q_OBJECT
public:
    explicit CTydchainWindow(CBatchQueue::Solver solver, QWidget* parent = nullptr);
    ~CTydchainWindow() override;

    // The version text shown in the About box (UTF-8).
    void SetVersion(const std::string& version) { m_version = version; }
    std::string AboutVersionText() const;
    // Replaces the file dialog of Open (tests).
    void SetOpenDialog(std::function<QStringList()> dialog) { m_openDialog = std::move(dialog); }

    // Files named on the command line or dropped: queued as by Open.
    void OpenFiles(const QStringList& paths);
    void OpenFiles(const std::vector<std::string>& paths);

    QAction* Command(int id) const;
    QTreeWidget* List() const { return m_list; }
    const CBatchQueue& Queue() const { return m_queue; }
    bool IsTimerArmed() const { return m_timer.isActive(); }

public slots:
    void OnBatchOpen();
    void OnDelete();
    void OnDeleteAll();
    void OnBatchStart();
    void OnAbout();
    // One batch step; the timer calls it.
    void OnBatchTimer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // BatchRowSink (protected, not private: the check of the program's hooks names them).
    void InsertRow(int row, const std::string& file, const std::string& title, const std::string& state) override;
    void SetRowState(int row, const std::string& state) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    void SolverRunning(bool running) override;

private:
    QAction* AddCommand(QMenu* menu, int id, const char* text, void (CTydchainWindow::*slot)());
    // The next step comes from the event loop once this one has returned, and only while
    // the batch is on.
    void ArmAfterStep(BatchStep step);

    CBatchQueue m_queue;
    QTreeWidget* m_list = nullptr;
    QTimer m_timer;
    std::string m_version;
    std::function<QStringList()> m_openDialog;
};

// The program: start-up as the Windows program did it (one instance, the start folder,
// the window, the files on the command line, the version text), then the event loop.
// `started` (when given) runs once start-up has succeeded, before the event loop.
int TydchainMain(int argc, char** argv, CBatchQueue::Solver solver,
                 const std::function<void(CTydchainWindow&)>& started = {});

}  // namespace wv
