// Where the program's windows open: a dialog centred on its owner's window, a tool window
// docked into the owner's corner below its menu bar and toolbars, and a stored position
// that would put a window over those bars or off the screen moved back into sight. On a
// screen of its own a window never opens at the screen's origin or over the menus.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

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
// on the screen and clear of `owner`'s menu bar and toolbars; a window too tall for the
// screen below those bars keeps clear of them and reaches off at its foot.
QPoint KeepInSight(QPoint topLeft, QSize size, const QWidget* owner);
// Puts a window's frame (title bar included) where `where` says for a frame of that size:
// now, and once more when the window shows framed. A frame that would then reach off its
// screen's available area (too tall or too wide for it) is cut to that area: the window
// is made smaller, within its minimum size. Until a window manager has framed a window,
// neither its frame's size nor its title bar's height is known, and a window moved then
// gets its own area, not its frame, put at the place: the title bar would come out above
// it (over the owner's toolbar) the first time and not the next.
void PlaceFrame(QWidget* window, std::function<QPoint(QSize frameSize)> where);
// Where a window of `frameSize` stands beside `window` without covering it, on its
// screen: right of it, else left, else below, else above; when none fits, as near the
// right as the screen allows.
QPoint Beside(const QWidget* window, QSize frameSize);
// A program's first window, to be shown: no larger than the screen it shows on, and
// once shown and framed, moved (as little as it takes) and if need be made smaller so
// that all of it, frame included, lies on that screen.
void KeepOnScreen(QWidget* window);
// The program's window a dialog without owner belongs to: the active window, else the
// visible main window; null when there is none.
QWidget* ProgramWindow();
// A dialog made without a Qt parent (an ownerless message box, a progress window) opens
// centred on the program's window all the same: that window becomes its transient parent,
// which places it and keeps it above, but neither disables it nor closes with it.
void CentreWhenShown(QWidget* dialog);

}  // namespace wv
