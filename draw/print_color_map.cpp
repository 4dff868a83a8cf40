#include "draw/print_color_map.h"

#include "calc/calc_state.h"
#include "core/geometry.h"
#include "draw/color_map.h"
#include "draw/plot_sheet.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// Sea nodes the solver gave no value.
constexpr COLORREF kNoValueColor = RGB(160, 82, 45);

int Dev(double v) {
    constexpr double kBound = 1073741824.0;  // 2^30: far beyond any sheet, safe to clip
    if (!(v > -kBound)) return -1073741824;
    if (!(v < kBound)) return 1073741824;
    return static_cast<int>(v);
}

// An index from a double that may be far outside any grid.
int ClampIndex(double v, int lo, int hi) {
    if (!(v > lo)) return lo;
    if (!(v < hi)) return hi;
    return static_cast<int>(v);
}

// The figure composition's sheet (mesh frame -> world -> sheet millimetres), then the
// printer's (sheet -> device). The mesh axes stay parallel to the sheet's.
class Sheet {
public:
    Sheet(const PrintMapping& map, const CTydDocData& doc, double angle) : m_map(map), m_sheet(doc, angle) {}

    void WorldToSheet(double x, double y, double* X, double* Y) const { m_sheet.WorldToSheet(x, y, X, Y); }
    void MeshToSheet(double u, double v, double* X, double* Y) const { m_sheet.MeshToSheet(u, v, X, Y); }
    double DevX(double X) const { return m_map.PlotToDevX(X + m_map.m_dSheetOffsetX); }
    double DevY(double Y) const { return m_map.PlotToDevY(Y + m_map.m_dSheetOffsetY); }
    CPoint DevPoint(double X, double Y) const { return CPoint{Dev(DevX(X)), Dev(DevY(Y))}; }

    double Width() const { return m_sheet.Width(); }
    double Height() const { return m_sheet.Height(); }
    const PrintMapping& Map() const { return m_map; }

private:
    const PrintMapping& m_map;
    PlotSheet m_sheet;
};

