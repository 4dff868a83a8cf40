#include "bench_project.h"

#include "core/block.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace wv::bench {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The coast's large-scale shape (mesh frame, metres north of the origin).
double CoastBase(double x) {
    return 7000.0 + 400.0 * std::sin(kTwoPi * x / 3000.0) + 150.0 * std::sin(kTwoPi * x / 700.0 + 1.0);
}

// A small deterministic generator, so that the project is the same everywhere.
class Lcg {
public:
    explicit Lcg(std::uint64_t seed) : m_s(seed) {}
    double Next() {
        m_s = m_s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_s >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_s;
};

}  // namespace

CPointD BenchProject::World(double mx, double my) const {
    const double a = angle * 3.141592653589793 / 180.0;
    return CPointD(x0 + mx * std::cos(a) - my * std::sin(a), y0 + mx * std::sin(a) + my * std::cos(a));
}

void GenerateBenchProject(const BenchProject& p) {
    g_surveyPoints.RemoveAll();
    g_lines.RemoveAll();
    g_blocks.RemoveAll();
    g_calcPoints.Reset();

    int added = 0;
    auto point = [&](double mx, double my, double height) {
        const CPointD w = p.World(mx, my);
        const int slot = g_surveyPoints.AddFromWithDepth(added, w.m_dX, w.m_dY, height, 0);
        ++added;
        return slot;
    };
    auto chain = [&](const std::vector<int>& pts, int kind, double ownHeight) {
        int last = 0;
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const CPointD a = g_surveyPoints.GetAt(pts[i - 1]).GetPos();
            const CPointD b = g_surveyPoints.GetAt(pts[i]).GetPos();
            last = g_lines.AddFrom(last, a.m_dX, a.m_dY, b.m_dX, b.m_dY, 0, 0, ownHeight, kind,
                                   pts[i - 1], pts[i]) + 1;
        }
    };

    // The coast runs beyond both sides of the area, 1 to 2 m above the tide.
    const double x0 = -200.0, x1 = p.extent + 200.0;
    std::vector<int> coast;
    for (int k = 0; k <= p.coastSegments; ++k) {
        const double x = x0 + (x1 - x0) * k / p.coastSegments;
        const double y = CoastBase(x) + 30.0 * std::sin(kTwoPi * x / 97.0);
        coast.push_back(point(x, y, 1.0 + 0.5 * std::sin(x / 50.0)));
    }
    chain(coast, kLineTerrain, 0.0);

    // Depth contours 105 m apart offshore, deeper to the south.
    for (int c = 0; c < p.contours; ++c) {
        const double offset = 250.0 + 105.0 * c;
        const double height = -(1.0 + 0.8 * c);
        std::vector<int> pts;
        for (int k = 0; k <= p.contourSegments; ++k) {
            const double x = x0 + (x1 - x0) * k / p.contourSegments;
            const double y = CoastBase(x) - offset + 10.0 * std::sin(kTwoPi * x / 450.0 + c);
            pts.push_back(point(x, y, height));
        }
        chain(pts, kLineDepth, height);
    }

    // Soundings fill the table up to the point count; no line uses them.
    Lcg rng(42);
    while (added < p.surveyPoints) {
        const double x = rng.Next() * p.extent, y = rng.Next() * 6000.0;
        point(x, y, -10.0 * rng.Next());
    }

    const CPointD land = p.World(0.5 * p.extent, 0.95 * p.extent);
    g_blocks.Add(land.m_dX, land.m_dY);
    UpdatePointLineLinks(kLinksTerrain);
}

}  // namespace wv::bench
