#pragma once
// The inner loop of the fast neighbour-weighted filter: one output row of
// weighted maxima over byte rows, with a plain and two vector forms.

#include <cstdint>

namespace gs {

// Taps that share one weight: taps[First] .. taps[First + Count - 1].
struct NeighborTapGroup {
    std::uint16_t Weight; // 0 .. 256
    int First;
    int Count; // at least 1
};

// For every j < count:
//   out[j] = max over groups g of g.Weight * (max over the taps t of g of taps[t][j]).
// Each tap points into a byte row. The vector forms work in steps of
// NeighborMaxRowStep columns: they read taps[t][j] and write out[j] for every
// j below count rounded up to a multiple of NeighborMaxRowStep, so the rows and
// out must reach that far.
using NeighborMaxRowFunc = void (*)(const std::uint8_t* const* taps, const NeighborTapGroup* groups, int groupCount,
                                    int count, std::uint16_t* out);

constexpr int NeighborMaxRowStep = 32;

void NeighborMaxRowScalar(const std::uint8_t* const* taps, const NeighborTapGroup* groups, int groupCount, int count,
                          std::uint16_t* out);

#if defined(__i386__) || defined(__x86_64__)
#define GS_NEIGHBOR_MAX_ROW_X86 1
// Callable only when the processor has the instruction set (see below).
void NeighborMaxRowSse2(const std::uint8_t* const* taps, const NeighborTapGroup* groups, int groupCount, int count,
                        std::uint16_t* out);
void NeighborMaxRowAvx2(const std::uint8_t* const* taps, const NeighborTapGroup* groups, int groupCount, int count,
                        std::uint16_t* out);
bool CpuHasSse2();
bool CpuHasAvx2();
#endif

// The fastest form this processor runs.
NeighborMaxRowFunc BestNeighborMaxRow();

} // namespace gs
