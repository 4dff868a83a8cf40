#include "viewer/dxf3d_writer.h"

#include "geoconv/meshgate.h"
#include "geoconv/qsona_record.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace wv {

namespace {

// Depth entries of records that are not depth points inside the area; tested as > 9990.
constexpr double kNoDepth = 9999.0;
constexpr double kNoDepthTest = 9990.0;
// Depths closer than this share a layer (they are rounded to 0.1 already).
constexpr double kLayerStep = 0.01;
constexpr char kCoastLayer[] = "T0_0";

// Writes text given with "\n" line ends as CR LF, as a text-mode file did.
class DxfText {
public:
    void Put(std::string_view text)
    {
        for (char c : text) {
            if (c == '\n') {
                m_out.push_back('\r');
            }
            m_out.push_back(c);
        }
    }
    template <class... Args>
    void Format(const char* fmt, Args... args)
    {
        Put(Sprintf(fmt, args...));
    }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
};

double DepthMetres(std::string_view text)
{
    const auto field = [&](std::size_t col, std::size_t width) {
        return col >= text.size() ? std::string_view() : text.substr(col, width);
    };
    const double depth = WinAtof(field(qsona::kDepthColumn, qsona::kDepthWidth));
    const char unit = text.size() > qsona::kDepthUnitColumn ? text[qsona::kDepthUnitColumn] : ' ';
    return unit == 'M' ? depth : depth * qsona::kMetresPerFathom;
}

}  // namespace

double RoundTo(double value, int decimals)
{
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? 0.0 : value;
    }
    const double p = std::pow(10.0, decimals);
    double v = std::fabs(value) * p;
    const int k = static_cast<int>(std::log10(v));
    v += std::pow(10.0, k - 15);
    double r = std::floor(v + 0.5) / p;
    if (value < 0.0) {
        r = -r;
    }
    return r + 0.0;  // -0.0 becomes +0.0
}

void CombSortIndex(const std::vector<double>& values, std::vector<int>& index)
{
    const int n = static_cast<int>(index.size());
    int gap = n;
    bool swapped = true;
    while (swapped || gap > 1) {
        gap = static_cast<int>(gap * (1.0 / 1.3));
        if (gap <= 0) {
            gap = 1;
        }
        if (gap == 9 || gap == 10) {
            gap = 11;
        }
        swapped = false;
        for (int i = 0; i + gap < n; ++i) {
            const double a = values[static_cast<std::size_t>(index[static_cast<std::size_t>(i)])];
            const double b = values[static_cast<std::size_t>(index[static_cast<std::size_t>(i + gap)])];
            if (a >= b && std::fabs(a - b) >= 1e-10) {
                std::swap(index[static_cast<std::size_t>(i)], index[static_cast<std::size_t>(i + gap)]);
                swapped = true;
            }
        }
    }
}

std::string DepthLayerName(double depth)
{
    std::string name = Sprintf("H%2.1f", depth);
    name[name.size() - 2] = '_';
    return name;
}

