// Internal controls of the solver for tests, benchmarks and the headless front end.
// They are not exported from the shared library.
#pragma once

#include <functional>

namespace wv::solv {

// A Cancel click for a headless progress window: the next SETPROGRESS reports it.
void RequestCancel();
// Called with the value of every SETPROGRESS before the click is looked for (nullptr
// removes it). A test may call RequestCancel from it.
void SetProgressObserver(std::function<void(int value)> observer);
// Threads for the frequency components: n > 0 fixes the count, 0 goes back to the
// environment variable WAVORA_THREADS or, without it, the hardware's count.
void SetThreadCountOverride(int n);
int SolverThreadCount();
// Threads per team for the long segments: n > 0 fixes it (within what the thread count
// and the system allow), 0 lets the march choose.
void SetTeamSizeOverride(int n);
// Makes the next DISPLAYPROGRESSBOX fail, as a window that cannot be created would.
void SetProgressWindowFailure(bool fail);
// The memory a run may plan with, in bytes, in place of the machine's (0: the machine's).
// Lets a test or a fuzzer under a memory limit see oversized runs refused as they would
// be on a smaller machine.
void SetMemoryLimitOverride(double bytes);

}  // namespace wv::solv
