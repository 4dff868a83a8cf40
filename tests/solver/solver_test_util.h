// Helpers of the solver tests: scratch folders, inputs built in memory or as .CAL files,
// runs through the library's entry, and the result file read back.
#pragma once

#include "platform/files.h"
#include "platform/text.h"
#include "solver/cal_input.h"
#include "solver/column_results.h"
#include "solver/march.h"
#include "solver/solver_constants.h"
#include "solver/tydsolv.h"
#include "solver/worker_pool.h"
#include "tools/make_bay_cal/cal_writer.h"

#include <functional>
#include <string>
#include <vector>

namespace wv::solvtest {

// A fresh folder under the test's working folder.
std::string ScratchFolder(const std::string& name);

// One record of a result file, split at blanks.
struct KkaRecord {
    double x, y, depth, h, kr, hmax, t, dir, vx, vy;
};
// Result records of a .KKA (the dump, if any, is not returned).
std::vector<KkaRecord> ReadKka(const std::string& path);

// The request for <folder><title>.CAL with the counts of `setup`, working folder `work`
// (the strings must outlive it).
CalcRequest MakeRequest(const std::string& folder, const std::string& title, const std::string& work,
                        const tools::CalCase& setup, int mode = 1);
// Runs TYDSOLV on that request.
int RunSolver(const std::string& folder, const std::string& title, const std::string& work,
              const tools::CalCase& setup, int mode = 1);
// Writes the .CAL and runs it.
int WriteAndRun(const std::string& folder, const std::string& title, const tools::CalCase& setup,
                const std::function<double(int, int)>& depth, int mode = 1);

// A march run in memory: the per-row values of every column.
struct ColumnRows {
    std::vector<double> height, period, direction, breakHeight;
    std::vector<double> energy;  // the column's spectrum, k * nd * ny + (j - 1) * nd + m - 1
};
struct MarchRun {
    solv::ColumnStatus status = solv::ColumnStatus::Ok;
    std::vector<ColumnRows> columns;  // index i - 1
    solv::IncidentSpectrum spectrum;
    std::string records;  // the result records of every column, as the .KKA gets them
};
MarchRun RunMarch(const tools::CalCase& setup, const std::function<double(int, int)>& depth, int threads = 1,
                  bool keepEnergy = false);
// The same from an input as the solver holds it.
MarchRun RunMarchInput(const solv::CalInput& input, int threads = 1, bool keepEnergy = false);

// The input of a setup as the solver holds it (depths included).
solv::CalInput MakeInput(const tools::CalCase& setup, const std::function<double(int, int)>& depth);

// Wavelength and group velocity from linear theory, solved here by bisection so that
// the tests do not lean on the solver's own routine.
double TheoryWavelength(double h, double T);
double TheoryGroupVelocity(double h, double T);

}  // namespace wv::solvtest
