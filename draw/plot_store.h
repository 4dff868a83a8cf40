// The in-memory plot data of one figure: the records of the plot file "pdata000.plt",
// one growable array per record kind and page, plus the order in which the records stood
// in the file (later records are drawn over earlier ones). The calculation document owns
// one store; the printer renderer and the exports only read it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

// Records, reals in millimetres (degrees), already divided by 100000. Texts are the
// file's CP932 bytes.
struct CPlotLineType {
    double m_dDash = 0.0;
    double m_dGap = 0.0;
    int m_nType = 0;   // 1, 2 dash-gap; 3 dash-gap-dot-gap; 4 with two dots; other solid
    int m_nFlag = 0;   // carried for the converters
    std::string m_strName;
};

struct CPlotLayer {
    int m_nLineType = 0;  // index into the page's line types
    int m_nWidth = 0;     // 1/100 mm; 0 = the thinnest line the device draws
    int m_nColor = 0;     // plot colour number
    int m_nLayerNo = 0;   // carried for the converters
    std::string m_strName;
};

struct CPlotLine {
    double m_dX1 = 0.0, m_dY1 = 0.0, m_dX2 = 0.0, m_dY2 = 0.0;
    int m_nLayer = 0;
};

struct CPlotVertex {
    double m_dX = 0.0, m_dY = 0.0;
    int m_nPen = 0;    // 0 start, 1 continue, 2 end
    int m_nClose = 0;  // with pen 2: 1 closes back to the first vertex
    int m_nLayer = 0;
};

struct CPlotMark {
    double m_dX = 0.0, m_dY = 0.0, m_dSize = 0.0;
    int m_nCode = 0;  // tens: outline, units: inner mark
    int m_nLayer = 0;
};

struct CPlotEllipse {
    double m_dCX = 0.0, m_dCY = 0.0, m_dRX = 0.0, m_dRY = 0.0;
    double m_dRotation = 0.0, m_dStart = 0.0, m_dEnd = 0.0;
    int m_nLayer = 0;
};

struct CPlotArc {
    double m_dSX = 0.0, m_dSY = 0.0, m_dCX = 0.0, m_dCY = 0.0, m_dEX = 0.0, m_dEY = 0.0;
    int m_nDirection = 1;  // 1 counter-clockwise from start to end, other from end to start
    int m_nLayer = 0;
};

struct CPlotArrow {
    double m_dTailX = 0.0, m_dTailY = 0.0, m_dTipX = 0.0, m_dTipY = 0.0;
    double m_dHeadLength = 0.0, m_dHeadWidth = 0.0;
    int m_nStyle = 0;  // <10 head only, 10-19 shaft and head, >=20 also a tail head
    int m_nLayer = 0;
};

struct CPlotText {
    double m_dX = 0.0, m_dY = 0.0, m_dHeight = 0.0, m_dWidth = 0.0;
    std::string m_strText;
    double m_dAngle = 0.0;
    int m_nLayer = 0;
};

// Kind numbers of the draw order.
enum PlotKind {
    kPlotLT = 1, kPlotLY = 2, kPlotDL = 3, kPlotLL = 4, kPlotAP = 5,
    kPlotEL = 6, kPlotGC = 7, kPlotAH = 8, kPlotVJ = 9
};

struct CPlotOrder {
    int m_nKind = 0;   // PlotKind
    int m_nIndex = 0;  // position of the record among the page's records of its kind
};

// The reader's field list: one line's fields as text. It is not cleared between lines,
// so a short line takes the fields it lacks from the line before (files rely on it).
using PlotFields = std::array<std::string, 15>;

// An array that grows in fixed steps, as the converters' large contour figures were
// tuned for; the capacity is kept so that the steps stay what they were.
template <class T>
class PlotArray {
public:
    PlotArray(int capacity, int step) : m_nCapacity(capacity), m_nStep(step) {
        m_items.reserve(static_cast<std::size_t>(capacity));
    }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCapacity() const { return m_nCapacity; }
    const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    void Add(T item) {
        if (GetCount() >= m_nCapacity) {
            m_nCapacity += m_nStep;
            m_items.reserve(static_cast<std::size_t>(m_nCapacity));
        }
        m_items.push_back(std::move(item));
    }

private:
    int m_nCapacity;
    int m_nStep;
    std::vector<T> m_items;
};

// The records of one page.
struct CPlotPage {
    PlotArray<CPlotLineType> m_lineTypes{10, 10};
    PlotArray<CPlotLayer> m_layers{10, 10};
    PlotArray<CPlotLine> m_lines{1000, 1000};
    PlotArray<CPlotVertex> m_vertices{1000, 1000};
    PlotArray<CPlotMark> m_marks{100, 100};
    PlotArray<CPlotEllipse> m_ellipses{100, 100};
    PlotArray<CPlotArc> m_arcs{100, 100};
    PlotArray<CPlotArrow> m_arrows{100, 100};
    PlotArray<CPlotText> m_texts{100, 100};
    PlotArray<CPlotOrder> m_order{5000, 5000};

    // The record appenders: each builds one record from the field list and appends it
    // with its draw-order entry.
    void AddPlotLineType(const PlotFields& f);
    void AddPlotLayer(const PlotFields& f);
    void AddPlotLine(const PlotFields& f);
    void AddPlotVertex(const PlotFields& f);
    void AddPlotMark(const PlotFields& f);
    void AddPlotEllipse(const PlotFields& f);
    void AddPlotArc(const PlotFields& f);
    void AddPlotArrow(const PlotFields& f);
    void AddPlotText(const PlotFields& f);
    void AddPlotOrder(int kind, int index) { m_order.Add(CPlotOrder{kind, index}); }
};

// The plot data of one document. Reading replaces what the store held, and only when the
// file could be read; freeing may be called any number of times.
class CPlotStore {
public:
    CPlotStore();

    // Pages the store has room for; the figure is always one page.
    int GetPageCount() const { return m_nPageCount; }
    // True between a successful read and the next free.
    bool HasData() const { return !m_pages.empty(); }

    // Reads a plot file into `page` (0 .. page count - 1). 0 when read; -1 when the file
    // cannot be opened or the page does not exist, the store then unchanged. Lines may end
    // in LF or CR LF and be of any length.
    int ReadPlotFile(int page, const std::string& path);
    // The same from text already in memory (the file's bytes).
    int ReadPlotText(int page, std::string_view text);

    // Empty pages for every page (each starting with no records).
    void AllocPlotData();
    // Drops all plot data. Safe to call again, and before any read.
    void FreePlotData();

    // The page's records; null when the store holds no data or the page does not exist.
    const CPlotPage* GetPage(int page) const;

private:
    int m_nPageCount;
    std::vector<CPlotPage> m_pages;
};

// Fills fields 0 .. n-1 from one line: the key (two characters) is dropped and a comma
// appended; each field is the text up to the next comma. A field without a comma left
// keeps its old value.
void SplitPlotFields(PlotFields& fields, std::string_view line, int n);
// The same for a text record: no comma is appended, and field n becomes the whole rest
// of the line, commas included.
void SplitPlotTextFields(PlotFields& fields, std::string_view line, int n);

}  // namespace wv
