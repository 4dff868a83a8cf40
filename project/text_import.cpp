#include "project/text_import.h"

#include "core/numeric.h"
#include "geoconv/meshgate.h"
#include "geoconv/qsona_record.h"
#include "platform/text.h"

#include <cmath>
#include <optional>
#include <utility>

namespace wv {

namespace {

// Groups consecutive rows by key into polylines: every point of a polyline takes the
// height of its first row, and a polyline of one row gives nothing.
template <class Key>
class PolylineBuilder {
public:
    explicit PolylineBuilder(ImportGeometry& g) : m_g(g) {}

    void Row(const Key& key, int kind, double x, double y, double height) {
        if (!m_started || !(m_key == key)) {
            m_started = true;
            m_key = key;
            m_height = height;
            m_pending = {x, y};
            m_last = -1;
            return;
        }
        if (m_last < 0) m_last = m_g.AddPoint(m_pending.first, m_pending.second, m_height);
        const int p = m_g.AddPoint(x, y, m_height);
        m_g.segments.push_back({m_last, p, kind});
        m_last = p;
    }

private:
    ImportGeometry& m_g;
    bool m_started = false;
    Key m_key{};
    double m_height = 0.0;
    std::pair<double, double> m_pending;
    int m_last = -1;
};

double Round3(double v) { return RoundDecimal(v, 3); }

}  // namespace

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    LineReader reader(text);
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    return lines;
}

ImportGeometry ReadCsvPoints(const std::vector<std::string>& lines, bool surveyCoordinates) {
    ImportGeometry g;
    for (const std::string& line : lines) {
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) continue;
        std::size_t used1 = 0, used2 = 0;
        const double a = WinAtof(line, &used1);
        const double b = WinAtof(std::string_view(line).substr(comma + 1), &used2);
        if (used1 == 0 || used2 == 0) continue;
        // A number beyond a double's range reads as infinity: no point to put in a terrain.
        if (!std::isfinite(a) || !std::isfinite(b)) continue;
        const double x = surveyCoordinates ? b : a;
        const double y = surveyCoordinates ? a : b;
        g.AddPoint(Round3(x), Round3(y), 0.0);
    }
    return g;
}

ImportGeometry ReadCsvLines(const std::vector<std::string>& lines, double reference,
                            bool surveyCoordinates) {
    ImportGeometry g;
    PolylineBuilder<std::pair<int, int>> builder(g);
    for (const std::string& line : lines) {
        // One more than five, so that a row of six numbers is seen and skipped.
        double v[7];
        int n[7];
        if (ParseNumberLine(line.c_str(), v, n, 6) != 5) continue;
        const int kind = n[0];
        if (kind != 1 && kind != 2) continue;
        if (!std::isfinite(v[1]) || !std::isfinite(v[2]) || !std::isfinite(v[3])) continue;
        const double x = surveyCoordinates ? v[3] : v[2];
        const double y = surveyCoordinates ? v[2] : v[3];
        builder.Row({n[4], kind}, kind, Round3(x), Round3(y), reference - v[1]);
    }
    return g;
}

QsonaImportResult ReadQsonaLines(const std::vector<std::string>& lines,
                                 const QsonaImportOptions& options) {
    QsonaImportResult result;
    std::optional<int> ellipsoid;
    PolylineBuilder<std::pair<char, int>> builder(result.geometry);
    for (const std::string& line : lines) {
        const QsonaLine ql = ReadQsonaLine(line);
        if (!ql.IsPoint()) continue;
        const QsonaRecord& r = *ql.record;
        if (!ellipsoid) {
            ellipsoid = r.EllipsoidCode();
            if (!ellipsoid) return result;
            result.datumFound = true;
        }
        double north = 0.0, east = 0.0;
        Meshgate(*ellipsoid, options.zone, r.Latitude(), r.Longitude(), &north, &east);
        if (!std::isfinite(east) || !std::isfinite(north) || !std::isfinite(r.DepthMetres())) continue;
        const int kind = r.Type() == QsonaType::Coastline ? 1 : 2;
        builder.Row({static_cast<char>(r.Type()), r.LineNumber()}, kind, Round3(east), Round3(north),
                    options.reference - r.DepthMetres());
    }
    return result;
}

}  // namespace wv
