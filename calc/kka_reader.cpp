#include "calc/kka_reader.h"

#include "calc/calc_messages.h"
#include "calc/mesh_orientation.h"
#include "core/numeric.h"
#include "platform/text.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace wv {

namespace {

// The solver writes ten values per record, each in a fixed field (F10.3 for the
// position and the depth, F9.4 for the rest); a record with any other count has lost a
// field or gained one, and its later values would be read from the wrong columns.
constexpr int kFields = 10;
// Fields of a record (1-based as the solver writes them).
constexpr int kFieldX = 1, kFieldY = 2, kFieldDepth = 3, kFieldHeight = 4, kFieldRefraction = 5,
              kFieldMaxHeight = 6, kFieldPeriod = 7, kFieldDirection = 8;
// Coordinates and depths are written with three decimals: half a unit of the last
// decimal, plus what the 4-byte depths of the mesh lose.
constexpr double kPositionTolerance = 0.0015;
// A depth at or below this is land, in the file as in the mesh.
constexpr double kLandMark = -9990.0;
// The refraction coefficient of a node that has none (breaking on, or land).
constexpr double kNoRefraction = -99.0;
// The direction is an energy-weighted mean of the bin centres, which all lie within 90
// degrees of the march axis.
constexpr double kMaxDirection = 90.0;

// The values a fixed field can hold: w characters with d decimals leave w - d - 1
// places before the point, one of them taken by the sign of a negative value. Half a
// unit of the last decimal more would have been rounded up beyond the field.
struct FieldWidth {
    double lowest, highest;
};
constexpr FieldWidth kF10_3{-99999.999 - 0.0005, 999999.999 + 0.0005};
constexpr FieldWidth kF9_4{-999.9999 - 0.00005, 9999.9999 + 0.00005};
FieldWidth WidthOf(int field) { return field <= kFieldDepth ? kF10_3 : kF9_4; }

bool IsBlank(const std::string& line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r') return false;
    return true;
}

// Whether a field reads whole as a number the way the solver writes one: a sign,
// digits, at most one decimal point. Asterisks (a value too wide for its field),
// letters, exponents and two numbers run together are none.
bool IsFixedPointNumber(const std::string& token) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) ++i;
    bool digit = false, point = false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// The fields of a record, split where the number reader splits them: at blanks and
// commas, with the line end dropped.
std::vector<std::string> FieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c == '\r' || c == '\n') continue;
        if (c == ' ' || c == ',') {
            if (!field.empty()) fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty()) fields.push_back(std::move(field));
    return fields;
}

KkaResult Refuse(std::string why) {
    KkaResult r;
    r.error = std::move(why);
    return r;
}

// Why the record on line `lineNo` cannot have come from a run, or "" when it can. Its
// ten values go to `values`.
std::string CheckRecord(const std::string& line, long long lineNo, double (&values)[kFields + 1]) {
    const std::vector<std::string> fields = FieldsOf(line);
    if (static_cast<int>(fields.size()) != kFields)
        return Sprintf(calcmsg::kKkaFieldCount, lineNo, static_cast<int>(fields.size()));
    for (int f = 0; f < kFields; ++f)
        if (!IsFixedPointNumber(fields[static_cast<std::size_t>(f)]))
            return Sprintf(calcmsg::kKkaNotNumber, lineNo, f + 1, calcmsg::kKkaFieldNames[f]);

    // The values as the program has always read them, so that a file reads as before.
    int ints[kFields + 1];
    if (ParseNumberLine(line.c_str(), values, ints, kFields) != kFields)
        return Sprintf(calcmsg::kKkaFieldCount, lineNo, static_cast<int>(fields.size()));
    for (int f = 0; f < kFields; ++f) {
        const double v = values[f];
        if (!std::isfinite(v)) return Sprintf(calcmsg::kKkaNotFinite, lineNo, calcmsg::kKkaFieldNames[f]);
        const FieldWidth width = WidthOf(f + 1);
        if (v < width.lowest || v > width.highest)
            return Sprintf(calcmsg::kKkaTooWide, lineNo, calcmsg::kKkaFieldNames[f]);
    }
    // Heights and periods are sums of energy: never below 0.
    for (int f : {kFieldHeight, kFieldMaxHeight, kFieldPeriod})
        if (values[f - 1] < 0.0)
            return Sprintf(calcmsg::kKkaNegative, lineNo, calcmsg::kKkaFieldNames[f - 1], values[f - 1]);
    const double kr = values[kFieldRefraction - 1];
    if (kr < 0.0 && kr != kNoRefraction) return Sprintf(calcmsg::kKkaRefraction, lineNo, kr);
    const double dir = values[kFieldDirection - 1];
    if (dir < -kMaxDirection || dir > kMaxDirection) return Sprintf(calcmsg::kKkaDirection, lineNo, dir);
    return std::string();
}

}  // namespace

KkaResult ReadKkaText(const std::string& text, const KkaExpectation& run) {
    const long long nodes = static_cast<long long>(run.rows) * run.cols;
    if (run.rows < 0 || run.cols < 0 || static_cast<long long>(run.depths.size()) != nodes)
        return Refuse(calcmsg::kKkaMeshMismatch);

    std::vector<std::string> lines;
    {
        LineReader reader(text);
        std::string line;
        while (reader.Next(line)) lines.push_back(line);
    }
    while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();
    const long long count = static_cast<long long>(lines.size());
    if (count < nodes) return Refuse(Sprintf(calcmsg::kKkaShort, nodes, count));
    if (count > nodes) return Refuse(Sprintf(calcmsg::kKkaLong, nodes, count));

    const SolverGrid grid = SolverGridOf(run.code, run.rows, run.cols);
    const float offset = static_cast<float>(DirectionOffset(run.code));

    KkaResult result;
    result.cells.resize(static_cast<std::size_t>(nodes));
    double values[kFields + 1];
    for (long long n = 0; n < nodes; ++n) {
        // One record per line from the first: the line number is the record number.
        const long long lineNo = n + 1;
        std::string why = CheckRecord(lines[static_cast<std::size_t>(n)], lineNo, values);
        if (!why.empty()) return Refuse(std::move(why));

        // The record's own place: the solver writes node (i, j) at ((i-1) dx, (j-1) dy).
        const int i = static_cast<int>(n / grid.ny);
        const int j = static_cast<int>(n % grid.ny);
        const double x = values[kFieldX - 1];
        const double y = values[kFieldY - 1];
        if (!(std::fabs(x - i * run.spacing) <= kPositionTolerance) ||
            !(std::fabs(y - j * run.spacing) <= kPositionTolerance))
            return Refuse(Sprintf(calcmsg::kKkaPosition, lineNo, x, y, i + 1, j + 1));

        int row = 0, col = 0;
        SolverNodeToMesh(run.code, run.rows, run.cols, i, j, &row, &col);
        const std::size_t cell = static_cast<std::size_t>(row) * run.cols + col;
        const double expected = run.depths[cell];
        const double depth = values[kFieldDepth - 1];
        const bool sea = depth > kLandMark;
        if (sea != (expected > kLandMark) ||
            (sea && !(std::fabs(depth - expected) <= kPositionTolerance)))
            return Refuse(Sprintf(calcmsg::kKkaDepth, lineNo, depth, expected));

        KkaCell& c = result.cells[cell];
        c.sea = sea;
        c.heightRatio = static_cast<float>(values[kFieldHeight - 1]);
        c.equivRatio = static_cast<float>(values[kFieldRefraction - 1]);
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
