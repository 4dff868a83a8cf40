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

// One segment's system: element (m, j) for m = 0..ND+1 and j = 0..R+1 at
// (m + j) * RowStep() + m. Bin 0 and bin ND+1 of every row and rows 0 and R+1 of every
// bin are a zero halo (bin ND+1 of row j is bin 0 of row j + ND + 2: both are zero).
// The row below an element lies RowStep() before it, the bin below BinStep() before it.
class SegmentSystem {
public:
    // Storage for up to maxRows rows of nd bins (throws std::bad_alloc). It is taken
    // here but first written at the first Shape, by the thread that solves in it: a
    // run's systems are cleared side by side, and a system no job needs is never touched.
    void Reserve(int nd, int maxRows);
    // Lays the arrays out for a segment of `rows` rows (rows <= the reserved count).
    void Shape(int rows);
    int Bins() const { return m_nd; }
    int Rows() const { return m_rows; }
    int MaxRows() const { return m_maxRows; }
    std::ptrdiff_t RowStep() const { return m_nd + 1; }
    std::ptrdiff_t BinStep() const { return m_nd + 2; }
    std::size_t At(int m, int j) const {
        return static_cast<std::size_t>(m + j) * static_cast<std::size_t>(m_nd + 1) + static_cast<std::size_t>(m);
    }
    // Bytes Reserve takes.
    static double Bytes(int nd, long long maxRows);

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
    std::unique_ptr<double[]> m_storage;
    std::size_t m_storageSize = 0;
    bool m_cleared = false;
    int m_nd = 0;
    int m_rows = 0;
    int m_maxRows = 0;
    std::size_t m_arraySize = 0;
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
// at once, after each member has written the coefficients and the right-hand side of
// its own bins (MemberBins). A right-hand side that is zero throughout is not solved, as
// the march skips it. Returns the same outcome on every member; on return the whole of
// x is final.
SolveOutcome SolveSegment(SegmentSystem& sys, SegmentTeam& team, int member, double eps, int itmax,
                          double alpha);

}  // namespace wv::solv
