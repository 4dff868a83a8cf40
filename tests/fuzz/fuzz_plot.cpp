// The plot file "pdata000.plt" read into the document's plot store and printed. A read
// either replaces the store (the file and its bytes in memory read alike) or leaves the
// records the store held; printing the store ends, leaves the context as it found it (a
// second print on the same context draws the same calls) and stays within the harness's
// bounds.
#include "fuzz_support.h"

#include "draw/plot_renderer.h"
#include "draw/plot_store.h"
#include "platform/recording_dc.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

using namespace wv;

constexpr std::size_t kSecondPrintCalls = 100000;

PrintMapping Mapping() {
    PrintMapping m;
    m.m_dDevPerMmX = m.m_dDevPerMmY = 4.0;
    m.m_rcPrintClip = CRect{0, 0, 800, 600};
    m.m_dSheetOffsetX = 10.0;
    m.m_dSheetOffsetY = 10.0;
    return m;
}

// Every field of every record, reals bit for bit (NaN included), for comparing stores.
class Dump {
public:
    Dump& operator<<(double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%a,", v);
        m_text += buf;
        return *this;
    }
    Dump& operator<<(int v) {
        m_text += std::to_string(v) + ",";
        return *this;
    }
    Dump& operator<<(const std::string& v) {
        m_text += std::to_string(v.size()) + ":" + v + ",";
        return *this;
    }
    std::string m_text;
};

template <class T, class F>
void DumpAll(Dump& d, const PlotArray<T>& items, F each) {
    d << items.GetCount();
    for (int i = 0; i < items.GetCount(); ++i) each(items[i]);
}

std::string Records(const CPlotStore& store) {
    const CPlotPage* p = store.GetPage(0);
    if (!p) return "<no page>";
    Dump d;
    DumpAll(d, p->m_lineTypes, [&](const CPlotLineType& r) { d << r.m_dDash << r.m_dGap << r.m_nType << r.m_nFlag << r.m_strName; });
    DumpAll(d, p->m_layers, [&](const CPlotLayer& r) { d << r.m_nLineType << r.m_nWidth << r.m_nColor << r.m_nLayerNo << r.m_strName; });
    DumpAll(d, p->m_lines, [&](const CPlotLine& r) { d << r.m_dX1 << r.m_dY1 << r.m_dX2 << r.m_dY2 << r.m_nLayer; });
    DumpAll(d, p->m_vertices, [&](const CPlotVertex& r) { d << r.m_dX << r.m_dY << r.m_nPen << r.m_nClose << r.m_nLayer; });
    DumpAll(d, p->m_marks, [&](const CPlotMark& r) { d << r.m_dX << r.m_dY << r.m_dSize << r.m_nCode << r.m_nLayer; });
    DumpAll(d, p->m_ellipses, [&](const CPlotEllipse& r) {
        d << r.m_dCX << r.m_dCY << r.m_dRX << r.m_dRY << r.m_dRotation << r.m_dStart << r.m_dEnd << r.m_nLayer;
    });
    DumpAll(d, p->m_arcs, [&](const CPlotArc& r) {
        d << r.m_dSX << r.m_dSY << r.m_dCX << r.m_dCY << r.m_dEX << r.m_dEY << r.m_nDirection << r.m_nLayer;
    });
    DumpAll(d, p->m_arrows, [&](const CPlotArrow& r) {
        d << r.m_dTailX << r.m_dTailY << r.m_dTipX << r.m_dTipY << r.m_dHeadLength << r.m_dHeadWidth << r.m_nStyle << r.m_nLayer;
    });
    DumpAll(d, p->m_texts, [&](const CPlotText& r) {
        d << r.m_dX << r.m_dY << r.m_dHeight << r.m_dWidth << r.m_strText << r.m_dAngle << r.m_nLayer;
    });
    DumpAll(d, p->m_order, [&](const CPlotOrder& r) { d << r.m_nKind << r.m_nIndex; });
    return d.m_text;
}

// The figure the document held before the read.
const CPlotStore& Held() {
    static const CPlotStore held = [] {
        CPlotStore s;
        fuzz::Check(s.ReadPlotFile(0, fuzz::TestData("draw/golden_figure.plt")) == 0, "the golden figure reads");
        return s;
    }();
    return held;
}

// The pen position is where the last print ended, not state a print restores: every
// figure starts with a move.
bool SameCall(const DcCall& a, const DcCall& b) {
    const DcState &sa = a.state, &sb = b.state;
    return a.op == b.op && a.args == b.args && a.text == b.text && sa.pen == sb.pen && sa.brush == sb.brush &&
           sa.font == sb.font && sa.rop2 == sb.rop2 && sa.textColor == sb.textColor && sa.bkColor == sb.bkColor &&
           sa.bkMode == sb.bkMode && sa.viewportOrg == sb.viewportOrg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::Scratch() + "pdata000.plt";
    fuzz::WriteFile(path, data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::string held = Records(Held());

    CPlotStore store = Held();
    if (store.ReadPlotFile(store.GetPageCount(), path) != -1 || Records(store) != held)
        fuzz::Check(false, "a page the store does not have is refused and changes nothing");

    if (store.ReadPlotFile(0, path) != 0) {
        fuzz::Check(Records(store) == held, "a refused plot file leaves the figure as it was");
        return 0;
    }
    fuzz::Check(store.HasData() && store.GetPage(0) != nullptr, "a plot file that reads gives a page");
    CPlotStore fromText;
    fuzz::Check(fromText.ReadPlotText(0, text) == 0, "the file's bytes read as the file does");
    fuzz::Check(Records(fromText) == Records(store), "the file and its bytes give the same figure");

    CRecordingDC dc(80, 60);
    fuzz::Check(PlotRenderer(Mapping()).PrintPlotData(dc, store, 0) == 0, "a store that holds the page prints it");
    const std::size_t half = dc.Calls().size();
    // A figure of a few huge curves (each capped at its chord limit) is only printed once:
    // recording it twice would spend the harness's time on the recording, not the reader.
    if (half > kSecondPrintCalls) return 0;
    PlotRenderer(Mapping()).PrintPlotData(dc, store, 0);
    fuzz::Check(dc.Calls().size() == 2 * half, "a second print draws as many calls");
    for (std::size_t i = 0; i < half; ++i)
        fuzz::Check(SameCall(dc.Calls()[i], dc.Calls()[half + i]), "a second print draws the same calls");
    return 0;
}
