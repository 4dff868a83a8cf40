// The UI service on Qt widgets: message boxes and the file and folder dialogs. Callable
// from any thread: a call from a worker is carried to the GUI thread (gui_call.h) and
// the worker waits for the answer.
#pragma once

#include "platform/ui_service.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace wv {

// The one message box of the program: the buttons and icon of the Windows box and its
// answers. `owner` may be null (a box without owner). GUI thread only. With `beside`, the
// box stands next to that window instead of centred over its owner: a report on a window
// that stays open under it (a run's end over its progress window) must not hide it.
int ShowQtMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                     MbButtons buttons, MbIcon icon, const QWidget* beside = nullptr);

// A name pattern of a Windows filter made case-blind for Qt's dialogs: "*.TIK" becomes
// "*.[Tt][Ii][Kk]".
QString CaseBlindPattern(const QString& pattern);

class QtUi : public UiService {
public:
    // The window the engine's questions belong to (the main frame); none: no owner.
    void SetOwnerWindow(QWidget* owner) { m_owner = owner; }
    QWidget* OwnerWindow() const { return m_owner.data(); }

    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                   MbIcon icon) override;
    bool FileDialog(const FileDialogOptions& fileDialog, std::string& path) override;
    bool FolderDialog(const std::string& title, const std::string& initialFolder,
                      std::string& folder) override;

private:
    QPointer<QWidget> m_owner;
};

// Runs `fn` on the GUI thread and waits for it (directly when already there).
void RunOnGuiThread(const std::function<void()>& fn);

}  // namespace wv
