// The printer renderer: draws the plot records of one page (the figure as the plot file
// holds it) on a drawing context, record by record in file order, with plot millimetres
// mapped to device units. Its running state (the dash pattern of the polyline being drawn,
// that polyline's ends, the cached text font) lives here, one renderer per print job.
#pragma once

#include "draw/plot_store.h"
#include "platform/dc.h"

#include <string>

namespace wv {

// Millimetres on the sheet to device units.
struct PrintMapping {
    double m_dDevPerMmX = 1.0;  // device units per mm: LOGPIXELSX / 25.4 (x the print factor)
    double m_dDevPerMmY = 1.0;
    CRect m_rcPrintClip;        // printable area 0, 0, HORZRES, VERTRES; its bottom is plot y 0
    int m_nNumColors = 256;     // NUMCOLORS
    int m_nPrinterTech = DT_RASPRINTER;  // TECHNOLOGY; 0 is a pen plotter
    double m_dSheetOffsetX = 0.0;  // mm added to every plot x: the sheet's left margin
    double m_dSheetOffsetY = 0.0;  // mm added to every plot y: the bottom margin

    // Taken from the device: its resolution and size, colours and technology.
    static PrintMapping FromDevice(const CDC& dc, double printFactor, double sheetOffsetX,
                                   double sheetOffsetY);

    double PlotToDevX(double x) const { return x * m_dDevPerMmX; }
    double PlotToDevY(double y) const { return m_rcPrintClip.bottom - y * m_dDevPerMmY; }
    // Text sizes and line widths, in both directions.
    double PlotToDevLen(double len) const { return len * m_dDevPerMmX; }
    // A raster device with at most two colours prints everything black.
    bool TwoColour() const { return m_nNumColors <= 2 && m_nPrinterTech != DT_PLOTTER; }
};

// Plot colour numbers (1 red ... 7 black, 255 white; others black), as the device prints
// them.
COLORREF GetPlotColor(int number, const PrintMapping& mapping);

// An index into a table of `count` entries, or 0 when it lies outside.
int ClampLayerIndex(int index, int count);
int ClampLineTypeIndex(int index, int count);

// Face of printed texts.
inline constexpr char kPlotFontFace[] = "ＭＳ ゴシック";

class PlotRenderer {
public:
    explicit PlotRenderer(const PrintMapping& mapping) : m_map(mapping) {}

    const PrintMapping& Mapping() const { return m_map; }

    // Draws the page's records in file order; the context's state is as before afterwards.
    // -1 when the store holds no such page.
    int PrintPlotData(CDC& dc, const CPlotStore& store, int page = 0);

    // The page the record operations below take their layers and line types from
    // (PrintPlotData sets it). Coordinates are millimetres with the sheet offsets applied.
    void SetPage(const CPlotPage* page) { m_page = page; }

    // 0, or -1 for a line shorter than 0.001 mm in both directions.
    int PrintPlotLine(double x1, double y1, double x2, double y2, int layer, int lineType, CDC& dc);
    int PrintPlotVertex(double x, double y, int pen, int close, int layer, int lineType, CDC& dc);
    // -1 for an outline code above 4 (nothing drawn) or an inner code above 6.
    int PrintPlotMark(double x, double y, double size, int code, int layer, int lineType, CDC& dc);
    int PrintEllipseArc(double cx, double cy, double rx, double ry, double rotation, double start,
                        double end, int layer, int lineType, CDC& dc);
    int PrintArc3P(double sx, double sy, double cx, double cy, double ex, double ey, int direction,
                   int layer, int lineType, CDC& dc);
    int PrintCircleArc(double cx, double cy, double r, double start, double end, int layer,
                       int lineType, CDC& dc);
    int PrintArrow(double tailX, double tailY, double tipX, double tipY, double headLength,
                   double headWidth, int style, int layer, int lineType, CDC& dc);
    int PrintPlotText(double x, double y, double height, double width, const std::string& text,
                      double angle, int layer, CDC& dc);
    int PrintPlotDot(double x, double y, int layer, CDC& dc);

    // A text at a device point (the lower-left corner of its first cell), height and width
    // in device units: backslash U/u makes the next character a half-size superscript,
    // D/d a half-size subscript. Returns the number of bytes consumed.
    int PrintTextChars(double x, double y, double height, double width, const std::string& text,
                       double angle, int layer, CDC& dc);
    // Selects the original font back when a plot font is selected, and forgets the cache.
    void ReleasePlotFont(CDC& dc);

    // The running dash pattern of a polyline (tests look at it).
    void BeginLinePattern(int lineType);
    int DashCount() const { return m_nDashCount; }
    int DashIndex() const { return m_nDashIndex; }
    double DashLeft() const { return m_dDashLeft; }

private:
    const CPlotLayer& Layer(int layer) const;
    const CPlotLineType& LineType(int lineType) const;
    COLORREF LayerColor(int layer) const;
    void PrintLineFitted(double x1, double y1, double x2, double y2, int lineType, CDC& dc);
    void PrintLinePatterned(double x1, double y1, double x2, double y2, CDC& dc);
    void SelectPlotFont(CDC& dc, double height, double angle);

    PrintMapping m_map;
    const CPlotPage* m_page = nullptr;

    // Running dash pattern: piece lengths (mm; even pieces drawn, odd ones skipped).
    int m_nDashCount = 0;
    double m_dDash[6] = {};
    int m_nDashIndex = 0;
    double m_dDashLeft = 0.0;
    double m_dDashPeriod = 0.0;

    // First and last vertex of the polyline being drawn, mm with offsets applied.
    double m_ptPolyFirst[2] = {0.0, 0.0};
    double m_ptPolyLast[2] = {0.0, 0.0};

    // Cached text font: one is created only when the height or the angle changes.
    bool m_bPlotFontSelected = false;
    CFont m_oldPlotFont;
    double m_dPlotFontHeight = -1.0;
    double m_dPlotFontAngle = -9999.0;
};

}  // namespace wv
