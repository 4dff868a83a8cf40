#include "draw/plot_figure.h"

#include "calc/digital_lattice.h"
#include "core/geometry.h"
#include "core/label_placement.h"
#include "draw/digital_map_draw.h"
#include "draw/draw_messages.h"
#include "draw/plot_chains.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

enum Layer {
    kLayerFrame = 1, kLayerNorth = 2, kLayerWave = 3, kLayerTerrain = 4, kLayerDepthLines = 5,
    kLayerLandCells = 6, kLayerDepthCheck = 7, kLayerResultMap = 8, kLayerContours = 9,
    kLayerWhiteContours = 10, kLayerArrows = 11, kLayerCalcPoints = 12, kLayerDepthMap = 13,
    kLayerDirMap = 14
};

// Compass points clockwise from north by the sixteen-point index.
const char* const kCompass[16] = {"N",  "NNE", "NE", "ENE", "E",  "ESE", "SE", "SSE",
                                  "S",  "SSW", "SW", "WSW", "W",  "WNW", "NW", "NNW"};

// A position the user has not set holds 99999999.999 in both coordinates.
bool IsUnset(CPointD p) { return p.m_dX > 99999999.9 && p.m_dY > 99999999.9; }

struct Seg {
    double x1, y1, x2, y2;
};

// The part of a sheet segment inside the frame; the result of ClipSegmentToRect (-1
// nothing inside, bit 0 the start moved onto the border, bit 1 the end).
int ClipToFrame(const PlotSheet& sheet, Seg& s) {
    return ClipSegmentToRect(&s.x1, &s.y1, &s.x2, &s.y2, CPointD(0.0, 0.0), CPointD(sheet.Width(), sheet.Height()));
}

}  // namespace

std::string FormatShownDirection(double degrees) {
    std::string text = Sprintf("%2.1f", degrees);
    if (text == "360.0" || text == "-0.0") text = "0.0";
    return text;
}

CPlotComposer::CPlotComposer(CTydViewData& view, double viewAngle, const PlotSources& sources)
    : m_view(view), m_doc(view.GetDocument()), m_src(sources), m_sheet(view.GetDocument(), viewAngle) {
    m_offsets.x = m_doc.m_zmn.m_nMarginLeft;
    m_offsets.y = m_doc.m_zmn.m_nMarginBottom;
}

int CPlotComposer::Text(double x, double y, double size, const std::string& utf8, double angle, int layer) {
    return m_writer.WritePlotVJ(x, y, size, size, Utf8ToCp932(utf8), angle, layer);
}

void CPlotComposer::WriteHeader() {
    const CZmn_Inf& z = m_doc.m_zmn;
    const double W = m_sheet.Width(), H = m_sheet.Height();
    m_writer.WritePlotSC(1, 0.0, 0.0, 0.0);
    m_writer.WritePlotEM(0.0, 0.0, W, H + 10.0);
    // The sheet's sums are whole millimetres, formed before they become reals.
    const long long sw = static_cast<long long>(z.m_nFrameWidth) + z.m_nMarginRight + z.m_nMarginLeft;
    const long long sh = static_cast<long long>(z.m_nFrameHeight) + z.m_nMarginBottom + z.m_nMarginTop + 10;
    m_writer.WritePlotSZ(static_cast<double>(sw), static_cast<double>(sh));
    for (int n = 1; n <= 14; ++n) {
        const int width = (n == 1 || n == 4) ? 25 : (n == 5 || n == 6) ? 0 : 13;
        const int color = n == kLayerWhiteContours ? 255 : 7;
        m_writer.WritePlotLY(0, width, color, n, std::to_string(n));
    }
}