bool Meets(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// White over the parts of the printable area (widened by `extra` device units) that lie
// outside the frame, so no fill shows beyond it.
void MaskOutsideFrame(const Sheet& sheet, CDC& dc, int extra) {
    const CRect& clip = sheet.Map().m_rcPrintClip;
    const int l = clip.left - extra, t = clip.top - extra, r = clip.right + extra, b = clip.bottom + extra;
    const int fl = Dev(sheet.DevX(0.0)), fr = Dev(sheet.DevX(sheet.Width()));
    const int ft = Dev(sheet.DevY(sheet.Height())), fb = Dev(sheet.DevY(0.0));
    auto fill = [&](int x0, int y0, int x1, int y1) {
        if (x1 > x0 && y1 > y0) dc.FillSolidRect(x0, y0, x1 - x0, y1 - y0, kWhite);
    };
    fill(l, t, std::min(fl, r), b);          // left of the frame
    fill(std::max(fr, l), t, r, b);          // right of it
    fill(fl, t, fr, std::min(ft, b));        // above
    fill(fl, std::max(fb, t), fr, b);        // below
}

// One cell of the mesh and its corner values; corner 0 (r, c), 1 (r+1, c), 2 (r, c+1),
// 3 (r+1, c+1), row r+1 lying at larger y.
struct Cell {
    double z[4];
    bool valid[4];
    int missing = -1;  // the one corner without a value, for a three-corner cell
};

// The value at grid point (i up, j right) of a cell divided into k x k squares: bilinear
// over four corners; over three, the plane through them, which is linear along every
// valid edge and along the diagonal that cuts off the missing corner.
double GridValue(const Cell& cell, int k, int i, int j) {
    const double a = static_cast<double>(i) / k, b = static_cast<double>(j) / k;
    const double* z = cell.z;
    switch (cell.missing) {
    case 3: return z[0] + (z[1] - z[0]) * a + (z[2] - z[0]) * b;
    case 0: return z[1] + z[2] - z[3] + (z[3] - z[2]) * a + (z[3] - z[1]) * b;
    case 1: return z[0] + (z[3] - z[2]) * a + (z[2] - z[0]) * b;
    case 2: return z[0] + (z[1] - z[0]) * a + (z[3] - z[1]) * b;
    default: {
        const double left = z[0] + (z[1] - z[0]) / k * i;
        const double right = z[2] + (z[3] - z[2]) / k * i;
        return left + (right - left) / k * j;
    }
    }
}

// Where square (i, j) lies against the diagonal of a three-corner cell: 1 wholly on the
// valid side, 0 cut by the diagonal, -1 on the missing corner's side.
int SquareSide(int missing, int k, int i, int j) {
    switch (missing) {
    case 3: return i + j <= k - 2 ? 1 : (i + j == k - 1 ? 0 : -1);
    case 0: return i + j >= k ? 1 : (i + j == k - 1 ? 0 : -1);
    case 1: return j > i ? 1 : (j == i ? 0 : -1);
    case 2: return i > j ? 1 : (i == j ? 0 : -1);
    default: return 1;
    }
}

// The valid half of a square cut by the diagonal, as grid points (i, j).
void HalfSquare(int missing, int i, int j, int pts[3][2]) {
    const int v[4][3][2] = {
        {{i + 1, j}, {i, j + 1}, {i + 1, j + 1}},  // missing 0: the half towards corner 3
        {{i, j}, {i, j + 1}, {i + 1, j + 1}},      // missing 1: below the 0-3 diagonal
        {{i, j}, {i + 1, j}, {i + 1, j + 1}},      // missing 2: above it
        {{i, j}, {i + 1, j}, {i, j + 1}},          // missing 3: towards corner 0
    };
    for (int p = 0; p < 3; ++p) {
        pts[p][0] = v[missing][p][0];
        pts[p][1] = v[missing][p][1];
    }
}

struct ColorMapContext {
    const Sheet& sheet;
    const CDigitalMap& mesh;
    CDC& dc;
    double breaks[5];
    double spacing;  // mesh spacing, m
    double sheetStep;  // mesh spacing on the sheet, mm
    int k;
};

void PrintCell(const ColorMapContext& cm, int r, int c, const Cell& cell) {
    const Sheet& sheet = cm.sheet;
    const int k = cm.k;
    const double q = cm.sheetStep / k;  // side of a sub-square, mm
    double X0 = 0.0, Y0 = 0.0;
    sheet.MeshToSheet(c * cm.spacing, r * cm.spacing, &X0, &Y0);
    const double W = sheet.Width(), H = sheet.Height();
    // Only the sub-squares that meet the frame are visited, however finely a large-scale
    // figure divides its cells.
    const int jlo = ClampIndex(std::floor(-X0 / q) - 1, 0, k - 1);
    const int jhi = ClampIndex(std::ceil((W - X0) / q) + 1, 0, k - 1);
    const int ilo = ClampIndex(std::floor(-Y0 / q) - 1, 0, k - 1);
    const int ihi = ClampIndex(std::ceil((H - Y0) / q) + 1, 0, k - 1);
    const PrintMapping& map = sheet.Map();
    const double wd = q * map.m_dDevPerMmX + 3.0, hd = q * map.m_dDevPerMmY + 3.0;
    for (int i = ilo; i <= ihi; ++i) {
        const double Yc = Y0 + (i + 0.5) * q;
        if (!(Yc + q / 2 > 0.0 && Yc - q / 2 < H)) continue;
        for (int j = jlo; j <= jhi; ++j) {
            const double Xc = X0 + (j + 0.5) * q;
            if (!(Xc + q / 2 > 0.0 && Xc - q / 2 < W)) continue;
            const int side = SquareSide(cell.missing, k, i, j);
            if (side < 0) continue;
            if (side > 0) {
                const double mean = (GridValue(cell, k, i, j) + GridValue(cell, k, i + 1, j) +
                                     GridValue(cell, k, i, j + 1) + GridValue(cell, k, i + 1, j + 1)) / 4.0;
                cm.dc.FillSolidRect(Dev(sheet.DevX(Xc) - wd / 2), Dev(sheet.DevY(Yc) - hd / 2), Dev(wd),
                                    Dev(hd), GetRampColor(mean, cm.breaks, 1));
                continue;
            }
            int pts[3][2];
            HalfSquare(cell.missing, i, j, pts);
            CPoint dev[3];
            double sum = 0.0;
            for (int p = 0; p < 3; ++p) {
                sum += GridValue(cell, k, pts[p][0], pts[p][1]);
                dev[p] = sheet.DevPoint(X0 + pts[p][1] * q, Y0 + pts[p][0] * q);
            }
            const COLORREF color = GetRampColor(sum / 3.0, cm.breaks, 1);
            ScopedPen pen(cm.dc, CPen(PS_SOLID, 1, color));
            ScopedBrush brush(cm.dc, CBrush(color));
            cm.dc.Polygon(dev, 3);
        }
    }
}

void PrintLegend(PlotRenderer& renderer, const Sheet& sheet, CDC& dc, double low, double high) {
    const PrintMapping& map = sheet.Map();
    ScopedBkColor bk(dc, kWhite);
    const double W = sheet.Width();
    const double size = map.PlotToDevLen(3.0);
    const double labels[3][2] = {{W - 58.5, low}, {W - 37.75, (low + high) / 2.0}, {W - 17.0, high}};
    for (const auto& l : labels)
        renderer.PrintTextChars(sheet.DevX(l[0]), sheet.DevY(-4.0), size, size, Sprintf("%3.2f", l[1]),
                                0.0, 0, dc);
    renderer.ReleasePlotFont(dc);
    const CRect& clip = map.m_rcPrintClip;
    const int top = Dev(sheet.DevY(-4.0)), bottom = Dev(sheet.DevY(-7.0));
    if (top < clip.top || bottom > clip.bottom) return;
    const int width = Dev(map.m_dDevPerMmX + 3.0);
    for (int slice = 0; slice <= 40; ++slice) {
        const int left = Dev(sheet.DevX(W - 55.5 + slice));
        if (left >= clip.right || left + width <= clip.left) continue;
        dc.FillSolidRect(left, top, width, bottom - top, ColorBarSlice(slice));
    }
}

}  // namespace

