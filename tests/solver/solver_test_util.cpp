#include "solver_test_util.h"

#include "solver/incident_waves.h"
#include "solver/run_sequence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace wv::solvtest {

std::string ScratchFolder(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path p = fs::current_path() / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string() + "/";
}

std::vector<KkaRecord> ReadKka(const std::string& path) {
    std::vector<KkaRecord> out;
    LineReader reader("");
    std::string err;
    if (!LineReader::FromFile(path, reader, &err)) return out;
    std::string line;
    while (reader.Next(line)) {
        if (line.size() < 100) continue;  // dump records are 54 characters
        std::istringstream is(line);
        KkaRecord r{};
        is >> r.x >> r.y >> r.depth >> r.h >> r.kr >> r.hmax >> r.t >> r.dir >> r.vx >> r.vy;
        out.push_back(r);
    }
    return out;
}

CalcRequest MakeRequest(const std::string& folder, const std::string& title, const std::string& work,
                        const tools::CalCase& setup, int mode) {
    return CalcRequest{folder.c_str(), static_cast<int32_t>(folder.size()), title.c_str(),
                       static_cast<int32_t>(title.size()), work.c_str(), static_cast<int32_t>(work.size()),
                       setup.nd, setup.nf, setup.nx, setup.ny, mode};
}

int RunSolver(const std::string& folder, const std::string& title, const std::string& work,
              const tools::CalCase& setup, int mode) {
    CalcRequest req = MakeRequest(folder, title, work, setup, mode);
    return TYDSOLV(&req);
}

int WriteAndRun(const std::string& folder, const std::string& title, const tools::CalCase& setup,
                const std::function<double(int, int)>& depth, int mode) {
    std::string err;
    if (!AtomicWriteFile(folder + title + ".CAL", tools::MakeCalText(setup, depth), &err)) {
        ADD_FAILURE() << err;
        return -1;
    }
    return RunSolver(folder, title, folder, setup, mode);
}

solv::CalInput MakeInput(const tools::CalCase& s, const std::function<double(int, int)>& depth) {
    solv::CalInput in;
    in.outputSelection = s.outputSelection;
    in.breaking = s.breaking;
    in.lateralOption = s.lateralOption;
    in.dumpSwitch = s.dumpSwitch;
    in.nd = s.nd;
    in.smax = s.smax;
    in.rangeBelowDeg = s.rangeBelowDeg;
    in.rangeAboveDeg = s.rangeAboveDeg;
    in.nf = s.nf;
    in.nx = s.nx;
    in.ny = s.ny;
    in.dx = s.dx;
    in.dy = s.dy;
    in.x0 = s.x0;
    in.y0 = s.y0;
    in.period = s.period;
    in.height = s.height;
    in.theta0Deg = s.theta0Deg;
    in.depth.resize(static_cast<std::size_t>(s.nx) * s.ny);
    for (int i = 1; i <= s.nx; ++i)
        for (int j = 1; j <= s.ny; ++j) in.depth[static_cast<std::size_t>(i - 1) * s.ny + (j - 1)] = depth(i, j);
    return in;
}

MarchRun RunMarch(const tools::CalCase& setup, const std::function<double(int, int)>& depth, int threads,
                  bool keepEnergy) {
    return RunMarchInput(MakeInput(setup, depth), threads, keepEnergy);
}

MarchRun RunMarchInput(const solv::CalInput& input, int threads, bool keepEnergy) {
    using namespace solv;
    MarchRun run;
    RunState st;
    st.in = input;
    // The run's own setup, from the request a program would send for this input.
    const RequestDims dims{input.nd, input.nf, static_cast<long long>(input.nx) + kMeshMargin,
                           static_cast<long long>(input.ny) + kMeshMargin};
    {
        IncidentSpectrum check;
        EXPECT_TRUE(BuildIncidentSpectrum(SpectrumInputOf(st.in), check)) << "the input would be refused";
    }
    SetUpRun(st, dims);
    run.spectrum = st.spectrum;
    AllocateMarch(st, threads);
    WorkerPool pool(threads);
    PrepareMarch(st, pool);
    for (int i = 1; i <= input.nx; ++i) {
        ColumnStatus s = MarchColumn(st, i, pool);
        if (s == ColumnStatus::Ok) s = ColumnResults(st, i, pool, run.records);
        if (s != ColumnStatus::Ok) {
            run.status = s;
            return run;
        }
        const int ny = input.ny;
        ColumnRows rows;
        rows.height.assign(st.rowHeight.begin(), st.rowHeight.begin() + ny);
        rows.period.assign(st.rowPeriod.begin(), st.rowPeriod.begin() + ny);
        rows.direction.assign(st.rowDirection.begin(), st.rowDirection.begin() + ny);
        rows.breakHeight.assign(st.rowBreakHeight.begin(), st.rowBreakHeight.begin() + ny);
        if (keepEnergy) {
            for (int k = 0; k < input.nf; ++k) {
                const double* e = &st.energy[st.EnergyIndex(k, 1, 1)];
                rows.energy.insert(rows.energy.end(), e, e + static_cast<std::size_t>(input.nd) * ny);
            }
        }
        run.columns.push_back(std::move(rows));
    }
    return run;
}

double TheoryWavelength(double h, double T) {
    const double g = 9.8;
    const double pi = 3.14159265358979323846;
    const double w2 = (2 * pi / T) * (2 * pi / T);
    // w^2 = g k tanh(kh): bisection on k.
    double lo = 1e-12;
    double hi = w2 / g + std::sqrt(w2 / (g * h)) + 1.0;
    for (int it = 0; it < 200; ++it) {
        const double k = 0.5 * (lo + hi);
        if (g * k * std::tanh(k * h) < w2) lo = k;
        else hi = k;
    }
    return 2 * pi / (0.5 * (lo + hi));
}

double TheoryGroupVelocity(double h, double T) {
    const double pi = 3.14159265358979323846;
    const double L = TheoryWavelength(h, T);
    const double k = 2 * pi / L;
    const double c = L / T;
    return 0.5 * c * (1.0 + 2 * k * h / std::sinh(2 * k * h));
}

}  // namespace wv::solvtest