int CPlotComposer::MakePlotFile(CPlotStore& store) {
    const CZmn_Inf& z = m_doc.m_zmn;
    if (!m_sheet.Usable()) {
        Ui().MessageBox(Sprintf(msg::kPlotBadScale, z.m_nScale), msg::kPlotCaption, MbButtons::Ok, MbIcon::Warning);
        return -1;
    }
    const std::string path = StartFolderFile(kPlotFileName);
    if (m_writer.OpenPlotFile(path, Utf8ToCp932(PlotFigureTitle(z))) != 0) {
        Ui().MessageBox(msg::kPlotFileFailed, msg::kPlotCaption, MbButtons::Ok, MbIcon::Warning);
        return -1;
    }
    WriteHeader();
    const WorldBox box = m_sheet.Box();
    PlotTitleBlock();
    PlotNorthMark(box);
    PlotWaveMark(box);
    PlotTerrainLines(box);
    if (z.m_bDrawLandGrid == 1) PlotLandCells();
    if (z.m_bCheckContour == 1) PlotDepthCheck(box);
    if (z.m_bCheckMap == 1) PlotDepthMap(box);
    if (z.m_bDirMapFigure == 1) PlotDirectionMap(box);
    if (z.m_nFigureMask == 1 || z.m_nFigureMask == 3) PlotResultMap(box);
    if (z.m_nFigureMask == 2 || z.m_nFigureMask == 3) PlotResultContours(box);
    if (z.m_bVectorFigure == 1) PlotDirectionArrows(box);
    PlotCalcPoints(box);
    // A file that could not be completed is as good as one that could not be created:
    // the converters must not find half a figure.
    if (m_writer.ClosePlotFile() != 0) {
        Ui().MessageBox(msg::kPlotFileFailed, msg::kPlotCaption, MbButtons::Ok, MbIcon::Warning);
        return -1;
    }
    if (store.ReadPlotFile(0, path) < 0) return -1;
    return 0;
}

int MakePlotFile(CTydViewData& view, double viewAngle, CPlotStore& store, SheetOffsets* offsets,
                 const PlotSources& sources) {
    CPlotComposer composer(view, viewAngle, sources);
    if (offsets) *offsets = composer.Offsets();
    return composer.MakePlotFile(store);
}

// ---- Title block, frame and scale ----

void CPlotComposer::PlotTitleBlock() {
    const CZmn_Inf& z = m_doc.m_zmn;
    const CTyd_Inf& info = m_doc.m_info;
    const double W = m_sheet.Width(), H = m_sheet.Height();
    CPlotWriter& w = m_writer;

    Text(W / 70.0, H + 1.0, 8.0, PlotFigureTitle(z), 0.0, kLayerFrame);
    w.WritePlotLL(0.0, 0.0, 0, 1, kLayerFrame);
    w.WritePlotLL(W, 0.0, 1, 1, kLayerFrame);
    w.WritePlotLL(W, H + 10.0, 1, 1, kLayerFrame);
    w.WritePlotLL(0.0, H + 10.0, 2, 1, kLayerFrame);
    w.WritePlotDL(0.0, H, W, H, kLayerFrame);

    if (ShowsWaveConditions(z)) {
        for (const double x : {W - 38.0, W - 76.0, W - 114.0}) w.WritePlotDL(x, H + 10.0, x, H, kLayerFrame);
        std::string dir;
        if (info.m_nDirMode == 0) {
            const bool named = info.m_nDir16 >= 1 && info.m_nDir16 <= 15;
            dir = std::string("波向：") + (named ? kCompass[info.m_nDir16] : "N");
        } else {
            dir = Sprintf("波向：N%2.1fﾟ", info.m_dDirAngle);
        }
        Text(W - 114.0 + 2.0, H + 3.0, 4.0, dir, 0.0, kLayerFrame);
        Text(W - 76.0 + 2.0, H + 3.0, 4.0, Sprintf("周期Ｔ\\d０＝%6.2f秒", info.m_dT0), 0.0, kLayerFrame);
        Text(W - 38.0 + 2.0, H + 3.0, 4.0, Sprintf("Ｓmax ＝%5.1f", info.m_dSmax), 0.0, kLayerFrame);
    }

    if (z.m_bDrawFileName == 1) {
        // The document's own name without its extension; the folders it lies in (which may
        // hold dots of their own) are no part of it.
        const std::string name = FileNameOf(m_doc.GetPathName());
        const std::size_t dot = name.rfind('.');
        const std::string title = dot == std::string::npos ? std::string() : name.substr(0, dot);
        // The version goes in as the bytes of "SYSVER.DAT"; only our own texts are converted.
        const std::string bracketed = Utf8ToCp932("[" + title + "]");
        const std::string label = m_src.versionCp932.empty()
                                      ? bracketed
                                      : "V" + m_src.versionCp932 + Utf8ToCp932("－") + bracketed;
        w.WritePlotVJ(W / 70.0, H + 11.0, 3.0, 3.0, label, 0.0, kLayerFrame);
    }

    const long long S = z.m_nScale;
    if (z.m_nScaleStyle == 0) {
        static const char* const kWide[10] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        std::string text = "Ｓｃａｌｅ　１：";
        for (const char c : std::to_string(S)) {
            if (c >= '0' && c <= '9') text += kWide[c - '0'];
            else text += c;
        }
        const std::string bytes = Utf8ToCp932(text);
        const double L = static_cast<double>(bytes.size());
        w.WritePlotVJ(W - (2.5 * L + 5.0), 6.5, 5.0, 5.0, bytes, 0.0, kLayerFrame);
        return;
    }
    // The bar: the world length of about 40 mm rounded to one significant digit.
    long long n = static_cast<long long>(40.0 + 0.1) * S;
    if (n <= 0) return;
    auto digits = [](long long v) { return static_cast<int>(std::floor(std::log10(v + 0.0001))) + 1; };
    int d = digits(n);
    long long p = 1;
    for (int i = 1; i < d; ++i) p *= 10;
    const long long q = n / p, r = n % p;
    double len = 40.0;
    if (r != 0) {
        n = r >= p / 2 ? (q + 1) * p : q * p;
        d = digits(n);
        len = static_cast<double>(n) / static_cast<double>(S);
    }
    const char* unit = "mm";
    if (d >= 7) {
        n /= 1000000;
        unit = "km";
    } else if (d >= 4) {
        n /= 1000;
        unit = "m";
    }
    w.WritePlotLL(W - len - 10.0, 11.0, 0, 0, kLayerFrame);
    w.WritePlotLL(W - len - 10.0, 7.0, 1, 0, kLayerFrame);
    w.WritePlotLL(W - 10.0, 7.0, 1, 0, kLayerFrame);
    w.WritePlotLL(W - 10.0, 11.0, 2, 0, kLayerFrame);
    const std::string text = std::to_string(n) + unit;
    const double L = static_cast<double>(text.size());
    w.WritePlotVJ(W - (len / 2.0 + 10.0 + 1.5 * L / 2.0), 8.0, 3.0, 3.0, text, 0.0, kLayerFrame);
}

