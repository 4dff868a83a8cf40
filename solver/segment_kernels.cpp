// The team solver's kernels for the baseline processor, and the choice between them and
// the AVX2 ones.
#include "solver/segment_kernels.h"

#include <atomic>
#include <cstdlib>

namespace wv::solv {
namespace baseline {
#define WV_SWEEP_KERNELS_NAME "baseline"
#define WV_SWEEP_KERNELS_TABLE kTable
#define WV_SWEEP_VECTOR_BYTES 16
#include "solver/segment_kernels.inc"
#undef WV_SWEEP_KERNELS_NAME
#undef WV_SWEEP_KERNELS_TABLE
#undef WV_SWEEP_VECTOR_BYTES
}  // namespace baseline

namespace {

std::atomic<bool> g_baselineOverride{false};

const SweepKernels* ProcessorChoice() {
    const SweepKernels* avx2 = Avx2SweepKernels();
#if defined(__x86_64__) || defined(__i386__)
    if (avx2 && !std::getenv("WAVORA_BASELINE_KERNELS")) {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2")) return avx2;
    }
#endif
    return &baseline::kTable;
}

}  // namespace

const SweepKernels& BaselineSweepKernels() { return baseline::kTable; }

const SweepKernels& ActiveSweepKernels() {
    static const SweepKernels* const choice = ProcessorChoice();
    return g_baselineOverride.load(std::memory_order_relaxed) ? baseline::kTable : *choice;
}

void SetBaselineKernelsOverride(bool baseline) { g_baselineOverride.store(baseline, std::memory_order_relaxed); }

}  // namespace wv::solv
