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
    const double h0 = mesh.GetWaveHeight();

    // A batch run of this document has replaced the results since they were loaded.
    const std::string marker = doc.SideFile("YNO");
    if (!marker.empty() && FileExists(marker)) {
        DeleteFileSilently(marker);
        doc.m_info.m_nCalcState = kCalcStarted;
        ClearWaveResults(view);
        view.RedrawAll();
        mesh.SetWaveHeight(h0);
    }

    switch (doc.m_info.m_nCalcState) {
        case kCalcStarted: break;
        case kCalcResults: return kResultsAlreadyLoaded;
        case kCalcDepths:
            Ui().MessageBox(calcmsg::kNeedWaveCalc, calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
            return kResultsNotLoaded;
        default:
            Ui().MessageBox(calcmsg::kNeedDepths, calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
            return kResultsNotLoaded;
    }

    // A result file still being written would be read half.
    std::string title;
    if (IsCalcRunGoingOn(doc.GetPathName(), &title)) {
        Ui().MessageBox(std::string(calcmsg::kRunningHead) + title + calcmsg::kRunningTail,
                        calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::None);
        return kResultsNotLoaded;
    }

    const std::string kka = doc.SideFile("KKA");
    std::string text;
    if (kka.empty() || !ReadWholeFile(kka, text, nullptr)) return kResultsNotLoaded;

    // Everything is checked before the mesh is touched.
    const KkaResult file = ReadForRun(text, doc, run);
    if (!file.ok) {
        Ui().MessageBox(std::string(calcmsg::kBadResultFile) + "\n" + kka + "\n(" + file.error + ")",
                        calcmsg::kLoaderCaption, MbButtons::Ok, MbIcon::Error);
        return kResultsNotLoaded;
    }

    const bool breaking = doc.m_info.m_bBreaking != 0;
    const int rows = std::max(0, mesh.GetMeshCountY());
    const int cols = std::max(0, mesh.GetMeshCountX());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node < 0) continue;
            const KkaCell& cell = file.cells[static_cast<std::size_t>(r) * cols + c];
            CCalValue v = mesh.GetAt(node);
            v.SetHeightRatio(cell.heightRatio);
            // With breaking the solver gives no equivalent deep-water ratio; the node
            // keeps the 0 the calculate command left.
            if (!breaking) v.SetEquivRatio(cell.equivRatio);
            v.SetDirection(cell.direction);
            mesh.SetAt(node, v);
        }

    // Equivalent deep-water values do not exist with breaking.
    if (breaking && (doc.m_zmn.m_nValueType == 2 || doc.m_zmn.m_nValueType == 3))
        doc.m_zmn.m_nValueType -= 2;

    mesh.CalcResultRange();
    const double waveHeight = mesh.GetWaveHeight();
    TriangleValueRanges(doc, 0, 1, waveHeight);
    TriangleValueRanges(doc, 1, 3, waveHeight);

    doc.m_info.m_nCalcState = kCalcResults;
    DeleteDecFile(doc);

    if (view.m_bResultListOpen == 1) {
        UpdateCalcPointResults(view, run.viewAngle);
        view.PostResultListRefresh();
    }

    Ui().MessageBox(calcmsg::kLoadedSaving, calcmsg::kLoadedCaption, MbButtons::Ok, MbIcon::Information);

    // The result file is the only copy of the results until the document holds them on
    // disk: it goes only after a successful save.
    if (doc.OnSaveDocument(doc.GetPathName())) DeleteFileSilently(kka);
    return kResultsLoaded;
}

}  // namespace wv