// ---- North mark and incident-direction mark ----

bool CPlotComposer::MarkOnSheet(CPointD pos, const WorldBox& box, double* X, double* Y) const {
    if (IsUnset(pos)) return false;
    if (!box.Contains(pos.m_dX, pos.m_dY)) return false;
    m_sheet.WorldToSheet(pos.m_dX, pos.m_dY, X, Y);
    return m_sheet.InFrame(*X, *Y);
}

void CPlotComposer::PlotNorthMark(const WorldBox& box) {
    double X = 0.0, Y = 0.0;
    if (!MarkOnSheet(m_doc.m_zmn.m_ptNorthMark, box, &X, &Y)) return;
    const double alpha = m_sheet.AngleDeg();
    double a = 360.0 - (m_src.tikInf->m_dNorth - 90.0);
    if (a > 359.99999) a -= 360.0;
    const double t = a * kPi / 180.0 + alpha * kPi / 180.0;
    const double ux = std::sin(t), uy = std::cos(t);  // along the arrow
    const double vx = std::cos(t), vy = -std::sin(t);  // across it
    CPlotWriter& w = m_writer;
    w.WritePlotGC(X - 6.0, Y, X, Y, X - 6.0, Y, 1, kLayerNorth);
    w.WritePlotDL(X - 12.0 * vx, Y - 12.0 * vy, X + 12.0 * vx, Y + 12.0 * vy, kLayerNorth);
    const double tx = X + 26.0 * ux, ty = Y + 26.0 * uy;
    w.WritePlotDL(X - 22.0 * ux, Y - 22.0 * uy, tx, ty, kLayerNorth);
    const double hx = X + 19.0 * ux - 3.0 * vx, hy = Y + 19.0 * uy - 3.0 * vy;
    w.WritePlotDL(tx, ty, hx, hy, kLayerNorth);
    w.WritePlotDL(hx, hy, X + 15.0 * ux + 3.0 * vx, Y + 15.0 * uy + 3.0 * vy, kLayerNorth);
    const double psi = 360.0 - std::fmod(alpha + a + 0.000001, 360.0);
    const double phi = psi * kPi / 180.0;
    Text(tx - std::cos(phi), ty - std::sin(phi), 4.0, "N", psi, kLayerNorth);
}

