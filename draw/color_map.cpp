#include "draw/color_map.h"

#include "calc/calc_state.h"
#include "draw/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wv {

namespace {

// Squares are placed by their centre; the halves are whole pixels.
struct SquareFiller {
    CDC* dc;
    const CCoordWnd* coord;
    CPointD origin;
    int sx, sy, w, h;
    GuardRect guard;  // client coordinates

    // A k x k square centred on the mesh-frame point, when it touches the client area.
    // Returns false when it was skipped (so the value need not be computed).
    bool Touches(double mx, double my, double k, double* X, double* Y) const {
        if (!MeshToViewD(*coord, origin, mx, my, X, Y)) return false;
        const double half = std::floor(k / 2.0);
        return *X + half - sx >= 0 && *Y + half - sy >= 0 && *X - sx - half <= w && *Y - sy - half <= h;
    }
    void Fill(double X, double Y, double k, COLORREF color) const {
        const double half = std::floor(k / 2.0);
        double l = X - sx - half, t = Y - sy - half, r = l + k, b = t + k;
        ClampPoint(l, t, guard);
        ClampPoint(r, b, guard);
        dc->FillSolidRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                          static_cast<int>(b - t), color);
    }
    // Whether any sub-square of the cell (r, c) can touch the client area: the cell's
    // corners on screen, widened by a square. A large mesh seen close up then costs only
    // its visible cells.
    bool CellMayShow(int r, int c, double meshSize, double k) const {
        double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
        for (int q = 0; q < 4; ++q) {
            double X, Y;
            if (!MeshToViewD(*coord, origin, (c + q / 2) * meshSize, (r + q % 2) * meshSize, &X, &Y)) return true;
            lo[0] = std::min(lo[0], X); hi[0] = std::max(hi[0], X);
            lo[1] = std::min(lo[1], Y); hi[1] = std::max(hi[1], Y);
        }
        return hi[0] + k - sx >= 0 && hi[1] + k - sy >= 0 && lo[0] - sx - k <= w && lo[1] - sy - k <= h;
    }
    void Square(double mx, double my, double k, COLORREF color) const {
        double X = 0, Y = 0;
        if (Touches(mx, my, k, &X, &Y)) Fill(X, Y, k, color);
    }
};

double RaiseToEven(double v) { return std::fmod(v, 2.0) != 0.0 ? v + 1.0 : v; }

}  // namespace

void MakeRampBreakpoints(double from, double to, double b[5]) {
    for (int i = 0; i < 5; ++i) b[i] = from + (to - from) / 4.0 * i;
}

COLORREF GetRampColor(double value, const double b[5], int outOfRangeWhite) {
    const COLORREF out = outOfRangeWhite != 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (std::isnan(value) || value < b[0] || value > b[4]) return out;
    int seg = 0;
    if (value > b[3] - 0.0001)
        seg = 3;
    else if (value > b[2] - 0.0001)
        seg = 2;
    else if (value > b[1] - 0.0001)
        seg = 1;
    const double va = b[seg], vb = b[seg + 1];
    int t = 255;
    if (vb - va >= 1e-12) {
        const double tt = (value - va) / (vb - va) * 255.0;
        t = tt < 0.0 ? 0 : (tt > 255.0 ? 255 : static_cast<int>(tt));
    }
    switch (seg) {
    case 0: return RGB(0, t, 255);
    case 1: return RGB(0, 255, 255 - t);
    case 2: return RGB(t, 255, 0);
    default: return RGB(255, 255 - t, 0);
    }
}

