#include "calc/result_loader.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_run_files.h"
#include "calc/calc_state.h"
#include "calc/digital_lattice.h"
#include "calc/kka_reader.h"
#include "calc/calc_messages.h"
#include "core/tik_inf.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>

namespace wv {

namespace {

// The mesh spacing and the depths exactly as the solver input holds them (three
// decimals), so that the result file can be checked against what the solver was given.
double AsWrittenToSolver(double v) { return WinAtof(Sprintf("%.3f", v)); }

KkaExpectation ExpectationOf(const CTydDocData& doc, int code) {
    const CDigitalMap& mesh = doc.m_mesh;
    KkaExpectation run;
    run.rows = std::max(0, mesh.GetMeshCountY());
    run.cols = std::max(0, mesh.GetMeshCountX());
    run.code = code;
    run.spacing = AsWrittenToSolver(doc.m_calcArea.GetMeshSize());
    run.depths.resize(static_cast<std::size_t>(run.rows) * run.cols, kNoDepth);
    for (int r = 0; r < run.rows; ++r)
        for (int c = 0; c < run.cols; ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node >= 0)
                run.depths[static_cast<std::size_t>(r) * run.cols + c] =
                    AsWrittenToSolver(mesh.GetAt(node).GetDepth());
        }
    return run;
}

// Reads the result file for the run's orientation. A document opened since its run was
// started does not know that orientation; the conditions give the likely one, and when
// the file does not fit it, the one other orientation that it fits is taken.
KkaResult ReadForRun(const std::string& text, const CTydDocData& doc, const ResultLoadRun& run) {
    if (run.orientation >= 0 && run.orientation <= 3)
        return ReadKkaText(text, ExpectationOf(doc, run.orientation));

    int likely = 0;
    GetWaveDirQuadrant(doc, run.viewAngle, &likely);
    KkaResult first = ReadKkaText(text, ExpectationOf(doc, likely));
    if (first.ok) return first;
    KkaResult found;
    int fits = 0;
    for (int code = 0; code < 4; ++code) {
        if (code == likely) continue;
        KkaResult r = ReadKkaText(text, ExpectationOf(doc, code));
        if (r.ok) {
            ++fits;
            found = std::move(r);
        }
    }
    return fits == 1 ? found : first;
}

// Smallest and largest value of a kind over each triangle's three nodes.
void TriangleValueRanges(CTydDocData& doc, int slot, int kind, double h0) {
    const std::size_t count = static_cast<std::size_t>(std::max(0, doc.m_nTriNodes));
    std::vector<float>& lo = doc.m_pTriMinValue[slot];
    std::vector<float>& hi = doc.m_pTriMaxValue[slot];
    if (lo.size() < count) lo.resize(count, 0.0f);
    if (hi.size() < count) hi.resize(count, 0.0f);
    for (std::size_t t = 0; t < count && 3 * t + 2 < doc.m_pTriNodeB.size(); ++t) {
        double mn = 0.0, mx = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double v = doc.m_mesh.GetAt(doc.m_pTriNodeB[3 * t + k]).GetValue(kind, h0);
            if (k == 0 || v < mn) mn = v;
            if (k == 0 || v > mx) mx = v;
        }
        lo[t] = static_cast<float>(mn);
        hi[t] = static_cast<float>(mx);
    }
}

// The rest of a file already open, then closed; false when reading failed.
bool ReadOpenFile(std::FILE* in, std::string& text) {
    text.clear();
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
    const bool ok = std::ferror(in) == 0;
    std::fclose(in);
    return ok;
}

// Calls visit(node, cell) for every sea node of the mesh with the result file's cell of
// its place; stops early when visit returns false. False when it stopped.
template <class Visit> bool ForEachSeaNode(const CDigitalMap& mesh, const KkaResult& file, Visit visit) {
    const int rows = std::max(0, mesh.GetMeshCountY());
    const int cols = std::max(0, mesh.GetMeshCountX());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node >= 0 && !visit(node, file.cells[static_cast<std::size_t>(r) * cols + c])) return false;
        }
    return true;
}

// Whether every sea node already holds the values the result file gives it.
bool MeshHolds(const CTydDocData& doc, const KkaResult& file) {
    const bool breaking = doc.m_info.m_bBreaking != 0;
    return ForEachSeaNode(doc.m_mesh, file, [&](int node, const KkaCell& cell) {
        const CCalValue v = doc.m_mesh.GetAt(node);
        return v.GetHeightRatio() == cell.heightRatio && v.GetDirection() == cell.direction &&
               (breaking || v.GetEquivRatio() == cell.equivRatio);
    });
}

// The files that carried the results to the document, once it holds them on disk: the
// result file, the batch input, and last the batch marker, which says that a batch's
// results wait to be loaded.
void RemoveConsumedFiles(CTydDocData& doc) {
    const std::string kka = doc.SideFile("KKA");
    if (!kka.empty()) DeleteFileSilently(kka);
    DeleteDecFile(doc);
    const std::string marker = doc.SideFile("YNO");
    if (!marker.empty()) DeleteFileSilently(marker);
}

}  // namespace

double GetWaveIncidentAngle(const CTydDocData& doc) {
    const CTyd_Inf& info = doc.m_info;
    if (info.m_nDirMode == 0) return g_tikInf.m_dNorth - 22.5 * info.m_nDir16;
    if (info.m_nDirMode == 1) return g_tikInf.m_dNorth + info.m_dDirAngle;
    return g_tikInf.m_dNorth - info.m_dDirAngle;
}

