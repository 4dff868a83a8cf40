// What the families of editing operations share: the view state and its host, the
// same-point rules, the line-existence test, and the marks drawn over the window.
#pragma once

#include "draw/draw_context.h"
#include "project/tik_edit_state.h"

#include <string>

namespace wv {

class CLineZokusei;

// -1 when a line in use joins the two points; pass (larger slot, smaller slot), which is
// how CLine::Add stores a pair.
int LineExistsBetween(int a, int b);
// The same for two slots in any order.
bool LineJoins(int p, int q);
// Kind 1 or 3 with height type 0, or kind 2: its end points' heights are terrain heights.
bool IsHeightBearing(const CLineZokusei& line);

class TikEditBase {
public:
    TikEditBase(TikEditState& state, TikEditHost& host) : s(state), h(host) {}
    virtual ~TikEditBase() = default;

    DrawContext Context() const;
    // World point of a view (scrolled) position.
    CPointD ViewToWorld(double vx, double vy) const;
    // The project's mouse tolerance in metres at the current scale.
    double MouseTolerance() const;

    // Marks over the window: a 2 x 2 square at a world point, a line in style 0 or 1, the
    // two picked points' markers.
    void MarkSquare(CPointD world, COLORREF color);
    void MarkPointSquare(int pointSlot, COLORREF color);
    void MarkLine(int lineSlot, int style);
    void MarkPickedPoints();

    // Whether n more survey points / lines fit; false after the table-full message.
    bool RoomForPoints(long long n);
    bool RoomForLines(long long n);

    // The point at a click for creation: rounded to the millimetre, the existing point
    // within the mouse tolerance or a new one (drawn red, document modified); -1 when a
    // new one is needed and the table is full (after the message).
    int TakeOrCreatePoint(double x, double y);
    // Adds a point (position rounded) and asks to keep it: 1 kept, 0 cancelled and
    // removed, -1 refused because a point lies within 0.001 there, -2 refused because
    // the table is full (after the message).
    int AddAndConfirmPoint(double x, double y, const char* question, const char* caption,
                           bool markRed = false);
    // Moves every line end at the point to its position.
    void ReattachLines(int pointSlot);
    // Nearer end of a line to a click: true for the start. `tieToStart` decides equality.
    bool NearerIsStart(int lineSlot, double x, double y, bool tieToStart) const;
    // Every live line that ends at the point, from the line table itself (a point's link
    // list keeps only eight and goes stale after merges and imports).
    std::vector<int> LinesAt(int pointSlot) const;
    void Modified() { h.SetModified(); }
    int YesNo(const char* text, const char* caption);
    int OkCancel(const char* text, const char* caption);

protected:
    TikEditState& s;
    TikEditHost& h;
};

}  // namespace wv