void CPlotComposer::PlotWaveMark(const WorldBox& box) {
    const CTyd_Inf& info = m_doc.m_info;
    const double north = m_src.tikInf->m_dNorth;
    double delta = 0.0;
    if (info.m_nDirMode == 0) delta = -north + 22.5 * info.m_nDir16;
    else if (info.m_nDirMode == 1) delta = -north - info.m_dDirAngle;
    else delta = -north + info.m_dDirAngle;
    delta = delta * kPi / 180.0 + m_sheet.AngleDeg() * kPi / 180.0;
    const std::string text = Sprintf("H\\d0=%3.2fm", info.m_dH0);
    double X = 0.0, Y = 0.0;
    if (!MarkOnSheet(m_doc.m_zmn.m_ptWaveMark, box, &X, &Y)) return;
    const double tx = X + 21.0 * std::cos(delta), ty = Y - 21.0 * std::sin(delta);
    m_writer.WritePlotAH(tx, ty, X, Y, 3.0, 2.0, 10, kLayerWave);
    const bool tailRight = tx > X;
    double lx = 0.0, ly = 0.0, angle = 0.0;
    CalcLabelPos(tailRight ? X : tx, tailRight ? Y : ty, tailRight ? tx : X, tailRight ? ty : Y, 0.0, 2,
                 static_cast<int>(text.size()), 1.5, 1.5, &lx, &ly, &angle);
    m_writer.WritePlotVJ(lx, ly, 3.0, 3.0, text, angle, kLayerWave);
}

// ---- Chains: depth lines, depth check ----

void CPlotComposer::ChainEndLabel(CPointD e, CPointD f, double value, int layer) {
    const std::string text = Sprintf("%2.1f", value);
    const int L = static_cast<int>(text.size());
    double x = 0.0, y = 0.0, angle = 0.0;
    // The text reads from left to right whichever end it stands at.
    if (e.m_dX < f.m_dX)
        CalcLabelOffset(e.m_dX, e.m_dY, f.m_dX, f.m_dY, 0, L, 1.0, -1.0, &x, &y, &angle);
    else
        CalcLabelOffset(f.m_dX, f.m_dY, e.m_dX, e.m_dY, 1, L, 1.0, -1.0, &x, &y, &angle);
    m_writer.WritePlotVJ(x, y, 2.0, 2.0, text, angle, layer);
}

void CPlotComposer::PlotTerrainLines(const WorldBox& box) {
    const CZmn_Inf& z = m_doc.m_zmn;
    const CLine& lines = *m_src.lines;
    SheetGraph graph(2);
    for (int slot = 0; slot < lines.GetSlotCount(); ++slot) {
        const CLineZokusei line = lines.GetAt(slot);
        if (line.GetState() < 0) continue;
        const int kind = line.GetKind();
        if (!((z.m_bDrawContour != 0 || kind == kLineTerrain) && (z.m_bDrawLandGrid != 1 || kind != kLineTerrain) &&
              (kind == kLineTerrain || kind == kLineDepth)))
            continue;
        const CPointD p1 = line.GetStartPos(), p2 = line.GetEndPos();
        if (!box.Reaches(p1.m_dX, p1.m_dY, p2.m_dX, p2.m_dY)) continue;
        Seg raw{};
        m_sheet.WorldToSheet(p1.m_dX, p1.m_dY, &raw.x1, &raw.y1);
        m_sheet.WorldToSheet(p2.m_dX, p2.m_dY, &raw.x2, &raw.y2);
        Seg s = raw;
        const int r = ClipToFrame(m_sheet, s);
        if (r < 0) continue;
        m_writer.WritePlotDL(s.x1, s.y1, s.x2, s.y2, kind == kLineTerrain ? kLayerTerrain : kLayerDepthLines);
        if (kind != kLineDepth || z.m_bDrawContourValue == 0) continue;
        const int a = (r & 1) || line.GetStartIndex() < 0 ? graph.NewVertex(s.x1, s.y1)
                                                            : graph.PointVertex(line.GetStartIndex(), raw.x1, raw.y1);
        const int b = (r & 2) || line.GetEndIndex() < 0 ? graph.NewVertex(s.x2, s.y2)
                                                          : graph.PointVertex(line.GetEndIndex(), raw.x2, raw.y2);
        graph.AddSegment(a, b, line.GetDepth());
    }
    if (graph.VertexCount() == 0 || graph.SegmentCount() == 0) return;
    graph.Link();
    WalkChains(graph, ChainRule::Plain, [&](const SheetChain& c) {
        ChainEndLabel(graph.Vertex(c.vertices[0]), graph.Vertex(c.vertices[1]), graph.Value(c.segments[0]),
                      kLayerDepthLines);
        if (c.openEnd) {
            const std::size_t n = c.vertices.size();
            ChainEndLabel(graph.Vertex(c.vertices[n - 1]), graph.Vertex(c.vertices[n - 2]),
                          graph.Value(c.segments.back()), kLayerDepthLines);
        }
    });
}

