#include "viewer/view_geometry.h"

#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

// Ranges below this are no range at all (a line of constant latitude, a single point).
constexpr double kMinRange = 0.00001;
// A single point is shown as if the data spanned this much.
constexpr double kSinglePointSpan = 0.01;
// The data fills 1/1.1 of the client when fitted; the scroll space is 1.1 times the data.
constexpr double kFitShare = 0.9090909090909091;
constexpr double kScrollMargin = 1.1;
// Pixel positions are limited to this before they become ints: far beyond any client,
// yet differences of two of them still fit an int.
constexpr double kPixelLimit = 1.0e9;

int ClampToInt(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

}  // namespace

DragRect DragRect::Normalized() const
{
    DragRect r = *this;
    if (r.left > r.right) {
        std::swap(r.left, r.right);
    }
    if (r.top > r.bottom) {
        std::swap(r.top, r.bottom);
    }
    return r;
}

void ReliefscopeGeometry::Ranges(double& lonRange, double& latRange) const
{
    lonRange = m_data.LonSpan();
    latRange = m_data.LatSpan();
    if (lonRange <= kMinRange && latRange <= kMinRange) {
        lonRange = latRange = kSinglePointSpan;
    }
}

void ReliefscopeGeometry::ToPixelExact(double lat, double lon, double& px, double& py) const
{
    px = (lon - m_dCenterLon) * m_dScale + m_nCenterX;
    py = m_nCenterY - m_dScale * (lat - m_dCenterLat);
}

PixelPoint ReliefscopeGeometry::ToPixel(double lat, double lon) const
{
    double px = 0.0;
    double py = 0.0;
    ToPixelExact(lat, lon, px, py);
    return {ClampToInt(px), ClampToInt(py)};
}

GeoPoint ReliefscopeGeometry::ToGeo(int px, int py) const
{
    if (m_dScale <= 1e-10) {
        return {};
    }
    GeoPoint g;
    g.lon = (px - m_nCenterX) / m_dScale + m_dCenterLon;
    g.lat = (m_nCenterY - py) / m_dScale + m_dCenterLat;
    return g;
}

void ReliefscopeGeometry::Fit()
{
    double lonRange = 0.0;
    double latRange = 0.0;
    Ranges(lonRange, latRange);
    // One direction without range leaves the other to decide; the original took a scale
    // of 0 then, which no zoom could leave.
    const bool useLon = lonRange > kMinRange;
    const bool useLat = latRange > kMinRange;
    const double byLon = m_nClientW / lonRange * kFitShare;
    const double byLat = m_nClientH / latRange * kFitShare;
    if (useLon && useLat) {
        m_dScale = std::min(byLon, byLat);
    } else if (useLon) {
        m_dScale = byLon;
    } else {
        m_dScale = byLat;
    }
    if (!(m_dScale > 0.0) || !std::isfinite(m_dScale)) {
        m_dScale = 0.0;
    }
    m_dCenterLon = (m_data.lonMin + m_data.lonMax) / 2.0;
    m_dCenterLat = (m_data.latMin + m_data.latMax) / 2.0;
    UpdateScrollGeometry();
    ScrollToCentre();
}

void ReliefscopeGeometry::UpdateScrollGeometry()
{
    double lonRange = 0.0;
    double latRange = 0.0;
    Ranges(lonRange, latRange);
    double w = lonRange * m_dScale * kScrollMargin;
    double h = latRange * m_dScale * kScrollMargin;
    if (w > 0x7FFF || h > 0x7FFF) {
        const double range = w > h ? lonRange : latRange;
        m_dScale = kMaxScrollExtent / (range * kScrollMargin);
        w = lonRange * m_dScale * kScrollMargin;
        h = latRange * m_dScale * kScrollMargin;
    }
    m_nScrollW = ClampToInt(w);
    m_nScrollH = ClampToInt(h);
    m_nCenterX = std::max(m_nScrollW, m_nClientW) / 2;
    m_nCenterY = std::max(m_nScrollH, m_nClientH) / 2;
    ScrollTo(m_nScrollX, m_nScrollY);
}