int ColorMapSubdivision(double sheetSpacingMm) {
    if (!(sheetSpacingMm > 1.0)) return 1;
    const double k = sheetSpacingMm / 1.0 + 0.5;
    return k >= 1.0e9 ? 1000000000 : static_cast<int>(k);
}

COLORREF ColorBarSlice(int slice) {
    static constexpr int a[10] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 230};
    if (slice <= 0) return RGB(0, 0, 255);
    if (slice < 10) return RGB(0, a[slice], 255);
    if (slice == 10) return RGB(0, 255, 255);
    if (slice < 20) return RGB(0, 255, a[10 - (slice - 10)]);
    if (slice == 20) return RGB(0, 255, 0);
    if (slice < 30) return RGB(a[slice - 20], 255, 0);
    if (slice == 30) return RGB(255, 255, 0);
    if (slice < 40) return RGB(255, a[10 - (slice - 30)], 0);
    return RGB(255, 0, 0);
}

COLORREF PrintLandColor(int index) {
    switch (index) {
    case 0: return RGB(255, 0, 0);
    case 1: return RGB(255, 255, 0);
    case 2: return RGB(0, 255, 0);
    case 3: return RGB(0, 255, 255);
    case 4: return RGB(0, 0, 255);
    case 5: return RGB(255, 0, 255);
    default: return RGB(0, 0, 0);
    }
}

