// One calculation from the request block to the result, status and timing files.
#pragma once

#include "solver/run_state.h"
#include "solver/tydsolv.h"

namespace wv::solv {

// The body of TYDSOLV: 0 when the run completed, 1 when it was refused, cancelled or
// failed (a message has been shown). A call while another run is going on in the
// process is refused without touching "CALC.DAT", which belongs to the running one.
int RunCalculation(const CalcRequest* request);
// Asks the run in progress to end after its current column, as cancelled.
void RequestStop();

// The run state from an input that ReadCalInput accepted for `dims`: counts, spacing,
// the constants of the march and the incident spectrum. The march tests start from it
// as a run does.
void SetUpRun(RunState& s, const RequestDims& dims);

}  // namespace wv::solv
