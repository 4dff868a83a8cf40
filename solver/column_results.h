// After each column: the spectrum reduced to wave statistics per row (which the next
// column's breaking model reads), the radiation stresses for the dump, and the node
// result records.
#pragma once

#include "solver/march.h"
#include "solver/run_state.h"
#include "solver/worker_pool.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace wv::solv {

// Sets negative energies to 0 and computes H, T and the mean direction of every row of
// column i, the radiation stresses when the dump is asked for, and limits the breaking
// heights to 1.8 H: everything the next column reads.
ColumnStatus ColumnStatistics(RunState& st, int i, WorkerPool& pool);

// The result records of one column (every row, or only the centre row), formatted from
// a copy of its rows' values after its statistics. The next column reads nothing of
// them, so threads left without a job during the next column's solves format them and
// hand the text on, and the column waits for none of it.
class PendingRecords : public IdleWork {
public:
    enum class Outcome { Ok, NonFinite, WriteFailed };
    // Gets a column's whole text, in row order; false when it could not be written.
    using Sink = std::function<bool(const std::string&)>;

    explicit PendingRecords(Sink sink) : m_sink(std::move(sink)) {}

    // Makes column i's records the pending work (any pending column must be finished).
    void Take(const RunState& st, int i);
    // Formats blocks nobody has taken; whoever finishes the last one hands the column to
    // the sink. Any number of threads at once.
    void Work() override;
    // Completes the pending column with the pool's threads, then nothing is pending.
    // NonFinite (nothing handed on) when a row's value is not a finite number or a record
    // value does not fit its field.
    Outcome Finish(WorkerPool& pool);

private:
    void Complete(int task);
    void Format(int task);
    void HandOn();

    Sink m_sink;
    const RunState* m_st = nullptr;
    int m_column = 0;
    std::vector<double> m_height, m_period, m_direction, m_breakHeight;
    std::vector<std::string> m_text;
    std::vector<unsigned char> m_bad;
    std::atomic<int> m_next{0};
    std::atomic<int> m_done{0};
    Outcome m_outcome = Outcome::Ok;
};

// The statistics and then the records of column i appended to out, at once; a failure
// of the statistics comes first, then NonFinite.
ColumnStatus ColumnResults(RunState& st, int i, WorkerPool& pool, std::string& out);

// Appends the dump records of column i. False when a value does not fit.
bool ColumnDump(const RunState& st, int i, std::string& out);

}  // namespace wv::solv