std::string BuildDxf3d(const CReliefscopeDoc& doc, int ellipsoid, int zone, DxfUnit unit)
{
    const GeoBox& area = doc.Area();
    const GeoBox& data = doc.DataBox();
    const double factor = unit == DxfUnit::Millimetres ? 1000.0 : 1.0;

    // Plane extents: the area's corners, clipped to the data.
    const double latLo = std::max(area.latMin, data.latMin);
    const double latHi = std::min(area.latMax, data.latMax);
    const double lonLo = std::max(area.lonMin, data.lonMin);
    const double lonHi = std::min(area.lonMax, data.lonMax);
    double xmin = 99999999.999;
    double ymin = 99999999.999;
    double xmax = -99999999.999;
    double ymax = -99999999.999;
    for (double lat : {latLo, latHi}) {
        for (double lon : {lonLo, lonHi}) {
            double x = 0.0;
            double y = 0.0;
            Meshgate(ellipsoid, zone, lat, lon, &x, &y);
            xmin = std::min(xmin, x);
            xmax = std::max(xmax, x);
            ymin = std::min(ymin, y);
            ymax = std::max(ymax, y);
        }
    }
    if (xmin > xmax) {
        xmin = xmax = 0.0;
    }
    if (ymin > ymax) {
        ymin = ymax = 0.0;
    }

    // Depth of every record that is a depth point inside the area, rounded to 0.1 m.
    const int n = doc.Count();
    std::vector<double> depth(static_cast<std::size_t>(n), kNoDepth);
    double zmin = 0.0;
    double zmax = 0.0;
    for (int j = 0; j < n; ++j) {
        const char type = doc.PointType(j);
        if ((type != 'N' && type != 'M') || !doc.IsShownType(type) ||
            !area.Contains(doc.Latitude(j), doc.Longitude(j))) {
            continue;
        }
        const double d = RoundTo(DepthMetres(doc.Line(j)), 1);
        if (!std::isfinite(d) || d > kNoDepthTest) {
            continue;  // no depth to draw; it would put "inf" into the extents
        }
        depth[static_cast<std::size_t>(j)] = d;
        zmin = std::min(zmin, d);
        zmax = std::max(zmax, d);
    }

    // The distinct depths, ascending, each a layer.
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
        order[static_cast<std::size_t>(j)] = j;
    }
    CombSortIndex(depth, order);
    std::vector<double> layerDepths;
    for (int idx : order) {
        const double d = depth[static_cast<std::size_t>(idx)];
        if (d > kNoDepthTest) {
            break;
        }
        if (layerDepths.empty() || std::fabs(d - layerDepths.back()) > kLayerStep) {
            layerDepths.push_back(d);
        }
    }

    xmin *= factor;
    xmax *= factor;
    ymin *= factor;
    ymax *= factor;
    zmin *= factor;
    zmax *= factor;

    const double spanY = ymax - ymin;
    const double spanX = xmax - xmin;
    const double smaller = std::min(spanX, spanY);
    // An area that is a line after clipping has no aspect ratio; 1.0 keeps the file
    // free of "inf" and "nan".
    const double ratio = smaller < 1e-9 ? 1.0 : std::max(spanX, spanY) / smaller;

    DxfText out;
    out.Put("  0\nSECTION\n  2\nHEADER\n");
    out.Put("  9\n$ACADVER\n  1\nAC1009\n");
    out.Format("  9\n$EXTMIN\n 10\n%f\n 20\n%f\n 30\n%f\n", ymin, xmin, zmin);
    out.Format("  9\n$EXTMAX\n 10\n%f\n 20\n%f\n 30\n%f\n", ymax, xmax, zmax);
    out.Put("  0\nENDSEC\n");
    out.Put("  0\nSECTION\n  2\nTABLES\n");
    out.Put("  0\nTABLE\n  2\nVPORT\n 70\n     1\n");
    out.Put("  0\nVPORT\n  2\n*ACTIVE\n 70\n     0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n");
    out.Format(" 12\n%f\n 22\n%f\n 13\n0.0\n 23\n0.0\n 14\n1.0\n 24\n1.0\n", (ymax + ymin) / 2,
               (xmax + xmin) / 2);
    out.Put(" 15\n0.0\n 25\n0.0\n 16\n0.0\n 26\n0.0\n 36\n1.0\n");
    out.Format(" 17\n0.0\n 27\n0.0\n 37\n0.0\n 40\n%f\n 41\n%f\n", spanX, ratio);
    out.Put(" 42\n50.0\n 43\n0.0\n 44\n0.0\n 50\n0.0\n 51\n0.0\n");
    out.Put(" 71\n     0\n 72\n   100\n 73\n     1\n 74\n     1\n 75\n     0\n");
    out.Put(" 76\n     0\n 77\n     0\n 78\n     0\n  0\nENDTAB\n");
    out.Put("  0\nTABLE\n  2\nLTYPE\n 70\n     1\n");
    out.Put("  0\nLTYPE\n  2\nCONTINUOUS\n 70\n     0\n");
    // "実線" (solid line) in code page 932.
    out.Put("  3\n\x8e\xc0\x90\xfc\n 72\n    65\n 73\n     0\n 40\n0.0\n  0\nENDTAB\n");
    out.Format("  0\nTABLE\n  2\nLAYER\n 70\n%6d\n", static_cast<int>(layerDepths.size()) + 1);
    out.Put("  0\nLAYER\n  2\nT0_0\n 70\n     0\n 62\n     7\n  6\nCONTINUOUS\n");
    for (double d : layerDepths) {
        out.Format("  0\nLAYER\n  2\n%s\n 70\n     0\n 62\n     4\n  6\nCONTINUOUS\n", DepthLayerName(d).c_str());
    }
    out.Put("  0\nENDTAB\n  0\nTABLE\n  2\nSTYLE\n 70\n     1\n");
    out.Put("  0\nSTYLE\n  2\nStandard\n 70\n     0\n 40\n0.0\n");
    out.Put(" 41\n1.0\n 50\n0.0\n 71\n     0\n 42\n0.0\n  3\nmonotxt\n");
    out.Put("  4\nbigfont\n  0\nENDTAB\n");
    out.Put("  0\nTABLE\n  2\nVIEW\n 70\n     0\n  0\nENDTAB\n  0\nENDSEC\n");
    out.Put("  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n");
    out.Put("  0\nSECTION\n  2\nENTITIES\n");

    std::string layer;
    const auto vertex = [&](int j) {
        double x = 0.0;
        double y = 0.0;
        Meshgate(ellipsoid, zone, doc.Latitude(j), doc.Longitude(j), &x, &y);
        const double d = depth[static_cast<std::size_t>(j)];
        const double z = d > kNoDepthTest ? 0.0 : d;
        out.Format("  0\nVERTEX\n  8\n%s\n", layer.c_str());
        out.Format(" 10\n%f\n 20\n%f\n 30\n%f\n", y * factor, x * factor, z * factor);
        out.Put(" 70\n    32\n");
    };

    int prevLine = -1;
    char prevType = 0;
    bool prevDrawable = true;
    bool started = false;
    bool open = false;
    int prevIndex = -1;
    for (int j = 0; j < n; ++j) {
        const char type = doc.PointType(j);
        if (!doc.IsShownType(type)) {
            continue;
        }
        const bool drawable = type == 'L' ? area.Contains(doc.Latitude(j), doc.Longitude(j))
                                          : depth[static_cast<std::size_t>(j)] <= kNoDepthTest;
        if (!drawable) {
            prevDrawable = false;
            continue;
        }
        const int lineNo = doc.LineNumber(j);
        if (lineNo == prevLine && type == prevType && prevDrawable) {
            if (!started) {
                if (open) {
                    out.Format("  0\nSEQEND\n  8\n%s\n", layer.c_str());
                }
                const double first = depth[static_cast<std::size_t>(prevIndex)];
                layer = first > kNoDepthTest ? kCoastLayer : DepthLayerName(first);
                out.Format("  0\nPOLYLINE\n  8\n%s\n", layer.c_str());
                out.Put(" 66\n     1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n");
                out.Put(" 70\n     8\n");
                vertex(prevIndex);
                started = true;
                open = true;
            }
            vertex(j);
        } else if (lineNo != prevLine && type == prevType && doc.HasZeroPointNumber(j)) {
            // A continuation record: the polyline goes on through the repeated point.
            prevLine = lineNo;
        } else {
            prevLine = lineNo;
            prevType = type;
            prevDrawable = true;
            started = false;
        }
        prevIndex = j;
    }
    if (open) {
        out.Format("  0\nSEQEND\n  8\n%s\n", layer.c_str());
    }
    out.Put("  0\nENDSEC\n  0\nEOF\n");
    return out.Take();
}

}  // namespace wv
