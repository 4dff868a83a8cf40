// The survey points' lists of the lines that end at them, and the chains of lines joined
// end to end through points where exactly two of the admitted lines meet. The lists are
// derived data: every user rebuilds them with the kinds its task needs before it walks.
#pragma once

#include <vector>

namespace wv {

class CSokuten;
class CLine;

// Filters of the link rebuild.
inline constexpr int kLinksAll = 0;
inline constexpr int kLinksTerrain = 1;           // terrain lines only
inline constexpr int kLinksUndefinedTerrain = 2;  // undefined and terrain lines
inline constexpr int kLinksAuxiliary = 3;         // auxiliary lines only

// Empties every point's list (free slots too), then enters each line in use whose kind
// the filter admits in the lists of both its end points, in ascending line-slot order.
// A point keeps at most eight links; further lines are not listed there.
void UpdatePointLineLinks(CSokuten& points, const CLine& lines, int filter);
// The same on the tables of the open project.
void UpdatePointLineLinks(int filter);

// What the chain functions need of the project view that calls them.
class LineChainView {
public:
    virtual ~LineChainView() = default;
    // The view's highlight marks, one per line slot (1 highlighted, 0 not), or null while
    // the view is in none of its chain or attribute commands.
    virtual std::vector<int>* LineMarks() = 0;
    // Draws one line of the open project at the view's scroll position, highlighted
    // (mode 1) or in the normal colour of its kind (mode 0).
    virtual void DrawTerrainLine(int lineSlot, int mode) = 0;
    // Marks the project document modified.
    virtual void SetProjectModified() = 0;
};

// Toggles the highlight of the line and gives every line of its chain the same
// highlight, drawing each. Nothing happens while the view has no mark array.
void DrawLineChain(LineChainView* view, int lineSlot);
// Makes the line and every line of its chain undefined (kind 0, height type 0), redraws
// each and marks the project modified. The marks are not changed.
void ResetLineChain(LineChainView* view, int lineSlot);

}  // namespace wv
