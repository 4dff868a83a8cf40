#include "solver/segment_solver.h"

#include "platform/large_memory.h"
#include "solver/ilucgs.h"
#include "solver/segment_kernels.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <new>

namespace wv::solv {

namespace {

// A member tells the next one how far it has come every this many rows: often enough
// that the next one seldom waits, seldom enough that reading the count (a cache line
// written on another core) costs little.
constexpr int kPublishRows = 16;

constexpr int kArrays = 13;

enum Kind { kRho, kSigma, kRhoNew, kX2, kY2, kRr, kKinds };

int WaitForAtLeast(std::atomic<int>& counter, int target) {
    int seen = counter.load(std::memory_order_acquire);
    if (seen >= target) return seen;
    WaitUntil(counter, [target](int v) { return v >= target; });
    return counter.load(std::memory_order_acquire);
}

void Publish(std::atomic<int>& counter, int value) {
    counter.store(value, std::memory_order_release);
    counter.notify_all();
}

}  // namespace

std::size_t SegmentSystem::ArrayElements(int nd, long long maxRows, int members) {
    const auto rows = static_cast<std::size_t>(maxRows);
    if (members <= 1) return static_cast<std::size_t>(nd + 1) * (static_cast<std::size_t>(nd + 3) + rows);
    // Each block starts on a cache line of its own.
    std::size_t total = 0;
    for (int member = 0; member < members; ++member) {
        int ma, mb;
        MemberBins(nd, members, member, ma, mb);
        const auto width = static_cast<std::size_t>(mb - ma + 1);
        total = (total + 7) / 8 * 8 + (width + 2) * (width + 3 + rows);
    }
    return total;
}

void SegmentSystem::Reserve(int nd, int maxRows, int maxMembers) {
    m_nd = nd;
    m_maxRows = maxRows;
    m_rows = maxRows;
    m_maxMembers = std::clamp(maxMembers, 1, std::max(1, nd));
    std::size_t elements = 0;
    for (int members = 1; members <= m_maxMembers; ++members)
        elements = std::max(elements, ArraySize(nd, maxRows, members));
    m_storage.reset();
    m_storageSize = elements * kArrays + 8;
    m_storage.reset(new double[m_storageSize]);
    AdviseHugePages(m_storage.get(), m_storageSize * sizeof(double));
    m_clearedElements = 0;
    m_blocks.clear();
    south = low = diag = high = north = b = d = x = p = v = r = rt = u = q = nullptr;
}

void SegmentSystem::Shape(int rows, int members) {
    members = std::clamp(members, 1, m_maxMembers);
    const bool relaid = static_cast<int>(m_blocks.size()) != members;
    if (relaid) {
        // The arrays lie one after the other, each as long as this layout needs: a layout
        // of one member uses the storage as if it had been taken for one.
        const std::size_t arraySize = ArraySize(m_nd, m_maxRows, members);
        double* start = m_storage.get();
        while (reinterpret_cast<std::uintptr_t>(start) % 64 != 0) ++start;
        double** arrays[kArrays] = {&south, &low, &diag, &high, &north, &d, &x, &p, &v, &r, &rt, &u, &q};
        for (int a = 0; a < kArrays; ++a) *arrays[a] = start + static_cast<std::size_t>(a) * arraySize;
        // The right-hand side is read only where the first sweep turns it into r.
        b = r;
        m_usedElements = arraySize * kArrays;
        m_blocks.assign(static_cast<std::size_t>(members), Block{});
        std::size_t base = 0;
        for (int member = 0; member < members; ++member) {
            Block& k = m_blocks[static_cast<std::size_t>(member)];
            MemberBins(m_nd, members, member, k.ma, k.mb);
            const auto width = static_cast<std::size_t>(k.mb - k.ma + 1);
            k.stride = members == 1 ? width + 1 : width + 2;
            k.base = (base + 7) / 8 * 8;
            base = k.base + k.stride * (width + 3 + static_cast<std::size_t>(m_maxRows));
        }
        m_binOffset.assign(static_cast<std::size_t>(m_nd) + 2, 0);
        m_binStride.assign(static_cast<std::size_t>(m_nd) + 2, 0);
        for (int m = 0, member = 0; m <= m_nd + 1; ++m) {
            while (member + 1 < members && m > m_blocks[static_cast<std::size_t>(member)].mb) ++member;
            const Block& k = m_blocks[static_cast<std::size_t>(member)];
            // Slot(member, m, j) as base + (m + j) * stride.
            m_binOffset[static_cast<std::size_t>(m)] = static_cast<std::size_t>(
                static_cast<std::ptrdiff_t>(k.base) - static_cast<std::ptrdiff_t>(k.ma - 1) * static_cast<std::ptrdiff_t>(k.stride) +
                (m - k.ma + 1));
            m_binStride[static_cast<std::size_t>(m)] = k.stride;
        }
    }
    // The storage a layout uses is cleared the first time it is used, so that memory set
    // aside for larger teams is touched only when such a team solves here. The halo a
    // layout takes as zero is cleared whenever the layout changes: other layouts keep
    // unknowns there. Everything else a solve reads it writes first.
    if (m_usedElements > m_clearedElements) {
        PopulatePages(south + m_clearedElements, (m_usedElements - m_clearedElements) * sizeof(double));
        std::fill(south + m_clearedElements, south + m_usedElements, 0.0);
        m_clearedElements = m_usedElements;
    }
    if (relaid) ClearZeroHalos();
    m_rows = std::min(rows, m_maxRows);
}

void SegmentSystem::ClearZeroHalos() {
    double* arrays[kArrays] = {south, low, diag, high, north, d, x, p, v, r, rt, u, q};
    const Block& first = m_blocks.front();
    const Block& last = m_blocks.back();
    const int members = static_cast<int>(m_blocks.size());
    for (double* a : arrays) {
        // Bin 0 of every diagonal, and with several blocks bin ND+1 of the last block's.
        for (int t = 0; t < first.mb - first.ma + 4 + m_maxRows; ++t)
            a[first.base + static_cast<std::size_t>(t) * first.stride] = 0.0;
        if (members > 1)
            for (int t = 0; t < last.mb - last.ma + 4 + m_maxRows; ++t)
                a[last.base + static_cast<std::size_t>(t) * last.stride + last.stride - 1] = 0.0;
    }
}

std::size_t SegmentSystem::ArraySize(int nd, long long maxRows, int members) {
    // Each array starts on a cache line of its own.
    return (ArrayElements(nd, maxRows, members) + 7) / 8 * 8;
}

double SegmentSystem::Bytes(int nd, long long maxRows, int maxMembers) {
    std::size_t elements = 0;
    for (int members = 1; members <= std::max(1, maxMembers); ++members)
        elements = std::max(elements, ArraySize(nd, maxRows, members));
    return (static_cast<double>(elements) + 8.0) * kArrays * 8.0 + 64.0;
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
    m_forward = std::make_unique<Counter[]>(static_cast<std::size_t>(m_maxMembers));
    m_backward = std::make_unique<Counter[]>(static_cast<std::size_t>(m_maxMembers));
    m_partial.assign(static_cast<std::size_t>(kKinds) * static_cast<std::size_t>(nd + 2), 0.0);
    m_memberMax.assign(static_cast<std::size_t>(m_maxMembers), 0.0);
    m_memberInflow.assign(static_cast<std::size_t>(m_maxMembers), 0);
}

void SegmentTeam::Start(int members) {
    m_members = std::clamp(members, 1, m_maxMembers);
    m_barrier->Reset(m_members);
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
        : s(sys),
          t(team),
          kern(ActiveSweepKernels()),
          member(member),
          members(team.m_members),
          nd(sys.Bins()),
          rows(sys.Rows()),
          steps{sys.RowStep(member), sys.BinStep(member)} {
        MemberBins(nd, members, member, ma, mb);
        m_sums.assign(static_cast<std::size_t>(nd + 2) * kSumSlots, 0.0);
    }

    SolveOutcome Run(double eps, int itmax, double alpha);

private:
    // The member's unknowns of diagonal m + j = diag: bins m0..m1 (m1 < m0: none).
    void DiagonalRun(int diag, int& m0, int& m1) const {
        m0 = std::max(ma, diag - rows);
        m1 = std::min(mb, diag - 1);
    }
    template <class Op>
    void EachRun(Op op);
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
    // The sweeps; each hands the values of the arrays `out` in its boundary bin on to the
    // halo of the member that needs them next, before it tells that member how far it
    // has come. The backward sweep hands those of `up` to the member above as well, for
    // after the next barrier. The forward sweep calls before(diag) for each diagonal one
    // ahead of the diagonal it sweeps next.
    template <class Op, class Before>
    void Forward(std::initializer_list<double*> out, Op op, Before before);
    template <class Op>
    void Forward(std::initializer_list<double*> out, Op op) {
        Forward(out, op, [](int) {});
    }
    template <class Op>
    void Backward(std::initializer_list<double*> out, std::initializer_list<double*> up, Op op);
    void Factorize(double a, double beta);
    void ForwardFromRhs(double bScale);
    void ForwardProduct(const double* in, double* w);
    // ForwardProduct with the vector update that yields `in` done one diagonal ahead of
    // the sweep (ahead(i, n) as op of Forward), while its values are still in the cache.
    // A member of a team updates its copy of the bin above as well, with the same
    // operations on the same values as that bin's owner, and hands its top bin's new value
    // to the member above before it tells that member how far it has come: the member
    // above sweeps behind it, and the member below ahead of it.
    template <class Ahead>
    void ForwardProductAhead(double* in, double* w, Ahead ahead);
    // The member's running inner products: three sums of four lanes per bin. Unknown
    // (m, j) adds into lane (R - j) mod 4 of bin m; the lanes are kept by the lane of
    // bin 0 on the unknown's diagonal, (R - m - j) mod 4, so that a diagonal's unknowns
    // add into consecutive slots.
    void ClearSums();
    double* SumRun(int which, int diag, int m0) {
        return &m_sums[(static_cast<std::size_t>(which) * 4 + static_cast<std::size_t>((rows - diag) & 3)) *
                           static_cast<std::size_t>(nd + 2) +
                       static_cast<std::size_t>(m0)];
    }
    double Sum(int m, int which, int lane) const {
        return m_sums[(static_cast<std::size_t>(which) * 4 + static_cast<std::size_t>((lane - m) & 3)) *
                          static_cast<std::size_t>(nd + 2) +
                      static_cast<std::size_t>(m)];
    }
    void PublishSums(int which, Kind kind);

    SegmentSystem& s;
    SegmentTeam& t;
    const SweepKernels& kern;
    const int member;
    const int members;
    const int nd;
    const int rows;
    const SweepSteps steps;
    int ma = 1;
    int mb = 0;
    int forwardSweeps = 0;
    int backwardSweeps = 0;
    static constexpr int kSumSlots = 12;
    std::vector<double> m_sums;
};

void SegmentSolve::ZeroHalos() {
    double* arrays[kArrays] = {s.south, s.low, s.diag, s.high, s.north, s.d, s.x, s.p, s.v, s.r, s.rt, s.u, s.q};
    for (double* a : arrays) {
        for (int m = ma; m <= mb; ++m) {
            a[s.At(m, 0)] = 0.0;
            a[s.At(m, rows + 1)] = 0.0;
        }
        // Bin 0 of every diagonal, which is also bin ND+1 of a row, is never an unknown
        // whatever the segment's rows: Reserve zeroes it and nothing writes it.
    }
}

template <class Op>
void SegmentSolve::EachRun(Op op) {
    for (int diag = ma + 1; diag <= mb + rows; ++diag) {
        int m0, m1;
        DiagonalRun(diag, m0, m1);
        if (m1 >= m0) op(s.At(m0, diag - m0), m1 - m0 + 1);
    }
}

// Unknown (m, j) after (m - 1, j) and (m, j - 1). At step s bin m works on row
// s - (m - ma): the member's part of a diagonal, whose unknowns are independent of each
// other and lie side by side, as each depends only on unknowns of the diagonal before.
// op(i, n) sweeps the n unknowns from element i on. The member waits for the member
// below to pass a row before its lowest bin takes it.
template <class Op, class Before>
void SegmentSolve::Forward(std::initializer_list<double*> out, Op op, Before before) {
    const int width = mb - ma + 1;
    if (width <= 0) return;
    const int base = ++forwardSweeps * (rows + 1);
    std::atomic<int>* lower = member > 0 ? &t.m_forward[member - 1].value : nullptr;
    std::atomic<int>* own = members > 1 ? &t.m_forward[member].value : nullptr;
    int known = 0;
    const int last = rows + width - 1;
    before(ma + 1);
    for (int step = 1; step <= last; ++step) {
        if (lower && step <= rows && known < step) known = WaitForAtLeast(*lower, base + step) - base;
        before(ma + step + 1);
        const int m0 = std::max(ma, ma + step - rows);
        const int m1 = std::min(mb, ma + step - 1);
        op(s.At(m0, step - (m0 - ma)), m1 - m0 + 1);
        if (own && m1 == mb && member + 1 < members) {
            const int j = step - (width - 1);
            const std::size_t from = s.At(mb, j), to = s.Slot(member + 1, mb, j);
            for (double* a : out) a[to] = a[from];
        }
        const int done = step - (width - 1);
        if (own && done >= 1 && (done % kPublishRows == 0 || step == last)) Publish(*own, base + std::min(done, rows));
    }
}

// Unknown (m, j) after (m + 1, j) and (m, j + 1): the mirror of Forward, from the top
// row and the highest bin, waiting for the member above. op(diag, m0, i, n) sweeps the n
// unknowns of diagonal diag from bin m0, element i, on.
template <class Op>
void SegmentSolve::Backward(std::initializer_list<double*> out, std::initializer_list<double*> up, Op op) {
    const int width = mb - ma + 1;
    if (width <= 0) return;
    const int base = ++backwardSweeps * (rows + 1);
    std::atomic<int>* upper = member < members - 1 ? &t.m_backward[member + 1].value : nullptr;
    std::atomic<int>* own = members > 1 ? &t.m_backward[member].value : nullptr;
    int known = 0;
    const int last = rows + width - 1;
    for (int step = 1; step <= last; ++step) {
        if (upper && step <= rows && known < step) known = WaitForAtLeast(*upper, base + step) - base;
        // Bin m works on the row step - (mb - m) from the top.
        const int m1 = std::min(mb, mb - (step - rows));
        const int m0 = std::max(ma, mb - (step - 1));
        const int diag = mb + rows + 1 - step;
        op(diag, m0, s.At(m0, diag - m0), m1 - m0 + 1);
        if (own && m0 == ma && member > 0) {
            const int j = rows + width - step;
            const std::size_t from = s.At(ma, j), to = s.Slot(member - 1, ma, j);
            for (double* a : out) a[to] = a[from];
        }
        if (own && m1 == mb && member + 1 < members) {
            const int j = rows + 1 - step;
            const std::size_t from = s.At(mb, j), to = s.Slot(member + 1, mb, j);
            for (double* a : up) a[to] = a[from];
        }
        const int done = step - (width - 1);
        if (own && done >= 1 && (done % kPublishRows == 0 || step == last)) Publish(*own, base + std::min(done, rows));
    }
}

// The modified incomplete factorisation of ILUCGS: each eliminated neighbour gives its
// entry on the diagonal in full and beta times its other upper entries (the M diagonal,
// empty here, and the remaining one).
void SegmentSolve::Factorize(double a, double beta) {
    if (a == 0.0) {
        Forward({s.d, s.high}, [&](std::size_t i, int n) {
            kern.factorPlain(s.d + i, s.south + i, s.low + i, s.diag + i, s.high + i, s.north + i, steps, n);
        });
        return;
    }
    Forward({s.d, s.high, s.north}, [&](std::size_t i, int n) {
        kern.factorModified(s.d + i, s.south + i, s.low + i, s.diag + i, s.high + i, s.north + i, a, beta, steps, n);
    });
}

// The forward half of K^-1 applied to b scaled by 2^shift, into r, from x = 0: the
// residual b - A x is b itself. b and r share their storage: each unknown's b is read
// just before its r replaces it.
void SegmentSolve::ForwardFromRhs(double bScale) {
    Forward({s.r}, [&](std::size_t i, int n) {
        kern.forwardFromRhs(s.r + i, s.x + i, s.south + i, s.low + i, s.d + i, bScale, steps, n);
    });
}

// w = A in, then the forward half of K^-1 on w: each unknown's product is formed just
// before the sweep reaches it. `in` must be current in the neighbouring bins.
void SegmentSolve::ForwardProduct(const double* in, double* w) {
    Forward({w}, [&](std::size_t i, int n) {
        kern.forwardProduct(w + i, in + i, s.south + i, s.low + i, s.diag + i, s.high + i, s.north + i, s.d + i, steps,
                         n);
    });
}

template <class Ahead>
void SegmentSolve::ForwardProductAhead(double* in, double* w, Ahead ahead) {
    if (members > 1) {
        const bool above = member + 1 < members;
        const int top = above ? mb + 1 : mb;
        Forward(
            {w},
            [&](std::size_t i, int n) {
                kern.forwardProduct(w + i, in + i, s.south + i, s.low + i, s.diag + i, s.high + i, s.north + i,
                                    s.d + i, steps, n);
            },
            [&](int diag) {
                const int m0 = std::max(ma, diag - rows);
                const int m1 = std::min(top, diag - 1);
                if (m1 < m0) return;
                ahead(s.Slot(member, m0, diag - m0), m1 - m0 + 1);
                if (above && m0 <= mb && mb <= m1) {
                    const int j = diag - mb;
                    in[s.Slot(member + 1, mb, j)] = in[s.Slot(member, mb, j)];
                }
            });
        return;
    }
    ++forwardSweeps;
    auto each = [&](int diag, auto op) {
        const int m0 = std::max(1, diag - rows);
        const int m1 = std::min(nd, diag - 1);
        if (m1 >= m0) op(s.At(m0, diag - m0), m1 - m0 + 1);
    };
    auto product = [&](std::size_t i, int n) {
        kern.forwardProduct(w + i, in + i, s.south + i, s.low + i, s.diag + i, s.high + i, s.north + i, s.d + i, steps,
                            n);
    };
    // The product of a diagonal reads `in` on the diagonals before and after it.
    each(2, ahead);
    for (int diag = 2; diag <= nd + rows; ++diag) {
        each(diag + 1, ahead);
        each(diag, product);
    }
}

void SegmentSolve::ClearSums() {
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(kSumSlots); ++slot) {
        auto row = m_sums.begin() + static_cast<std::ptrdiff_t>(slot * static_cast<std::size_t>(nd + 2));
        std::fill(row + ma, row + mb + 1, 0.0);
    }
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
    EachRun([&](std::size_t i, int n) {
        const double* bb = s.b + i;
        for (int e = 0; e < n; ++e) {
            if (bb[e] != 0.0) inflow = true;
            const double size = std::fabs(bb[e]);
            if (size > bMax) bMax = size;  // as fmax: a NaN is passed over
        }
    });
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
    // Besides r, which the sweep reads in the bin above, p and u for the members' copies
    // of the bin above that the vector updates bring up to date, and p to the member
    // above for the first product.
    Backward({s.r, s.p, s.u}, {s.p}, [&](int diag, int m0, std::size_t i, int n) {
        kern.backwardStart(s.r + i, s.rt + i, s.p + i, s.u + i, s.high + i, s.north + i, s.d + i, SumRun(0, diag, m0),
                        steps, n);
    });
    PublishSums(0, kRho);
    Barrier();
    double rho = Total(kRho);

