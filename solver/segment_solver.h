// ILUCGS for the systems of the march, solved by a team of threads.
//
// The march's system of one wet segment and one frequency component has one unknown per
// direction bin m = 1..ND and segment row j = 1..R, and couples it only to the same bin
// in the rows below and above (ILUCGS offsets -ND and +ND) and to the bins below and
// above in the same row (offsets -1 and +1); the M diagonals are empty, and nothing
// couples the last bin of a row to the first of the next. This is ILUCGS of ilucgs.h,
// with the same factorisation, preconditioner sweeps, recurrences and convergence test,
// arranged for that structure:
// - The arrays are stored by diagonals of the bin x row grid (the unknowns with the same
//   m + j side by side, in bin order), and each member of a team owns a contiguous range
//   of bins of every array.
// - The triangular sweeps run as a wavefront: an unknown depends only on its lower bin
//   and its lower row (forward) or on its upper bin and upper row (backward), both on the
//   diagonal before (after) its own, so a diagonal's unknowns are independent of each
//   other and are swept as one elementwise run over contiguous memory (segment_kernels.h).
//   Each member passes its rows on to the next member as it finishes them. Every unknown
//   gets exactly the value of a plain sweep in unknown order.
// - The matrix-vector products are formed inside the forward sweeps, and the inner
//   products and vector updates that follow a preconditioner inside the backward ones,
//   each unknown's as soon as it is final.
// - Inner products are summed per bin over the rows from the top row down, in four
//   interleaved partial sums (row j into sum (R - j) mod 4, combined as
//   (s0 + s1) + (s2 + s3)), and the bins' sums are added in bin order. That order is
//   fixed by the system alone, so a result is the same in every bit for any number of
//   members; it differs from a plain sum in unknown order only in the last bits of the
//   inner products.
#pragma once

#include "solver/worker_pool.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace wv::solv {

// One segment's system, laid out for a team of `members` (Shape). The bins are cut into
// the members' ranges (MemberBins), and each range is a block of its own memory, stored
// by diagonals: element (m, j) of block b at Slot(b, m, j), its bins side by side on
// each diagonal m + j, with one halo slot on either side (bins ma - 1 and mb + 1). A
// member then sweeps memory no other member touches: when two members' bins shared the
// diagonals' cache lines, each member's caches held and fetched the other's half as
// well, and a team of two was slower than one thread alone. The halo slots hold copies
// of the neighbouring members' boundary bins (SegmentSolve keeps them current), except
// bin 0 and bin ND+1, which are zero. Rows 0 and R+1 of every bin are a zero halo too.
// A system of one block is the plain layout, element (m, j) at (m + j)(ND + 1) + m: bin
// ND+1 of row j is then bin 0 of row j + ND + 2, zero either way.
class SegmentSystem {
public:
    // Storage for up to maxRows rows of nd bins, for teams of up to maxMembers (throws
    // std::bad_alloc). It is taken here but first written at the first Shape, by the
    // thread that solves in it: a run's systems are cleared side by side, and a system
    // no job needs is never touched.
    void Reserve(int nd, int maxRows, int maxMembers = 1);
    // Lays the arrays out for a segment of `rows` rows (rows <= the reserved count) and a
    // team of `members` (at most the reserved count).
    void Shape(int rows, int members = 1);
    int Bins() const { return m_nd; }
    int Rows() const { return m_rows; }
    int MaxRows() const { return m_maxRows; }
    int MaxMembers() const { return m_maxMembers; }
    // The element of unknown m = 1..ND (or of the zero halo bins 0 and ND+1), row j.
    std::size_t At(int m, int j) const {
        const std::size_t mm = static_cast<std::size_t>(m);
        return m_binOffset[mm] + static_cast<std::size_t>(m + j) * m_binStride[mm];
    }
    // Element (m, j) of block b, for m = ma - 1 .. mb + 1 of its bins.
    std::size_t Slot(int block, int m, int j) const {
        const Block& k = m_blocks[static_cast<std::size_t>(block)];
        return k.base + static_cast<std::size_t>(m + j - (k.ma - 1)) * k.stride + static_cast<std::size_t>(m - k.ma + 1);
    }
    // Within block b: the row below an element lies RowStep(b) before it, the bin below
    // BinStep(b) before it.
    std::ptrdiff_t RowStep(int block = 0) const {
        return static_cast<std::ptrdiff_t>(m_blocks[static_cast<std::size_t>(block)].stride);
    }
    std::ptrdiff_t BinStep(int block = 0) const { return RowStep(block) + 1; }
    // The same for the block that holds bin m.
    std::ptrdiff_t BinStepAt(int m) const {
        return static_cast<std::ptrdiff_t>(m_binStride[static_cast<std::size_t>(m)]) + 1;
    }
    // Bytes Reserve takes.
    static double Bytes(int nd, long long maxRows, int maxMembers = 1);

