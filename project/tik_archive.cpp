#include "project/tik_archive.h"

#include "core/line_chain.h"
#include "platform/text.h"
#include "project/import_messages.h"

#include <string>
#include <utility>

namespace wv {

namespace {

// Two copies of an empty calculation area stand where early versions kept the area in
// the project; nothing reads them any more, but the layout keeps their 32 bytes each:
// origin (0, 0), mesh size 10.0, no nodes along x or y.
void WriteEmptyCalcArea(CArchive& ar) {
    ar << 0.0 << 0.0 << 10.0 << std::int32_t(0) << std::int32_t(0);
}

void SkipCalcArea(CArchive& ar) {
    double x, y, meshSize;
    std::int32_t nx, ny;
    ar >> x >> y >> meshSize >> nx >> ny;
}

void CheckReferences(const TikTables& t, unsigned version) {
    const int pointSlots = t.points.GetSlotCount();
    const int lineSlots = t.lines.GetSlotCount();
    for (int i = 0; i < lineSlots; ++i) {
        const CLineZokusei line = t.lines.GetAt(i);
        if (line.GetState() < 0) continue;
        for (int end : {line.GetStartIndex(), line.GetEndIndex()}) {
            if (end < 0 || end >= pointSlots)
                throw ArchiveError(Sprintf(importmsg::kTikLineWithoutPoint, i, end));
        }
    }
    // Older files have their links rebuilt from the lines, so only links that survive
    // the load need to name existing lines.
    if (version < 7) return;
    for (int i = 0; i < pointSlots; ++i) {
        const CSokutenZokusei p = t.points.GetAt(i);
        for (int k = 0; k < p.GetLineCount(); ++k) {
            const int link = p.GetLine(k);
            if (link < 0 || link >= lineSlots)
                throw ArchiveError(Sprintf(importmsg::kTikPointWithoutLine, i, link));
        }
    }
}

// The file stores only the point slots of a line; the drawing and the nearest-line
// searches work on the coordinates.
void RefreshLineCoordinates(const CSokuten& points, CLine& lines) {
    for (int i = 0; i < lines.GetSlotCount(); ++i) {
        CLineZokusei line = lines.GetAt(i);
        if (line.GetState() < 0) continue;
        const CPointD s = points.GetAt(line.GetStartIndex()).GetPos();
        const CPointD e = points.GetAt(line.GetEndIndex()).GetPos();
        line.SetStartPos(s.m_dX, s.m_dY);
        line.SetEndPos(e.m_dX, e.m_dY);
        lines.SetAt(i, line);
    }
}

// Before version 7 the heights lived on the lines (version 5 had none on the points at
// all): each point takes the height of the first defined line that ends at it.
void RepairPointHeights(CSokuten& points, const CLine& lines) {
    UpdatePointLineLinks(points, lines, kLinksAll);
    for (int i = 0; i < points.GetSlotCount(); ++i) {
        CSokutenZokusei p = points.GetAt(i);
        if (p.GetId() < 0) continue;
        for (int k = 0; k < p.GetLineCount(); ++k) {
            const CLineZokusei line = lines.GetAt(p.GetLine(k));
            if (line.GetKind() == kLineUndefined) continue;
            p.SetDepth(line.GetDepth());
            points.SetAt(i, p);
            break;
        }
    }
}

}  // namespace

void WriteTikArchive(CArchive& ar, CTik_Inf& info, CSokuten& points, CLine& lines, CBlock& blocks,
                     CSansyutu& calcPoints) {
    const unsigned v = kTikFileVersion;
    ar << std::int32_t(kTikFileVersion);
    info.Serialize(ar, v);
    WriteEmptyCalcArea(ar);
    WriteEmptyCalcArea(ar);
    points.Serialize(ar, v);
    lines.Serialize(ar, v);
    blocks.Serialize(ar, v);
    CBlkXY emptyOutlines;
    emptyOutlines.Serialize(ar, v);
    calcPoints.Serialize(ar, v);
}

void ReadTikArchive(CArchive& ar, TikTables& t) {
    std::int32_t version;
    ar >> version;
    if (version < 1 || version > kTikFileVersion)
        throw ArchiveError(Sprintf(importmsg::kTikUnknownVersion, static_cast<int>(version)));
    const unsigned v = static_cast<unsigned>(version);
    t.info.Serialize(ar, v);
    SkipCalcArea(ar);
    SkipCalcArea(ar);
    t.points.Serialize(ar, v);
    t.lines.Serialize(ar, v);
    CheckReferences(t, v);
    RefreshLineCoordinates(t.points, t.lines);
    t.blocks.Serialize(ar, v);
    // Block outlines belong to the calculations; the project keeps an empty set, which
    // is read to get past it and then dropped.
    CBlkXY outlines;
    outlines.Serialize(ar, v);
    // The output points came with version 6; older projects keep a fresh table.
    if (v > 5) t.calcPoints.Serialize(ar, v);
    if (v < 7) RepairPointHeights(t.points, t.lines);
}

void SwapWithOpenProject(TikTables& t) {
    std::swap(g_tikInf, t.info);
    std::swap(g_surveyPoints, t.points);
    std::swap(g_lines, t.lines);
    std::swap(g_blocks, t.blocks);
    std::swap(g_calcPoints, t.calcPoints);
}

}  // namespace wv
