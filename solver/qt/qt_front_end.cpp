// The Qt front end of the solver: the progress window and the message boxes live on the
// GUI thread. When the solver runs on a worker thread it reaches them through the
// program's queued calls (platform/qt/gui_call.h) and waits for the answers to its
// questions; on the GUI thread it calls them directly and pumps the program's events
// once per column. Its message boxes are the program's one kind of box.
#include "solver/gui_front_end.h"
#include "platform/qt/gui_call.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_placement.h"
#include "solver/solver_constants.h"
#include "solver/solver_messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>

namespace wv::solv {

namespace {

int AskOnGui(QWidget* owner, const std::string& text, const std::string& caption, MbButtons buttons,
             MbIcon icon, const QWidget* beside = nullptr) {
    return ShowQtMessageBox(owner, text, caption, buttons, icon, beside);
}

// The window of dialog template 101: node count, memory estimate, progress bar, Cancel.
class ProgressDialog : public QDialog {
public:
    ProgressDialog(const ProgressWindowSetup& setup, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
          m_context(setup.context) {
        setObjectName(QStringLiteral("tydsolvProgress"));
        setWindowTitle(QString::fromUtf8(setup.caption));
        // Dialog units of the template: a quarter of the average character width and an
        // eighth of the character height.
        const QFontMetrics fm(font());
        const double ux = fm.averageCharWidth() / 4.0;
        const double uy = fm.height() / 8.0;
        auto place = [&](QWidget* w, int x, int y, int cx, int cy) {
            w->setGeometry(int(x * ux), int(y * uy), int(cx * ux), int(cy * uy));
        };
        auto* cancel = new QPushButton(QString::fromUtf8(msg::kButtonCancel), this);
        cancel->setObjectName(QStringLiteral("cancel"));
        place(cancel, 118, 57, 50, 14);
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("progress"));
        m_bar->setRange(0, 100);
        m_bar->setValue(0);
        place(m_bar, 25, 31, 251, 16);
        place(new QLabel(QString::fromUtf8(msg::kLabelNodes), this), 17, 5, 57, 18);
        auto* nodes = new QLineEdit(QString::fromUtf8(setup.nodeText), this);
        nodes->setObjectName(QStringLiteral("nodes"));
        place(nodes, 74, 8, 35, 12);
        place(new QLabel(QString::fromUtf8(msg::kLabelNodesUnit), this), 111, 5, 26, 17);
        place(new QLabel(QString::fromUtf8(msg::kLabelMemory), this), 175, 4, 57, 18);
        auto* memory = new QLineEdit(QString::fromUtf8(setup.memoryText), this);
        memory->setObjectName(QStringLiteral("memory"));
        place(memory, 232, 7, 35, 12);
        place(new QLabel(QString::fromUtf8(msg::kLabelMemoryUnit), this), 269, 4, 26, 17);
        for (QLineEdit* e : {nodes, memory}) {
            e->setReadOnly(true);
            e->setAlignment(Qt::AlignRight);
        }
        cancel->setVisible(setup.showCancel);
        setFixedSize(int(303 * ux), int(79 * uy));
        connect(cancel, &QPushButton::clicked, this, [this] { MarkCancel(); });
    }

    void SetValue(int value) { m_bar->setValue(value); }

protected:
    // Esc and the close box count as a Cancel click; the window stays.
    void reject() override { MarkCancel(); }
    void closeEvent(QCloseEvent* e) override {
        MarkCancel();
        e->ignore();
    }

private:
    void MarkCancel() { std::atomic_ref<int32_t>(m_context->m_nCancel).store(-1); }

    PBContext* m_context;
    QProgressBar* m_bar = nullptr;
};

class QtProgressWindow : public ProgressWindow {
public:
    QtProgressWindow(ProgressDialog* dialog, QWidget* parent, bool parentDisabled)
        : m_dialog(dialog), m_parent(parent), m_parentDisabled(parentDisabled), m_onGui(OnGuiThread()) {}
    ~QtProgressWindow() override { Close(); }