void CPlotComposer::PlotLandCells() {
    if (m_doc.m_info.m_nCalcState == 0) return;
    const CDigitalMap& mesh = m_doc.m_mesh;
    const double W = m_sheet.Width(), H = m_sheet.Height();
    const CPointD origin = m_doc.m_calcArea.GetOrigin();
    double X0 = 0.0, Y0 = 0.0;
    m_sheet.WorldToSheet(origin.m_dX, origin.m_dY, &X0, &Y0);
    if (X0 > W || Y0 > H) return;
    const double k = m_doc.m_calcArea.GetMeshSize() * 1000.0 / m_sheet.Scale();
    CPlotWriter& w = m_writer;
    for (int i = 0; i + 1 < mesh.GetMeshCountY(); ++i) {
        const double y0 = Y0 + i * k, y1 = Y0 + (i + 1) * k;
        if (y0 < 0.0 || y1 < 0.0) continue;
        if (y0 > H || y1 > H) return;
        for (int j = 0; j + 1 < mesh.GetMeshCountX(); ++j) {
            const double x0 = X0 + j * k, x1 = X0 + (j + 1) * k;
            // The cell is land when its lower-left node is.
            if (!(mesh.GetAt(mesh.GetNodeIndex(i, j)).GetDepth() <= 0.0001)) continue;
            if (x0 < 0.0 || x1 < 0.0) continue;
            if (x0 > W || x1 > W) break;
            w.WritePlotDL(x0, y0, x1, y1, kLayerLandCells);
            w.WritePlotDL(x0, y1, x1, y0, kLayerLandCells);
            w.WritePlotLL(x0, y1, 0, 1, kLayerLandCells);
            w.WritePlotLL(x0, y0, 1, 1, kLayerLandCells);
            w.WritePlotLL(x1, y0, 1, 1, kLayerLandCells);
            w.WritePlotLL(x1, y1, 2, 1, kLayerLandCells);
        }
    }
}

void CPlotComposer::PlotDepthCheck(const WorldBox& box) {
    const CHCheckPoint& pts = m_doc.m_hcheckPoints;
    const CHCheckLine& segs = m_doc.m_hcheckLines;
    if (pts.GetCount() <= 0 || segs.GetCount() <= 0) return;
    SheetGraph graph(32);
    for (int s = 0; s < segs.GetCount(); ++s) {
        const int ia = segs.GetStart(s), ib = segs.GetEnd(s);
        const CPointF pa = pts.GetPoint(ia), pb = pts.GetPoint(ib);
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        m_sheet.MeshToWorld(pa.m_fX, pa.m_fY, &x1, &y1);
        m_sheet.MeshToWorld(pb.m_fX, pb.m_fY, &x2, &y2);
        if (!box.Reaches(x1, y1, x2, y2)) continue;
        Seg raw{};
        m_sheet.WorldToSheet(x1, y1, &raw.x1, &raw.y1);
        m_sheet.WorldToSheet(x2, y2, &raw.x2, &raw.y2);
        Seg c = raw;
        const int r = ClipToFrame(m_sheet, c);
        if (r < 0) continue;
        m_writer.WritePlotDL(c.x1, c.y1, c.x2, c.y2, kLayerDepthCheck);
        const int a = (r & 1) || ia < 0 ? graph.NewVertex(c.x1, c.y1) : graph.PointVertex(ia, raw.x1, raw.y1);
        const int b = (r & 2) || ib < 0 ? graph.NewVertex(c.x2, c.y2) : graph.PointVertex(ib, raw.x2, raw.y2);
        graph.AddSegment(a, b, pts.GetValue(ia));
    }
    if (graph.SegmentCount() == 0) return;
    graph.Link();
    WalkChains(graph, ChainRule::Junction, [&](const SheetChain& c) {
        const std::size_t n = c.vertices.size();
        if (c.openStart)
            ChainEndLabel(graph.Vertex(c.vertices[0]), graph.Vertex(c.vertices[1]), graph.Value(c.segments[0]),
                          kLayerDepthCheck);
        if (c.openEnd) {
            ChainEndLabel(graph.Vertex(c.vertices[n - 1]), graph.Vertex(c.vertices[n - 2]),
                          graph.Value(c.segments.back()), kLayerDepthCheck);
        } else if (c.stopSegment == c.segments[0]) {
            // A closed ring: one label where the walk came round to its first segment.
            const int at = c.vertices[n - 1];
            ChainEndLabel(graph.Vertex(at), graph.Vertex(graph.Other(c.stopSegment, at)),
                          graph.Value(c.stopSegment), kLayerDepthCheck);
        }
    });
}

