// The mode cursors as Qt cursors, built from the shapes kept as data in the drawing
// routines.
#pragma once

#include "draw/mode_prompt.h"

#include <QCursor>

class QWidget;

namespace wv {

QCursor MakeModeCursor(ModeCursor cursor);

// Shows the cursor of the mode over the view: the magnifier for modes 10 and 20, the
// arrow for every other mode.
void SetModeCursor(QWidget* view, int mode);

}  // namespace wv