void PrintColorMap(PlotRenderer& renderer, const PrintView& view, CDC& dc) {
    const CTydDocData& doc = view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    const CZmn_Inf& z = doc.m_zmn;
    // A scale of 0 or less has no sheet size for anything.
    if (mesh.GetCount() <= 0 || z.m_nScale <= 0) return;
    const Sheet sheet(renderer.Mapping(), doc, view.angle);
    const PrintMapping& map = renderer.Mapping();
    const CRect& clip = map.m_rcPrintClip;
    // Before the results are read in there is no map to print (every value is 0 over a
    // flat range, which the ramp paints in its top colour) and no legend; the land prints
    // as it does under a map.
    if (!HasWaveResults(doc)) {
        PrintLandFill(renderer, view, dc, z.m_bFillLand == 1 ? 1 : 0);
        return;
    }
    const int type = std::clamp(z.m_nValueType, 0, kValueTypes - 1);
    const double h0 = mesh.GetWaveHeight();

    double low = doc.m_contParaFig[static_cast<std::size_t>(type)].GetColorFrom();
    double high = doc.m_contParaFig[static_cast<std::size_t>(type)].GetColorTo();
    if (low < 0.01 && high < 0.01) {
        low = mesh.GetMinValue(type);
        high = mesh.GetMaxValue(type);
    }
    if (low > high) std::swap(low, high);
    ColorMapContext cm{sheet, mesh, dc, {}, mesh.GetMeshSize(), std::fabs(mesh.GetMeshSize() * 1000.0 / z.m_nScale), 1};
    for (int i = 0; i < 5; ++i) cm.breaks[i] = low + i * (high - low) / 4.0;
    cm.k = ColorMapSubdivision(cm.sheetStep);

    const int rows = mesh.GetMeshCountY(), cols = mesh.GetMeshCountX();
    const double W = sheet.Width(), H = sheet.Height();
    const double s = cm.sheetStep;

    if (z.m_bFillLand == 1 && rows > 0 && cols > 0) {
        double X0, Y0, X1, Y1;
        sheet.MeshToSheet(0.0, 0.0, &X0, &Y0);
        sheet.MeshToSheet((cols - 1) * cm.spacing, (rows - 1) * cm.spacing, &X1, &Y1);
        const double l = std::clamp(std::min(X0, X1), 0.0, W), r = std::clamp(std::max(X0, X1), 0.0, W);
        const double b = std::clamp(std::min(Y0, Y1), 0.0, H), t = std::clamp(std::max(Y0, Y1), 0.0, H);
        CRect rc{Dev(sheet.DevX(l)), Dev(sheet.DevY(t)), Dev(sheet.DevX(r)), Dev(sheet.DevY(b))};
        if (!rc.IsRectEmpty() && dc.RectVisible(rc)) dc.FillSolidRect(rc, PrintLandColor(z.m_nLandColor));
    }

    // Sea nodes without a value: a square twice the spacing, so the gap in the map shows.
    const double nw = 2.0 * s * map.m_dDevPerMmX + 3.0, nh = 2.0 * s * map.m_dDevPerMmY + 3.0;
    for (int n = 0; n < mesh.GetCount(); ++n) {
        const CCalValue v = mesh.GetAt(n);
        if (!(v.GetValue(type, h0) < 0.0)) continue;
        double X, Y;
        sheet.MeshToSheet(v.GetPos().m_fX, v.GetPos().m_fY, &X, &Y);
        if (X < -s || X > W + s || Y < -s || Y > H + s) continue;
        const CRect rc{Dev(sheet.DevX(X) - nw / 2), Dev(sheet.DevY(Y) - nh / 2), 0, 0};
        const CRect sq{rc.left, rc.top, rc.left + Dev(nw), rc.top + Dev(nh)};
        if (Meets(sq, clip)) dc.FillSolidRect(sq.left, sq.top, Dev(nw), Dev(nh), kNoValueColor);
    }

    auto corner = [&](int r, int c, double* value) {
        const int idx = mesh.GetNodeIndex(r, c);
        if (idx < 0) return false;
        *value = mesh.GetAt(idx).GetValue(type, h0);
        return *value >= 0.0;
    };
    for (int r = 0; r + 1 < rows; ++r) {
        double Xr, Yr;
        sheet.MeshToSheet(0.0, r * cm.spacing, &Xr, &Yr);
        if (Yr + s <= 0.0 || Yr >= H) continue;  // the row's cells do not reach into the frame
        for (int c = 0; c + 1 < cols; ++c) {
            double Xc, Yc;
            sheet.MeshToSheet(c * cm.spacing, r * cm.spacing, &Xc, &Yc);
            if (Xc + s <= 0.0 || Xc >= W) continue;
            Cell cell;
            const int rr[4] = {r, r + 1, r, r + 1}, cc[4] = {c, c, c + 1, c + 1};
            int count = 0;
            for (int q = 0; q < 4; ++q) {
                cell.valid[q] = corner(rr[q], cc[q], &cell.z[q]);
                if (cell.valid[q]) ++count;
                else cell.missing = q;
            }
            if (count < 3) continue;
            if (count == 4) cell.missing = -1;
            PrintCell(cm, r, c, cell);
        }
    }

    MaskOutsideFrame(sheet, dc, 0);
    PrintLandFill(renderer, view, dc, z.m_bFillLand == 1 ? 1 : 0);
    PrintLegend(renderer, sheet, dc, low, high);
}

