#include "core/line_chain.h"

#include "core/line.h"
#include "core/sokuten.h"

namespace wv {

namespace {

bool LinkAdmitted(int kind, int filter) {
    switch (filter) {
    case kLinksTerrain: return kind == kLineTerrain;
    case kLinksUndefinedTerrain: return kind == kLineUndefined || kind == kLineTerrain;
    case kLinksAuxiliary: return kind == kLineAuxiliary;
    default: return true;
    }
}

// Calls `handle` for the line and then for every line of its chain: first walking from
// the line's start point, then from its end point, through points that list exactly two
// lines. A walk that comes back to the first line has gone round a ring and ends the
// whole chain.
template <class Handle>
void WalkChain(const CSokuten& points, const CLine& lines, int first, Handle handle) {
    handle(first);
    const CLineZokusei firstLine = lines.GetAt(first);
    // With links rebuilt from the line table every step reaches a new line, so the walk
    // can never take more steps than there are lines; the bound only guards against
    // lists that no longer match the lines.
    long long stepsLeft = static_cast<long long>(lines.GetSlotCount()) + 1;
    for (int p : {firstLine.GetStartIndex(), firstLine.GetEndIndex()}) {
        int current = first;
        for (;;) {
            const CSokutenZokusei point = points.GetAt(p);
            if (point.GetLineCount() != 2) break;
            const int next = point.GetLine(0) == current ? point.GetLine(1) : point.GetLine(0);
            if (next == first) return;
            if (--stepsLeft < 0) return;
            handle(next);
            const CLineZokusei nextLine = lines.GetAt(next);
            p = nextLine.GetStartIndex() == p ? nextLine.GetEndIndex() : nextLine.GetStartIndex();
            current = next;
        }
    }
}

}  // namespace

void UpdatePointLineLinks(CSokuten& points, const CLine& lines, int filter) {
    for (int i = 0; i < points.GetSlotCount(); ++i) {
        CSokutenZokusei p = points.GetAt(i);
        p.ClearLines();
        points.SetAt(i, p);
    }
    for (int i = 0; i < lines.GetSlotCount(); ++i) {
        const CLineZokusei line = lines.GetAt(i);
        if (line.GetState() < 0 || !LinkAdmitted(line.GetKind(), filter)) continue;
        for (int end : {line.GetStartIndex(), line.GetEndIndex()}) {
            if (end < 0 || end >= points.GetSlotCount()) continue;
            CSokutenZokusei p = points.GetAt(end);
            if (p.AddLine(i)) points.SetAt(end, p);
        }
    }
}

void UpdatePointLineLinks(int filter) { UpdatePointLineLinks(g_surveyPoints, g_lines, filter); }

void DrawLineChain(LineChainView* view, int lineSlot) {
    if (view == nullptr) return;
    std::vector<int>* marks = view->LineMarks();
    if (marks == nullptr) return;
    auto markOf = [&](int slot) {
        return (slot >= 0 && static_cast<std::size_t>(slot) < marks->size()) ? (*marks)[slot] : 0;
    };
    const int highlight = markOf(lineSlot) == 0 ? 1 : 0;
    WalkChain(g_surveyPoints, g_lines, lineSlot, [&](int slot) {
        if (slot >= 0 && static_cast<std::size_t>(slot) < marks->size()) (*marks)[slot] = highlight;
        view->DrawTerrainLine(slot, highlight);
    });
}

void ResetLineChain(LineChainView* view, int lineSlot) {
    if (view == nullptr) return;
    WalkChain(g_surveyPoints, g_lines, lineSlot, [&](int slot) {
        CLineZokusei line = g_lines.GetAt(slot);
        line.SetHeightType(kHeightFromPoints);
        line.SetKind(kLineUndefined);
        g_lines.SetAt(slot, line);
        view->DrawTerrainLine(slot, 0);
    });
    view->SetProjectModified();
}

}  // namespace wv
