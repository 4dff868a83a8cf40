#include "draw/plot_store.h"

#include "platform/files.h"
#include "platform/text.h"

#include <cstring>

namespace wv {

namespace {

// Reals are stored x 100000 as whole numbers.
double Real(const std::string& field) { return WinAtof(field) / 100000.0; }
int Int(const std::string& field) { return WinAtoi(field); }

struct KeyEntry {
    const char* key;
    int kind;
    int fieldCount;
};

// The record kinds the reader takes; every other line (title, SC, EM, SZ) is for the
// converters only.
constexpr KeyEntry kKeys[] = {
    {"LT", kPlotLT, 5}, {"LY", kPlotLY, 5}, {"DL", kPlotDL, 5}, {"LL", kPlotLL, 5},
    {"AP", kPlotAP, 5}, {"EL", kPlotEL, 8}, {"GC", kPlotGC, 8}, {"AH", kPlotAH, 8},
    {"VJ", kPlotVJ, 6},
};

const KeyEntry* FindKey(std::string_view line) {
    if (line.size() < 2) return nullptr;
    for (const KeyEntry& k : kKeys)
        if (line[0] == k.key[0] && line[1] == k.key[1]) return &k;
    return nullptr;
}

// Takes fields 0 .. n-1 off the front of `rest`, each up to the next comma.
void TakeFields(PlotFields& fields, std::string_view& rest, int n) {
    for (int i = 0; i < n && i < static_cast<int>(fields.size()); ++i) {
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos) continue;
        fields[static_cast<std::size_t>(i)].assign(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace

void SplitPlotFields(PlotFields& fields, std::string_view line, int n) {
    std::string rest(line.size() >= 2 ? line.substr(2) : std::string_view());
    rest += ',';
    std::string_view view(rest);
    TakeFields(fields, view, n);
}

void SplitPlotTextFields(PlotFields& fields, std::string_view line, int n) {
    std::string_view rest = line.size() >= 2 ? line.substr(2) : std::string_view();
    TakeFields(fields, rest, n);
    if (n >= 0 && n < static_cast<int>(fields.size())) fields[static_cast<std::size_t>(n)].assign(rest);
}

void CPlotPage::AddPlotLineType(const PlotFields& f) {
    AddPlotOrder(kPlotLT, m_lineTypes.GetCount());
    m_lineTypes.Add(CPlotLineType{Real(f[0]), Real(f[1]), Int(f[2]), Int(f[3]), f[4]});
}

void CPlotPage::AddPlotLayer(const PlotFields& f) {
    AddPlotOrder(kPlotLY, m_layers.GetCount());
    m_layers.Add(CPlotLayer{Int(f[0]), Int(f[1]), Int(f[2]), Int(f[3]), f[4]});
}

void CPlotPage::AddPlotLine(const PlotFields& f) {
    AddPlotOrder(kPlotDL, m_lines.GetCount());
    m_lines.Add(CPlotLine{Real(f[0]), Real(f[1]), Real(f[2]), Real(f[3]), Int(f[4])});
}

void CPlotPage::AddPlotVertex(const PlotFields& f) {
    AddPlotOrder(kPlotLL, m_vertices.GetCount());
    m_vertices.Add(CPlotVertex{Real(f[0]), Real(f[1]), Int(f[2]), Int(f[3]), Int(f[4])});
}

void CPlotPage::AddPlotMark(const PlotFields& f) {
    AddPlotOrder(kPlotAP, m_marks.GetCount());
    m_marks.Add(CPlotMark{Real(f[0]), Real(f[1]), Real(f[2]), Int(f[3]), Int(f[4])});
}

void CPlotPage::AddPlotEllipse(const PlotFields& f) {
    AddPlotOrder(kPlotEL, m_ellipses.GetCount());
    m_ellipses.Add(CPlotEllipse{Real(f[0]), Real(f[1]), Real(f[2]), Real(f[3]), Real(f[4]),
                                Real(f[5]), Real(f[6]), Int(f[7])});
}

void CPlotPage::AddPlotArc(const PlotFields& f) {
    AddPlotOrder(kPlotGC, m_arcs.GetCount());
    m_arcs.Add(CPlotArc{Real(f[0]), Real(f[1]), Real(f[2]), Real(f[3]), Real(f[4]), Real(f[5]),
                        Int(f[6]), Int(f[7])});
}

void CPlotPage::AddPlotArrow(const PlotFields& f) {
    AddPlotOrder(kPlotAH, m_arrows.GetCount());
    m_arrows.Add(CPlotArrow{Real(f[0]), Real(f[1]), Real(f[2]), Real(f[3]), Real(f[4]), Real(f[5]),
                            Int(f[6]), Int(f[7])});
}

void CPlotPage::AddPlotText(const PlotFields& f) {
    AddPlotOrder(kPlotVJ, m_texts.GetCount());
    m_texts.Add(CPlotText{Real(f[0]), Real(f[1]), Real(f[2]), Real(f[3]), f[6], Real(f[4]), Int(f[5])});
}

CPlotStore::CPlotStore() : m_nPageCount(1) {}

void CPlotStore::AllocPlotData() {
    std::vector<CPlotPage> pages;
    if (m_nPageCount >= 1) pages.resize(static_cast<std::size_t>(m_nPageCount));
    m_pages.swap(pages);
}

void CPlotStore::FreePlotData() { std::vector<CPlotPage>().swap(m_pages); }

const CPlotPage* CPlotStore::GetPage(int page) const {
    if (page < 0 || static_cast<std::size_t>(page) >= m_pages.size()) return nullptr;
    return &m_pages[static_cast<std::size_t>(page)];
}

int CPlotStore::ReadPlotFile(int page, const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return -1;
    return ReadPlotText(page, text);
}

int CPlotStore::ReadPlotText(int page, std::string_view text) {
    if (page < 0 || page >= m_nPageCount) return -1;
    // Read into fresh pages and swap them in at the end, so the earlier figure's data
    // is released exactly once and nothing half-read is ever visible.
    std::vector<CPlotPage> pages(static_cast<std::size_t>(m_nPageCount));
    CPlotPage& p = pages[static_cast<std::size_t>(page)];

    PlotFields fields;
    // The reader's own line type 0 and layer 0: what a record with an unknown layer or
    // line type falls back to (black, thinnest, solid).
    fields[0] = "100000"; fields[1] = "0"; fields[2] = "0"; fields[3] = "0"; fields[4] = "CONTINUOUS";
    p.AddPlotLineType(fields);
    fields[0] = "0"; fields[1] = "0"; fields[2] = "7"; fields[3] = "0"; fields[4] = "0";
    p.AddPlotLayer(fields);

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const KeyEntry* key = FindKey(line);
        if (key == nullptr) continue;
        if (key->kind == kPlotVJ)
            SplitPlotTextFields(fields, line, key->fieldCount);
        else
            SplitPlotFields(fields, line, key->fieldCount);
        switch (key->kind) {
        case kPlotLT: p.AddPlotLineType(fields); break;
        case kPlotLY: p.AddPlotLayer(fields); break;
        case kPlotDL: p.AddPlotLine(fields); break;
        case kPlotLL: p.AddPlotVertex(fields); break;
        case kPlotAP: p.AddPlotMark(fields); break;
        case kPlotEL: p.AddPlotEllipse(fields); break;
        case kPlotGC: p.AddPlotArc(fields); break;
        case kPlotAH: p.AddPlotArrow(fields); break;
        case kPlotVJ: p.AddPlotText(fields); break;
        }
    }
    m_pages.swap(pages);
    return 0;
}

}  // namespace wv
