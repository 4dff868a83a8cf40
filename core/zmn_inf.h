// The drawing conditions of one calculation (paper, frame, figures, text sizes, marks and
// the display intervals of the digital maps), and the application-wide copy that holds
// the defaults for new calculation documents.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

#include <string>

namespace wv {

// Entries of the paper-size table (A0-A5, B1-B5) and of the land-colour table.
inline constexpr int kPaperSizeCount = 11;
inline constexpr int kLandColorCount = 7;

// Which nodes a digital map labels: a reference node position and the steps between
// labelled rows and columns.
struct CZmnInterval {
    CPointF m_ptRef{kUnsetCoordF, kUnsetCoordF};
    double m_dStepDown = -1.0;    // row step
    double m_dStepAcross = -1.0;  // column step

    bool operator==(const CZmnInterval&) const = default;
};

class CZmn_Inf {
public:
    // Index of each display-interval set in m_interval.
    enum { kIntervalDepth = 0, kIntervalHeight = 1, kIntervalDir = 2, kIntervalVector = 3 };

    CZmn_Inf() { Init(); }

    // Every field back to its default.
    void Init();

    // Stores the current layout whatever the version; loading skips the fields that a
    // file of that version does not hold. A failed load leaves the record unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CZmn_Inf&) const = default;

    // Fields marked (d) are the ones the defaults file and "初期値に設定" carry.
    std::string m_strRemark;     // remark, CP932 bytes as they stand in the file
    int m_nPaperSize;            // (d) 0-5 A0-A5, 6-10 B1-B5
    int m_nPaperOrient;          // (d) 0 long side horizontal, 1 vertical
    int m_nMarginTop;            // (d) mm
    int m_nMarginBottom;         // (d) mm
    int m_nMarginRight;          // (d) mm
    int m_nMarginLeft;           // (d) mm
    int m_nFrameHeight;          // (d) mm, derived from paper, orientation and margins
    int m_nFrameWidth;           // (d) mm, likewise
    double m_dCenterX;           // world X of the drawing centre
    double m_dCenterY;           // world Y of the drawing centre
    int m_nScale;                // scale denominator
    double m_dRotation;          // (d) the user's view angle, degrees, held negated
    int m_bDrawFileName;         // (d)
    int m_nScaleStyle;           // (d) 0 text, 1 graduated bar
    int m_bDrawContour;          // (d) depth contours
    int m_bDrawContourValue;     // (d) depth contour values
    int m_bDrawLandGrid;         // (d) land grid nodes
    int m_bFillLand;             // (d)
    int m_nLandColor;            // (d) 0 red, 1 yellow, 2 green, 3 light blue, 4 blue, 5 purple, 6 black
    // 0 significant wave height, 1 its ratio, 2 equivalent deep-water wave height, 3 its ratio
    int m_nValueType;
    int m_nFigureMask;           // bit value 1 digital map, 2 contour figure
    int m_bColorContour;
    int m_nContourColor;         // contour lines on the colour figure: 0 black, 1 white
    int m_bVectorFigure;
    int m_bDirMapFigure;
    int m_bCheckContour;         // depth-check contour figure
    int m_bCheckMap;             // depth-check digital map
    double m_dContTextSize;      // (d) mm
    double m_dMapTextSize;       // (d) mm, wave height (ratio) and depth maps
    double m_dDirTextSize;       // (d) mm, direction map
    double m_dVectorMin;         // (d) shortest vector, mm
    double m_dVectorMax;         // (d) longest vector, mm
    int m_nDecimals;             // (d) decimals of the values printed at the output points
    CPointD m_ptNorthMark;       // world position of the north mark; not set by default
    CPointD m_ptWaveMark;        // world position of the incident-direction mark
    CZmnInterval m_interval[4];  // depth, wave-height, direction and vector maps
    // Per value type, the value range the vector figure maps onto m_dVectorMin..Max.
    double m_dVectorLow[4];
    double m_dVectorHigh[4];
};

// Defaults for new calculation documents; filled from the defaults file at start-up.
extern CZmn_Inf g_zmnInfDefault;

}  // namespace wv
