// What the user is told about the current mouse mode, shared by both views: the prompt in
// the status bar's second pane and the mouse cursor; and the drag rectangle that moves a
// drag mode from its pressed state to its dragging state.
#pragma once

#include "platform/dc.h"

namespace wv {

// The status pane that shows the prompt, and its text when nothing else sets it.
inline constexpr int kModePromptPaneId = 59144;
extern const char* const kModePromptPaneIdle;

// The prompt of a mode (UTF-8); modes not in the table take the prompt of mode 0.
const char* ModePromptText(int mode);

// Sets the mode's prompt as the pane's text and enables the pane. Works with any update
// object that has SetText and Enable (the views' CCmdUI).
template <class CmdUI>
void GetModePrompt(CmdUI* pCmdUI, int mode) {
    pCmdUI->SetText(ModePromptText(mode));
    pCmdUI->Enable(true);
}

// The two cursors of the program: the magnifier (zoom in and out, modes 10 and 20 only)
// and the arrow.
enum class ModeCursor { Arrow, Magnifier };
ModeCursor ModeCursorFor(int mode);

// A 32 x 32 monochrome cursor as data: '#' black, '.' white, anything else transparent.
struct CursorShape {
    int hotX;
    int hotY;
    const char* rows[32];
};
const CursorShape& CursorShapeOf(ModeCursor cursor);

// Mouse-move handling of a drag: in a pressed state (11, 21, 81, 45, 6) it draws the first
// frame and moves the mode on to its dragging state (12, 22, 82, 46, 7); in a dragging
// state (12, 22, 46, 7) it erases the last frame and draws the new one in one call. Mode
// 82 is drawn by the calculation view itself. Any other mode: nothing.
void DrawDragFrame(CDC* pDC, int x, int y, int& mode, CRect& rcDrag, CRect& rcDragLast);

}  // namespace wv