    // Coefficients of unknown (m, j): the row below, the bin below, the diagonal, the bin
    // above, the row above; and the right-hand side, which becomes the residual r in the
    // solve (the two share their storage). The march writes them.
    double* south = nullptr;
    double* low = nullptr;
    double* diag = nullptr;
    double* high = nullptr;
    double* north = nullptr;
    double* b = nullptr;
    // The solver's vectors; x is the solution (scaled by 2^shift, see SolveOutcome). u
    // holds u + q between the two products of an iteration.
    double* d = nullptr;
    double* x = nullptr;
    double* p = nullptr;
    double* v = nullptr;
    double* r = nullptr;
    double* rt = nullptr;
    double* u = nullptr;
    double* q = nullptr;

private:
    struct Block {
        std::size_t base = 0;    // element (ma - 1, 0)'s diagonal starts here
        std::size_t stride = 0;  // elements per diagonal
        int ma = 1, mb = 0;
    };
    // Elements per array that a team of `members` needs, and the same rounded up to whole
    // cache lines.
    static std::size_t ArrayElements(int nd, long long maxRows, int members);
    static std::size_t ArraySize(int nd, long long maxRows, int members);
    // Zeroes what the current layout takes as zero halo, on every diagonal.
    void ClearZeroHalos();
    std::unique_ptr<double[]> m_storage;
    std::size_t m_storageSize = 0;
    std::size_t m_usedElements = 0;     // of the storage, by the current layout
    std::size_t m_clearedElements = 0;  // of the storage, from its start
    int m_nd = 0;
    int m_rows = 0;
    int m_maxRows = 0;
    int m_maxMembers = 1;
    std::vector<Block> m_blocks;
    std::vector<std::size_t> m_binOffset, m_binStride;  // by bin 0..ND+1, for At
};

// The bins of a member: ma..mb of 1..nd, in member order, as even as they divide.
void MemberBins(int nd, int members, int member, int& ma, int& mb);
// The rows of a member for row-wise work: ja..jb of 1..rows (may be empty).
void MemberRows(int rows, int members, int member, int& ja, int& jb);

// What the members of one solve share: the barrier, the sweep progress of each member
// and the per-bin partial sums.
class SegmentTeam {
public:
    // Room for up to maxMembers members and nd bins (throws std::bad_alloc).
    void Reserve(int maxMembers, int nd);
    // Before the team starts, on the thread that starts it.
    void Start(int members);
    int Members() const { return m_members; }
    // Between two solves of one team: by one member, while every other member waits at
    // the barrier that follows.
    void ResetProgress();
    void Barrier() { m_barrier->Wait(); }
    // A value one member hands to the others through the next barrier.
    int shared = 0;

private:
    friend class SegmentSolve;
    struct alignas(64) Counter {
        std::atomic<int> value{0};
    };
    std::unique_ptr<TeamBarrier> m_barrier;
    std::unique_ptr<Counter[]> m_forward;   // rows done from the bottom, per member
    std::unique_ptr<Counter[]> m_backward;  // rows done from the top, per member
    std::vector<double> m_partial;          // kinds x (nd + 2)
    std::vector<double> m_memberMax;
    std::vector<unsigned char> m_memberInflow;
    int m_maxMembers = 0;
    int m_members = 1;
    int m_nd = 0;
};

struct SolveOutcome {
    bool solved = false;  // false: the right-hand side is zero and nothing was solved
    int ierr = 0;         // as ILUCGS: 0 converged, 1 not converged or broken down
    int shift = 0;        // x holds the solution times 2^shift
    int iterations = 0;   // CGS iterations begun
};

// Solves the system with tolerance eps, iteration limit itmax and factorisation
// parameter alpha (ILUCGS's arguments 16, 18 and 20). Called by every member of the team
// at once, after the system was shaped for the team's size and each member has written
// the coefficients and the right-hand side of its own bins (MemberBins). A right-hand side that is zero throughout is not solved, as
// the march skips it. Returns the same outcome on every member; on return the whole of
// x is final.
SolveOutcome SolveSegment(SegmentSystem& sys, SegmentTeam& team, int member, double eps, int itmax,
                          double alpha);

}  // namespace wv::solv
