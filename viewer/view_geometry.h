// The viewer's map between geographic coordinates and scroll pixels: longitude to the
// right, latitude up, m_dScale pixels per degree about a centre point. It also holds the
// scroll space (its size and the scroll position) that a scroll view would keep, so the
// whole of fitting and zooming runs without a window.
#pragma once

#include "viewer/reliefscope_doc.h"

#include <string>

namespace wv {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

// A rectangle of client pixels: left/top = press point, right/bottom = current point.
struct DragRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    DragRect Normalized() const;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const DragRect&) const = default;
};

class ReliefscopeGeometry {
public:
    // Scroll space never exceeds this many pixels either way.
    static constexpr int kMaxScrollExtent = 32765;

    void SetDataBox(const GeoBox& box) { m_data = box; }
    const GeoBox& DataBox() const { return m_data; }

    // Scroll coordinates (client + scroll position). Positions far outside the scroll
    // space (an output area kept from another file) are clamped, never wrapped.
    PixelPoint ToPixel(double lat, double lon) const;
    // Unrounded pixel position, for clipping before anything is truncated.
    void ToPixelExact(double lat, double lon, double& px, double& py) const;
    GeoPoint ToGeo(int px, int py) const;
    GeoPoint ToGeoFromClient(int cx, int cy) const { return ToGeo(cx + m_nScrollX, cy + m_nScrollY); }

    // Fits the whole data into the client (menu "全体", and on opening a file).
    void Fit();
    // The client changed size: keeps the geographic point at its middle.
    void Resize(int clientW, int clientH);
    void SetClientSize(int clientW, int clientH) { m_nClientW = clientW; m_nClientH = clientH; }

    // Zoom about a clicked client point: it becomes the centre; factor 1.2 or 0.8.
    void ZoomAtClientPoint(int cx, int cy, double factor);
    // The dragged rectangle (normalised, client pixels) fills the client.
    void ZoomInToRect(const DragRect& r);
    // The client shrinks into the dragged rectangle: the view centre is mirrored through
    // the rectangle's centre.
    void ZoomOutFromRect(const DragRect& r);

    // Sets the scroll space from the data range and the scale (limiting the scale so the
    // space stays within kMaxScrollExtent) and the pixel centre.
    void UpdateScrollGeometry();
    // Scrolls so that the pixel centre is in the middle of the client.
    void ScrollToCentre();
    void ScrollTo(int x, int y);

    double Scale() const { return m_dScale; }
    double CenterLon() const { return m_dCenterLon; }
    double CenterLat() const { return m_dCenterLat; }
    int CenterX() const { return m_nCenterX; }
    int CenterY() const { return m_nCenterY; }
    int ClientW() const { return m_nClientW; }
    int ClientH() const { return m_nClientH; }
    int ScrollW() const { return m_nScrollW; }
    int ScrollH() const { return m_nScrollH; }
    int ScrollX() const { return m_nScrollX; }
    int ScrollY() const { return m_nScrollY; }
    int MaxScrollX() const;
    int MaxScrollY() const;

    // Tests and the benchmark set a state directly.
    void SetState(double centerLat, double centerLon, double scale)
    {
        m_dCenterLat = centerLat;
        m_dCenterLon = centerLon;
        m_dScale = scale;
    }

private:
    // The data's ranges as fitting and the scroll space use them: a range of (almost)
    // zero one way leaves the other to decide; a single point counts as 0.01 degrees.
    void Ranges(double& lonRange, double& latRange) const;

    GeoBox m_data;
    double m_dCenterLon = 0.0;
    double m_dCenterLat = 0.0;
    int m_nCenterX = 0;
    int m_nCenterY = 0;
    double m_dScale = 0.0;
    int m_nClientW = 0;
    int m_nClientH = 0;
    int m_nScrollW = 0;
    int m_nScrollH = 0;
    int m_nScrollX = 0;
    int m_nScrollY = 0;
};

// The status bar text of a position: degrees, minutes and seconds, each truncated.
std::string PositionStatusText(double lat, double lon);

}  // namespace wv
