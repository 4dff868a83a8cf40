#include "calc/contour_run.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_messages.h"
#include "calc/contour_levels.h"
#include "calc/contour_trace.h"
#include "calc/parallel.h"
#include "calc/phase_progress.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace wv {

int ContourThreadCount(int requested) {
    if (requested > 0) return std::min(requested, 256);
    if (const char* env = std::getenv("WAVORA_THREADS")) {
        const int n = WinAtoi(env);
        if (n > 0) return std::min(n, 256);
    }
    const unsigned hw = std::thread::hardware_concurrency();
    return hw > 0 ? static_cast<int>(hw) : 1;
}

namespace {

void ClearDepthFigure(CTydDocData& doc) {
    doc.m_hcheckPoints.Free();
    doc.m_hcheckPoints.SetCount(0);
    doc.m_hcheckLines.Free();
    doc.m_hcheckLines.SetCount(0);
}

void ClearResultFigure(CTydDocData& doc) {
    doc.m_contGroup.FreeLines();
    doc.m_contGroup.SetCount(0);
    doc.m_contGroup.SetCapacity(0);
}

// Scratch arrays shared by the threads of a run, one set per level in flight.
class ScratchPool {
public:
    ContourScratchPtr Take() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.empty()) return MakeContourScratch();
        ContourScratchPtr s = std::move(m_free.back());
        m_free.pop_back();
        return s;
    }
    void Give(ContourScratchPtr s) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_free.push_back(std::move(s));
    }

private:
    std::mutex m_mutex;
    std::vector<ContourScratchPtr> m_free;
};

int RunContours(CTydViewData& view, int figure, const ContourOptions& options) {
    CTydDocData& doc = view.GetDocument();
    if (doc.m_nTriNodes <= 0) return -1;
    const bool depth = figure == kDepthFigure;
    if (!depth && (figure < 0 || figure >= kValueTypes)) return -1;

    std::unique_ptr<CCalcProgressDlg> dlg = CreateCalcProgressDlg();
    dlg->SetWindowText(depth ? calcmsg::kDepthContourCaption : calcmsg::kResultContourCaption);
    dlg->m_bCancel = 0;

    const CContPara& para = depth ? doc.m_contPara : doc.m_contParaFig[figure];
    const double lo = depth ? static_cast<double>(doc.m_hcheckLines.GetMinDepth()) : doc.m_mesh.GetMinValue(figure);
    const double hi = depth ? static_cast<double>(doc.m_hcheckLines.GetMaxDepth()) : doc.m_mesh.GetMaxValue(figure);
    const ContourLevelList list = BuildContourLevels(para, lo, hi);
    if (list.tooMany) {
        dlg->DestroyWindow();
        Ui().MessageBox(calcmsg::kTooManyLevels,
                        depth ? calcmsg::kDepthContourTitle : calcmsg::kResultContourTitle, MbButtons::Ok,
                        MbIcon::Warning);
        return -1;
    }
    const std::vector<double>& levels = list.levels;
    const int count = static_cast<int>(levels.size());
    if (count == 0) {
        dlg->DestroyWindow();
        return -1;
    }

    if (depth) {
        ClearDepthFigure(doc);
    } else {
        ClearResultFigure(doc);
        // The archive stores this capacity; polylines are made only as they are filled.
        doc.m_contGroup.SetCapacity(100 * count);
        doc.m_contGroup.SetGrowBy(100 * count);
        doc.m_contGroup.AllocLines();
    }
    PhaseProgress progress(*dlg);
    progress.SetRange(count);
    auto cancelled = [&] {
        if (depth) ClearDepthFigure(doc);
        else ClearResultFigure(doc);
        dlg->DestroyWindow();
        return -1;
    };

    if (options.method == ContourOptions::Method::Straightforward) {
        for (int i = 0; i < count; ++i) {
            if (depth) TraceDepthContourReference(doc, levels[i]);
            else TraceResultContourReference(doc, figure, levels[i]);
            if (!progress.Step()) return cancelled();
        }
        dlg->DestroyWindow();
        return 0;
    }

    ParallelRunner runner(ContourThreadCount(options.threads));
    ParallelRunner* pr = runner.Threads() > 1 ? &runner : nullptr;
    ContourField field;
    PrepareContourField(doc, figure, field, pr);
    ContourBuckets buckets;
    BuildContourBuckets(field, levels, buckets, pr);

    ScratchPool pool;
    // Levels are traced in batches on the threads and appended one by one in list order,
    // each followed by its progress step, so a cancel comes at the same level as it
    // would in a single-threaded run.
    const int batch = std::max(1, 2 * runner.Threads());
    std::vector<ContourLevel> done(static_cast<std::size_t>(std::min(batch, count)));
    for (int b = 0; b < count; b += batch) {
        const int e = std::min(count, b + batch);
        auto trace = [&](int i) {
            ContourScratchPtr s = pool.Take();
            const int slot = buckets.levelSlot[i];
            ContourLevel& out = done[static_cast<std::size_t>(i - b)];
            if (slot < 0) {
                TraceContourLevel(field, levels[i], nullptr, 0, !depth, *s, out);
            } else {
                const long long first = buckets.start[slot];
                const int n = static_cast<int>(buckets.start[slot + 1] - first);
                TraceContourLevel(field, levels[i], buckets.tris.data() + first, n, !depth, *s, out);
            }
            pool.Give(std::move(s));
        };
        if (pr) pr->For(b, e, trace);
        else for (int i = b; i < e; ++i) trace(i);
        for (int i = b; i < e; ++i) {
            ContourLevel& lv = done[static_cast<std::size_t>(i - b)];
            if (depth) AppendDepthLevel(doc, lv);
            else AppendResultLevel(doc, lv);
            lv = ContourLevel();
            if (!progress.Step()) return cancelled();
        }
    }
    dlg->DestroyWindow();
    return 0;
}

}  // namespace

int MakeDepthContours(CTydViewData& view, const ContourOptions& options) {
    return RunContours(view, kDepthFigure, options);
}

int MakeResultContours(CTydViewData& view, int kind, const ContourOptions& options) {
    return RunContours(view, kind, options);
}

}  // namespace wv
