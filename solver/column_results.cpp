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

// Rows j0..j1 of column i: negative energies set to 0; H, T and the mean direction; the
// radiation stresses when the dump is asked for.
ColumnStatus StatisticsRows(RunState& st, int i, int j0, int j1) {
    const int nd = st.nd;
    const int nf = st.nf;
    const double periodScale = st.in.period / st.spectrum.meanPeriod;
    const bool dump = st.in.dumpSwitch == 0;
    for (int j = j0; j <= j1; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - 1);
        double m0 = 0.0;
        double m2 = 0.0;
        double height = 0.0;
        double period = 0.0;
        double direction = 0.0;
        const bool wet = st.Wet(i, j);
        if (wet) {
            for (int k = 0; k < nf; ++k) {
                const double f = st.spectrum.freq[static_cast<std::size_t>(k)];
                double* e = &st.energy[st.EnergyIndex(k, j, 1)];
                for (int m = 0; m < nd; ++m) {
                    // The solver may leave small negative energies; they must not
                    // travel into the next column.
                    if (e[m] <= 0.0) e[m] = 0.0;
                    m0 += e[m];
                    m2 += f * f * e[m];
                }
            }
            if (m2 != 0.0) {
                height = 4.0 * std::sqrt(m0);
                period = std::sqrt(m0 / m2) * periodScale;
            }
            if (m0 != 0.0) {
                double sum = 0.0;
                for (int k = 0; k < nf; ++k) {
                    const double* e = &st.energy[st.EnergyIndex(k, j, 1)];
                    for (int m = 0; m < nd; ++m) sum += st.thetaBin[static_cast<std::size_t>(m)] * e[m];
                }
                direction = sum / m0;
            }
        }
        st.rowHeight[row] = height;
        st.rowPeriod[row] = period;
        st.rowDirection[row] = direction;

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

// The records of rows j0..j1 of column i appended to buf, the breaking heights limited to
// 1.8 H. False when a value is not finite or does not fit its field.
bool RecordRows(RunState& st, int i, int j0, int j1, std::string& buf) {
    const double h0 = st.in.height;
    const double t0 = st.in.period;
    const bool everyRow = st.in.outputSelection == 0;
    const bool breaking = st.in.breaking == 1;
    for (int j = j0; j <= j1; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - 1);
        const double height = st.rowHeight[row];
        double& breakHeight = st.rowBreakHeight[row];
        if (breakHeight > 1.8 * height) breakHeight = 1.8 * height;
        const double theta = st.rowDirection[row];
        if (!std::isfinite(height) || !std::isfinite(breakHeight) || !std::isfinite(theta) ||
            !std::isfinite(st.rowPeriod[row])) {
            return false;
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
        r.periodRatio = st.rowPeriod[row] / t0;
        r.directionDeg = theta / kPi * 180.0;
        r.vectorX = r.heightRatio * std::cos(theta);
        r.vectorY = r.heightRatio * std::sin(theta);
        if (!AppendResultRecord(r, buf)) {
            return false;
        }
    }
    return true;
}

}  // namespace

ColumnStatus ColumnResults(RunState& st, int i, WorkerPool& pool, std::string& out) {
    const int tasks = TaskCount(st.ny);
    std::vector<ColumnStatus> status(static_cast<std::size_t>(tasks), ColumnStatus::Ok);
    std::vector<unsigned char> bad(static_cast<std::size_t>(tasks), 0);
    std::vector<std::string> text(static_cast<std::size_t>(tasks));
    // A row's record needs only that row's statistics, so one pass over blocks of rows
    // does both. Each task fills a string of its own and hands it over at the end: the
    // strings of neighbouring tasks share cache lines, and appending to them in place
    // would have the threads fight over those lines at every field.
    pool.Run(tasks, [&](int task, int) {
        const int j0 = task * kRowsPerTask + 1;
        const int j1 = std::min(st.ny, j0 + kRowsPerTask - 1);
        const std::size_t t = static_cast<std::size_t>(task);
        status[t] = StatisticsRows(st, i, j0, j1);
        if (status[t] != ColumnStatus::Ok) return;
        std::string buf;
        if (st.in.outputSelection == 0) buf.reserve(static_cast<std::size_t>(j1 - j0 + 1) * 104);
        if (!RecordRows(st, i, j0, j1, buf)) bad[t] = 1;
        text[t] = std::move(buf);
    });
    // The statistics' failures first, as a column's statistics come before its records.
    for (ColumnStatus s : status)
        if (s != ColumnStatus::Ok) return s;
    for (unsigned char b : bad)
        if (b) return ColumnStatus::NonFinite;
    for (const std::string& t : text) out += t;
    return ColumnStatus::Ok;
}

bool ColumnDump(const RunState& st, int i, std::string& out) {
    for (int j = 1; j <= st.ny; ++j) {
        const std::size_t node = st.Node(i, j);
        if (!AppendDumpRecord(i, j, st.sxx[node], st.syy[node], st.sxy[node], out)) return false;
    }
    return true;
}

}  // namespace wv::solv
