// The neighbour-weighted filter: its values, and the fast block form against
// the cell-by-cell computation.

#include "NeighborMaxRow.h"
#include "NeighborWeightedFilter.h"
#include "OuterGlowFilterFactory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace gs;

namespace {

// An IntMatrix that frees itself.
class Matrix {
public:
    Matrix(int rows, int cols, std::int32_t fill = 0) : FM(AllocIntMatrix(rows, cols)), FRows(rows), FCols(cols)
    {
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                FM[i][j] = fill;
    }
    ~Matrix() { FreeIntMatrix(FM, FRows); }
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;

    IntMatrix M() const { return FM; }
    std::int32_t* operator[](int i) const { return FM[i]; }
    int Rows() const { return FRows; }
    int Cols() const { return FCols; }

private:
    IntMatrix FM;
    int FRows;
    int FCols;
};

// Apply as the cell-by-cell definition states it.
void ReferenceApply(const Filter& f, const Matrix& src, int r0, int c0, int rows, int cols, const Matrix& dst, int tr0,
                    int tc0)
{
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            dst[tr0 + i][tc0 + j] = f.Compute(src.M(), r0, c0, rows, cols, i, j);
}

// The first cell where a and b differ, or an empty string.
std::string FirstDifference(const Matrix& a, const Matrix& b)
{
    for (int i = 0; i < a.Rows(); ++i)
        for (int j = 0; j < a.Cols(); ++j)
            if (a[i][j] != b[i][j])
                return "cell " + std::to_string(i) + "," + std::to_string(j) + ": reference " +
                       std::to_string(a[i][j]) + ", block " + std::to_string(b[i][j]);
    return "";
}

// Fills with glyph-like content: zero rows and columns, runs of coverage.
void FillSparse(const Matrix& m, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    const int density = percent(rng);
    for (int i = 0; i < m.Rows(); ++i) {
        const bool emptyRow = percent(rng) < 30;
        for (int j = 0; j < m.Cols(); ++j)
            m[i][j] = (!emptyRow && percent(rng) < density) ? (percent(rng) < 40 ? 255 : byte(rng)) : 0;
    }
}

// A filter with the given weights, rows top to bottom.
NeighborWeightedFilter* MakeFilter(int radiusY, int radiusX, int divisor, const std::vector<int>& weights)
{
    IntMatrix w = AllocIntMatrix(2 * radiusY + 1, 2 * radiusX + 1);
    for (int y = 0; y < 2 * radiusY + 1; ++y)
        for (int x = 0; x < 2 * radiusX + 1; ++x)
            w[y][x] = weights[y * (2 * radiusX + 1) + x];
    return new NeighborWeightedFilter(w, radiusY, radiusX, divisor);
}

// Runs f both ways over a block of src placed at random offsets and expects
// the same target, cells outside the block untouched.
void ExpectBlockMatchesReference(const Filter& f, const Matrix& src, std::mt19937& rng, const std::string& what)
{
    std::uniform_int_distribution<int> off(0, 3);
    const int r0 = off(rng), c0 = off(rng), tr0 = off(rng), tc0 = off(rng);
    const int rows = src.Rows() - r0 - off(rng) % 2;
    const int cols = src.Cols() - c0 - off(rng) % 2;
    if (rows <= 0 || cols <= 0)
        return;
    Matrix expected(tr0 + rows + 2, tc0 + cols + 2, -12345);
    Matrix actual(tr0 + rows + 2, tc0 + cols + 2, -12345);
    ReferenceApply(f, src, r0, c0, rows, cols, expected, tr0, tc0);
    f.Apply(src.M(), r0, c0, rows, cols, actual.M(), tr0, tc0);
    EXPECT_EQ("", FirstDifference(expected, actual))
        << what << ", block " << rows << "x" << cols << " at " << r0 << "," << c0 << " into " << tr0 << "," << tc0;
}

} // namespace

