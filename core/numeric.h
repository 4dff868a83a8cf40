// Number handling shared by the file readers and the contour tracer: text lines split
// into numbers, decimal rounding, and a sort and search over pairs of ints. Include
// through core/geometry.h.
#pragma once

#include <cstddef>

namespace wv {

// Every newline byte among the first `size` bytes becomes a terminating zero, and the
// byte at size - 1 becomes zero in any case. Does nothing for a null buffer or size 0.
void StripNewlines(char* buffer, std::size_t size);

// Splits a text line at blanks and commas into numbers: each goes into `values` as a
// double and into `ints` truncated toward zero (INT_MIN when out of int range). A '-'
// anywhere in a field negates it, '.' starts the decimals, CR and LF are skipped and every
// other character is ignored. Both arrays hold `capacity` entries; at most `capacity`
// numbers are stored and the rest of the line is ignored. The double slot after the last
// number stored is set to 0.0 when there is room for it. The line is not modified.
// Result: the number of values stored, or -1 for an empty (or null) line.
int ParseNumberLine(const char* line, double* values, int* ints, int capacity);

// Rounds x to n decimals, half away from zero, with a relative guard of 1e-15 so that a
// decimal half stored just below itself in binary still rounds up (2.675 -> 2.68).
double RoundDecimal(double x, double n);

// Sorts the parallel arrays ascending by (a, then b) with a comb sort and squeezes out
// repeated pairs; *count becomes the number kept. A count below 1 leaves everything.
void CombSortPairs(int* a, int* b, int* count);

// Binary search for (keyA, keyB) in arrays sorted by CombSortPairs. Returns the index of
// the pair, or the last probe when it is absent (callers look up only pairs that are
// there). -1 for a count below 1.
int FindPair(int keyA, int keyB, const int* a, const int* b, int count);

}  // namespace wv