int ReliefscopeGeometry::MaxScrollX() const { return std::max(0, m_nScrollW - m_nClientW); }
int ReliefscopeGeometry::MaxScrollY() const { return std::max(0, m_nScrollH - m_nClientH); }

void ReliefscopeGeometry::ScrollTo(int x, int y)
{
    m_nScrollX = std::clamp(x, 0, MaxScrollX());
    m_nScrollY = std::clamp(y, 0, MaxScrollY());
}

void ReliefscopeGeometry::ScrollToCentre()
{
    ScrollTo(m_nCenterX - m_nClientW / 2, m_nCenterY - m_nClientH / 2);
}

void ReliefscopeGeometry::Resize(int clientW, int clientH)
{
    const GeoPoint middle = ToGeoFromClient(m_nClientW / 2, m_nClientH / 2);
    m_nClientW = clientW;
    m_nClientH = clientH;
    UpdateScrollGeometry();
    const PixelPoint p = ToPixel(middle.lat, middle.lon);
    ScrollTo(p.x - m_nClientW / 2, p.y - m_nClientH / 2);
}

void ReliefscopeGeometry::ZoomAtClientPoint(int cx, int cy, double factor)
{
    const GeoPoint g = ToGeoFromClient(cx, cy);
    m_dCenterLon = g.lon;
    m_dCenterLat = g.lat;
    m_dScale *= factor;
    UpdateScrollGeometry();
    ScrollToCentre();
}

void ReliefscopeGeometry::ZoomInToRect(const DragRect& r)
{
    if (r.Width() <= 0 || r.Height() <= 0 || m_dScale <= 0.0) {
        return;
    }
    const GeoPoint g = ToGeoFromClient((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    m_dCenterLon = g.lon;
    m_dCenterLat = g.lat;
    m_dScale = std::min(m_nClientW / (r.Width() / m_dScale), m_nClientH / (r.Height() / m_dScale));
    UpdateScrollGeometry();
    ScrollToCentre();
}

void ReliefscopeGeometry::ZoomOutFromRect(const DragRect& r)
{
    if (m_nClientW <= 0 || m_nClientH <= 0) {
        return;
    }
    const GeoPoint view = ToGeoFromClient(m_nClientW / 2, m_nClientH / 2);
    const GeoPoint rect = ToGeoFromClient((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    m_dCenterLon = 2.0 * view.lon - rect.lon;
    m_dCenterLat = 2.0 * view.lat - rect.lat;
    m_dScale = std::max(r.Height() * m_dScale / m_nClientH, r.Width() * m_dScale / m_nClientW);
    UpdateScrollGeometry();
    ScrollToCentre();
}

namespace {

struct Dms {
    int deg;
    int min;
    int sec;
};

// Truncates each part, as the status bar always has; the small allowance keeps a
// position that is exactly on a minute (35.05 = 35°3') from showing as 2'59" because
// 0.05 is not exact in binary.
Dms ToDms(double v)
{
    constexpr double kAllowance = 1e-7;  // seconds
    int deg = DoubleToInt(v);
    const double minutes = (v - deg) * 60.0;
    int min = DoubleToInt(minutes + kAllowance / 60.0);
    double seconds = (minutes - min) * 60.0;
    int sec = DoubleToInt(seconds + kAllowance);
    if (sec >= 60) {
        sec = 0;
        ++min;
    }
    if (min >= 60) {
        min = 0;
        deg += v < 0 ? -1 : 1;
    }
    return {deg, min, sec};
}

}  // namespace

std::string PositionStatusText(double lat, double lon)
{
    const Dms a = ToDms(lat);
    const Dms o = ToDms(lon);
    return Sprintf("緯度：%2d゜%2d’%2d”　経度：%3d゜%2d’%2d”", a.deg, a.min, a.sec, o.deg, o.min, o.sec);
}

}  // namespace wv
