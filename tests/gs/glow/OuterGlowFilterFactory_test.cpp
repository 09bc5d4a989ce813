// The glow kernels and the factory's cache.

#include "NeighborWeightedFilter.h"
#include "OuterGlowFilterFactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gs;

namespace {

// The weights of a factory's filter for radius r, row by row.
std::vector<int> KernelOf(float spread, float opacity, int r)
{
    OuterGlowFilterFactory factory;
    factory.SetSpread(spread);
    factory.SetOpacity(opacity);
    auto* filter = dynamic_cast<NeighborWeightedFilter*>(factory.GetFilter(r, r));
    std::vector<int> w;
    if (!filter)
        return w;
    for (int y = 0; y < 2 * r + 1; ++y)
        for (int x = 0; x < 2 * r + 1; ++x)
            w.push_back(filter->Weights()[y][x]);
    return w;
}

std::string Describe(const std::vector<int>& v)
{
    std::string s;
    for (int x : v)
        s += std::to_string(x) + " ";
    return s;
}

} // namespace

TEST(OuterGlowKernel, WorkedKernels)
{
    const std::vector<int> r1 = {155, 199, 155, 199, 256, 199, 155, 199, 155};
    EXPECT_EQ(r1, KernelOf(0.0f, 1.0f, 1)) << "R 1, spread 0, opacity 255: " << Describe(KernelOf(0.0f, 1.0f, 1));

    const std::vector<int> r2 = {67,  111, 131, 111, 67,  111, 183, 216, 183, 111, 131, 216, 256,
                                 216, 131, 111, 183, 216, 183, 111, 67,  111, 131, 111, 67};
    EXPECT_EQ(r2, KernelOf(0.0f, 1.0f, 2)) << "R 2, spread 0, opacity 255: " << Describe(KernelOf(0.0f, 1.0f, 2));

    const std::vector<int> r2Spread = {111, 175, 199, 175, 111, 175, 245, 256, 245, 175, 199, 256, 256,
                                       256, 199, 175, 245, 256, 245, 175, 111, 175, 199, 175, 111};
    const float spread128 = static_cast<float>(128 * (1.0 / 255));
    EXPECT_EQ(r2Spread, KernelOf(spread128, 1.0f, 2))
        << "R 2, spread 128, opacity 255: " << Describe(KernelOf(spread128, 1.0f, 2));

    const std::vector<int> r2Half = {33,  55, 65, 55, 33,  55, 92, 108, 92, 55, 65, 108, 128,
                                     108, 65, 55, 92, 108, 92, 55, 33,  55, 65, 55, 33};
    const float opacity128 = static_cast<float>(128 * (1.0 / 255));
    EXPECT_EQ(r2Half, KernelOf(0.0f, opacity128, 2))
        << "R 2, spread 0, opacity 128: " << Describe(KernelOf(0.0f, opacity128, 2));

    EXPECT_EQ(std::vector<int>{256}, KernelOf(0.0f, 1.0f, 0)) << "R 0, opacity 255";
    EXPECT_EQ(std::vector<int>{128}, KernelOf(0.0f, opacity128, 0)) << "R 0, opacity 128";
}

TEST(OuterGlowKernel, FullSpreadKeepsTheDiscAndFadesOnlyTheCorners)
{
    const int r = 3;
    const std::vector<int> w = KernelOf(1.0f, 1.0f, r);
    ASSERT_EQ(49u, w.size());
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int d2 = (y - r) * (y - r) + (x - r) * (x - r);
            if (d2 <= r * r)
                EXPECT_EQ(256, w[y * 7 + x]) << "inside the disc at " << y << "," << x;
            else
                EXPECT_GT(256, w[y * 7 + x]) << "outside the disc at " << y << "," << x;
        }
    }
    // Corner: d = 3 * sqrt(2), 256 * exp(-(d - 3)^2 / 2) = 118.3.
    EXPECT_EQ(118, w[0]) << "corner weight";
}

TEST(OuterGlowKernel, FilterShape)
{
    OuterGlowFilterFactory factory;
    auto* filter = dynamic_cast<NeighborWeightedFilter*>(factory.GetFilter(5, 9));
    ASSERT_NE(nullptr, filter);
    EXPECT_EQ(5, filter->RadiusY()) << "the second radius is ignored";
    EXPECT_EQ(5, filter->RadiusX()) << "the second radius is ignored";
    EXPECT_EQ(256, filter->Divisor());
}

