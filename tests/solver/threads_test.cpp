// The results do not depend on the number of threads, on how they are grouped into teams,
// or on the run: every node's height, period, direction and breaking height, the
// spectrum itself and the .KKA bytes are the same in every bit, on the bay example and
// on random meshes whose land cuts the columns into segments of every length.
#include "platform/files.h"
#include "platform/ui_service.h"
#include "solver/solver_hooks.h"
#include "solver_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace wv::solvtest {
namespace {

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Compares two runs column by column; names the first column that differs.
void ExpectSameRun(const MarchRun& a, const MarchRun& b) {
    ASSERT_EQ(a.status, solv::ColumnStatus::Ok);
    ASSERT_EQ(b.status, solv::ColumnStatus::Ok);
    ASSERT_EQ(a.columns.size(), b.columns.size());
    for (std::size_t i = 0; i < a.columns.size(); ++i) {
        const ColumnRows& x = a.columns[i];
        const ColumnRows& y = b.columns[i];
        ASSERT_TRUE(SameBits(x.height, y.height)) << "heights of column " << i + 1;
        ASSERT_TRUE(SameBits(x.period, y.period)) << "periods of column " << i + 1;
        ASSERT_TRUE(SameBits(x.direction, y.direction)) << "directions of column " << i + 1;
        ASSERT_TRUE(SameBits(x.breakHeight, y.breakHeight)) << "breaking heights of column " << i + 1;
        ASSERT_TRUE(SameBits(x.energy, y.energy)) << "spectrum of column " << i + 1;
    }
    EXPECT_EQ(a.records, b.records);
}

struct Grouping {
    int threads;
    int team;  // 0: the march's own choice
};

// One thread, then thread counts up to 16 with the march's own teams, then teams forced
// to several sizes (teams of 1 on 8 threads included).
const Grouping kGroupings[] = {{2, 0}, {3, 0}, {5, 0}, {8, 0}, {16, 0}, {8, 1}, {8, 2}, {7, 3}, {8, 4}, {4, 4}};

class SolverThreads : public ::testing::Test {
protected:
    void TearDown() override {
        solv::SetTeamSizeOverride(0);
        solv::SetThreadCountOverride(0);
    }
    static MarchRun Run(const solv::CalInput& in, const Grouping& g) {
        solv::SetTeamSizeOverride(g.team);
        MarchRun run = RunMarchInput(in, g.threads, true);
        solv::SetTeamSizeOverride(0);
        return run;
    }
    static void ExpectSameForEveryGrouping(const solv::CalInput& in) {
        const MarchRun one = Run(in, {1, 0});
        ASSERT_EQ(one.status, solv::ColumnStatus::Ok);
        for (const Grouping& g : kGroupings) {
            SCOPED_TRACE(::testing::Message() << g.threads << " threads, teams of " << g.team);
            ExpectSameRun(one, Run(in, g));
        }
    }
};

// A random sea bed: a slope with shoals and holes, and land blocks that leave segments
// from one row to the whole column; random discretisation and wave conditions.
struct RandomMesh {
    tools::CalCase setup;
    std::function<double(int, int)> depth;
};

RandomMesh MakeRandomMesh(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](std::initializer_list<double> v) { return *(v.begin() + rng() % v.size()); };
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    RandomMesh mesh;
    tools::CalCase& s = mesh.setup;
    s.nd = static_cast<int>(pick({9, 16, 45}));
    s.nf = static_cast<int>(pick({1, 3, 7}));
    s.breaking = static_cast<int>(rng() % 2);
    s.lateralOption = static_cast<int>(rng() % 2);
    s.smax = pick({10.0, 25.0, 75.0});
    s.rangeBelowDeg = pick({90.0, 60.0, 45.0});
    s.rangeAboveDeg = pick({90.0, 60.0, 45.0});
    s.theta0Deg = -30.0 + 60.0 * unit(rng);
    s.nx = 18;
    s.ny = 120;
    s.dx = pick({5.0, 10.0, 20.0});
    s.dy = pick({5.0, 10.0, 20.0});
    s.period = 5.0 + 7.0 * unit(rng);
    s.height = 0.5 + 2.5 * unit(rng);
    struct Bump {
        double i, j, size, height;
    };
    std::vector<Bump> bumps;
    for (int n = 0; n < 5; ++n)
        bumps.push_back({1.0 + s.nx * unit(rng), 1.0 + s.ny * unit(rng), 2.0 + 12.0 * unit(rng), -6.0 + 12.0 * unit(rng)});
    struct Block {
        int i0, i1, j0, j1;
    };
    std::vector<Block> land;
    for (int n = 0; n < 4; ++n) {
        const int i0 = 2 + static_cast<int>(rng() % (s.nx - 2));
        const int j0 = 1 + static_cast<int>(rng() % s.ny);
        land.push_back({i0, i0 + static_cast<int>(rng() % 6), j0, j0 + static_cast<int>(rng() % 30)});
    }
    // A channel one row wide between two blocks.
    land.push_back({s.nx - 4, s.nx, 60, 70});
    land.push_back({s.nx - 4, s.nx, 72, 85});
    const int nx = s.nx;
    mesh.depth = [bumps, land, nx](int i, int j) {
        for (const Block& b : land)
            if (i >= b.i0 && i <= b.i1 && j >= b.j0 && j <= b.j1) return -1.0;
        double h = 16.0 - 9.0 * (i - 1) / nx;
        for (const Bump& b : bumps) {
            const double di = (i - b.i) / b.size, dj = (j - b.j) / b.size;
            h += b.height * std::exp(-(di * di + dj * dj));
        }
        return std::round(std::max(h, 0.3) * 1000.0) / 1000.0;  // depths as a .CAL holds them
    };
    return mesh;
}

