// After each column: the spectrum reduced to wave statistics per row (which the next
// column's breaking model reads), the radiation stresses for the dump, and the node
// result records.
#pragma once

#include "solver/run_state.h"
#include "solver/worker_pool.h"

#include <string>

namespace wv::solv {

// Sets negative energies to 0 and computes H, T and the mean direction of every row of
// column i, and the radiation stresses when the dump is asked for; then limits the
// breaking heights to 1.8 H and appends the column's result records (every row, or only
// the centre row). A failure of the statistics comes first; NonFinite when any row's
// value is not a finite number or a record value does not fit its field.
ColumnStatus ColumnResults(RunState& st, int i, WorkerPool& pool, std::string& out);

// Appends the dump records of column i. False when a value does not fit.
bool ColumnDump(const RunState& st, int i, std::string& out);

}  // namespace wv::solv
