// The calculation view as a plain class: the state of one pane showing a calculation
// document, its screen and printer drawing onto a CDC, the mouse modes, every command
// (Execute/Update by number) and the two status texts. The window around it (the scroll
// view widget, the frame, the dialogs) is a TydViewHost; tests drive it with a fake.
//
// Files: tyd_view.cpp (state, modes, mouse dispatch, status texts, activation),
// tyd_view_draw.cpp (screen layers, printer branch), mode_*.cpp (one handler class per
// family of mouse modes), cmd_*.cpp (one file per family of commands).
#pragma once

#include "calc/calc_view_frame.h"
#include "calcdoc/tyd_doc.h"
#include "calcdoc/wave_calc_command.h"
#include "draw/plot_figure.h"
#include "draw/print_figure.h"
#include "draw/plot_store.h"
#include "draw/view_helpers.h"
#include "platform/cmd_target.h"
#include "platform/dc.h"
#include "platform/dialog_model.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wv {

class CTydView;

// Button and key state with a mouse message (the Windows MK_ values).
inline constexpr unsigned kMouseLeft = 0x1;
inline constexpr unsigned kMouseRight = 0x2;
inline constexpr unsigned kMouseShift = 0x4;
inline constexpr unsigned kMouseCtrl = 0x8;

// What the view needs of its window.
class TydViewHost {
public:
    virtual ~TydViewHost() = default;
    // The whole client area drawn anew (with erasing).
    virtual void Redraw() = 0;
    // Scroll so that the window starts at this logical point.
    virtual void ScrollTo(int x, int y) = 0;
    // A drawing context on the window's current image in client coordinates for the XOR
    // marks of the mouse modes; null when the window cannot draw now. EndMarks shows
    // what was drawn.
    virtual CDC* BeginMarks() = 0;
    virtual void EndMarks() = 0;
    // The height popup: one informing item at a client point.
    virtual void ShowPopup(const std::string& text, int clientX, int clientY) = 0;
    // The cursor follows the mode.
    virtual void ModeChanged(int mode) {}
    // Wait cursor on or off around long commands.
    virtual void WaitCursor(bool on) {}
    // The wait box while the result loader reads the result file of a run.
    virtual void ResultsLoading(bool on) {}
    // Asks the output-point result list to refill itself, when it has a window.
    virtual void PostResultListRefresh() {}
};

// Hooks with a default body that the program's calculation window (TydScrollView)
// overrides. A new hook of this kind goes on this list: tests/app/view_hooks_test.cpp
// fails for a listed hook that the real class does not override, and for a hook on no
// list.
#define WV_TYD_VIEW_HOST_HOOKS(HOOK) \
    HOOK(ModeChanged) HOOK(WaitCursor) HOOK(ResultsLoading) HOOK(PostResultListRefresh)

// The modal dialogs a command opens, as one call that a test can answer: returns IDOK or
// IDCANCEL. Without one installed every dialog counts as cancelled.
using DialogRunner = std::function<int(CDialogModel& dlg)>;

// One family of mouse modes (zoom, area, contour editing, marks, placement): which modes it
// takes and what the buttons and moves do in them.
class ModeHandler {
public:
    virtual ~ModeHandler() = default;
    virtual bool Handles(int mode) const = 0;
    // World point w of the mouse; client point c (scroll not added).
    virtual void LButtonDown(CTydView& v, CPointD w, CPoint c) {}
    // True when the move was handled (else the view runs the drag frame).
    virtual bool MouseMove(CTydView& v, CPoint c) { return false; }
    // True when the release was handled (else the view completes a zoom).
    virtual bool LButtonUp(CTydView& v, CPoint c) { return false; }
    // True when the right button was handled (else the mode ends: mode 0).
    virtual bool RButtonDown(CTydView& v) { return false; }
};

class CTydView : public CTydViewData {
public:
    explicit CTydView(CTydDoc& doc);
    ~CTydView() override;

    CTydDoc& Doc() const { return static_cast<CTydDoc&>(GetDocument()); }
    void SetHost(TydViewHost* host) { m_host = host; }
    TydViewHost* Host() const { return m_host; }

    static void SetDialogRunner(DialogRunner runner);
    static int RunDialog(CDialogModel& dlg);

    // Window life.
    void OnInitialUpdate();
    void OnSize(int cx, int cy);
    void OnScroll(int x, int y);
    // Becoming the active view: the area polygon of another view is discarded.
    void OnActivateView(bool activate);
    // The window goes: a solver run still going on keeps its holder alive until it ends.
    void OnDestroy();

    // Modes.
    void SetMouseMode(int mode) override;
    int Mode() const { return m_view.mode; }
    int SavedMode() const { return m_view.savedMode; }