TEST_F(SolverThreads, BayExampleIsTheSameForEveryThreadCount) {
    std::string text, err;
    ASSERT_TRUE(ReadWholeFile(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY.CAL", text, &err)) << err;
    solv::CalInput in;
    std::string detail;
    ASSERT_TRUE(solv::ReadCalInput(text, {45, 7, 250, 210}, in, detail)) << detail;
    // The first columns: the bay's long segments and the headlands' short ones, in a
    // fraction of the time of the whole example.
    in.nx = 30;
    in.depth.resize(static_cast<std::size_t>(in.nx) * in.ny);
    ExpectSameForEveryGrouping(in);
}

TEST_F(SolverThreads, RandomMeshesAreTheSameForEveryThreadCount) {
    for (unsigned seed : {11u, 12u, 13u}) {
        const RandomMesh mesh = MakeRandomMesh(seed);
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ": " << mesh.setup.nd << " bins, " << mesh.setup.nf
                                          << " components, breaking " << mesh.setup.breaking);
        ExpectSameForEveryGrouping(MakeInput(mesh.setup, mesh.depth));
    }
}

// Through the library's entry as a program calls it: the result file, the radiation
// stresses of the dump included, byte for byte.
TEST_F(SolverThreads, ResultFileIsTheSameForEveryThreadCount) {
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    const std::string folder = ScratchFolder("SolverThreadsKka");
    RandomMesh mesh = MakeRandomMesh(21);
    mesh.setup.dumpSwitch = 0;
    ASSERT_TRUE(AtomicWriteFile(folder + "R.CAL", tools::MakeCalText(mesh.setup, mesh.depth), nullptr));
    std::string first;
    for (int threads : {1, 4, 16, 4}) {
        SCOPED_TRACE(::testing::Message() << threads << " threads");
        solv::SetThreadCountOverride(threads);
        ASSERT_EQ(RunSolver(folder, "R", folder, mesh.setup), 0);
        std::string text, err;
        ASSERT_TRUE(ReadWholeFile(folder + "R.KKA", text, &err)) << err;
        if (first.empty()) {
            first = text;
            ASSERT_GT(first.size(), static_cast<std::size_t>(mesh.setup.nx) * mesh.setup.ny * 104);
        } else {
            EXPECT_EQ(text, first);
        }
    }
}

}  // namespace
}  // namespace wv::solvtest
