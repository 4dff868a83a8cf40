// The project view's editing state and what the editing operations need of the window
// that shows it. Everything here is free of Qt: the view passes its events on to the
// editor (tik_editor.h) and gives it a TikEditHost; tests give it a scripted one.
#pragma once

#include "core/coord_wnd.h"
#include "core/point.h"
#include "platform/dc.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace wv {

class CDialogModel;

// Rubber-band end that means "none drawn".
inline constexpr double kNoRubberBand = -999999999.999;
// Area rubber-band point after the polygon has been used.
inline constexpr double kAreaPointCleared = 99999999.999;
// A survey point whose height is not determined yet; determined means below 99999.0.
inline constexpr double kUndeterminedHeight = 99999.999;
inline constexpr double kDeterminedBelow = 99999.0;

// Key flags of a mouse message, with the Windows values the scroll view passes on.
inline constexpr unsigned kKeyShift = 0x4;
inline constexpr unsigned kKeyControl = 0x8;

// One flag per table slot, made by the command that starts an operation. "Missing" and
// "empty" differ: the operations that need marks do nothing while they are missing.
struct SlotFlags {
    bool exists = false;
    std::vector<int> flags;
    int Count() const { return static_cast<int>(flags.size()); }
    bool Any() const {
        for (int f : flags)
            if (f) return true;
        return false;
    }
    // Freed and made again when the table's slot count changed since; all 0.
    void Prepare(int slotCount) {
        exists = true;
        flags.assign(static_cast<std::size_t>(slotCount < 0 ? 0 : slotCount), 0);
    }
    // Cleared only while they still cover the table: slots added meanwhile (a running
    // digitizer) were never part of the selection.
    void ClearIfFits(int slotCount) {
        if (exists && Count() == slotCount) std::fill(flags.begin(), flags.end(), 0);
    }
    bool Get(int slot) const { return exists && slot >= 0 && slot < Count() && flags[slot]; }
    void Set(int slot, int v) {
        if (exists && slot >= 0 && slot < Count()) flags[slot] = v;
    }
};

struct TikEditState {
    int m_nClientW = 0;
    int m_nClientH = 0;
    CCoordWnd m_coord;
    int m_nMode = 0;
    int m_nSavedMode = 0;
    int m_nSelIndex = -1;
    SlotFlags m_lineSel;   // m_pLineSel with m_nLineSelCount; also the chain walk's marks
    double m_dMouseX = 0.0;  // logical (scrolled) view coordinates
    double m_dMouseY = 0.0;
    CRect m_rcDrag;      // client coordinates: press point and current corner
    CRect m_rcDragLast;  // the frame last drawn
    int m_nCalcPointSel = -1;
    int m_nPoint1 = -1;
    int m_nPoint2 = -1;
    int m_nSelPoint = -1;
    SlotFlags m_pointSel;  // m_pPointSel with m_nPointSelCount
    double m_dLastX = 0.0;  // rubber-band end, view coordinates
    double m_dLastY = 0.0;
    CPointD m_ptMeasureStart{0.0, 0.0};
    double m_dAreaMouseX = kAreaPointCleared;
    double m_dAreaMouseY = kAreaPointCleared;
    double m_dLastDepth = 0.0;

    void ClearRubberBand() { m_dLastX = m_dLastY = kNoRubberBand; }
    bool HasRubberBand() const { return m_dLastX >= -999999999.0 || m_dLastY >= -999999999.0; }
};

// What the editor needs of its window and of the user.
class TikEditHost {
public:
    virtual ~TikEditHost() = default;
    // A question (UTF-8); Yes/No questions carry the exclamation icon. One of MbAnswer.
    virtual int Ask(const std::string& text, const std::string& caption, MbButtons buttons,
                    MbIcon icon) = 0;
    // Shows one of the editor's dialogs modally; IDOK or IDCANCEL.
    virtual int RunDialog(CDialogModel& dlg) = 0;
    // A drawing context on the window as it shows now (client coordinates, no origin
    // shift), for marks drawn over the last full drawing; EndMarks shows them.
    virtual CDC* BeginMarks() = 0;
    virtual void EndMarks() = 0;
    // The whole view is drawn anew (with the editor's Draw).
    virtual void RedrawAll() = 0;
    virtual void SetModified() = 0;
    virtual int ScrollX() const = 0;
    virtual int ScrollY() const = 0;
    virtual void ScrollTo(int x, int y) = 0;
    // The one-item description popup of a Ctrl+click, at a client point.
    virtual void ShowLinePopup(const std::string& text, int clientX, int clientY) = 0;
};

}  // namespace wv
