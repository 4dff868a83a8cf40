#include "solver/column_results.h"

#include "solver/result_files.h"
#include "solver/solver_constants.h"

#include <cmath>

namespace wv::solv {

namespace {

constexpr int kRowsPerTask = 32;

int TaskCount(int rows) { return (rows + kRowsPerTask - 1) / kRowsPerTask; }

// A ratio to the offshore height; with no incident waves every height is 0 and so is
// the ratio.
double HeightRatio(double h, double h0) { return h0 == 0.0 ? 0.0 : h / h0; }

// The sums of the spectrum of N neighbouring rows from row j: energy, energy times the
// squared frequency and energy times direction, each in bin order within component
// order, negative energies set to 0 first (the solver may leave small negative energies;
// they must not travel into the next column). Each sum depends only on its own additions,
// so two rows side by side give the processor six chains to overlap instead of three.
struct RowSums {
    double m0 = 0.0, m2 = 0.0, direction = 0.0;
};

template <int N>
void SumRows(RunState& st, int j, RowSums* out) {
    const int nd = st.nd;
    double m0[N] = {}, m2[N] = {}, dir[N] = {};
    for (int k = 0; k < st.nf; ++k) {
        const double f = st.spectrum.freq[static_cast<std::size_t>(k)];
        double* e[N];
        for (int r = 0; r < N; ++r) e[r] = &st.energy[st.EnergyIndex(k, j + r, 1)];
        for (int m = 0; m < nd; ++m) {
            const double theta = st.thetaBin[static_cast<std::size_t>(m)];
            for (int r = 0; r < N; ++r) {
                double& x = e[r][m];
                if (x <= 0.0) x = 0.0;
                m0[r] += x;
                m2[r] += f * f * x;
                dir[r] += theta * x;
            }
        }
    }
    for (int r = 0; r < N; ++r) out[r] = RowSums{m0[r], m2[r], dir[r]};
}

// Rows j0..j1 of column i, at most kRowsPerTask: negative energies set to 0; H, T and the
// mean direction; the breaking heights limited to 1.8 H; the radiation stresses when the
// dump is asked for.
ColumnStatus StatisticsRows(RunState& st, int i, int j0, int j1) {
    const int nd = st.nd;
    const int nf = st.nf;
    const double periodScale = st.in.period / st.spectrum.meanPeriod;
    const bool dump = st.in.dumpSwitch == 0;
    RowSums sums[kRowsPerTask];
    for (int j = j0; j <= j1;) {
        if (!st.Wet(i, j)) {
            ++j;
        } else if (j < j1 && st.Wet(i, j + 1)) {
            SumRows<2>(st, j, &sums[j - j0]);
            j += 2;
        } else {
            SumRows<1>(st, j, &sums[j - j0]);
            ++j;
        }
    }
    for (int j = j0; j <= j1; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - 1);
        double height = 0.0;
        double period = 0.0;
        double direction = 0.0;
        const bool wet = st.Wet(i, j);
        if (wet) {
            const RowSums& r = sums[j - j0];
            if (r.m2 != 0.0) {
                height = 4.0 * std::sqrt(r.m0);
                period = std::sqrt(r.m0 / r.m2) * periodScale;
            }
            if (r.m0 != 0.0) direction = r.direction / r.m0;
        }
        st.rowHeight[row] = height;
        st.rowPeriod[row] = period;
        st.rowDirection[row] = direction;
        double& breakHeight = st.rowBreakHeight[row];
        if (breakHeight > 1.8 * height) breakHeight = 1.8 * height;

        if (dump && wet) {
            const double h = st.in.Depth(i, j);
            double sxx = 0.0, syy = 0.0, sxy = 0.0;
            for (int k = 0; k < nf; ++k) {
                const double T = 1.0 / st.spectrum.freq[static_cast<std::size_t>(k)];
                double L = 0.0;
                DispersionFault fault = DispersionFault::None;
                const int flag = DISPERSION(h, T, L, &fault);
                if (flag < 0)
                    return fault == DispersionFault::Land ? ColumnStatus::DispersionLand : ColumnStatus::DispersionFailed;
                double n = 0.5;
                if (flag == 0) {
                    const double k2h = 4.0 * kPi * h / L;
                    n = 0.5 * (1.0 + k2h / std::sinh(k2h));
                }
                const double* e = &st.energy[st.EnergyIndex(k, j, 1)];
                for (int m = 0; m < nd; ++m) {
                    const double c = st.cosBin[static_cast<std::size_t>(m)];
                    const double s = st.sinBin[static_cast<std::size_t>(m)];
                    sxx += (n * (c * c) + (n - 0.5)) * e[m];
                    syy += (n * (s * s) + (n - 0.5)) * e[m];
                    sxy += n * s * c * e[m];
                }
            }
            const std::size_t node = st.Node(i, j);
            st.sxx[node] = sxx;
            st.syy[node] = syy;
            st.sxy[node] = sxy;
        }
    }
    return ColumnStatus::Ok;
}

}  // namespace

ColumnStatus ColumnStatistics(RunState& st, int i, WorkerPool& pool) {
    const int tasks = TaskCount(st.ny);
    std::vector<ColumnStatus> status(static_cast<std::size_t>(tasks), ColumnStatus::Ok);
    pool.Run(tasks, [&](int task, int) {
        const int j0 = task * kRowsPerTask + 1;
        status[static_cast<std::size_t>(task)] = StatisticsRows(st, i, j0, std::min(st.ny, j0 + kRowsPerTask - 1));
    });
    for (ColumnStatus s : status)
        if (s != ColumnStatus::Ok) return s;
    return ColumnStatus::Ok;
}

