#include "solver/segment_solver.h"

#include "solver/ilucgs.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace wv::solv {

namespace {

// A member tells the next one how far it has come every this many rows: often enough
// that the next one seldom waits, seldom enough that reading the count (a cache line
// written on another core) costs little.
constexpr int kPublishRows = 16;

constexpr int kArrays = 14;

enum Kind { kRho, kSigma, kRhoNew, kX2, kY2, kRr, kKinds };

int WaitForAtLeast(std::atomic<int>& counter, int target, SegmentTeam& team) {
    int seen = counter.load(std::memory_order_acquire);
    if (seen >= target) return seen;
    if (WaitUntil(counter, [target](int v) { return v >= target; })) team.NoteSlowWait();
    return counter.load(std::memory_order_acquire);
}

void Publish(std::atomic<int>& counter, int value) {
    counter.store(value, std::memory_order_release);
    counter.notify_all();
}

}  // namespace

void SegmentSystem::Reserve(int nd, int maxRows) {
    m_nd = nd;
    m_maxRows = maxRows;
    m_rows = maxRows;
    // Each array starts on a cache line of its own.
    m_arraySize = (static_cast<std::size_t>(nd + 2) * static_cast<std::size_t>(maxRows + 2) + 7) / 8 * 8;
    m_storage.assign(m_arraySize * kArrays + 8, 0.0);
    double* base = m_storage.data();
    while (reinterpret_cast<std::uintptr_t>(base) % 64 != 0) ++base;
    double** arrays[kArrays] = {&south, &low, &diag, &high, &north, &d, &x, &p, &v, &r, &rt, &u, &q, &uq};
    for (int a = 0; a < kArrays; ++a) *arrays[a] = base + static_cast<std::size_t>(a) * m_arraySize;
    // The right-hand side is read only where the first sweep turns it into r.
    b = r;
}

void SegmentSystem::Shape(int rows) { m_rows = std::min(rows, m_maxRows); }

double SegmentSystem::Bytes(int nd, long long maxRows) {
    return (static_cast<double>(nd + 2) * static_cast<double>(maxRows + 2) + 8.0) * kArrays * 8.0 + 64.0;
}

void MemberBins(int nd, int members, int member, int& ma, int& mb) {
    ma = 1 + static_cast<int>(static_cast<long long>(member) * nd / members);
    mb = static_cast<int>(static_cast<long long>(member + 1) * nd / members);
}

void MemberRows(int rows, int members, int member, int& ja, int& jb) {
    ja = 1 + static_cast<int>(static_cast<long long>(member) * rows / members);
    jb = static_cast<int>(static_cast<long long>(member + 1) * rows / members);
}

void SegmentTeam::Reserve(int maxMembers, int nd) {
    m_maxMembers = std::max(1, maxMembers);
    m_nd = nd;
    m_barrier = std::make_unique<TeamBarrier>(1);
    m_slowWaits = std::make_unique<std::atomic<int>>(0);
    m_forward = std::make_unique<Counter[]>(static_cast<std::size_t>(m_maxMembers));
    m_backward = std::make_unique<Counter[]>(static_cast<std::size_t>(m_maxMembers));
    m_partial.assign(static_cast<std::size_t>(kKinds) * static_cast<std::size_t>(nd + 2), 0.0);
    m_memberMax.assign(static_cast<std::size_t>(m_maxMembers), 0.0);
    m_memberInflow.assign(static_cast<std::size_t>(m_maxMembers), 0);
}

void SegmentTeam::Start(int members) {
    m_members = std::clamp(members, 1, m_maxMembers);
    m_barrier->Reset(m_members);
    m_slowWaits->store(0, std::memory_order_relaxed);
    ResetProgress();
}

void SegmentTeam::ResetProgress() {
    for (int t = 0; t < m_maxMembers; ++t) {
        m_forward[t].value.store(0, std::memory_order_relaxed);
        m_backward[t].value.store(0, std::memory_order_relaxed);
    }
}