TEST(OuterGlowFactory, CachedFilterIsReturnedUntilSpreadOrOpacityChanges)
{
    OuterGlowFilterFactory factory;
    factory.SetSpread(0.25f);
    factory.SetOpacity(0.5f);
    Filter* first = factory.GetFilter(3, 3);
    factory.ReleaseFilter(first);
    EXPECT_EQ(first, factory.GetFilter(3, 3)) << "second GetFilter";

    factory.SetSpread(0.25f);
    factory.SetOpacity(0.5f);
    EXPECT_EQ(first, factory.GetFilter(3, 3)) << "after setting equal values";

    factory.SetSpread(0.5f);
    Filter* afterSpread = factory.GetFilter(3, 3);
    auto* nwf = dynamic_cast<NeighborWeightedFilter*>(afterSpread);
    ASSERT_NE(nullptr, nwf);
    EXPECT_EQ(0.5f, factory.Spread());
    // Spread 0.5 of radius 3: plateau 1.5, so the edge neighbours are full.
    EXPECT_EQ(128, nwf->Weights()[3][4]) << "new filter built with the new spread, at opacity 0.5";

    factory.SetOpacity(0.25f);
    nwf = dynamic_cast<NeighborWeightedFilter*>(factory.GetFilter(3, 3));
    ASSERT_NE(nullptr, nwf);
    EXPECT_EQ(64, nwf->Weights()[3][3]) << "new filter built with the new opacity";
}

TEST(OuterGlowFactory, RadiusChangeRebuildsTheFilter)
{
    OuterGlowFilterFactory factory;
    factory.GetFilter(2, 2);
    auto* filter = dynamic_cast<NeighborWeightedFilter*>(factory.GetFilter(4, 4));
    ASSERT_NE(nullptr, filter);
    EXPECT_EQ(4, filter->RadiusY()) << "radius of the filter after a radius change";
    EXPECT_EQ(171, filter->Weights()[4][2]) << "distance 2 with variance 5: 256 * exp(-0.4)";
    EXPECT_EQ(filter, factory.GetFilter(4, 4)) << "the rebuilt filter is cached";
}

TEST(OuterGlowFactory, NegativeRadiusGivesTheSingleWeight)
{
    OuterGlowFilterFactory factory;
    auto* filter = dynamic_cast<NeighborWeightedFilter*>(factory.GetFilter(-3, -3));
    ASSERT_NE(nullptr, filter);
    EXPECT_EQ(0, filter->RadiusY());
    EXPECT_EQ(256, filter->Weights()[0][0]);
}

TEST(OuterGlowFactory, ReleaseKeepsTheCachedFilterUsable)
{
    OuterGlowFilterFactory factory;
    Filter* filter = factory.GetFilter(1, 1);
    factory.ReleaseFilter(filter);
    factory.ReleaseFilter(filter);

    IntMatrix src = AllocIntMatrix(1, 2);
    IntMatrix dst = AllocIntMatrix(1, 2);
    src[0][0] = 255;
    src[0][1] = 0;
    filter->Apply(src, 0, 0, 1, 2, dst, 0, 0);
    EXPECT_EQ(255, dst[0][0]);
    EXPECT_EQ(198, dst[0][1]) << "255 * 199 / 256";
    EXPECT_EQ(filter, factory.GetFilter(1, 1));
    FreeIntMatrix(src, 1);
    FreeIntMatrix(dst, 1);
}

TEST(OuterGlowFactory, ReleaseDeletesAFilterThatIsNotCached)
{
    // Counts its own destruction.
    struct CountingFilter : Filter {
        int* Deleted;
        explicit CountingFilter(int* deleted) : Deleted(deleted) {}
        ~CountingFilter() override { ++*Deleted; }
        int Compute(const IntMatrix, int, int, int, int, int, int) const override { return 0; }
    };
    int deleted = 0;
    OuterGlowFilterFactory factory;
    factory.GetFilter(1, 1);
    factory.ReleaseFilter(new CountingFilter(&deleted));
    EXPECT_EQ(1, deleted);
}
