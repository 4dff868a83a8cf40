// The team solver's kernels for processors with AVX2 (this file is compiled with -mavx2
// and without FMA).
#include "solver/segment_kernels.h"

namespace wv::solv {
#if defined(__AVX2__)
namespace avx2 {
#define WV_SWEEP_KERNELS_NAME "avx2"
#define WV_SWEEP_KERNELS_TABLE kTable
#define WV_SWEEP_VECTOR_BYTES 32
#include "solver/segment_kernels.inc"
}  // namespace avx2

const SweepKernels* Avx2SweepKernels() { return &avx2::kTable; }
#else
const SweepKernels* Avx2SweepKernels() { return nullptr; }
#endif

}  // namespace wv::solv