TEST(NeighborWeightedFilter, SinglePixelGlow)
{
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(1, 1);
    Matrix src(5, 5);
    Matrix dst(5, 5, -1);
    src[2][2] = 255;
    f->Apply(src.M(), 0, 0, 5, 5, dst.M(), 0, 0);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const int d2 = (i - 2) * (i - 2) + (j - 2) * (j - 2);
            const int expected = d2 == 0 ? 255 : d2 == 1 ? 198 : d2 == 2 ? 154 : 0;
            EXPECT_EQ(expected, dst[i][j]) << "cell " << i << "," << j;
        }
    }
    Matrix ref(5, 5, -1);
    ReferenceApply(*f, src, 0, 0, 5, 5, ref, 0, 0);
    EXPECT_EQ("", FirstDifference(ref, dst));
}

TEST(NeighborWeightedFilter, RadiusZeroFullOpacityKeepsEveryValue)
{
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(0, 0);
    Matrix src(3, 40);
    Matrix dst(3, 40, -1);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 40; ++j)
            src[i][j] = (i * 40 + j) * 7 % 256;
    f->Apply(src.M(), 0, 0, 3, 40, dst.M(), 0, 0);
    EXPECT_EQ("", FirstDifference(src, dst));
}

TEST(NeighborWeightedFilter, CellsOutsideTheBlockAreNotNeighbours)
{
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(2, 2);
    Matrix src(7, 7, 255);
    for (int i = 2; i < 5; ++i)
        for (int j = 2; j < 5; ++j)
            src[i][j] = 0;
    src[4][4] = 100;
    Matrix dst(3, 3, -1);
    f->Apply(src.M(), 2, 2, 3, 3, dst.M(), 0, 0);
    EXPECT_EQ(100, dst[2][2]) << "the block's own cell";
    EXPECT_EQ(26, dst[0][0]) << "100 * 67 / 256 from the far corner of the block";
    EXPECT_EQ(51, dst[2][0]) << "100 * 131 / 256 two columns away";
}

TEST(NeighborWeightedFilter, BlockOfZerosGivesZeros)
{
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(3, 3);
    Matrix src(4, 9);
    Matrix dst(4, 9, -1);
    f->Apply(src.M(), 0, 0, 4, 9, dst.M(), 0, 0);
    EXPECT_EQ("", FirstDifference(src, dst));
}

TEST(NeighborWeightedFilter, EmptyBlockWritesNothing)
{
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(1, 1);
    Matrix src(2, 2, 255);
    Matrix dst(2, 2, -1);
    f->Apply(src.M(), 0, 0, 0, 2, dst.M(), 0, 0);
    f->Apply(src.M(), 0, 0, 2, 0, dst.M(), 0, 0);
    EXPECT_EQ(-1, dst[0][0]);
    EXPECT_EQ(-1, dst[1][1]);
}

TEST(NeighborWeightedFilter, GlowsMatchTheReferenceForRadiiUpTo20)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int r = 0; r <= 20; ++r) {
        OuterGlowFilterFactory factory;
        factory.SetSpread(static_cast<float>(byte(rng) * (1.0 / 255)));
        factory.SetOpacity(static_cast<float>(byte(rng) * (1.0 / 255)));
        Filter* f = factory.GetFilter(r, r);
        const int sizes[][2] = {{1, 1}, {1, 70}, {70, 1}, {r + 1, 2 * r + 3}, {2 * r + 4, r + 2}, {37, 45}, {9, 97}};
        for (const auto& size : sizes) {
            Matrix src(size[0], size[1]);
            FillSparse(src, rng);
            ExpectBlockMatchesReference(*f, src, rng, "sparse, radius " + std::to_string(r));
            for (int i = 0; i < src.Rows(); ++i)
                for (int j = 0; j < src.Cols(); ++j)
                    src[i][j] = byte(rng);
            ExpectBlockMatchesReference(*f, src, rng, "dense, radius " + std::to_string(r));
        }
    }
}

TEST(NeighborWeightedFilter, ValuesOutsideBytesMatchTheReference)
{
    std::mt19937 rng(7);
    OuterGlowFilterFactory factory;
    factory.SetSpread(0.3f);
    Filter* f = factory.GetFilter(3, 3);
    const std::int32_t odd[] = {256, -1, 1000, -70000, 0x7FFFFFFF, INT32_MIN, 0x01000000};
    for (std::int32_t value : odd) {
        Matrix src(12, 40);
        FillSparse(src, rng);
        src[11][39] = value;
        ExpectBlockMatchesReference(*f, src, rng, "last cell " + std::to_string(value));
        src[11][39] = 0;
        src[5][3] = value;
        ExpectBlockMatchesReference(*f, src, rng, "inner cell " + std::to_string(value));
    }
}

