// The Qt window of CCalcProgressDlg: title, an optional text line, the bar and the
// "キャンセル" button. It is application-modal, so that no other command runs while the
// computation pumps events, and it lives on the GUI thread only.
#pragma once

#include "core/calc_progress.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace wv {

class CQtCalcProgressDlg;

// The window itself. Cancel, Escape and the title-bar close button all ask the cancel
// question; none of them closes the window.
class CalcProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit CalcProgressWindow(CQtCalcProgressDlg* owner);

    QProgressBar* Bar() const { return m_bar; }
    QLabel* TextLabel() const { return m_text; }
    QPushButton* CancelButton() const { return m_cancel; }
    // The computation is done with the window: its buttons no longer reach anyone.
    void Detach() { m_owner = nullptr; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CQtCalcProgressDlg* m_owner;
    QProgressBar* m_bar;
    QLabel* m_text;
    QPushButton* m_cancel;
};

class CQtCalcProgressDlg : public CCalcProgressDlg {
public:
    // Shows the window at once.
    CQtCalcProgressDlg();
    ~CQtCalcProgressDlg() override;

    void PumpMessages() override;

    CalcProgressWindow* Window() const { return m_window.data(); }

protected:
    void OnCaptionChanged() override;
    void OnTextChanged() override;
    void OnBarChanged() override;
    void OnClose() override;

private:
    QPointer<CalcProgressWindow> m_window;
};

// Makes CreateCalcProgressDlg() give Qt windows; the program calls it once its
// QApplication exists.
void InstallQtCalcProgressFactory();

}  // namespace wv