    const double tolerance = eps;
    double measure = 0.0;
    // The vector updates are done inside the sweeps that follow them; the update of u and
    // p at the end of an iteration then waits for the next one.
    bool directionDue = false;
    double betaDue = 0.0;
    for (int k = 1;; ++k) {
        out.iterations = k;
        if (k > itmax) {
            out.ierr = 1;
            return out;
        }
        if (directionDue) {
            ForwardProductAhead(s.p, s.v, [&](std::size_t i, int n) {
                kern.direction(s.u + i, s.p + i, s.r + i, s.q + i, betaDue, n);
            });
        } else {
            ForwardProduct(s.p, s.v);
        }
        ClearSums();
        Backward({s.v}, {}, [&](int diag, int m0, std::size_t i, int n) {
            kern.backwardSigma(s.v + i, s.rt + i, s.high + i, s.north + i, s.d + i, SumRun(0, diag, m0), steps, n);
        });
        PublishSums(0, kSigma);
        Barrier();
        const double sigma = Total(kSigma);
        const double alphaK = sigma == 0.0 ? 0.0 : rho / sigma;
        // q = u - alpha v, and u + q in place of u.
        ForwardProductAhead(s.u, s.v, [&](std::size_t i, int n) { kern.halfStep(s.u + i, s.q + i, s.v + i, alphaK, n); });
        ClearSums();
        // r too, for the next update of u and p in the bin above.
        Backward({s.v, s.r}, {}, [&](int diag, int m0, std::size_t i, int n) {
            kern.backwardUpdate(s.v + i, s.r + i, s.x + i, s.u + i, s.rt + i, s.high + i, s.north + i, s.d + i, alphaK,
                             SumRun(0, diag, m0), SumRun(1, diag, m0), SumRun(2, diag, m0), steps, n);
        });
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
            // Each bin from the top row down, as the sweeps sum.
            for (int diag = mb + rows; diag >= ma + 1; --diag) {
                int m0, m1;
                DiagonalRun(diag, m0, m1);
                double* sum = m1 >= m0 ? SumRun(0, diag, m0) : nullptr;
                for (int m = m0; m <= m1; ++m) {
                    const double rr = s.r[s.At(m, diag - m)];
                    sum[m - m0] += rr * rr;
                }
            }
            PublishSums(0, kRr);
            Barrier();
            out.ierr = Total(kRr) == 0.0 ? 0 : 1;
            return out;
        }
        const double betaK = rhoNew / rho;
        rho = rhoNew;
        directionDue = true;
        betaDue = betaK;
    }
}

SolveOutcome SolveSegment(SegmentSystem& sys, SegmentTeam& team, int member, double eps, int itmax,
                          double alpha) {
    SegmentSolve solve(sys, team, member);
    return solve.Run(eps, itmax, alpha);
}

}  // namespace wv::solv