// One member's part of one solve.
class SegmentSolve {
public:
    SegmentSolve(SegmentSystem& sys, SegmentTeam& team, int member)
        : s(sys), t(team), member(member), members(team.m_members), nd(sys.Bins()), rows(sys.Rows()) {
        MemberBins(nd, members, member, ma, mb);
        m_sums.assign(static_cast<std::size_t>(nd + 2) * kSumSlots, 0.0);
    }

    SolveOutcome Run(double eps, int itmax, double alpha);

private:
    double* Bin(double* a, int m) const { return a + s.At(m, 0); }
    double& Partial(Kind k, int m) {
        return t.m_partial[static_cast<std::size_t>(k) * static_cast<std::size_t>(nd + 2) + static_cast<std::size_t>(m)];
    }
    // The inner product of kind k over the whole system, after the barrier.
    double Total(Kind k) {
        double sum = 0.0;
        for (int m = 1; m <= nd; ++m) sum += Partial(k, m);
        return sum;
    }
    void Barrier() { t.Barrier(); }

    void ZeroHalos();
    template <class Op>
    void Forward(Op op);
    template <class Op>
    void Backward(Op op);
    void Factorize(double a, double beta);
    void ForwardFromRhs(double bScale);
    void ForwardProduct(const double* in, double* w);
    template <class Then>
    void BackwardThen(double* w, Then then);
    // The member's running inner products: three sums of four lanes per bin.
    void ClearSums();
    double& Sum(int m, int which, int lane);
    void PublishSums(int which, Kind kind);

    SegmentSystem& s;
    SegmentTeam& t;
    const int member;
    const int members;
    const int nd;
    const int rows;
    int ma = 1;
    int mb = 0;
    int forwardSweeps = 0;
    int backwardSweeps = 0;
    static constexpr int kSumSlots = 12;
    std::vector<double> m_sums;
};

void SegmentSolve::ZeroHalos() {
    double* arrays[kArrays] = {s.south, s.low, s.diag, s.high, s.north, s.d, s.x,
                               s.p,     s.v,   s.r,    s.rt,   s.u,     s.q, s.uq};
    for (double* a : arrays) {
        for (int m = ma; m <= mb; ++m) {
            a[s.At(m, 0)] = 0.0;
            a[s.At(m, rows + 1)] = 0.0;
        }
        if (member == 0) std::fill(a + s.At(0, 0), a + s.At(1, 0), 0.0);
        if (member == members - 1) std::fill(a + s.At(nd + 1, 0), a + s.At(nd + 2, 0), 0.0);
    }
}

// Unknown (m, j) after (m - 1, j) and (m, j - 1). At step s bin m works on row
// s - (m - ma): a diagonal of the member's bins whose unknowns are independent of each
// other, as each depends only on unknowns of the step before. The member waits for the
// member below to pass a row before its lowest bin takes it.
template <class Op>
void SegmentSolve::Forward(Op op) {
    const int width = mb - ma + 1;
    if (width <= 0) return;
    const int base = ++forwardSweeps * (rows + 1);
    std::atomic<int>* lower = member > 0 ? &t.m_forward[member - 1].value : nullptr;
    std::atomic<int>* own = members > 1 ? &t.m_forward[member].value : nullptr;
    const std::ptrdiff_t diagonal = s.Stride() - 1;
    int known = 0;
    const int last = rows + width - 1;
    for (int step = 1; step <= last; ++step) {
        if (lower && step <= rows && known < step) known = WaitForAtLeast(*lower, base + step, t) - base;
        const int m0 = std::max(ma, ma + step - rows);
        const int m1 = std::min(mb, ma + step - 1);
        int j = step - (m0 - ma);
        std::size_t i = s.At(m0, j);
        for (int m = m0; m <= m1; ++m, --j, i += diagonal) op(m, j, i);
        const int done = step - (width - 1);
        if (own && done >= 1 && (done % kPublishRows == 0 || step == last)) Publish(*own, base + std::min(done, rows));
    }
}

