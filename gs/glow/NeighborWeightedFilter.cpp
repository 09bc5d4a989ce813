#include "NeighborWeightedFilter.h"

#include "NeighborMaxRow.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gs {

namespace {

// Product in signed 32-bit arithmetic, wrapping instead of overflowing.
std::int32_t MulWrap(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

} // namespace

NeighborWeightedFilter::NeighborWeightedFilter(IntMatrix weights, int radiusY, int radiusX, int divisor)
    : FWeights(weights), FDivisor(divisor), FRadiusY(radiusY), FRadiusX(radiusX)
{
}

NeighborWeightedFilter::~NeighborWeightedFilter()
{
    FreeIntMatrix(FWeights, 2 * FRadiusY + 1);
}

int NeighborWeightedFilter::Compute(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, int i,
                                    int j) const
{
    std::int32_t best = 0;
    for (int dy = -FRadiusY; dy <= FRadiusY; ++dy) {
        for (int dx = -FRadiusX; dx <= FRadiusX; ++dx) {
            if (i + dy < 0 || j + dx < 0 || i + dy >= rows || j + dx >= cols)
                continue;
            const std::int32_t v =
                MulWrap(source[rowOffset + i + dy][colOffset + j + dx], FWeights[FRadiusY + dy][FRadiusX + dx]);
            if (v > best)
                best = v;
        }
    }
    return best / FDivisor;
}

void NeighborWeightedFilter::ApplyBlock(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols,
                                        IntMatrix target, int targetRowOffset, int targetColOffset) const
{
    if (!ApplyBytes(source, rowOffset, colOffset, rows, cols, target, targetRowOffset, targetColOffset))
        Filter::ApplyBlock(source, rowOffset, colOffset, rows, cols, target, targetRowOffset, targetColOffset);
}

// The fast form for what the glows feed in: values 0 .. 255 and weights
// 0 .. 256. Then no product is negative, so a neighbour outside the block
// weighs like a zero value: the rows of the block are copied as bytes, with a
// zero border of the window's radius on the left and room for whole vector
// steps on the right, into a ring of as many rows as the window has. Output
// row i takes the weighted maxima over the window's taps, leaving out taps of
// weight 0 and taps on rows of zeros (inside the block or beyond its top and
// bottom), and only over the columns that a non-zero value can reach. Returns
// false, having written nothing, when the input is not of that kind.
bool NeighborWeightedFilter::ApplyBytes(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols,
                                        IntMatrix target, int targetRowOffset, int targetColOffset) const
{
    // Computed in place, the cell-by-cell order shows in the result.
    if (FDivisor == 0 || FRadiusY < 0 || FRadiusX < 0 || source == target)
        return false;

    struct Tap {
        int Weight;
        int Row; // 0 .. 2 * radiusY
        int Column; // 0 .. 2 * radiusX
    };
    const int kernelRows = 2 * FRadiusY + 1;
    const int kernelCols = 2 * FRadiusX + 1;
    std::vector<Tap> kernel;
    for (int ky = 0; ky < kernelRows; ++ky) {
        for (int kx = 0; kx < kernelCols; ++kx) {
            const std::int32_t w = FWeights[ky][kx];
            if (w < 0 || w > 256)
                return false;
            if (w > 0)
                kernel.push_back(Tap{w, ky, kx});
        }
    }
    std::stable_sort(kernel.begin(), kernel.end(), [](const Tap& a, const Tap& b) { return a.Weight > b.Weight; });

    // First and last non-zero column of each row of the block; last < 0 for
    // a row of zeros.
    std::vector<int> firstNonZero(rows, 0);
    std::vector<int> lastNonZero(rows, -1);
    for (int i = 0; i < rows; ++i) {
        const std::int32_t* s = source[rowOffset + i] + colOffset;
        std::uint32_t any = 0;
        for (int j = 0; j < cols; ++j)
            any |= static_cast<std::uint32_t>(s[j]);
        if (any > 255)
            return false;
        if (any == 0)
            continue;
        int first = 0;
        while (s[first] == 0)
            ++first;
        int last = cols - 1;
        while (s[last] == 0)
            --last;
        firstNonZero[i] = first;
        lastNonZero[i] = last;
    }

    // Block row b is held in ring slot (b + radiusY) % kernelRows, its cell j
    // at column j + radiusX.
    const std::size_t stride = static_cast<std::size_t>(cols) + 2 * FRadiusX + NeighborMaxRowStep;
    std::vector<std::uint8_t> ring(stride * kernelRows, 0);
    const auto slot = [&](int b) { return &ring[((b + FRadiusY) % kernelRows) * stride]; };
    const auto load = [&](int b) {
        if (b >= rows || lastNonZero[b] < 0)
            return;
        const std::int32_t* s = source[rowOffset + b] + colOffset;
        std::uint8_t* p = slot(b) + FRadiusX;
        for (int j = 0; j < cols; ++j)
            p[j] = static_cast<std::uint8_t>(s[j]);
    };
    for (int b = 0; b < FRadiusY; ++b)
        load(b);

    const NeighborMaxRowFunc maxRow = BestNeighborMaxRow();
    std::vector<const std::uint8_t*> taps;
    std::vector<NeighborTapGroup> groups;
    std::vector<std::uint16_t> best(static_cast<std::size_t>(cols) + NeighborMaxRowStep);
    for (int i = 0; i < rows; ++i) {
        // Rows i - radiusY .. i + radiusY are in the ring now.
        load(i + FRadiusY);
        taps.clear();
        groups.clear();
        // Output columns that some non-zero value reaches: [lo, hi].
        int lo = INT_MAX;
        int hi = INT_MIN;
        for (const Tap& tap : kernel) {
            const int b = i + tap.Row - FRadiusY;
            if (b < 0 || b >= rows || lastNonZero[b] < 0)
                continue;
            if (groups.empty() || groups.back().Weight != tap.Weight)
                groups.push_back(
                    NeighborTapGroup{static_cast<std::uint16_t>(tap.Weight), static_cast<int>(taps.size()), 0});
            ++groups.back().Count;
            taps.push_back(slot(b) + tap.Column);
            lo = std::min(lo, firstNonZero[b] + FRadiusX - tap.Column);
            hi = std::max(hi, lastNonZero[b] + FRadiusX - tap.Column);
        }
        lo = std::max(lo, 0);
        hi = std::min(hi, cols - 1);

        std::int32_t* out = target[targetRowOffset + i] + targetColOffset;
        if (groups.empty() || lo > hi) {
            std::fill(out, out + cols, 0);
            continue;
        }
        for (const std::uint8_t*& tap : taps)
            tap += lo;
        maxRow(taps.data(), groups.data(), static_cast<int>(groups.size()), hi - lo + 1, best.data());
        std::fill(out, out + lo, 0);
        if (FDivisor == 256) {
            for (int j = lo; j <= hi; ++j)
                out[j] = best[j - lo] >> 8;
        } else {
            for (int j = lo; j <= hi; ++j)
                out[j] = static_cast<std::int32_t>(best[j - lo]) / FDivisor;
        }
        std::fill(out + hi + 1, out + cols, 0);
    }
    return true;
}

} // namespace gs
