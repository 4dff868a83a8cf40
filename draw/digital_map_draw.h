// The digital maps (the value of each chosen node written beside it), the vector map and
// the node marks of the calculation view. Node arguments: negative = every node whose
// show flag is set; a node number = that node alone, drawn black when its flag is 0 so
// that it disappears from the black background.
#pragma once

#include "draw/draw_context.h"
#include "platform/dc.h"

namespace wv {

void DrawDepthDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy);
void DrawWaveHeightDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node);
void DrawWaveDirDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node);
void DrawVectorMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node);
// style 0: 3 x 3 yellow, 1: 2 x 2 dark teal. node -1: every node, only when a mesh is at
// least 5 pixels on screen.
void DrawMeshNodeMarks(const DrawContext& view, CDC* pDC, int sx, int sy, int node, int style,
                       int includeNegative);
void DrawNoResultMarks(const DrawContext& view, CDC* pDC, int sx, int sy);

// The direction a node's direction map shows, in [0, 360) after rounding to the one
// decimal it is written with: never "360.0" and never "-0.0".
double ShownDirection(double nodeDirection, double north, double displayAngle, int dirMode,
                      int outDirSense);

}  // namespace wv
