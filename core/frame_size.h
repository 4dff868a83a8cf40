// The drawing frame of a sheet: the paper less its margins. The drawing-conditions
// dialog applies it to the defaults, and the calculation view's drawing-conditions
// command to the document after OK, so both go through this one rule.
#pragma once

namespace wv {

class CZmn_Inf;

// Paper sides in millimetres by paper index (0-5 A0-A5, 6-10 B1-B5); false for an index
// outside the table.
bool PaperSides(int paperSize, int& shortSide, int& longSide);

// Frame height and width, mm. Vertical allowance = top + bottom + 10 (the title line),
// horizontal = left + right. Orientation 0 puts the long side horizontal, 1 vertical.
// A paper index or orientation outside the tables leaves `height` and `width` as they
// are; either way a negative result becomes 0.
void ComputeFrameSize(int paperSize, int orientation, int marginTop, int marginBottom,
                      int marginRight, int marginLeft, int& height, int& width);

// The rule on a record's paper, orientation and margins, into its frame height and width.
void ApplyFrameSizeRule(CZmn_Inf& zmn);

}  // namespace wv