// ---- Digital maps ----

template <class Flag, class Value>
void CPlotComposer::PlotDigitalMap(const WorldBox& box, int layer, Flag flag, Value value, const char* format,
                                   double h, double k) {
    const CDigitalMap& mesh = m_doc.m_mesh;
    for (int i = 0; i < mesh.GetCount(); ++i) {
        if (flag(i) == 0) continue;
        const CCalValue cv = mesh.GetAt(i);
        double v = 0.0;
        if (!value(cv, &v)) continue;
        double x = 0.0, y = 0.0, X = 0.0, Y = 0.0;
        m_sheet.MeshToWorld(cv.GetPos().m_fX, cv.GetPos().m_fY, &x, &y);
        if (!box.Contains(x, y)) continue;
        m_sheet.WorldToSheet(x, y, &X, &Y);
        if (!m_sheet.InFrame(X, Y)) continue;
        m_writer.WritePlotAP(X, Y, 0.3, 21, layer);
        const std::string text = Sprintf(format, v);
        const double L = static_cast<double>(text.size());
        m_writer.WritePlotVJ(X - (L - k) * h / 2.0, Y + 0.5, h, h, text, 0.0, layer);
    }
}

void CPlotComposer::PlotDepthMap(const WorldBox& box) {
    const CDigitalMap& mesh = m_doc.m_mesh;
    PlotDigitalMap(
        box, kLayerDepthMap, [&](int i) { return mesh.GetDepthFlag(i); },
        [](const CCalValue& cv, double* v) { *v = cv.GetDepth(); return true; }, "%2.1f",
        m_doc.m_zmn.m_dMapTextSize, 1.75);
}

void CPlotComposer::PlotDirectionMap(const WorldBox& box) {
    const CDigitalMap& mesh = m_doc.m_mesh;
    const double north = m_src.tikInf->m_dNorth, alpha = m_sheet.AngleDeg();
    const int mode = m_doc.m_info.m_nDirMode, sense = m_doc.m_info.m_nOutDirSense;
    PlotDigitalMap(
        box, kLayerDirMap, [&](int i) { return mesh.GetDirFlag(i); },
        [&](const CCalValue& cv, double* v) {
            *v = ShownDirection(cv.GetDirection(), north, alpha, mode, sense);
            return true;
        },
        "%2.1f", m_doc.m_zmn.m_dDirTextSize, 1.75);
}

void CPlotComposer::PlotResultMap(const WorldBox& box) {
    const CDigitalMap& mesh = m_doc.m_mesh;
    const int kind = m_doc.m_zmn.m_nValueType;
    const double h0 = mesh.GetWaveHeight();
    PlotDigitalMap(
        box, kLayerResultMap, [&](int i) { return mesh.GetHeightFlag(i); },
        [&](const CCalValue& cv, double* v) {
            *v = cv.GetValue(kind, h0);
            return !(*v < 0.0);  // below 0: the node has no result
        },
        "%3.2f", m_doc.m_zmn.m_dMapTextSize, 2.75);
}

// ---- Result contours ----

