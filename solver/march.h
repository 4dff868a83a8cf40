// The energy-balance march: first-order upwind in x, y and direction, implicit in each
// column. Every wet segment of a column and every frequency component is one sparse
// system over (row, direction bin), solved by ILUCGS.
#pragma once

#include "solver/run_state.h"
#include "solver/worker_pool.h"

namespace wv::solv {

// Allocates everything the march needs for `threads` threads (throws std::bad_alloc).
void AllocateMarch(RunState& st, int threads);
// Land mask, face depths, slope tables and per-bin constants; then the incident
// spectrum in every row and the initial per-row values, with the pool's threads.
void PrepareMarch(RunState& st, WorkerPool& pool);

// Work that threads left without a job take on while a column's long segments are
// solved, before they look ahead to the next column. It must not touch what the column
// reads or writes.
class IdleWork {
public:
    virtual void Work() = 0;

protected:
    ~IdleWork() = default;
};

// Computes column i (1-based) from the previous one; on success the new spectrum is in
// st.energy and st.rowBreakHeight holds the breaking heights of the last component.
ColumnStatus MarchColumn(RunState& st, int i, WorkerPool& pool, IdleWork* idle = nullptr);

}  // namespace wv::solv
