#include "calc/grid_interp.h"

#include <cmath>
#include <numeric>

namespace wv {

namespace {

constexpr double kTol = kCrossingTolerance;

// A one-sided value counts only while no line of the node has given a bracket, and only
// when the crossing is wet (not above the tide level).
void AddOneSided(double value, double& sum, const double* w, int* n, double L) {
    if (*w < kTol && value < L + kTol) {
        sum += value;
        ++*n;
    }
}

// An exact crossing at the node ends the node's search with that height.
double ExactHit(double vr, int* n) {
    *n = -1;
    return vr;
}

// The node lies strictly between crossings l and r (sorted order, l = r - 1), and
// pl < pr.
double AddBracket(double pl, double vl, double pr, double vr, double x, double sum, double* w,
                  int* n, double L) {
    const bool usableL = vl <= L + kTol;
    const bool usableR = vr <= L + kTol;
    if (usableL && usableR) {
        // The first bracket drops the one-sided values gathered so far.
        if (*w < kTol) sum = 0.0;
        const double weight = 1.0 / std::fmin(std::fabs(pr - x), std::fabs(pl - x));
        const double value = vl + (vr - vl) * (x - pl) / (pr - pl);
        sum += weight * value;
        *w += weight;
    } else if (usableL) {
        AddOneSided(vl, sum, w, n, L);
    } else if (usableR) {
        AddOneSided(vr, sum, w, n, L);
    }
    return sum;
}

}  // namespace

void SortCrossingIndex(int count, const double* keys, int* index) {
    if (count < 2) return;
    int gap = count;
    for (;;) {
        gap = static_cast<int>(gap / 1.3);
        if (gap < 1) gap = 1;
        if (gap == 9 || gap == 10) gap = 11;
        int swaps = 0;
        for (int i = 0; i < count - gap; ++i) {
            const double a = keys[index[i]];
            const double b = keys[index[i + gap]];
            if (b <= a && std::fabs(a - b) >= kTol) {
                std::swap(index[i], index[i + gap]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0) break;
    }
}

void CombSortIndexByValue(const double* keys, int /*ignored*/, int* index, int count) {
    SortCrossingIndex(count, keys, index);
}

double InterpolateNodeOnLine(int k, const double* p, const double* v, double x, double sum,
                             double* w, int* n, double L) {
    if (k < 1) return sum;
    std::vector<int> idx(k);
    std::iota(idx.begin(), idx.end(), 0);
    SortCrossingIndex(k, p, idx.data());

    const int first = idx[0];
    const int last = idx[k - 1];
    if (x < p[first] + kTol) {
        AddOneSided(v[first], sum, w, n, L);
    } else if (x > p[last] - kTol) {
        AddOneSided(v[last], sum, w, n, L);
    } else {
        // Between the first and the last crossing: the first crossing that reaches the
        // node, from the first one on. Far from the view origin p + 1e-10 rounds to p, so
        // a node exactly on the first crossing gets here and must be a hit there.
        int r = 0;
        while (r < k - 1 && !(p[idx[r]] + kTol >= x)) ++r;
        if (std::fabs(x - p[idx[r]]) < kTol) return ExactHit(v[idx[r]], n);
        // Not a hit on the first crossing (x is p0 + 1e-10 to the last bit): the bracket
        // starts at the first crossing the node has not passed by the tolerance, which
        // lies beyond the node, so the bracket is never empty.
        if (r == 0)
            while (r < k - 1 && !(x - p[idx[r]] < kTol)) ++r;
        if (r == 0) return sum;  // only a position that is no number gets here
        sum = AddBracket(p[idx[r - 1]], v[idx[r - 1]], p[idx[r]], v[idx[r]], x, sum, w, n, L);
    }
    return sum;
}

void SortedCrossings::Assign(int k, const double* p, const double* v) {
    m_p.clear();
    m_v.clear();
    m_max.clear();
    if (k < 1) return;
    std::vector<int> idx(k);
    std::iota(idx.begin(), idx.end(), 0);
    SortCrossingIndex(k, p, idx.data());
    m_p.resize(k);
    m_v.resize(k);
    for (int i = 0; i < k; ++i) {
        m_p[i] = p[idx[i]];
        m_v[i] = v[idx[i]];
    }
    // Usually the positions come out in order and are their own running maximum.
    bool ordered = !std::isnan(m_p[0]);
    for (int i = 1; i < k && ordered; ++i) ordered = m_p[i] >= m_p[i - 1];
    if (ordered) return;
    m_max.resize(k);
    m_max[0] = m_p[0];
    for (int i = 1; i < k; ++i) m_max[i] = std::fmax(m_max[i - 1], m_p[i]);
}

double SortedCrossings::Interpolate(double x, double sum, double* w, int* n, double L) const {
    const int k = Count();
    if (k < 1) return sum;
    if (x < m_p[0] + kTol) {
        AddOneSided(m_v[0], sum, w, n, L);
    } else if (x > m_p[k - 1] - kTol) {
        AddOneSided(m_v[k - 1], sum, w, n, L);
    } else {
        // The first r with m_p[r] + tol >= x is the first r with m_max[r] + tol >= x (the
        // maximum is one of the positions), and that predicate is monotone. Stop at k - 1
        // like the linear scan does.
        const std::vector<double>& reach = m_max.empty() ? m_p : m_max;
        int lo = 0, hi = k - 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (reach[mid] + kTol >= x) hi = mid;
            else lo = mid + 1;
        }
        int r = lo;
        if (std::fabs(x - m_p[r]) < kTol) return ExactHit(m_v[r], n);
        if (r == 0)
            while (r < k - 1 && !(x - m_p[r] < kTol)) ++r;
        if (r == 0) return sum;
        sum = AddBracket(m_p[r - 1], m_v[r - 1], m_p[r], m_v[r], x, sum, w, n, L);
    }
    return sum;
}

}  // namespace wv