// Unknown (m, j) after (m + 1, j) and (m, j + 1): the mirror of Forward, from the top
// row and the highest bin, waiting for the member above.
template <class Op>
void SegmentSolve::Backward(Op op) {
    const int width = mb - ma + 1;
    if (width <= 0) return;
    const int base = ++backwardSweeps * (rows + 1);
    std::atomic<int>* upper = member < members - 1 ? &t.m_backward[member + 1].value : nullptr;
    std::atomic<int>* own = members > 1 ? &t.m_backward[member].value : nullptr;
    const std::ptrdiff_t diagonal = s.Stride() - 1;
    int known = 0;
    const int last = rows + width - 1;
    for (int step = 1; step <= last; ++step) {
        if (upper && step <= rows && known < step) known = WaitForAtLeast(*upper, base + step, t) - base;
        // Bin m works on the row step - (mb - m) from the top.
        const int m1 = std::min(mb, mb - (step - rows));
        const int m0 = std::max(ma, mb - (step - 1));
        int j = rows + 1 - (step - (mb - m1));
        std::size_t i = s.At(m1, j);
        for (int m = m1; m >= m0; --m, ++j, i -= diagonal) op(m, j, i);
        const int done = step - (width - 1);
        if (own && done >= 1 && (done % kPublishRows == 0 || step == last)) Publish(*own, base + std::min(done, rows));
    }
}

// The modified incomplete factorisation of ILUCGS: each eliminated neighbour gives its
// entry on the diagonal in full and beta times its other upper entries (the M diagonal,
// empty here, and the remaining one).
void SegmentSolve::Factorize(double a, double beta) {
    double* const d = s.d;
    const double* const S = s.south;
    const double* const L = s.low;
    const double* const D = s.diag;
    const double* const H = s.high;
    const double* const N = s.north;
    const std::size_t st = static_cast<std::size_t>(s.Stride());
    if (a == 0.0) {
        Forward([&](int, int, std::size_t i) {
            const std::size_t lo = i - st;  // (m - 1, j)
            const std::size_t dn = i - 1;   // (m, j - 1)
            d[i] = 1.0 / (D[i] - L[i] * H[lo] * d[lo] - S[i] * N[dn] * d[dn]);
        });
        return;
    }
    Forward([&](int, int, std::size_t i) {
        const std::size_t lo = i - st;
        const std::size_t dn = i - 1;
        const double t1 = L[i] * d[lo] * (H[lo] + beta * (0.0 + N[lo]));
        const double t3 = S[i] * d[dn] * (N[dn] + beta * (0.0 + H[dn]));
        d[i] = 1.0 / (a * D[i] - t1 - t3);
    });
}

// The forward half of K^-1 applied to b scaled by 2^shift, into r, from x = 0: the
// residual b - A x is b itself. b and r share their storage: each unknown's b is read
// just before its r replaces it.
void SegmentSolve::ForwardFromRhs(double bScale) {
    const double* const d = s.d;
    const double* const S = s.south;
    const double* const L = s.low;
    const double* const B = s.b;
    double* const x = s.x;
    double* const w = s.r;
    const std::size_t st = static_cast<std::size_t>(s.Stride());
    Forward([&](int, int, std::size_t i) {
        x[i] = 0.0;
        double v = B[i] * bScale - S[i] * w[i - 1];
        v -= L[i] * w[i - st];
        w[i] = v * d[i];
    });
}

// w = A in, then the forward half of K^-1 on w: each unknown's product is formed just
// before the sweep reaches it. `in` must be current in the neighbouring bins.
void SegmentSolve::ForwardProduct(const double* in, double* w) {
    const double* const d = s.d;
    const double* const S = s.south;
    const double* const L = s.low;
    const double* const D = s.diag;
    const double* const H = s.high;
    const double* const N = s.north;
    const std::size_t st = static_cast<std::size_t>(s.Stride());
    Forward([&](int, int, std::size_t i) {
        double sum = S[i] * in[i - 1];
        sum += L[i] * in[i - st];
        sum += D[i] * in[i];
        sum += H[i] * in[i + st];
        sum += N[i] * in[i + 1];
        double v = sum - S[i] * w[i - 1];
        v -= L[i] * w[i - st];
        w[i] = v * d[i];
    });
}

