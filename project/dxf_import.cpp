#include "project/dxf_import.h"

#include "core/numeric.h"
#include "platform/files.h"
#include "platform/text.h"
#include "project/import_messages.h"

#include <climits>
#include <cmath>
#include <functional>

namespace wv {

namespace {

constexpr char kBinarySentinel[] = "AutoCAD Binary DXF";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A group code: blanks, an optional sign, digits, blanks, within int range.
std::optional<int> ParseGroupCode(std::string_view s) {
    s = Trim(s);
    if (s.empty()) return std::nullopt;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(negative ? -v : v);
}

bool Is(const DxfPair& p, int code, std::string_view value) {
    return p.code == code && Trim(p.value) == value;
}

double Number(const DxfPair& p) { return WinAtof(p.value); }
int Integer(const DxfPair& p) { return WinAtoi(p.value); }

// The ranges of pairs that belong to a section; a file without sections is one
// nameless section (hand-made files often hold only entities).
struct Section {
    std::string name;
    std::size_t begin = 0;  // first pair after the section's name
    std::size_t end = 0;    // the ENDSEC pair, or the end of the file
};

std::vector<Section> Sections(const std::vector<DxfPair>& pairs) {
    std::vector<Section> out;
    bool any = false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (!Is(pairs[i], 0, "SECTION")) continue;
        any = true;
        Section s;
        std::size_t j = i + 1;
        if (j < pairs.size() && pairs[j].code == 2) {
            s.name = std::string(Trim(pairs[j].value));
            ++j;
        }
        s.begin = j;
        while (j < pairs.size() && !Is(pairs[j], 0, "ENDSEC")) ++j;
        s.end = j;
        out.push_back(s);
        i = j;
    }
    if (!any) out.push_back({"", 0, pairs.size()});
    return out;
}

bool IsEntitySection(const Section& s) { return s.name.empty() || s.name == "ENTITIES"; }

// One run of points an entity gives, joined in order.
struct Chain {
    std::string layer;
    std::vector<double> x, y;
    bool closed = false;   // a closing segment from the last point to the first
    double z = 0.0;        // 3D: the z all its points take
    int counted = 0;       // segments the counting pass gives the entity
};

double ArcRad(double degrees) { return degrees * (3.141592653589793 / 180.0); }

// Splits the entity section into entities and hands each chain to `sink`. The counting
// and the reading pass both come from here, so they cannot disagree on a drawing.
void WalkEntities(const DxfFile& file, const std::function<void(const Chain&)>& sink) {
    const auto& pairs = file.Pairs();
    for (const Section& sec : Sections(pairs)) {
        if (!IsEntitySection(sec)) continue;
        // A POLYLINE's vertices arrive as entities of their own until SEQEND.
        Chain polyline;
        bool inPolyline = false;
        bool skipPolyline = false;  // polyface or polygon mesh: its vertices are no lines
        auto flushPolyline = [&] {
            if (inPolyline && !skipPolyline) {
                const int n = static_cast<int>(polyline.x.size());
                polyline.counted = (n > 0 ? n - 1 : 0) + (polyline.closed ? 1 : 0);
                if (n < 2) polyline.closed = false;
                sink(polyline);
            }
            inPolyline = false;
            skipPolyline = false;
        };
        std::size_t i = sec.begin;
        while (i < sec.end) {
            if (pairs[i].code != 0) {
                ++i;
                continue;
            }
            const std::string type(Trim(pairs[i].value));
            std::size_t j = i + 1;
            while (j < sec.end && pairs[j].code != 0) ++j;
            const auto first = pairs.begin() + static_cast<std::ptrdiff_t>(i) + 1;
            const auto last = pairs.begin() + static_cast<std::ptrdiff_t>(j);
            i = j;

            if (type == "VERTEX") {
                if (!inPolyline || skipPolyline) continue;
                double x = 0, y = 0, z = 0;
                bool hasZ = false;
                int flags = 0;
                for (auto p = first; p != last; ++p) {
                    if (p->code == 10) x = Number(*p);
                    else if (p->code == 20) y = Number(*p);
                    else if (p->code == 30) { z = Number(*p); hasZ = true; }
                    else if (p->code == 70) flags = Integer(*p);
                }
                // A spline frame's control points are not on the line.
                if (flags & 16) continue;
                // The first kept vertex's z stands for the whole chain; a z the vertex
                // does not give is DXF's default, 0.
                if (polyline.x.empty()) polyline.z = hasZ ? z : 0.0;
                polyline.x.push_back(x);
                polyline.y.push_back(y);
                continue;
            }
            if (type == "SEQEND" || type == "POLYLINE") {
                flushPolyline();
                if (type == "SEQEND") continue;
                // The header ends at the next group 0; its group 70 is optional.
                Chain c;
                int flags = 0;
                for (auto p = first; p != last; ++p) {
                    if (p->code == 8) c.layer = p->value;
                    else if (p->code == 70) flags = Integer(*p);
                }
                c.closed = (flags & 1) != 0;
                skipPolyline = (flags & (16 | 64)) != 0;
                polyline = std::move(c);
                inPolyline = true;
                continue;
            }
            // Any other entity ends a vertex run that lacked its SEQEND.
            flushPolyline();

            Chain c;
            if (type == "LINE") {
                double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                for (auto p = first; p != last; ++p) {
                    switch (p->code) {
                    case 8: c.layer = p->value; break;
                    case 10: x1 = Number(*p); break;
                    case 20: y1 = Number(*p); break;
                    case 30: c.z = Number(*p); break;
                    case 11: x2 = Number(*p); break;
                    case 21: y2 = Number(*p); break;
                    default: break;
                    }
                }
                c.x = {x1, x2};
                c.y = {y1, y2};
                c.counted = 1;
                sink(c);
            } else if (type == "ARC") {
                double cx = 0, cy = 0, r = 0, a1 = 0, a2 = 0;
                for (auto p = first; p != last; ++p) {
                    switch (p->code) {
                    case 8: c.layer = p->value; break;
                    case 10: cx = Number(*p); break;
                    case 20: cy = Number(*p); break;
                    case 30: c.z = Number(*p); break;
                    case 40: r = Number(*p); break;
                    case 50: a1 = Number(*p); break;
                    case 51: a2 = Number(*p); break;
                    default: break;
                    }
                }
                // An arc always runs counter-clockwise from start to end, so one that
                // passes 0 degrees ends a full turn later.
                if (a1 > a2) a2 += 360.0;
                const double am = (a1 + a2) * 0.5;
                for (double a : {a1, am, a2}) {
                    c.x.push_back(cx + r * std::cos(ArcRad(a)));
                    c.y.push_back(cy + r * std::sin(ArcRad(a)));
                }
                c.counted = 2;
                sink(c);
            } else if (type == "LWPOLYLINE" || type == "SPLINE") {
                const bool spline = type == "SPLINE";
                const int countCode = spline ? 74 : 90;
                const int xCode = spline ? 11 : 10;
                const int yCode = spline ? 21 : 20;
                int n = 0;
                int flags = 0;
                bool zSet = false;
                double px = 0;
                for (auto p = first; p != last; ++p) {
                    if (p->code == 8) c.layer = p->value;
                    else if (p->code == countCode) n = Integer(*p);
                    else if (p->code == 70) flags = Integer(*p);
                    else if (!spline && p->code == 38) c.z = Number(*p);
                    else if (spline && p->code == 31 && !zSet) {
                        // The first fit point's z stands for the whole spline.
                        if (c.x.size() == 1) c.z = Number(*p);
                        zSet = true;
                    } else if (p->code == xCode) px = Number(*p);
                    else if (p->code == yCode) {
                        // More vertices than announced are not stored: the work arrays
                        // were sized from the count.
                        if (static_cast<int>(c.x.size()) < n) {
                            c.x.push_back(px);
                            c.y.push_back(Number(*p));
                        }
                    }
                }
                if (n < 2) continue;
                const bool closed = (flags & 1) != 0;
                c.counted = n - 1 + (closed ? 1 : 0);
                // The closing segment is added once the announced count is reached.
                c.closed = closed && static_cast<int>(c.x.size()) == n;
                sink(c);
            }
        }
        flushPolyline();
    }
}

const DxfLayer* FindLayer(const std::vector<DxfLayer>& layers, const std::string& name) {
    for (const DxfLayer& l : layers) {
        if (l.name == name) return &l;
    }
    return nullptr;
}

}  // namespace