double GetWaveDirAngle(const CTydDocData& doc) {
    return NormalizeDegrees(90.0 - GetWaveIncidentAngle(doc));
}

double CalcViewAngle(const CTydDocData& doc) {
    if (doc.m_info.m_bFreeRotation != 0) return doc.m_zmn.m_dRotation;
    return -GetWaveDirAngle(doc);
}

double GetWaveDirQuadrant(const CTydDocData& doc, double viewAngle, int* code) {
    const WaveOrientation o = OrientationOf(GetWaveIncidentAngle(doc), viewAngle);
    if (code) *code = o.code;
    return o.residual;
}

int LoadCalcResults(CTydViewData& view, const ResultLoadRun& run) {
    CTydDocData& doc = view.GetDocument();
    CDigitalMap& mesh = doc.m_mesh;
    const int state = doc.m_info.m_nCalcState;
    // A batch run of this document: its results replace any loaded before, and a
    // document saved in state 1 by the batch-data command takes them too.
    const std::string marker = doc.SideFile("YNO");
    const bool batchRun = !marker.empty() && FileExists(marker);

    // Every refusal is decided before anything changes: a refused request must leave the
    // batch's results loadable later, marker included, and the document as it was.
    if (state == kCalcResults && !batchRun) return kResultsAlreadyLoaded;
    if (state != kCalcDepths && state != kCalcStarted && state != kCalcResults) {
        Ui().MessageBox(calcmsg::kNeedDepths, calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
        return kResultsNotLoaded;
    }
    if (state == kCalcDepths && !batchRun) {
        Ui().MessageBox(calcmsg::kNeedWaveCalc, calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
        return kResultsNotLoaded;
    }

    // A result file still being written would be read half.
    std::string title;
    if (IsCalcRunGoingOn(doc.GetPathName(), &title)) {
        Ui().MessageBox(std::string(calcmsg::kRunningHead) + title + calcmsg::kRunningTail,
                        calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
        return kResultsNotLoaded;
    }

    // No result file (yet): nothing to load, silently; a loaded document goes on showing
    // the results it has.
    const int nothingNew = state == kCalcResults ? kResultsAlreadyLoaded : kResultsNotLoaded;
    const std::string kka = doc.SideFile("KKA");
    std::FILE* in = kka.empty() ? nullptr : std::fopen(kka.c_str(), "rb");
    if (!in) return nothingNew;
    view.ResultsReading(true);
    std::string text;
    const bool read = ReadOpenFile(in, text);
    // Everything is checked before the mesh is touched.
    KkaResult file;
    if (read) file = ReadForRun(text, doc, run);
    view.ResultsReading(false);
    if (!read) return nothingNew;
    if (!file.ok) {
        Ui().MessageBox(std::string(calcmsg::kBadResultFile) + "\n" + kka + "\n(" + file.error + ")",
                        calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::Error);
        return kResultsNotLoaded;
    }

    // These very results were loaded before, by a load whose save failed (or was killed
    // before the files went): reading them in again would throw away what was made of
    // them since. They are in once the document is saved.
    if (state == kCalcResults && MeshHolds(doc, file)) {
        if (!doc.IsModified()) RemoveConsumedFiles(doc);
        return kResultsAlreadyLoaded;
    }

    if (batchRun) {
        const double h0 = mesh.GetWaveHeight();
        ClearWaveResults(view);
        view.RedrawAll();
        mesh.SetWaveHeight(h0);
    }

    const bool breaking = doc.m_info.m_bBreaking != 0;
    ForEachSeaNode(mesh, file, [&](int node, const KkaCell& cell) {
        CCalValue v = mesh.GetAt(node);
        v.SetHeightRatio(cell.heightRatio);
        // With breaking the solver gives no equivalent deep-water ratio; the node keeps
        // the 0 the calculate command left.
        if (!breaking) v.SetEquivRatio(cell.equivRatio);
        v.SetDirection(cell.direction);
        mesh.SetAt(node, v);
        return true;
    });

    // Equivalent deep-water values do not exist with breaking.
    if (breaking && (doc.m_zmn.m_nValueType == 2 || doc.m_zmn.m_nValueType == 3))
        doc.m_zmn.m_nValueType -= 2;

    mesh.CalcResultRange();
    const double waveHeight = mesh.GetWaveHeight();
    TriangleValueRanges(doc, 0, 1, waveHeight);
    TriangleValueRanges(doc, 1, 3, waveHeight);

    doc.m_info.m_nCalcState = kCalcResults;

    if (view.m_bResultListOpen == 1) {
        UpdateCalcPointResults(view, run.viewAngle);
        view.PostResultListRefresh();
    }

    Ui().MessageBox(calcmsg::kLoadedSaving, calcmsg::kLoadedCaption, MbButtons::Ok, MbIcon::Information);

    // The result file (and, for a batch run, its marker) is the only way to the results
    // until the document holds them on disk: they go only after a successful save. A
    // failed save leaves the document modified, so that closing it asks to save.
    if (doc.OnSaveDocument(doc.GetPathName()))
        RemoveConsumedFiles(doc);
    else
        doc.SetModifiedFlag(true);
    return kResultsLoaded;
}

}  // namespace wv
