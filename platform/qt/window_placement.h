// Where the program's windows open: a dialog centred on its owner's window, a tool window
// docked into the owner's corner below its menu bar and toolbars, and a stored position
// that would put a window over those bars or off the screen moved back into sight. On a
// screen of its own a window never opens at the screen's origin or over the menus.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace wv {

// The part of `owner`'s top-level window below its title, menu bar and toolbars (the MDI
// area of the main window), in screen coordinates; empty without an owner.
QRect OwnerWorkArea(const QWidget* owner);
// The top-left corner of that area: where a tool window docks by default.
QPoint OwnerCorner(const QWidget* owner);
// The size of a top-level window with its frame, also before it first shows.
QSize FrameSize(QWidget* window);
// `topLeft` for a window of `size` (with its frame), moved (as little as it takes) so that the window lies
// on the screen and clear of `owner`'s menu bar and toolbars.
QPoint KeepInSight(QPoint topLeft, QSize size, const QWidget* owner);
// The same for a window just shown, whose frame the window system may only now have told.
void KeepShownInSight(QWidget* window, const QWidget* owner);
// The program's window a dialog without owner belongs to: the active window, else the
// visible main window; null when there is none.
QWidget* ProgramWindow();
// A dialog made without a Qt parent (an ownerless message box, a progress window) opens
// centred on the program's window all the same: that window becomes its transient parent,
// which places it and keeps it above, but neither disables it nor closes with it.
void CentreWhenShown(QWidget* dialog);

}  // namespace wv
