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
            const std::int32_t v = MulWrap(source[rowOffset + i + dy][colOffset + j + dx],
                                           FWeights[FRadiusY + dy][FRadiusX + dx]);
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
// weighs like a zero value, and the block is copied into a byte image with a
// zero border of the window's radius on every side (and room for whole vector
// steps on the right). Output row i takes the weighted maxima over the window's
// taps, leaving out taps of weight 0 and of all-zero rows, and only over the
// columns that a non-zero value can reach. Returns false, having written
// nothing, when the input is not of that kind.
bool NeighborWeightedFilter::ApplyBytes(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols,
                                        IntMatrix target, int targetRowOffset, int targetColOffset) const
{
    // Computed in place, the cell-by-cell order shows in the result.
    if (FDivisor == 0 || FRadiusY < 0 || FRadiusX < 0 || source == target)
        return false;

    const int kernelRows = 2 * FRadiusY + 1;
    const int kernelCols = 2 * FRadiusX + 1;
    // Taps by weight, as (row, column) in the window.
    std::vector<std::vector<std::pair<int, int>>> tapsByWeight(257);
    for (int ky = 0; ky < kernelRows; ++ky) {
        for (int kx = 0; kx < kernelCols; ++kx) {
            const std::int32_t w = FWeights[ky][kx];
            if (w < 0 || w > 256)
                return false;
            if (w > 0)
                tapsByWeight[w].emplace_back(ky, kx);
        }
    }

    const std::size_t paddedCols = static_cast<std::size_t>(cols) + 2 * FRadiusX + NeighborMaxRowStep;
    const int paddedRows = rows + 2 * FRadiusY;
    std::vector<std::uint8_t> padded(paddedCols * paddedRows, 0);
    // First and last non-zero column of each padded row; last < 0 for a row of zeros.
    std::vector<int> firstNonZero(paddedRows, 0);
    std::vector<int> lastNonZero(paddedRows, -1);
    for (int i = 0; i < rows; ++i) {
        const std::int32_t* s = source[rowOffset + i] + colOffset;
        std::uint8_t* p = &padded[(i + FRadiusY) * paddedCols + FRadiusX];
        std::uint32_t any = 0;
        for (int j = 0; j < cols; ++j) {
            any |= static_cast<std::uint32_t>(s[j]);
            p[j] = static_cast<std::uint8_t>(s[j]);
        }
        if (any > 255)
            return false;
        if (any == 0)
            continue;
        int first = 0;
        while (p[first] == 0)
            ++first;
        int last = cols - 1;
        while (p[last] == 0)
            --last;
        firstNonZero[i + FRadiusY] = first + FRadiusX;
        lastNonZero[i + FRadiusY] = last + FRadiusX;
    }

    const NeighborMaxRowFunc maxRow = BestNeighborMaxRow();
    std::vector<const std::uint8_t*> taps;
    std::vector<NeighborTapGroup> groups;
    std::vector<std::uint16_t> best(static_cast<std::size_t>(cols) + NeighborMaxRowStep);
    for (int i = 0; i < rows; ++i) {
        taps.clear();
        groups.clear();
        // Output columns that some non-zero value reaches: [lo, hi].
        int lo = INT_MAX;
        int hi = INT_MIN;
        for (int w = 256; w > 0; --w) {
            const int first = static_cast<int>(taps.size());
            for (const std::pair<int, int>& tap : tapsByWeight[w]) {
                const int row = i + tap.first;
                if (lastNonZero[row] < 0)
                    continue;
                taps.push_back(&padded[row * paddedCols + tap.second]);
                lo = std::min(lo, firstNonZero[row] - tap.second);
                hi = std::max(hi, lastNonZero[row] - tap.second);
            }
            const int count = static_cast<int>(taps.size()) - first;
            if (count > 0)
                groups.push_back(NeighborTapGroup{static_cast<std::uint16_t>(w), first, count});
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