TEST(NeighborWeightedFilter, OtherWeightsAndDivisorsMatchTheReference)
{
    std::mt19937 rng(99);
    struct Case {
        const char* What;
        int RadiusY, RadiusX, Divisor;
        std::vector<int> Weights;
    };
    const Case cases[] = {
        {"wide window", 1, 3, 256, {1, 2, 3, 4, 5, 6, 7, 10, 20, 30, 256, 30, 20, 10, 0, 0, 9, 9, 9, 0, 0}},
        {"tall window", 2, 0, 256, {100, 200, 256, 200, 100}},
        {"divisor 100", 1, 1, 100, {50, 100, 50, 100, 100, 100, 50, 100, 50}},
        {"negative divisor", 1, 1, -7, {50, 100, 50, 100, 100, 100, 50, 100, 50}},
        {"weight above 256", 1, 1, 256, {1, 300, 1, 1, 256, 1, 1, 1, 1}},
        {"negative weight", 1, 1, 256, {1, -5, 1, 1, 256, 1, 1, 1, 1}},
        {"all weights 0", 1, 1, 256, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        NeighborWeightedFilter* f = MakeFilter(c.RadiusY, c.RadiusX, c.Divisor, c.Weights);
        for (int n = 0; n < 4; ++n) {
            Matrix src(5 + n * 7, 3 + n * 11);
            FillSparse(src, rng);
            ExpectBlockMatchesReference(*f, src, rng, c.What);
        }
        delete f;
    }
}

TEST(NeighborWeightedFilter, InPlaceMatchesTheReference)
{
    std::mt19937 rng(3);
    OuterGlowFilterFactory factory;
    Filter* f = factory.GetFilter(2, 2);
    Matrix expected(10, 20);
    Matrix actual(10, 20);
    FillSparse(expected, rng);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 20; ++j)
            actual[i][j] = expected[i][j];
    ReferenceApply(*f, expected, 0, 0, 10, 20, expected, 0, 0);
    f->Apply(actual.M(), 0, 0, 10, 20, actual.M(), 0, 0);
    EXPECT_EQ("", FirstDifference(expected, actual));
}

#ifdef GS_NEIGHBOR_MAX_ROW_X86
TEST(NeighborMaxRow, VectorFormsMatchThePlainForm)
{
    std::vector<std::pair<const char*, NeighborMaxRowFunc>> forms;
    if (CpuHasSse2())
        forms.emplace_back("SSE2", NeighborMaxRowSse2);
    if (CpuHasAvx2())
        forms.emplace_back("AVX2", NeighborMaxRowAvx2);
    if (forms.empty())
        GTEST_SKIP() << "no vector form runs on this processor";

    std::mt19937 rng(11);
    std::uniform_int_distribution<int> byte(0, 255);
    const int width = 200 + NeighborMaxRowStep;
    std::vector<std::vector<std::uint8_t>> rows(9, std::vector<std::uint8_t>(width + 8));
    for (auto& row : rows)
        for (auto& b : row)
            b = static_cast<std::uint8_t>(byte(rng) < 128 ? 255 : byte(rng));
    std::vector<const std::uint8_t*> taps;
    for (int t = 0; t < 9; ++t)
        taps.push_back(rows[t].data() + t % 5);
    const std::vector<NeighborTapGroup> groups = {{256, 0, 1}, {255, 1, 3}, {1, 4, 2}, {0, 6, 1}, {171, 7, 2}};
    for (int count : {1, 15, 16, 17, 31, 32, 33, 200}) {
        std::vector<std::uint16_t> expected(width, 0xABCD);
        NeighborMaxRowScalar(taps.data(), groups.data(), static_cast<int>(groups.size()), count, expected.data());
        for (const auto& form : forms) {
            std::vector<std::uint16_t> actual(width, 0xABCD);
            form.second(taps.data(), groups.data(), static_cast<int>(groups.size()), count, actual.data());
            for (int j = 0; j < count; ++j)
                ASSERT_EQ(expected[j], actual[j]) << form.first << ", count " << count << ", column " << j;
        }
    }
}
#endif