std::optional<DxfFile> DxfFile::Load(const std::string& path, std::string& error) {
    std::string text;
    std::string err;
    if (!ReadWholeFile(path, text, &err)) {
        error = importmsg::kFileOpenError;
        return std::nullopt;
    }
    return Parse(text, path, error);
}

std::optional<DxfFile> DxfFile::Parse(const std::string& text, const std::string& name,
                                      std::string& error) {
    if (text.compare(0, sizeof(kBinarySentinel) - 1, kBinarySentinel) == 0) {
        error = Sprintf(importmsg::kDxfBinary, name.c_str());
        return std::nullopt;
    }
    DxfFile f;
    std::size_t pos = 0;
    long long lineNo = 0;
    auto nextLine = [&](std::string_view& line) {
        if (pos >= text.size()) return false;
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        line = std::string_view(text).substr(pos, nl - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = nl + 1;
        ++lineNo;
        return true;
    };
    std::string_view codeLine, valueLine;
    bool inHeader = false;
    while (nextLine(codeLine)) {
        const std::optional<int> code = ParseGroupCode(codeLine);
        if (!code) {
            // Blank lines after the last pair are harmless.
            if (Trim(codeLine).empty() && text.find_first_not_of(" \t\r\n", pos) == std::string::npos)
                break;
            error = Sprintf(importmsg::kDxfBadGroupCode, name.c_str(), lineNo);
            return std::nullopt;
        }
        if (!nextLine(valueLine)) {
            error = Sprintf(importmsg::kDxfTruncated, name.c_str());
            return std::nullopt;
        }
        DxfPair p{*code, std::string(valueLine)};
        if (Is(p, 0, "EOF")) break;
        if (Is(p, 2, "HEADER")) inHeader = true;
        if (Is(p, 0, "ENDSEC")) inHeader = false;
        if (inHeader && f.m_version.empty() && !f.m_pairs.empty() &&
            Is(f.m_pairs.back(), 9, "$ACADVER") && p.code == 1) {
            f.m_version = std::string(Trim(p.value));
        }
        f.m_pairs.push_back(std::move(p));
    }
    return f;
}

bool DxfFile::IsUtf8() const {
    // AC1021 is AutoCAD 2007, the first release that writes its text as UTF-8.
    return m_version.size() >= 6 && m_version.compare(0, 2, "AC") == 0 &&
           WinAtoi(std::string_view(m_version).substr(2)) >= 1021;
}

DxfLayer LayerFromName(const std::string& name) {
    DxfLayer l;
    l.name = name;
    if (name.size() >= 2 && name[1] >= '0' && name[1] <= '9' && (name[0] == 'T' || name[0] == 'H')) {
        l.attribute = name[0] == 'T' ? kLayerTerrain : kLayerDepth;
        std::string rest = name.substr(1);
        for (char& c : rest) {
            if (c == '_') c = '.';
        }
        l.value = RoundDecimal(WinAtof(rest), 1);
        // Digits beyond a double's range are no depth: such a name is like any other.
        if (!std::isfinite(l.value)) return DxfLayer{name, kLayerUndefined, 0.0};
    }
    return l;
}

std::vector<DxfLayer> ReadDxfLayers(const DxfFile& file) {
    std::vector<DxfLayer> layers;
    const auto& pairs = file.Pairs();
    for (const Section& sec : Sections(pairs)) {
        if (!sec.name.empty() && sec.name != "TABLES") continue;
        for (std::size_t i = sec.begin; i + 1 < sec.end; ++i) {
            if (!Is(pairs[i], 0, "TABLE") || !Is(pairs[i + 1], 2, "LAYER")) continue;
            std::size_t j = i + 2;
            while (j < sec.end && !Is(pairs[j], 0, "ENDTAB")) {
                if (Is(pairs[j], 0, "LAYER")) {
                    std::size_t k = j + 1;
                    while (k < sec.end && pairs[k].code != 0 && pairs[k].code != 2) ++k;
                    if (k < sec.end && pairs[k].code == 2) layers.push_back(LayerFromName(pairs[k].value));
                    j = k;
                    continue;
                }
                ++j;
            }
            return layers;
        }
    }
    return layers;
}

std::string LayerDisplayName(const DxfFile& file, const std::string& name) {
    return file.IsUtf8() ? name : Cp932ToUtf8(name);
}

int CountDxfSegments(const DxfFile& file, DxfMode mode) {
    (void)mode;
    long long s = 0;
    WalkEntities(file, [&](const Chain& c) { s += c.counted; });
    return s > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(s);
}

ImportGeometry ReadDxfGeometry(const DxfFile& file, DxfMode mode, const std::vector<DxfLayer>& layers,
                               const DxfImportOptions& options, int segmentLimit) {
    ImportGeometry g;
    const long long pointLimit = 2LL * segmentLimit + 5;
    bool full = false;
    WalkEntities(file, [&](const Chain& c) {
        if (full) return;
        double value = 0.0;
        int kind = kLayerUndefined;
        if (mode == DxfMode::Plane) {
            if (const DxfLayer* l = FindLayer(layers, c.layer)) {
                value = l->value;
                kind = l->attribute;
            }
        } else {
            value = c.z;
            kind = (!c.layer.empty() && c.layer[0] == 'H') || c.z >= 0.0001 ? kLayerDepth : kLayerTerrain;
        }
        const double scale = options.millimetres ? 0.001 : 1.0;
        double height;
        if (mode == DxfMode::Plane) {
            height = options.reference - value;
        } else {
            height = RoundDecimal(options.reference - value * scale, 1);
        }
        // An entity with a coordinate beyond a double's range would put a point at
        // infinity into the terrain: it is passed over like an entity of no use.
        if (!std::isfinite(height)) return;
        for (std::size_t k = 0; k < c.x.size(); ++k)
            if (!std::isfinite(c.x[k] * scale) || !std::isfinite(c.y[k] * scale)) return;
        const int firstPoint = g.PointCount();
        const std::size_t n = c.x.size();
        for (std::size_t k = 0; k < n; ++k) {
            if (g.PointCount() >= pointLimit) break;
            g.AddPoint(RoundDecimal(c.x[k] * scale, 3), RoundDecimal(c.y[k] * scale, 3), height);
        }
        const int stored = g.PointCount() - firstPoint;
        for (int k = 1; k < stored; ++k) {
            if (static_cast<int>(g.segments.size()) >= segmentLimit) break;
            g.segments.push_back({firstPoint + k - 1, firstPoint + k, kind});
        }
        if (c.closed && stored == static_cast<int>(n) && stored >= 2 &&
            static_cast<int>(g.segments.size()) < segmentLimit) {
            g.segments.push_back({firstPoint + stored - 1, firstPoint, kind});
        }
        full = static_cast<int>(g.segments.size()) >= segmentLimit || g.PointCount() >= pointLimit;
    });
    return g;
}

}  // namespace wv
