#include "calc/kka_reader.h"

#include "calc/mesh_orientation.h"
#include "core/numeric.h"
#include "platform/text.h"

#include <cmath>
#include <cstddef>

namespace wv {

namespace {

// A record carries ten numbers; room for a few more keeps a longer line from being cut
// into a record that looks shorter than it is.
constexpr int kMaxFields = 16;
// Fields of a record (1-based as the solver writes them).
constexpr int kFieldX = 1, kFieldY = 2, kFieldDepth = 3, kFieldHeight = 4, kFieldEquiv = 5,
              kFieldDirection = 8;
// Coordinates and depths are written with three decimals: half a unit of the last
// decimal, plus what the 4-byte depths of the mesh lose.
constexpr double kPositionTolerance = 0.0015;
// A depth at or below this is land, in the file as in the mesh.
constexpr double kLandMark = -9990.0;

bool IsBlank(const std::string& line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r') return false;
    return true;
}

KkaResult Refuse(std::string why) {
    KkaResult r;
    r.error = std::move(why);
    return r;
}

}  // namespace

KkaResult ReadKkaText(const std::string& text, const KkaExpectation& run) {
    const long long nodes = static_cast<long long>(run.rows) * run.cols;
    if (run.rows < 0 || run.cols < 0 || static_cast<long long>(run.depths.size()) != nodes)
        return Refuse("mesh and run do not agree");

    std::vector<std::string> lines;
    {
        LineReader reader(text);
        std::string line;
        while (reader.Next(line)) lines.push_back(line);
    }
    while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();
    if (static_cast<long long>(lines.size()) < nodes)
        return Refuse(Sprintf("%lld records for %lld nodes: the file is short",
                              static_cast<long long>(lines.size()), nodes));
    if (static_cast<long long>(lines.size()) > nodes)
        return Refuse(Sprintf("%lld records for %lld nodes: the file is too long",
                              static_cast<long long>(lines.size()), nodes));

    const SolverGrid grid = SolverGridOf(run.code, run.rows, run.cols);
    const float offset = static_cast<float>(DirectionOffset(run.code));

    KkaResult result;
    result.cells.resize(static_cast<std::size_t>(nodes));
    double values[kMaxFields + 1];
    int ints[kMaxFields + 1];
    for (long long n = 0; n < nodes; ++n) {
        const std::string& line = lines[static_cast<std::size_t>(n)];
        const int count = ParseNumberLine(line.c_str(), values, ints, kMaxFields);
        const long long recordNo = n + 1;
        if (count < kFieldDirection)
            return Refuse(Sprintf("record %lld holds %d numbers", recordNo, count < 0 ? 0 : count));

        // The record's own place: the solver writes node (i, j) at ((i-1) dx, (j-1) dy).
        const int i = static_cast<int>(n / grid.ny);
        const int j = static_cast<int>(n % grid.ny);
        const double x = values[kFieldX - 1];
        const double y = values[kFieldY - 1];
        if (!(std::fabs(x - i * run.spacing) <= kPositionTolerance) ||
            !(std::fabs(y - j * run.spacing) <= kPositionTolerance))
            return Refuse(Sprintf("record %lld lies at (%.3f, %.3f), not at node (%d, %d)",
                                  recordNo, x, y, i + 1, j + 1));

        int row = 0, col = 0;
        SolverNodeToMesh(run.code, run.rows, run.cols, i, j, &row, &col);
        const std::size_t cell = static_cast<std::size_t>(row) * run.cols + col;
        const double expected = run.depths[cell];
        const double depth = values[kFieldDepth - 1];
        const bool sea = depth > kLandMark;
        if (sea != (expected > kLandMark) ||
            (sea && !(std::fabs(depth - expected) <= kPositionTolerance)))
            return Refuse(Sprintf("record %lld has depth %.3f where the run had %.3f", recordNo,
                                  depth, expected));

        KkaCell& c = result.cells[cell];
        c.sea = sea;
        c.heightRatio = static_cast<float>(values[kFieldHeight - 1]);
        c.equivRatio = static_cast<float>(values[kFieldEquiv - 1]);
        // The solver measures its direction from the march axis towards the lateral one;
        // taking it from the side's offset turns it into the mesh frame.
        float direction = offset - static_cast<float>(values[kFieldDirection - 1]);
        // Compared as a double: the float nearest 359.99999 is 360 itself, and a wave
        // straight along the march from the top must come out as 0, not 360.
        if (static_cast<double>(direction) > 359.99999) direction -= 360.0f;
        c.direction = direction;
    }
    result.ok = true;
    return result;
}

}  // namespace wv