void CPlotComposer::PlotResultContours(const WorldBox& box) {
    const CZmn_Inf& z = m_doc.m_zmn;
    const CContGroup& group = m_doc.m_contGroup;
    const int layer = (z.m_bColorContour == 1 && z.m_nContourColor == 1) ? kLayerWhiteContours : kLayerContours;
    const double h = z.m_dContTextSize;

    // The segment from point j - 1 to j of a polyline, on the sheet (raw) and clipped to
    // the frame; false when it misses the box or the frame.
    auto sheetSegment = [&](int i, int j, Seg& raw, Seg& clipped, int& moved) {
        const CPointF a = group.GetPoint(i, j - 1).m_point, b = group.GetPoint(i, j).m_point;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        m_sheet.MeshToWorld(a.m_fX, a.m_fY, &x1, &y1);
        m_sheet.MeshToWorld(b.m_fX, b.m_fY, &x2, &y2);
        if (!box.Reaches(x1, y1, x2, y2)) return false;
        m_sheet.WorldToSheet(x1, y1, &raw.x1, &raw.y1);
        m_sheet.WorldToSheet(x2, y2, &raw.x2, &raw.y2);
        clipped = raw;
        moved = ClipToFrame(m_sheet, clipped);
        return moved >= 0;
    };

    for (int i = 0; i < group.GetCount(); ++i) {
        const int n = group.GetPointCount(i);
        SheetGraph graph(2);
        for (int j = 1; j < n; ++j) {
            const CContPoint from = group.GetPoint(i, j - 1);
            if (from.m_nLine == 0 || from.m_nLabel == 1) continue;  // erased, or a label's gap
            Seg raw{}, c{};
            int r = 0;
            if (!sheetSegment(i, j, raw, c, r)) continue;
            const int a = (r & 1) ? graph.NewVertex(c.x1, c.y1) : graph.PointVertex(j - 1, raw.x1, raw.y1);
            int b = -1;
            if (r & 2) {
                b = graph.NewVertex(c.x2, c.y2);
            } else if (j == n - 1 && graph.FindPointVertex(0) == 0 &&
                       std::fabs(raw.x2 - graph.Vertex(0).m_dX) <= 0.001 &&
                       std::fabs(raw.y2 - graph.Vertex(0).m_dY) <= 0.001) {
                b = 0;  // the contour comes back to its first point: a ring
            } else {
                b = graph.PointVertex(j, raw.x2, raw.y2);
            }
            graph.AddSegment(a, b, group.GetLevel(i));
        }
        if (graph.SegmentCount() == 0) continue;
        graph.Link();
        WalkChains(graph, ChainRule::Plain, [&](const SheetChain& chain) {
            std::vector<int> list{chain.vertices[0]};
            for (std::size_t k = 1; k < chain.vertices.size(); ++k) {
                const CPointD p = graph.Vertex(chain.vertices[k]), last = graph.Vertex(list.back());
                if (std::fabs(p.m_dX - last.m_dX) > 0.001 || std::fabs(p.m_dY - last.m_dY) > 0.001)
                    list.push_back(chain.vertices[k]);
            }
            const bool ring = !chain.openEnd;
            // The closing line of a ring goes back to its first vertex; it is not repeated.
            if (ring && list.size() > 1 && list.back() == list.front()) list.pop_back();
            if (list.size() < 2) return;
            for (std::size_t k = 0; k < list.size(); ++k) {
                const CPointD p = graph.Vertex(list[k]);
                const int pen = k == 0 ? 0 : k + 1 == list.size() ? 2 : 1;
                m_writer.WritePlotLL(p.m_dX, p.m_dY, pen, ring ? 1 : 0, layer);
            }
        });
    }

    for (int i = 0; i < group.GetCount(); ++i) {
        const int n = group.GetPointCount(i);
        for (int j = 1; j < n; ++j) {
            const CContPoint from = group.GetPoint(i, j - 1);
            if (from.m_nLine == 0 || from.m_nLabel != 1) continue;
            Seg raw{}, c{};
            int r = 0;
            if (!sheetSegment(i, j, raw, c, r)) continue;
            const std::string text = Sprintf("%3.2f", group.GetLevel(i));
            const bool startLeft = c.x1 <= c.x2;
            double x = 0.0, y = 0.0, angle = 0.0;
            CalcLabelPos(startLeft ? c.x1 : c.x2, startLeft ? c.y1 : c.y2, startLeft ? c.x2 : c.x1,
                         startLeft ? c.y2 : c.y1, 0.0, 2, static_cast<int>(text.size()), h / 2.0, -h / 2.0, &x, &y,
                         &angle);
            m_writer.WritePlotVJ(x, y, h, h, text, angle, layer);
        }
    }
}

// ---- Direction arrows and output points ----