void PrintLandFill(PlotRenderer& renderer, const PrintView& view, CDC& dc, int fill) {
    const CTydDocData& doc = view.doc;
    const CZmn_Inf& z = doc.m_zmn;
    if (z.m_nScale <= 0) return;
    const Sheet sheet(renderer.Mapping(), doc, view.angle);
    const PrintMapping& map = renderer.Mapping();
    const COLORREF color = fill == 1 ? PrintLandColor(z.m_nLandColor) : kWhite;
    const double W = sheet.Width(), H = sheet.Height();

    if (z.m_bDrawLandGrid == 1) {
        if (doc.m_info.m_nCalcState == 0) return;
        const CDigitalMap& mesh = doc.m_mesh;
        const double spacing = mesh.GetMeshSize();
        const double s = std::fabs(spacing * 1000.0 / z.m_nScale);
        const int wd = Dev(s * map.m_dDevPerMmX + 3.0), hd = Dev(s * map.m_dDevPerMmY + 3.0);
        for (int r = 0; r + 1 < mesh.GetMeshCountY(); ++r) {
            double X, Y;
            sheet.MeshToSheet(0.0, r * spacing, &X, &Y);
            if (Y > H) break;
            for (int c = 0; c + 1 < mesh.GetMeshCountX(); ++c) {
                sheet.MeshToSheet(c * spacing, r * spacing, &X, &Y);
                if (X > W) break;
                if (X + s < 0.0 || Y + s < 0.0) continue;
                // A land node reads as the default record, whose depth is the no-value mark.
                if (!(mesh.GetAt(mesh.GetNodeIndex(r, c)).GetDepth() <= 0.0001)) continue;
                dc.FillSolidRect(Dev(sheet.DevX(X)), Dev(sheet.DevY(Y + s)), wd, hd, color);
            }
        }
    } else {
        const CBlkXY& blocks = doc.m_blkXY;
        const CRect& clip = map.m_rcPrintClip;
        for (int b = 0; b < blocks.GetCount(); ++b) {
            const int n = blocks.GetPointCount(b);
            const CPointD* pts = blocks.GetPoints(b);
            if (n <= 3 || pts == nullptr) continue;
            std::vector<CPoint> dev(static_cast<std::size_t>(n));
            bool onDevice = false;
            for (int i = 0; i < n; ++i) {
                double X, Y;
                sheet.WorldToSheet(pts[i].m_dX, pts[i].m_dY, &X, &Y);
                dev[static_cast<std::size_t>(i)] = sheet.DevPoint(X, Y);
                const CPoint& p = dev[static_cast<std::size_t>(i)];
                if (p.x >= clip.left && p.x < clip.right && p.y >= clip.top && p.y < clip.bottom) onDevice = true;
            }
            if (!onDevice) continue;
            ScopedPen pen(dc, CPen(PS_SOLID, 1, color));
            ScopedBrush brush(dc, CBrush(color));
            dc.Polygon(dev.data(), n);
        }
    }
    MaskOutsideFrame(sheet, dc, 100);
}

}  // namespace wv
