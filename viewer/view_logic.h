// The viewer's mouse modes, commands and status texts, without a window. The widget
// passes its events here and draws what the logic asks for through ViewSurface.
#pragma once

#include "viewer/reliefscope_doc.h"
#include "viewer/view_geometry.h"

#include <string>

namespace wv {

// What the view draws on request of the logic. Marks are XOR: drawing one twice erases it.
class ViewSurface {
public:
    virtual ~ViewSurface() = default;
    // Render the records afresh (scale, scroll, data or switch changed).
    virtual void RedrawAll() = 0;
    // The output area's rectangle (XOR) over the current image.
    virtual void XorArea() = 0;
    // A rubber band (XOR), client pixels, normalised; filled in area mode.
    virtual void XorRubberBand(const DragRect& r, bool filled) = 0;
};

enum class CursorKind {
    Zoom,   // modes 10 and 20
    Arrow,  // every other mode
};

class CReliefscopeViewLogic {
public:
    enum Mode {
        kIdle = 0,
        kZoomIn = 10,
        kZoomInPressed = 11,
        kZoomInDragging = 12,
        kZoomOut = 20,
        kZoomOutPressed = 21,
        kZoomOutDragging = 22,
        kArea = 80,
        kAreaPressed = 81,
        kAreaDragging = 82,
    };

    // Drags narrower or lower than this are clicks; an area needs more than this.
    static constexpr int kDragThreshold = 10;

    CReliefscopeViewLogic(CReliefscopeDoc& doc, ViewSurface& surface) : m_doc(doc), m_surface(surface) {}

    ReliefscopeGeometry& Geometry() { return m_geo; }
    const ReliefscopeGeometry& Geometry() const { return m_geo; }
    int Mode() const { return m_nMode; }
    int SavedMode() const { return m_nSavedMode; }

    // A file was opened (the view's first update): fit the new data.
    void OnInitialUpdate(int clientW, int clientH);
    void OnSize(int clientW, int clientH);
    // The scroll bars moved the view.
    void OnScroll(int x, int y);

    // Commands.
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomAll();
    void OnLowTideLine();
    void OnSetArea();

    // Mouse, client pixels.
    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnRButtonDown();

    CursorKind Cursor() const;
    std::string StatusPosition() const;
    std::string StatusPrompt() const;

    // The rubber band on screen now, if any (client pixels, normalised).
    bool HasRubberBand() const { return m_bBandShown; }
    DragRect RubberBand() const { return m_rcShown; }
    bool RubberBandFilled() const { return m_nMode == kAreaDragging; }

private:
    void SetBand(const DragRect& r);
    void EraseBand();

    CReliefscopeDoc& m_doc;
    ViewSurface& m_surface;
    ReliefscopeGeometry m_geo;
    int m_nMode = kIdle;
    int m_nSavedMode = kIdle;
    PixelPoint m_ptMouse;     // scroll coordinates
    DragRect m_rcDrag;        // press point and current point, client pixels
    DragRect m_rcShown;       // the rubber band drawn last
    bool m_bBandShown = false;
    bool m_bReady = true;
};

}  // namespace wv

namespace wv {

// The output area is drawn (and its XOR mark erased again) only when it spans more than
// 0.00001 degrees both ways.
bool AreaIsDrawn(const GeoBox& area);

}  // namespace wv
