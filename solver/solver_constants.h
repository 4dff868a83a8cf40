// Constants of the march. The solver works with pi = 3.14159 (not the exact value) in
// every angle conversion, the direction bins, the march and the dispersion relation, as
// the results have always been computed; only the shoaling routines use full precision.
#pragma once

namespace wv::solv {

inline constexpr double kPi = 3.14159;
inline constexpr double kGravity = 9.8;
// The edge of the half plane of directions, kPi / 2.
inline constexpr double kHalfPlane = 1.570795;
// Full-precision pi of the shoaling routines.
inline constexpr double kPiShoaling = 3.14159265358979;

// Text arguments are read as at most this many characters.
inline constexpr int kMaxTextLength = 513;
// Margin of the work storage beyond the request's mesh counts.
inline constexpr int kMeshMargin = 10;
// Control id of the progress bar in the progress window.
inline constexpr int kProgressBarId = 1000;

// Linear solver settings of the march.
inline constexpr double kSolverTolerance = 1e-7;
inline constexpr int kSolverIterations = 1000;
inline constexpr double kSolverAlpha = 1.03;

}  // namespace wv::solv
