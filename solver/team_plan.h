#pragma once

#include <cstddef>
#include <vector>

namespace wv::solv {

// How many threads each long job of a column gets when the column has fewer long jobs
// than threads. A team of several threads pays only where its members' hand-overs cost
// less than the work they share, and that depends on the processor, on how far apart
// its cores are and on what else runs on them: on one 8-core guest a team of two took
// 2.3 times as long as one thread alone, on another it takes 0.68 times. So the plan goes
// by the solve times this run has measured, and tries a team size again from time to
// time, as the machine changes.
// Nothing here enters a result: the solves give the same bits on any team.
class TeamPlan {
public:
    // Columns after which a size's measure is forgotten and the size tried again.
    static constexpr int kRetryColumns = 64;
    // Columns of teams after which one column runs one thread per job again, so that one
    // thread alone is measured anew: a team chosen on a measure of one thread that was
    // held up (the run's first, cold column, say) does not last until that measure is
    // forgotten. Teams seldom pay, so this check comes far more often than their retry.
    static constexpr int kSoloRecheckColumns = 8;

    // Team sizes of the jobs, given their costs (costliest first) and the most members
    // each can use. Without a recent measure of one thread alone every job gets one thread;
    // then a spare thread goes to the job that would take longest, if a team one larger
    // is measured faster for it or has not been measured yet, and the column then ends
    // sooner by more than 1/threads of it (the spare thread's share of the column's
    // other work). Threads left over find the next column's work.
    std::vector<int> Sizes(const std::vector<double>& cost, const std::vector<int>& cap, int threads) const;
    // The solve of the job a spare thread would join (the costliest): its team size, its
    // cost (rows x (1.5 + the iterations it took)) and its seconds.
    void Measured(int members, double cost, double seconds);
    // After the column's jobs were measured.
    void EndColumn();

    // Seconds per unit of cost for a team size; 0 when not measured.
    double Rate(int members) const;

private:
    struct Size {
        double rate = 0.0;
        int age = 0;
        double seconds = 0.0, cost = 0.0;  // this column's
    };
    std::vector<Size> m_sizes;  // by team size; [0] unused
};

// Which of the run's threads take the column's costliest teams. In a virtual machine the
// processors differ, and which ones are slow changes as the host's load moves: some run at
// two thirds or half the speed of the others for seconds at a time (the host gives their
// cores to someone else as well), and some solve a system a quarter slower than the
// others while they run a loop of arithmetic as fast (the memory they stream comes
// slower). So each thread's pace is measured on the solves it does: a running mean of
// its seconds per unit of cost (rows x (1.5 + iterations)) over the jobs it solved alone.
// The threads are kept in order: the fastest take the costliest teams, the slowest the
// spare places. A thread keeps its place, and with it its team's system and component in
// its caches, until it is clearly slower than the thread after it; a solve just after a
// change of place measures the move as much as the processor and is not counted. A thread
// in a spare place solves nothing, so from time to time it changes places with the
// thread of the last working place and is measured there. Nothing here enters a result.
class ThreadPlaces {
public:
    // A thread this much slower than the next gives up its place. The running mean takes
    // several solves to move this far, so that one slow solve does not count.
    static constexpr double kClearlySlower = 1.1;
    // A job's thread this much slower than the fastest sets its job out earlier
    // (StartOrder).
    static constexpr double kSetOutEarlier = 1.25;
    // Columns between two tries of a spare thread in the last job's place.
    static constexpr int kTrySpareColumns = 64;

    void Reset(int threads);
    int Threads() const { return static_cast<int>(m_order.size()); }
    // Thread `worker` solved a job alone in `seconds` per unit of cost. Each thread
    // writes only its own entry.
    void Measured(int worker, double seconds);
    // The threads in place order, the fastest first, for a column whose jobs take the
    // first `working` places: clearly slower threads move behind faster ones, and every
    // kTrySpareColumns columns a spare thread takes the last working place (its measure,
    // from when it last had one, is forgotten). Once per column, before its solves.
    const std::vector<int>& Order(int working);
    // Whether thread `worker` holds the place it held in the column before: only then does
    // its solve count as its measure.
    bool Settled(int worker) const {
        const auto w = static_cast<std::size_t>(worker);
        return worker >= 0 && w < m_settled.size() && m_settled[w] != 0;
    }
    double Pace(int worker) const;  // 0: not measured yet
    // The order in which jobs set out, given each one's cost and thread: the job expected
    // to end last first. A job is expected to take its cost times its thread's slowness
    // against the fastest of them, where that is clear (kSetOutEarlier; closer paces are
    // the measure's noise); so with two slow processors the cheap job that one of them
    // must take sets out before the costliest instead of after every other. Without a
    // pace for every thread, the order of costs.
    std::vector<int> StartOrder(const std::vector<double>& cost, const std::vector<int>& threadOf) const;

private:
    struct alignas(64) Measure {
        double seconds = 0.0;
    };
    std::vector<Measure> m_pace;
    std::vector<int> m_order;
    std::vector<int> m_placeBefore;  // by thread; -1 before the first column
    std::vector<unsigned char> m_settled;
    int m_columns = 0;
    int m_spareTried = 0;
};

}  // namespace wv::solv