void DrawColorMap(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.doc == nullptr || view.coord == nullptr) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    // Without results every node holds 0 over a flat range, which the ramp would paint as
    // its top colour: a figure that is not there.
    if (mesh.GetCount() <= 0 || !HasWaveResults(doc)) return;
    const int kind = doc.m_zmn.m_nValueType;
    const CContPara& para = doc.m_contParaFig[static_cast<std::size_t>(kind >= 0 && kind < kValueTypes ? kind : kValueTypes - 1)];
    double from = para.GetColorFrom(), to = para.GetColorTo();
    if (from < 0.01 && to < 0.01) {
        from = mesh.GetMinValue(kind);
        to = mesh.GetMaxValue(kind);
    }
    if (from > to) std::swap(from, to);
    double B[5];
    MakeRampBreakpoints(from, to, B);

    const int cols = mesh.GetMeshCountX(), rows = mesh.GetMeshCountY();
    const CPointD origin = doc.m_calcArea.GetOrigin();
    const double meshSize = doc.m_calcArea.GetMeshSize();
    const double scale = view.Scale();
    double x0 = 0, y0 = 0;
    if (!WorldToViewD(*view.coord, origin.m_dX, origin.m_dY, &x0, &y0)) return;
    double x1 = x0 + std::trunc(meshSize * scale * (cols - 1));
    double y1 = y0 - std::trunc(meshSize * scale * (rows - 1));
    if (!std::isfinite(x1) || !std::isfinite(y1)) return;
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    const GuardRect guard = ClientGuard(view.clientW, view.clientH);

    if (view.landFill != 0) {
        double l = x0 - sx, t = y0 - sy, r = x1 - sx, b = y1 - sy;
        ClampPoint(l, t, guard);
        ClampPoint(r, b, guard);
        const CRect rc{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
        if (pDC->RectVisible(rc)) pDC->FillSolidRect(rc, kLandTan);
    }

    const double s = std::fabs(meshSize * scale);
    if (std::isfinite(s) && s > 0.0) {
        const double A = RaiseToEven(std::ceil(s));
        int F = s > 3.0 ? static_cast<int>(s / 3.0 + 0.5) : 1;
        if (F > 10) F = 10;
        if (F < 1) F = 1;
        const double G = F < 2 ? A : RaiseToEven(std::ceil(s / F));
        const double d = meshSize / F;
        const double H0 = mesh.GetWaveHeight();
        const SquareFiller sq{pDC, view.coord, origin, sx, sy, view.clientW, view.clientH, guard};
        auto valueOf = [&](int node) { return mesh.GetAt(node).GetValue(kind, H0); };
        auto valid = [](double v) { return v >= 0.0; };
        auto posOf = [&](int node, double* mx, double* my) {
            const CPointF p = mesh.GetAt(node).GetPos();
            *mx = p.m_fX;
            *my = p.m_fY;
        };

        if (F == 1) {
            for (int i = 0; i < mesh.GetCount(); ++i) {
                double mx, my, X, Y;
                posOf(i, &mx, &my);
                if (!sq.Touches(mx, my, A, &X, &Y)) continue;
                const double v = valueOf(i);
                sq.Fill(X, Y, A, valid(v) ? GetRampColor(v, B, 0) : kNoResult);
            }
        } else {
            // Pass 1: nodes without a result.
            const double c2 = std::ceil(2.0 * s);
            const double k1 = c2 - G + (std::fmod(c2, 2.0) != 0.0 ? 1.0 : 0.0);
            for (int i = 0; i < mesh.GetCount(); ++i) {
                double mx, my, X, Y;
                posOf(i, &mx, &my);
                if (!sq.Touches(mx, my, k1, &X, &Y)) continue;
                if (!valid(valueOf(i))) sq.Fill(X, Y, k1, kNoResult);
            }
            auto counts = [&](int r, int c, double* z) {
                const int n = mesh.GetNodeIndex(r, c);
                if (n < 0) return false;
                *z = valueOf(n);
                return valid(*z);
            };
            // Pass 2: valid nodes with no valid neighbour to interpolate towards.
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) {
                    double z = 0, zz = 0;
                    if (!counts(r, c, &z)) continue;
                    const bool lastRow = r == rows - 1, lastCol = c == cols - 1;
                    bool isolated;
                    if (lastRow && lastCol)
                        isolated = true;
                    else if (lastRow)
                        isolated = !counts(r, c + 1, &zz);
                    else if (lastCol)
                        isolated = !counts(r + 1, c, &zz);
                    else
                        isolated = !counts(r + 1, c, &zz) && !counts(r, c + 1, &zz) && !counts(r + 1, c + 1, &zz);
                    if (!isolated) continue;
                    double mx, my;
                    posOf(mesh.GetNodeIndex(r, c), &mx, &my);
                    sq.Square(mx, my, G, GetRampColor(z, B, 0));
                }
            }
            // Pass 3: the cells, interpolated along their edges and diagonals.
            std::vector<double> left(static_cast<std::size_t>(F) + 2), right(left.size()), diag(left.size());
            auto sub = [&](double px, double py, double v) {
                double X, Y;
                if (sq.Touches(px, py, G, &X, &Y)) sq.Fill(X, Y, G, GetRampColor(v, B, 0));
            };
            // A sub-point's value along a line from an edge (j = 0) to the diagonal
            // (j = i); the line of i = 0 is the edge point itself.
            auto along = [](double edge, double dg, int i, int j) {
                return i == 0 ? edge : edge + (dg - edge) / i * j;
            };
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) {
                    if (r == rows - 1 && c == cols - 1) break;
                    if (!sq.CellMayShow(r, c, meshSize, G)) continue;
                    double z[4] = {0, 0, 0, 0};
                    bool k[4];
                    k[0] = counts(r, c, &z[0]);
                    k[1] = r + 1 < rows && counts(r + 1, c, &z[1]);
                    k[2] = c + 1 < cols && counts(r, c + 1, &z[2]);
                    k[3] = r + 1 < rows && c + 1 < cols && counts(r + 1, c + 1, &z[3]);
                    if (r == rows - 1 && !(k[0] && k[2])) continue;
                    if (c == cols - 1 && !(k[0] && k[1])) continue;
                    const int n = k[0] + k[1] + k[2] + k[3];
                    if (!(k[0] || k[1]) || n < 2 || (n == 2 && k[1] && k[3])) continue;
                    double P[4][2];
                    const int node[4] = {mesh.GetNodeIndex(r, c), mesh.GetNodeIndex(r + 1, c),
                                         mesh.GetNodeIndex(r, c + 1), mesh.GetNodeIndex(r + 1, c + 1)};
                    for (int q = 0; q < 4; ++q)
                        if (k[q]) posOf(node[q], &P[q][0], &P[q][1]);
                    for (int q = 0; q <= F; ++q) {
                        if (k[0] && k[1]) left[q] = z[0] + (z[1] - z[0]) / F * q;
                        if (k[2] && k[3]) right[q] = z[2] + (z[3] - z[2]) / F * q;
                    }
                    if (n == 4) {
                        for (int i = 0; i < F; ++i)
                            for (int j = 0; j < F; ++j)
                                sub(P[0][0] + j * d, P[0][1] + i * d, left[i] + (right[i] - left[i]) / F * j);
                    } else if (n == 3) {
                        const int missing = !k[0] ? 0 : !k[1] ? 1 : !k[2] ? 2 : 3;
                        for (int q = 0; q <= F; ++q)
                            diag[q] = (missing == 0 || missing == 3) ? z[1] + (z[2] - z[1]) / F * q
                                                                      : z[0] + (z[3] - z[0]) / F * q;
                        switch (missing) {
                        case 2:
                            for (int i = 0; i < F; ++i)
                                for (int j = 0; j <= i; ++j)
                                    sub(P[0][0] + j * d, P[0][1] + i * d, along(left[i], diag[i], i, j));
                            break;
                        case 3:
                            for (int i = 1; i <= F; ++i)
                                for (int j = 0; j <= i && j < F; ++j)
                                    sub(P[1][0] + j * d, P[1][1] - i * d, along(left[F - i], diag[i], i, j));
                            break;
                        case 0:
                            for (int i = 0; i < F; ++i)
                                for (int j = 1; j <= i; ++j)
                                    sub(P[2][0] - j * d, P[2][1] + i * d, along(right[i], diag[F - i], i, j));
                            break;
                        default:
                            for (int i = 0; i <= F; ++i)
                                for (int j = 1; j <= i; ++j)
                                    sub(P[3][0] - j * d, P[3][1] - i * d, along(right[F - i], diag[F - i], i, j));
                            break;
                        }
                    } else if (k[0] && k[1]) {
                        for (int q = 0; q < F; ++q) sub(P[0][0], P[0][1] + q * d, left[q]);
                    } else if (k[0] && k[2]) {
                        for (int q = 0; q < F; ++q) sub(P[0][0] + q * d, P[0][1], z[0] + (z[2] - z[0]) / F * q);
                    } else if (k[0] && k[3]) {
                        for (int q = 0; q < F; ++q)
                            sub(P[0][0] + q * d, P[0][1] + q * d, z[0] + (z[3] - z[0]) / F * q);
                    } else if (k[1] && k[2]) {
                        for (int q = 0; q < F; ++q)
                            sub(P[1][0] + q * d, P[1][1] - q * d, z[1] + (z[2] - z[1]) / F * q);
                    }
                }
            }
        }
    }

    // Black strips between the mesh rectangle and the client edges.
    const double W = view.clientW, Hc = view.clientH;
    auto inside = [](double v, double lim) { return v > 0.0 && v < lim; };
    if (inside(x0 - sx, W)) pDC->FillSolidRect(0, 0, static_cast<int>(x0 - sx), view.clientH, kBlack);
    if (inside(y0 - sy, Hc)) pDC->FillSolidRect(0, 0, view.clientW, static_cast<int>(y0 - sy), kBlack);
    if (inside(x1 - sx, W))
        pDC->FillSolidRect(static_cast<int>(x1 - sx), 0, view.clientW - static_cast<int>(x1 - sx), view.clientH, kBlack);
    if (inside(y1 - sy, Hc))
        pDC->FillSolidRect(0, static_cast<int>(y1 - sy), view.clientW, view.clientH - static_cast<int>(y1 - sy), kBlack);
}

}  // namespace wv