    void SetControlValue(int controlId, int value) override {
        if (controlId != kProgressBarId || value == m_lastValue) return;
        m_lastValue = value;
        QPointer<ProgressDialog> dialog = m_dialog;
        if (m_onGui) {
            if (dialog) dialog->SetValue(value);
        } else if (QCoreApplication* app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app, [dialog, value] { if (dialog) dialog->SetValue(value); }, Qt::QueuedConnection);
        }
    }
    void PumpEvents() override {
        if (m_onGui) QCoreApplication::processEvents();
    }
    int AskAbort() override {
        QPointer<ProgressDialog> dialog = m_dialog;
        return CallOnGui<int>(
            [dialog] {
                return AskOnGui(dialog, msg::kAskAbort, msg::kCaptionAbort, MbButtons::YesNo, MbIcon::Warning);
            },
            IDYES);
    }
    void ShowNormalEnd() override {
        QPointer<ProgressDialog> dialog = m_dialog;
        CallOnGui<int>(
            [dialog] {
                // The window closes only after OK: the message stands beside it.
                return AskOnGui(dialog, msg::kNormalEnd, msg::kCaptionEnd, MbButtons::Ok, MbIcon::Information,
                                dialog.data());
            },
            IDOK);
    }
    void Close() override {
        if (m_closed) return;
        m_closed = true;
        QPointer<ProgressDialog> dialog = m_dialog;
        QPointer<QWidget> parent = m_parent;
        const bool enableParent = m_parentDisabled;
        CallOnGui<int>(
            [dialog, parent, enableParent] {
                if (enableParent && parent) parent->setEnabled(true);
                delete dialog.data();
                return 0;
            },
            0);
    }

private:
    QPointer<ProgressDialog> m_dialog;
    QPointer<QWidget> m_parent;
    bool m_parentDisabled;
    bool m_onGui;
    bool m_closed = false;
    int m_lastValue = -1;
};

class QtFrontEnd : public GuiFrontEnd {
public:
    std::unique_ptr<ProgressWindow> CreateProgressWindow(const ProgressWindowSetup& setup,
                                                         bool& parentDisabled) override {
        const bool onGui = OnGuiThread();
        struct Made {
            ProgressDialog* dialog = nullptr;
            bool disabled = false;
        };
        QWidget* parent = static_cast<QWidget*>(setup.parent);
        const Made made = CallOnGui<Made>(
            [setup, parent, onGui] {
                Made m;
                // The owner is disabled, not made the Qt parent: a disabled parent would
                // disable its child windows too.
                m.dialog = new ProgressDialog(setup, nullptr);
                // On the GUI thread the pumping of each column must not let another
                // command start; from a worker the program stays usable.
                if (onGui) m.dialog->setWindowModality(Qt::ApplicationModal);
                // Centred on the program's window; with none, on the screen.
                if (ProgramWindow()) {
                    CentreWhenShown(m.dialog);
                } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
                    QRect r = m.dialog->frameGeometry();
                    r.moveCenter(screen->availableGeometry().center());
                    m.dialog->move(r.topLeft());
                }
                if (parent && parent->isEnabled()) {
                    parent->setEnabled(false);
                    m.disabled = true;
                }
                m.dialog->show();
                return m;
            },
            Made{});
        if (!made.dialog) return nullptr;
        parentDisabled = made.disabled;
        return std::make_unique<QtProgressWindow>(made.dialog, parent, made.disabled);
    }

    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override {
        return CallOnGui<int>([=] { return AskOnGui(nullptr, text, caption, buttons, icon); }, DefaultAnswer(buttons));
    }
};

}  // namespace

GuiFrontEnd* GuiFrontEnd::Active() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    static QtFrontEnd frontEnd;
    return &frontEnd;
}

}  // namespace wv::solv