// The backward half of K^-1 on w; then(m, lane, i) follows each unknown as soon as it
// is final, with lane = (R - j) mod 4 for the inner products, which are thus summed per
// bin from the top row down.
template <class Then>
void SegmentSolve::BackwardThen(double* w, Then then) {
    const double* const d = s.d;
    const double* const H = s.high;
    const double* const N = s.north;
    const std::size_t st = static_cast<std::size_t>(s.Stride());
    Backward([&](int m, int j, std::size_t i) {
        double v = H[i] * w[i + st];
        v += N[i] * w[i + 1];
        w[i] = w[i] - d[i] * v;
        then(m, (rows - j) & 3, i);
    });
}

void SegmentSolve::ClearSums() {
    std::fill(m_sums.begin() + static_cast<std::ptrdiff_t>(ma) * kSumSlots,
              m_sums.begin() + static_cast<std::ptrdiff_t>(mb + 1) * kSumSlots, 0.0);
}

double& SegmentSolve::Sum(int m, int which, int lane) {
    return m_sums[static_cast<std::size_t>(m) * kSumSlots + static_cast<std::size_t>(which) * 4 + lane];
}

void SegmentSolve::PublishSums(int which, Kind kind) {
    for (int m = ma; m <= mb; ++m)
        Partial(kind, m) = (Sum(m, which, 0) + Sum(m, which, 1)) + (Sum(m, which, 2) + Sum(m, which, 3));
}