void PendingRecords::Take(const RunState& st, int i) {
    m_st = &st;
    m_column = i;
    const auto rows = static_cast<std::ptrdiff_t>(st.ny);
    m_height.assign(st.rowHeight.begin(), st.rowHeight.begin() + rows);
    m_period.assign(st.rowPeriod.begin(), st.rowPeriod.begin() + rows);
    m_direction.assign(st.rowDirection.begin(), st.rowDirection.begin() + rows);
    m_breakHeight.assign(st.rowBreakHeight.begin(), st.rowBreakHeight.begin() + rows);
    const auto tasks = static_cast<std::size_t>(TaskCount(st.ny));
    m_text.resize(tasks);
    m_bad.assign(tasks, 0);
    m_outcome = Outcome::Ok;
    m_next.store(0, std::memory_order_relaxed);
    m_done.store(0, std::memory_order_release);
}

void PendingRecords::Work() {
    if (m_column == 0) return;
    const int tasks = static_cast<int>(m_text.size());
    for (int t; (t = m_next.fetch_add(1, std::memory_order_relaxed)) < tasks;) Complete(t);
}

void PendingRecords::Complete(int task) {
    Format(task);
    if (m_done.fetch_add(1, std::memory_order_acq_rel) + 1 == static_cast<int>(m_text.size())) HandOn();
}

PendingRecords::Outcome PendingRecords::Finish(WorkerPool& pool) {
    if (m_column == 0) return Outcome::Ok;
    // Blocks taken by threads of the last column's solves were finished before those
    // threads returned, so only blocks nobody took are left.
    const int left = static_cast<int>(m_text.size()) - std::min<int>(m_next.load(), static_cast<int>(m_text.size()));
    if (left > 0) {
        const int tasks = static_cast<int>(m_text.size());
        pool.Run(left, [&](int, int) {
            const int t = m_next.fetch_add(1, std::memory_order_relaxed);
            if (t < tasks) Complete(t);
        });
    }
    m_column = 0;
    return m_outcome;
}

// Rows of one block of the pending column, from the copied values.
void PendingRecords::Format(int task) {
    const RunState& st = *m_st;
    const int i = m_column;
    const int j0 = task * kRowsPerTask + 1;
    const int j1 = std::min(st.ny, j0 + kRowsPerTask - 1);
    const double h0 = st.in.height;
    const double t0 = st.in.period;
    const bool everyRow = st.in.outputSelection == 0;
    const bool breaking = st.in.breaking == 1;
    std::string& buf = m_text[static_cast<std::size_t>(task)];
    buf.clear();
    if (everyRow) buf.reserve(static_cast<std::size_t>(j1 - j0 + 1) * 104);
    for (int j = j0; j <= j1; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - 1);
        const double height = m_height[row];
        const double breakHeight = m_breakHeight[row];
        const double theta = m_direction[row];
        if (!std::isfinite(height) || !std::isfinite(breakHeight) || !std::isfinite(theta) ||
            !std::isfinite(m_period[row])) {
            m_bad[static_cast<std::size_t>(task)] = 1;
            return;
        }
        if (!everyRow && j != st.centreRow) continue;

        NodeRecord r;
        r.x = (i - 1) * st.dx + st.in.x0;
        r.y = (j - 1) * st.dy + st.in.y0;
        r.depth = st.in.Depth(i, j);
        r.heightRatio = HeightRatio(height, h0);
        r.refraction = -99.0;
        if (!breaking && r.depth > 0.0) {
            const double g = REFRCOEF(t0, r.depth, height);
            r.refraction = g > 0.0 ? g / h0 : g;
        }
        r.maxHeightRatio = HeightRatio(breakHeight, h0);
        r.periodRatio = m_period[row] / t0;
        r.directionDeg = theta / kPi * 180.0;
        r.vectorX = r.heightRatio * std::cos(theta);
        r.vectorY = r.heightRatio * std::sin(theta);
        if (!AppendResultRecord(r, buf)) {
            m_bad[static_cast<std::size_t>(task)] = 1;
            return;
        }
    }
}

// Each block filled a string of its own: strings side by side in one array share cache
// lines, and appending to them in place would have the threads fight over those lines
// at every field. The column is handed on whole, or not at all.
void PendingRecords::HandOn() {
    for (unsigned char b : m_bad)
        if (b) {
            m_outcome = Outcome::NonFinite;
            return;
        }
    std::size_t size = 0;
    for (const std::string& t : m_text) size += t.size();
    std::string column;
    column.reserve(size);
    for (const std::string& t : m_text) column += t;
    m_outcome = m_sink(column) ? Outcome::Ok : Outcome::WriteFailed;
}

ColumnStatus ColumnResults(RunState& st, int i, WorkerPool& pool, std::string& out) {
    const ColumnStatus s = ColumnStatistics(st, i, pool);
    if (s != ColumnStatus::Ok) return s;
    PendingRecords records([&out](const std::string& text) {
        out += text;
        return true;
    });
    records.Take(st, i);
    return records.Finish(pool) == PendingRecords::Outcome::Ok ? ColumnStatus::Ok : ColumnStatus::NonFinite;
}

bool ColumnDump(const RunState& st, int i, std::string& out) {
    for (int j = 1; j <= st.ny; ++j) {
        const std::size_t node = st.Node(i, j);
        if (!AppendDumpRecord(i, j, st.sxx[node], st.syy[node], st.sxy[node], out)) return false;
    }
    return true;
}

}  // namespace wv::solv
