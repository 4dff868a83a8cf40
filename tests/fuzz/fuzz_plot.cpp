// The plot file "pdata000.plt" read into the document's plot store and printed. A read
// either replaces the store (the file and its bytes in memory read alike) or leaves the
// figure the store held; printing the store ends, leaves the context as it found it (a
// second print draws the same calls) and stays within the harness's bounds.
#include "fuzz_support.h"

#include "draw/plot_renderer.h"
#include "draw/plot_store.h"
#include "platform/recording_dc.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace wv;

PrintMapping Mapping() {
    PrintMapping m;
    m.m_dDevPerMmX = m.m_dDevPerMmY = 4.0;
    m.m_rcPrintClip = CRect{0, 0, 800, 600};
    m.m_dSheetOffsetX = 10.0;
    m.m_dSheetOffsetY = 10.0;
    return m;
}

// What a print of the store draws, call by call with the state in force. The store is
// printed twice on one context: the context is left as it was found, so the second print
// draws what the first did.
std::vector<std::string> Print(const CPlotStore& store, int* result = nullptr) {
    CRecordingDC dc(80, 60);
    const int r = PlotRenderer(Mapping()).PrintPlotData(dc, store, 0);
    if (result) *result = r;
    const std::size_t half = dc.Calls().size();
    PlotRenderer(Mapping()).PrintPlotData(dc, store, 0);
    fuzz::Check(dc.Calls().size() == 2 * half, "a second print draws the same calls");
    std::vector<std::string> calls;
    for (std::size_t i = 0; i < half; ++i) {
        calls.push_back(dc.Calls()[i].Describe(true));
        fuzz::Check(calls.back() == dc.Calls()[half + i].Describe(true),
                    "a second print draws the same calls");
    }
    return calls;
}

// The store as a user sees it: its record counts and its print.
std::vector<std::string> Snapshot(const CPlotStore& store) {
    std::vector<std::string> out = Print(store);
    if (const CPlotPage* p = store.GetPage(0)) {
        out.push_back(std::to_string(p->m_lineTypes.GetCount()) + " " + std::to_string(p->m_layers.GetCount()) +
                      " " + std::to_string(p->m_lines.GetCount()) + " " + std::to_string(p->m_vertices.GetCount()) +
                      " " + std::to_string(p->m_marks.GetCount()) + " " + std::to_string(p->m_ellipses.GetCount()) +
                      " " + std::to_string(p->m_arcs.GetCount()) + " " + std::to_string(p->m_arrows.GetCount()) +
                      " " + std::to_string(p->m_texts.GetCount()) + " " + std::to_string(p->m_order.GetCount()));
    } else {
        out.push_back("<no page>");
    }
    return out;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::Scratch() + "pdata000.plt";
    fuzz::WriteFile(path, data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::vector<std::string> heldSnapshot = Snapshot(Held());

    CPlotStore store = Held();
    if (store.ReadPlotFile(store.GetPageCount(), path) != -1 || Snapshot(store) != heldSnapshot)
        fuzz::Check(false, "a page the store does not have is refused and changes nothing");

    if (store.ReadPlotFile(0, path) != 0) {
        fuzz::Check(Snapshot(store) == heldSnapshot, "a refused plot file leaves the figure as it was");
        return 0;
    }
    fuzz::Check(store.HasData() && store.GetPage(0) != nullptr, "a plot file that reads gives a page");
    CPlotStore fromText;
    fuzz::Check(fromText.ReadPlotText(0, text) == 0, "the file's bytes read as the file does");
    const std::vector<std::string> first = Snapshot(store);
    fuzz::Check(Snapshot(fromText) == first, "the file and its bytes give the same figure");

    int result = -1;
    Print(store, &result);
    fuzz::Check(result == 0, "a store that holds the page prints it");
    return 0;
}
