#include "NeighborMaxRow.h"

#ifdef GS_NEIGHBOR_MAX_ROW_X86
#include <immintrin.h>
#endif

// A product of a byte (0 .. 255) and a weight (0 .. 256) is at most 65280, so
// the vector forms multiply and compare in unsigned 16-bit lanes. A group's
// taps share the weight, and w * max(a, b) = max(w * a, w * b) for w >= 0, so
// the taps of a group are first reduced by a byte maximum and multiplied once.

namespace gs {

void NeighborMaxRowScalar(const std::uint8_t* const* taps, const NeighborTapGroup* groups, int groupCount, int count,
                          std::uint16_t* out)
{
    for (int j = 0; j < count; ++j) {
        unsigned best = 0;
        for (int g = 0; g < groupCount; ++g) {
            const NeighborTapGroup& group = groups[g];
            unsigned m = 0;
            for (int t = group.First; t < group.First + group.Count; ++t)
                if (taps[t][j] > m)
                    m = taps[t][j];
            const unsigned v = m * group.Weight;
            if (v > best)
                best = v;
        }
        out[j] = static_cast<std::uint16_t>(best);
    }
}

#ifdef GS_NEIGHBOR_MAX_ROW_X86

// The 32-bit build cannot assume the caller kept the stack 16-byte aligned.
#ifdef __i386__
#define GS_VECTOR_ENTRY __attribute__((force_align_arg_pointer))
#else
#define GS_VECTOR_ENTRY
#endif

__attribute__((target("sse2"))) GS_VECTOR_ENTRY void NeighborMaxRowSse2(const std::uint8_t* const* taps,
                                                                        const NeighborTapGroup* groups, int groupCount,
                                                                        int count, std::uint16_t* out)
{
    // SSE2 has no unsigned 16-bit maximum: the running maxima are kept with
    // the sign bit flipped and compared as signed values.
    const __m128i zero = _mm_setzero_si128();
    const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
    for (int j = 0; j < count; j += 16) {
        __m128i bestLo = flip;
        __m128i bestHi = flip;
        for (int g = 0; g < groupCount; ++g) {
            const NeighborTapGroup& group = groups[g];
            const std::uint8_t* const* tap = taps + group.First;
            __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tap[0] + j));
            for (int t = 1; t < group.Count; ++t)
                m = _mm_max_epu8(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(tap[t] + j)));
            const __m128i w = _mm_set1_epi16(static_cast<short>(group.Weight));
            const __m128i lo = _mm_mullo_epi16(_mm_unpacklo_epi8(m, zero), w);
            const __m128i hi = _mm_mullo_epi16(_mm_unpackhi_epi8(m, zero), w);
            bestLo = _mm_max_epi16(bestLo, _mm_xor_si128(lo, flip));
            bestHi = _mm_max_epi16(bestHi, _mm_xor_si128(hi, flip));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_xor_si128(bestLo, flip));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j + 8), _mm_xor_si128(bestHi, flip));
    }
}

__attribute__((target("avx2"))) GS_VECTOR_ENTRY void NeighborMaxRowAvx2(const std::uint8_t* const* taps,
                                                                        const NeighborTapGroup* groups, int groupCount,
                                                                        int count, std::uint16_t* out)
{
    for (int j = 0; j < count; j += 32) {
        __m256i bestLo = _mm256_setzero_si256();
        __m256i bestHi = _mm256_setzero_si256();
        for (int g = 0; g < groupCount; ++g) {
            const NeighborTapGroup& group = groups[g];
            const std::uint8_t* const* tap = taps + group.First;
            __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tap[0] + j));
            for (int t = 1; t < group.Count; ++t)
                m = _mm256_max_epu8(m, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tap[t] + j)));
            const __m256i w = _mm256_set1_epi16(static_cast<short>(group.Weight));
            const __m256i lo = _mm256_mullo_epi16(_mm256_cvtepu8_epi16(_mm256_castsi256_si128(m)), w);
            const __m256i hi = _mm256_mullo_epi16(_mm256_cvtepu8_epi16(_mm256_extracti128_si256(m, 1)), w);
            bestLo = _mm256_max_epu16(bestLo, lo);
            bestHi = _mm256_max_epu16(bestHi, hi);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), bestLo);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j + 16), bestHi);
    }
}

bool CpuHasSse2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

bool CpuHasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#endif // GS_NEIGHBOR_MAX_ROW_X86

NeighborMaxRowFunc BestNeighborMaxRow()
{
#ifdef GS_NEIGHBOR_MAX_ROW_X86
    if (CpuHasAvx2())
        return NeighborMaxRowAvx2;
    if (CpuHasSse2())
        return NeighborMaxRowSse2;
#endif
    return NeighborMaxRowScalar;
}

} // namespace gs