void CPlotComposer::PlotDirectionArrows(const WorldBox& box) {
    const CZmn_Inf& z = m_doc.m_zmn;
    const CDigitalMap& mesh = m_doc.m_mesh;
    const int kind = z.m_nValueType;
    if (kind < 0 || kind >= kValueTypes) return;
    double vmin = z.m_dVectorLow[kind], vmax = z.m_dVectorHigh[kind];
    if (vmin > vmax) std::swap(vmin, vmax);
    double lmin = z.m_dVectorMin, lmax = z.m_dVectorMax;
    if (lmin > lmax) std::swap(lmin, lmax);
    const double h0 = mesh.GetWaveHeight();
    for (int i = 0; i < mesh.GetCount(); ++i) {
        if (mesh.GetVectorFlag(i) == 0) continue;
        const CCalValue cv = mesh.GetAt(i);
        const double v = cv.GetValue(kind, h0);
        if (!(vmin - 0.0000001 <= v && v <= vmax + 0.0000001)) continue;
        double x = 0.0, y = 0.0, X = 0.0, Y = 0.0;
        m_sheet.MeshToWorld(cv.GetPos().m_fX, cv.GetPos().m_fY, &x, &y);
        if (!box.Contains(x, y)) continue;
        m_sheet.WorldToSheet(x, y, &X, &Y);
        if (!m_sheet.InFrame(X, Y)) continue;
        // A flat display range maps every value onto the shortest arrow, as on the screen.
        const double c = vmax > vmin ? lmin + (v - vmin) / (vmax - vmin) * (lmax - lmin) : lmin;
        if (!(c >= 0.5)) continue;
        const double d = cv.GetDirection() * kPi / 180.0;
        const double ux = std::sin(d), uy = std::cos(d);
        m_writer.WritePlotAH(X + c / 2.0 * ux, Y + c / 2.0 * uy, X - c / 2.0 * ux, Y - c / 2.0 * uy, c / 3.0,
                             c / 3.0, 10, kLayerArrows);
    }
}

void CPlotComposer::UpdateCalcPointValues() { UpdateCalcPointResults(m_view, m_sheet.AngleDeg()); }

void CPlotComposer::PlotCalcPoints(const WorldBox& box) {
    UpdateCalcPointValues();
    const CZmn_Inf& z = m_doc.m_zmn;
    const CSansyutu& points = *m_src.calcPoints;
    for (int slot = 0; slot < points.GetSize(); ++slot) {
        const CSansyutuZokusei p = points.GetAt(slot);
        if (p.GetUse() == 0) continue;
        const CPointD pos = p.GetPos();
        if (!box.Contains(pos.m_dX, pos.m_dY)) continue;
        double X = 0.0, Y = 0.0;
        m_sheet.WorldToSheet(pos.m_dX, pos.m_dY, &X, &Y);
        if (!m_sheet.InFrame(X, Y)) continue;
        m_writer.WritePlotAP(X, Y, 3.0, 21, kLayerCalcPoints);
        m_writer.WritePlotVJ(X + 2.0, Y - 1.5, 3.0, 3.0, p.GetName(), 0.0, kLayerCalcPoints);

        const std::size_t s = static_cast<std::size_t>(slot);
        const CPointD q = s < m_doc.m_pCalcPoints.size() ? m_doc.m_pCalcPoints[s] : CPointD::Unset();
        const double value = s < m_view.m_pCalcPtValue.size() ? m_view.m_pCalcPtValue[s] : kNoValue;
        const double dir = s < m_view.m_pCalcPtDir.size() ? m_view.m_pCalcPtDir[s] : kNoDirection;
        const bool hasValue = value <= 99999999.9, hasDir = dir <= 990.0;
        if (!(q.m_dX <= 99999999.9 || q.m_dY <= 99999999.9) || !(hasValue || hasDir)) continue;
        if (!box.Contains(q.m_dX, q.m_dY)) continue;
        double QX = 0.0, QY = 0.0;
        m_sheet.WorldToSheet(q.m_dX, q.m_dY, &QX, &QY);
        if (!m_sheet.InFrame(QX, QY)) continue;

        m_writer.WritePlotVJ(QX, QY + 5.0, 4.0, 4.0, Utf8ToCp932("算出－") + p.GetName(), 0.0, kLayerCalcPoints);
        static const char* const kPrefix[4] = {"H\\d1\\d/\\d3=", "H\\d1\\d/\\d3/H\\d0=", "H\\d0'=", "H\\d0'/H\\d0="};
        const int kind = z.m_nValueType;
        std::string line = kPrefix[kind >= 0 && kind <= 2 ? kind : 3];
        const double v = hasValue ? value : 0.0;
        // A stored count beyond what a double can show says nothing more.
        const int decimals = std::min(z.m_nDecimals, 15);
        if (decimals < 1) line += Sprintf("%2d", DoubleToInt(v));
        else line += Sprintf("%*.*f", decimals + 3, decimals, v);
        if (kind == 0 || kind == 2) line += "m";
        line += ",N" + FormatShownDirection(hasDir ? dir : 0.0) + "ﾟ";
        m_writer.WritePlotVJ(QX, QY, 4.0, 4.0, Utf8ToCp932(line), 0.0, kLayerCalcPoints);
    }
}

}  // namespace wv
