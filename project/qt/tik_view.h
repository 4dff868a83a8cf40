// The project view on screen: a scroll view that passes its events on to the editing
// model (project/tik_editor.h) and gives it the window, the dialogs and the questions.
// It also carries the digitizer reading and the six import commands.
#pragma once

// The engine's headers go before Qt's, whose "slots" macro would rewrite their names.
#include "project/digitizer_reader.h"
#include "project/tik_editor.h"
#include "platform/qt/scroll_view.h"

#include <memory>
#include <string>

class QWidget;

namespace wv {

class CPixelDC;
class CStatusBar;
class CommandTable;

class CTikView : public CScrollView, public TikEditHost, public DigitizerHost {
public:
    // `statusBar`: the main window's, for the position and prompt panes (may be null).
    explicit CTikView(CStatusBar* statusBar = nullptr);
    ~CTikView() override;

    CTikEditor& Editor() { return m_editor; }
    void OnInitialUpdate() override;
    // Activated, it closes the output-point result list: the list shows a calculation
    // view's values.
    void OnActivateView(bool activate) override;
    void OnDraw(QImage& image) override;
    void OnLButtonDown(unsigned flags, CPointI client) override;
    void OnLButtonUp(unsigned flags, CPointI client) override;
    void OnRButtonDown(unsigned flags, CPointI client) override;
    void OnMouseMove(unsigned flags, CPointI client) override;

    // The two status panes' texts as the view shows them.
    std::string PositionPaneText() const { return m_editor.PositionText(); }
    std::string PromptPaneText() const { return m_editor.PromptText(); }
    // The text of the last Ctrl+click popup (for tests; the popup itself is modal).
    const std::string& LastPopupText() const { return m_lastPopup; }
    // Headless runs (tests) do not open the popup menu.
    static void SetPopupsShown(bool shown);

    // TikEditHost.
    int Ask(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override;
    int RunDialog(CDialogModel& dlg) override;
    CDC* BeginMarks() override;
    void EndMarks() override;
    void RedrawAll() override;
    void SetModified() override;
    int ScrollX() const override { return GetScrollPosition().x; }
    int ScrollY() const override { return GetScrollPosition().y; }
    void ScrollTo(int x, int y) override { ScrollToPosition({x, y}); }
    void ShowLinePopup(const std::string& text, int clientX, int clientY) override;

    // DigitizerHost.
    void SetMouseMode(int mode) override;
    void SetDocumentModified() override { SetModified(); }
    void FitAllAndRedraw() override;
    bool RunReadSetDialog(CDigiReadSetDlg& dlg) override;
    void RunPortSettingsDialog() override;

private:
    QWidget* Widget() const;
    void SyncClientSize();
    void UpdatePanes();
    void Import(int command);

    CStatusBar* m_statusBar;
    CTikEditor m_editor;
    std::unique_ptr<CPixelDC> m_markDC;
    int m_markDepth = 0;
    std::string m_lastPopup;
    // Declared last: it is destroyed first, stopping a reading before the view goes.
    CDigitizerReader m_digitizer;
};

// The project view's commands: their rows, and their menus in the project menu before the
// popup titled `beforePopup`.
void RegisterProjectViewCommands(CommandTable& table, int menuId, const std::string& beforePopup);

}  // namespace wv