SolveOutcome SegmentSolve::Run(double eps, int itmax, double alpha) {
    SolveOutcome out;
    out.solved = true;
    // ILUCGS's argument checks, as the march's call would meet them.
    if (nd - 1 < 2 || alpha < 0.0) {
        out.ierr = 2;
        return out;
    }
    double beta = 1.0;
    double a = alpha;
    if (alpha > 0.0 && alpha < 1.0) {
        beta = alpha;
        a = 1.0;
    }

    ZeroHalos();
    bool inflow = false;
    double bMax = 0.0;
    for (int m = ma; m <= mb; ++m) {
        const double* bb = Bin(s.b, m);
        for (int j = 1; j <= rows; ++j) {
            if (bb[j] != 0.0) inflow = true;
            const double size = std::fabs(bb[j]);
            if (size > bMax) bMax = size;  // as fmax: a NaN is passed over
        }
    }
    t.m_memberInflow[static_cast<std::size_t>(member)] = inflow ? 1 : 0;
    t.m_memberMax[static_cast<std::size_t>(member)] = bMax;
    Barrier();
    inflow = false;
    bMax = 0.0;
    for (int k = 0; k < members; ++k) {
        inflow = inflow || t.m_memberInflow[static_cast<std::size_t>(k)] != 0;
        if (t.m_memberMax[static_cast<std::size_t>(k)] > bMax) bMax = t.m_memberMax[static_cast<std::size_t>(k)];
    }
    if (!inflow) {
        out.solved = false;
        return out;
    }
    int shift = 0;
    if (bMax > 0.0 && std::isfinite(bMax) &&
        (std::ilogb(bMax) < kIlucgsScaleBelowExponent || std::ilogb(bMax) > kIlucgsScaleAboveExponent))
        shift = -std::ilogb(bMax);
    out.shift = shift;
    const double bScale = std::ldexp(1.0, shift);

    Factorize(a, beta);

    // r = K^-1 (b - A x) from x = 0; the shadow residual, p and u start as r.
    ForwardFromRhs(bScale);
    ClearSums();
    {
        double* const r = s.r;
        double* const rt = s.rt;
        double* const p = s.p;
        double* const u = s.u;
        BackwardThen(r, [&](int m, int lane, std::size_t i) {
            rt[i] = r[i];
            p[i] = r[i];
            u[i] = r[i];
            Sum(m, 0, lane) += r[i] * r[i];
        });
    }
    PublishSums(0, kRho);
    Barrier();
    double rho = Total(kRho);

    const double tolerance = eps;
    double measure = 0.0;
    for (int k = 1;; ++k) {
        out.iterations = k;
        if (k > itmax) {
            out.ierr = 1;
            return out;
        }
        ForwardProduct(s.p, s.v);
        ClearSums();
        {
            const double* const rt = s.rt;
            const double* const v = s.v;
            BackwardThen(s.v, [&](int m, int lane, std::size_t i) { Sum(m, 0, lane) += rt[i] * v[i]; });
        }
        PublishSums(0, kSigma);
        Barrier();
        const double sigma = Total(kSigma);
        const double alphaK = sigma == 0.0 ? 0.0 : rho / sigma;
        for (int m = ma; m <= mb; ++m) {
            const double* __restrict uu = Bin(s.u, m);
            const double* __restrict vv = Bin(s.v, m);
            double* __restrict qq = Bin(s.q, m);
            double* __restrict w = Bin(s.uq, m);
            for (int j = 1; j <= rows; ++j) {
                qq[j] = uu[j] - alphaK * vv[j];
                w[j] = uu[j] + qq[j];
            }
        }
        Barrier();
        ForwardProduct(s.uq, s.v);
        ClearSums();
        {
            const double* const rt = s.rt;
            const double* const v = s.v;
            const double* const w = s.uq;
            double* const r = s.r;
            double* const x = s.x;
            BackwardThen(s.v, [&](int m, int lane, std::size_t i) {
                r[i] = r[i] - alphaK * v[i];
                const double xOld = x[i];
                x[i] = xOld + alphaK * w[i];
                Sum(m, 0, lane) += rt[i] * r[i];
                const double dx = x[i] - xOld;
                Sum(m, 1, lane) += dx * dx;
                Sum(m, 2, lane) += xOld * xOld;
            });
        }
        PublishSums(0, kRhoNew);
        PublishSums(1, kX2);
        PublishSums(2, kY2);
        Barrier();
        const double rhoNew = Total(kRhoNew);
        const double x2 = Total(kX2);
        const double y2 = Total(kY2);
        if (!std::isfinite(rhoNew) || !std::isfinite(x2)) {
            out.ierr = 1;
            return out;
        }
        if (y2 != 0.0) {
            measure = std::sqrt(x2 / y2);
            if (measure <= tolerance) {
                out.ierr = 0;
                return out;
            }
        }
        if (rho == 0.0) {
            // The shadow residual is orthogonal to the residual. When the residual itself
            // is zero the iterate is exact; otherwise the method has broken down.
            ClearSums();
            for (int m = ma; m <= mb; ++m) {
                const double* rr = Bin(s.r, m);
                for (int j = rows; j >= 1; --j) Sum(m, 0, (rows - j) & 3) += rr[j] * rr[j];
            }
            PublishSums(0, kRr);
            Barrier();
            out.ierr = Total(kRr) == 0.0 ? 0 : 1;
            return out;
        }
        const double betaK = rhoNew / rho;
        rho = rhoNew;
        for (int m = ma; m <= mb; ++m) {
            const double* __restrict rr = Bin(s.r, m);
            const double* __restrict qq = Bin(s.q, m);
            double* __restrict uu = Bin(s.u, m);
            double* __restrict pp = Bin(s.p, m);
            for (int j = 1; j <= rows; ++j) {
                uu[j] = rr[j] + betaK * qq[j];
                pp[j] = uu[j] + betaK * (qq[j] + betaK * pp[j]);
            }
        }
        Barrier();
    }
}

SolveOutcome SolveSegment(SegmentSystem& sys, SegmentTeam& team, int member, double eps, int itmax,
                          double alpha) {
    SegmentSolve solve(sys, team, member);
    return solve.Run(eps, itmax, alpha);
}

}  // namespace wv::solv