    // Mouse (client coordinates, MK_ flags) and keys.
    void OnLButtonDown(unsigned flags, CPoint client);
    void OnMouseMove(unsigned flags, CPoint client);
    void OnLButtonUp(unsigned flags, CPoint client);
    void OnRButtonDown(unsigned flags, CPoint client);
    // True when the key was taken (Escape passes to the result list while it is open).
    bool OnKeyUp(int key);

    // Drawing: the screen (layers over a black client-sized surface, client coordinates)
    // and the printer branch (the plot records of the last MakePlotFile).
    void OnDraw(CDC& dc);
    int OnPrint(CDC& dc);
    // Print preparation: writes the figure; false when it could not be written. After a
    // successful preparation the plot data is freed once by EndPrinting.
    bool PreparePrinting();
    void EndPrinting();
    const CPlotStore& PlotStore() const { return m_plotStore; }
    PrintFigureRequest PrintRequest() const;

    // Commands: false when the view has no such command.
    bool Execute(int id);
    bool Update(CCmdUI& ui);
    static const std::vector<int>& CommandIds();

    // Status panes: 59143 (position) and 59144 (prompt).
    std::string PositionText() const;
    std::string PromptText() const;

    // Everything drawn anew; also applies a scroll the shared routines asked for.
    void RedrawAll() override;
    // The engine and the commands changed the values the result list shows: the window
    // posts WM_RESULTLIST_REFRESH to it.
    void PostResultListRefresh() override;
    void ApplyViewChange();

    // Helpers for the mode and command families.
    ViewState& State() { return m_view; }
    const ViewState& State() const { return m_view; }
    DrawContext Context() const;
    double Angle() const { double a = 0.0; m_view.coord.GetAngle(&a); return a; }
    CalcViewFrame Frame() const { return CalcViewFrame::From(m_view.coord); }
    CPointD ClientToWorld(CPoint c) const;
    CPointD WorldToMesh(CPointD w) const;
    // Draws XOR marks on the window, if it has one.
    void WithMarks(const std::function<void(CDC&)>& draw);
    void SetModified() { Doc().SetModifiedFlag(true); }
    CWaveCalcSlot& CalcSlot() { return *m_slot; }
    void OnViewWhole();
    void OnViewFrame();
    bool ResultsLoadable();
    // The result loader reads the result file: the window shows its wait box meanwhile.
    void ResultsReading(bool reading) override;

    // View state of 5.102 (names kept from the original program).
    int m_bLandFill = 1;
    int m_nSelNode = -1;
    CPointD m_ptMouse;
    CPointD m_ptRotGuide{kNoLastPoint, kNoLastPoint};
    CPointD m_ptRubberEnd = CPointD::Unset();
    int m_nDxfConverter = 0;
    double m_dPrintFactor = 1.0;
    SheetOffsets m_sheet;
    int m_nMapKind = 0;

    using Command = std::function<void(CTydView&)>;
    using Updater = std::function<void(CTydView&, CCmdUI&)>;
    struct CommandRow {
        Command run;
        Updater update;
    };

private:
    ModeHandler* HandlerFor(int mode) const;
    void SyncMode();

    TydViewHost* m_host = nullptr;
    ViewState m_view;
    std::unique_ptr<CWaveCalcSlot> m_slot;
    CPlotStore m_plotStore;
    std::vector<std::unique_ptr<ModeHandler>> m_handlers;
};

// The command rows of each family (cmd_*.cpp).
using CommandMap = std::map<int, CTydView::CommandRow>;
void AddDisplayCommands(CommandMap& map);
void AddPlacementCommands(CommandMap& map);
void AddConditionCommands(CommandMap& map);
void AddContourCommands(CommandMap& map);
void AddDigitalMapCommands(CommandMap& map);
void AddExportCommands(CommandMap& map);
void AddFileCommands(CommandMap& map);

// Save As of a calculation document: saved under the new path first; only then does it
// take the path and get copies of its side files (.CAL, .DEC, .KKA, .YNO). False, with
// a message and nothing changed, when the save failed.
bool TydSaveAs(CTydDoc& doc, const std::string& newPath);
// After a successful Save As (the application rebuilds its data tree).
void SetTydSaveAsHook(std::function<void()> hook);
// The save dialog of Save As: folder and current name in, the chosen path out. Without
// one the UI service's file dialog asks.
void SetTydSaveDialog(std::function<bool(const std::string& folder, const std::string& name, std::string& path)> dialog);

// The handler families (mode_*.cpp).
std::unique_ptr<ModeHandler> MakeZoomHandler();
std::unique_ptr<ModeHandler> MakeAreaHandler();
std::unique_ptr<ModeHandler> MakeContourHandler();
std::unique_ptr<ModeHandler> MakeMarkHandler();
std::unique_ptr<ModeHandler> MakePlacementHandler();

}  // namespace wv
