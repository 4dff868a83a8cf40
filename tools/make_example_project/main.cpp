// Builds the example project: a bay about 2 km across, opening to the north, in a local
// plane system (metres, x east, y north, the survey area about 0..2400 x 0..2600).
//
//   - the coastline as terrain lines, closed inland into one ring around the land, with
//     a land block inside it;
//   - depth lines at 2, 5, 10, 15, 20, 25 and 30 m, following the shape of the bay;
//   - an auxiliary line along a sounding transect on the bay axis;
//   - a few hundred survey points with heights (sea bed below the datum is negative);
//   - three output points.
//
// The sea bed is one smooth field: at a point the "offshore distance" S is found from its
// y on the curve family y = coast(x) + S, and the depth is D (1 - exp(-S / L)), a profile
// that is gentle at the bay head and steeper along the arms. Every depth line is a curve
// of that family, so the lines never cross each other or the coast, and the soundings
// agree with them. Coordinates are rounded to millimetres and heights to centimetres, so
// the file does not depend on the last bit of the maths library.
//
// Usage: make_example_project <output .TIK>
#include "core/geometry.h"
#include "core/line_chain.h"
#include "project/tik_archive.h"
#include "project/tik_doc.h"
#include "tools/tool_args.h"

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace wv {
namespace {

constexpr double kAxisX = 1200.0;      // the bay's axis
constexpr double kHeadY = 400.0;       // the bay head on the axis
constexpr double kCurvature = 0.0016;  // the bay's plan shape: y = head + k (x - axis)^2
constexpr double kSurveyTop = 2600.0;  // northern edge of the survey
constexpr double kMaxDepth = 40.0;     // depth the profile tends to far offshore, m
constexpr double kProfileLength = 1226.0;  // m; puts 30 m about 1.7 km off the bay head

// Small bends of the shore; they fade out offshore, so deep lines run smooth.
double ShoreBends(double x) { return 14.0 * std::sin(x / 130.0) + 9.0 * std::sin(x / 57.0 + 1.0); }

// y of the curve at offshore distance s (s = 0 is the coastline).
double CurveY(double x, double s) {
    const double u = x - kAxisX;
    return kHeadY + kCurvature * u * u + ShoreBends(x) * std::exp(-s / 300.0) + s;
}

double OffshoreDistanceOfDepth(double depth) {
    return -kProfileLength * std::log(1.0 - depth / kMaxDepth);
}

// Water depth at a point in the bay (at datum level), or a negative value on land.
double DepthAt(double x, double y) {
    if (y < CurveY(x, 0.0)) return -1.0;
    double lo = 0.0, hi = 10000.0;
    for (int i = 0; i < 80; ++i) {
        const double mid = 0.5 * (lo + hi);
        (CurveY(x, mid) < y ? lo : hi) = mid;
    }
    return kMaxDepth * (1.0 - std::exp(-lo / kProfileLength));
}

double Mm(double v) { return RoundDecimal(v, 3); }
double Cm(double v) { return RoundDecimal(v, 2); }

// Where y = f(x) crosses the survey's northern edge, walking out from the axis.
double EdgeCrossing(const std::function<double(double)>& f, double direction) {
    double inside = kAxisX, outside = kAxisX;
    while (f(outside) <= kSurveyTop) {
        inside = outside;
        outside += direction * 1.0;
    }
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (inside + outside);
        (f(mid) <= kSurveyTop ? inside : outside) = mid;
    }
    return inside;
}

// Vertices along y = f(x) from the western to the eastern crossing of the survey edge,
// about `spacing` metres apart along the curve; the ends lie on the edge.
std::vector<CPointD> CurveVertices(const std::function<double(double)>& f, double spacing) {
    const double x0 = EdgeCrossing(f, -1.0), x1 = EdgeCrossing(f, +1.0);
    std::vector<CPointD> v{{x0, kSurveyTop}};
    double run = 0.0, px = x0, py = f(x0);
    const double step = 0.25;
    for (double x = x0 + step; x < x1; x += step) {
        const double y = f(x);
        run += std::hypot(x - px, y - py);
        px = x;
        py = y;
        // Leave the last stretch to the end vertex rather than making a stub.
        if (run >= spacing && std::hypot(x1 - x, kSurveyTop - y) > 0.5 * spacing) {
            v.push_back({x, y});
            run = 0.0;
        }
    }
    v.push_back({x1, kSurveyTop});
    return v;
}

// A deterministic generator, the same on every platform.
class Random {
public:
    double Next() {  // [0, 1)
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state = 20240601;
};

int AddPoint(double x, double y, double height) {
    return g_surveyPoints.AddFromWithDepth(0, Mm(x), Mm(y), Cm(height), 0);
}

void Join(int a, int b, int kind, int heightType, double height) {
    const CPointD pa = g_surveyPoints.GetAt(a).GetPos(), pb = g_surveyPoints.GetAt(b).GetPos();
    g_lines.Add(pa.m_dX, pa.m_dY, pb.m_dX, pb.m_dY, 0, heightType, Cm(height), kind, a, b);
}

// A polyline of survey points at one height, joined by lines of one kind.
std::vector<int> Polyline(const std::vector<CPointD>& pts, const std::function<double(double)>& height,
                          int kind, int heightType, double lineHeight) {
    std::vector<int> slots;
    for (const CPointD& p : pts) slots.push_back(AddPoint(p.m_dX, p.m_dY, height(p.m_dX)));
    for (std::size_t i = 1; i < slots.size(); ++i)
        Join(slots[i - 1], slots[i], kind, heightType, lineHeight);
    return slots;
}

void BuildBay() {
    g_tikInf.m_dNorth = 90.0;  // north up the y axis

    // The coastline: beach crest 2 m above the datum at the head, rockier 3.5 m on the arms.
    auto coast = [](double x) { return CurveY(x, 0.0); };
    auto crest = [](double x) { return 2.0 + 1.5 * std::min(1.0, std::fabs(x - kAxisX) / 800.0); };
    const std::vector<int> shore =
        Polyline(CurveVertices(coast, 90.0), crest, kLineTerrain, kHeightFromPoints, 0.0);

    // Close the land inland. These lines only bound the land block; as invalid
    // boundaries they give the depth interpolation nothing.
    const int ne = AddPoint(2500.0, kSurveyTop, 10.0);
    const int se = AddPoint(2500.0, -100.0, 10.0);
    const int sw = AddPoint(-100.0, -100.0, 10.0);
    const int nw = AddPoint(-100.0, kSurveyTop, 10.0);
    const int ring[] = {shore.back(), ne, se, sw, nw, shore.front()};
    for (int i = 1; i < 6; ++i) Join(ring[i - 1], ring[i], kLineTerrain, kBoundaryInvalid, 10.0);
    g_blocks.Add(kAxisX, 150.0);

    // Depth lines: each carries its depth as a (negative) height, and so do its points.
    for (double depth : {2.0, 5.0, 10.0, 15.0, 20.0, 25.0, 30.0}) {
        const double s = OffshoreDistanceOfDepth(depth);
        auto curve = [s](double x) { return CurveY(x, s); };
        Polyline(CurveVertices(curve, 110.0), [depth](double) { return -depth; }, kLineDepth,
                 kHeightFromPoints, -depth);
    }

    // A sounding transect along the bay axis, joined by an auxiliary line so that its
    // soundings take part in the interpolation.
    std::vector<CPointD> transect;
    for (double y = CurveY(1150.0, 110.0); y < 2560.0; y += 120.0) transect.push_back({1150.0, y});
    std::vector<int> along;
    for (const CPointD& p : transect) along.push_back(AddPoint(p.m_dX, p.m_dY, -DepthAt(p.m_dX, p.m_dY)));
    for (std::size_t i = 1; i < along.size(); ++i)
        Join(along[i - 1], along[i], kLineAuxiliary, kHeightFromPoints, 0.0);

    // Scattered soundings on a jittered 150 m grid, clear of the coast and of the points
    // already placed.
    Random random;
    for (double gy = 300.0; gy < kSurveyTop; gy += 150.0) {
        for (double gx = 75.0; gx < 2400.0; gx += 150.0) {
            const double x = gx + (random.Next() - 0.5) * 80.0;
            const double y = gy + (random.Next() - 0.5) * 80.0;
            if (y > kSurveyTop - 40.0 || y < CurveY(x, 40.0)) continue;
            const int near = g_surveyPoints.FindNearest(x, y);
            if (near >= 0) {
                const CPointD p = g_surveyPoints.GetAt(near).GetPos();
                if (std::hypot(p.m_dX - x, p.m_dY - y) < 30.0) continue;
            }
            AddPoint(x, y, -DepthAt(x, y));
        }
    }

    // Output points: inside the bay, off the western arm, and in the mouth.
    g_calcPoints.Add(1200.0, 900.0);
    g_calcPoints.Add(800.0, 1700.0);
    g_calcPoints.Add(1500.0, 2300.0);

    // Links as the editing commands leave them.
    UpdatePointLineLinks(kLinksAll);
}

}  // namespace
}  // namespace wv

int main(int argc, char** argv) {
    static const char kUsage[] = "usage: make_example_project <output .TIK>\n";
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage); code >= 0) return code;
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    std::error_code ec;
    if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);

    wv::CTikDoc doc;  // a new project document starts from an empty project
    wv::BuildBay();
    if (!doc.OnSaveDocument(out.string())) return 1;
    std::printf("%s: %d survey points, %d lines, %d land block, %d output points\n", argv[1],
                wv::g_surveyPoints.GetCount(), wv::g_lines.GetCount(), wv::g_blocks.GetCount(),
                wv::g_calcPoints.GetCount());
    return 0;
}
