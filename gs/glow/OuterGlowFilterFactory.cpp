#include "OuterGlowFilterFactory.h"

#include "NeighborWeightedFilter.h"

#include <cmath>

namespace gs {

namespace {

// Weights with 256 for 1.0: full strength out to the plateau radius
// P = radius * spread, then a Gaussian fall-off with variance radius - P + 1.
IntMatrix BuildGlowKernel(int radius, float spread, float opacity)
{
    const int n = 2 * radius + 1;
    IntMatrix w = AllocIntMatrix(n, n);
    const double full = 256.0 * static_cast<double>(opacity);
    if (radius == 0) {
        w[0][0] = static_cast<int>(full);
        return w;
    }
    const double plateau = radius * static_cast<double>(spread);
    const double variance = radius - plateau + 1.0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int dy = y - radius;
            const int dx = x - radius;
            const double d = std::sqrt(static_cast<double>(dy * dy + dx * dx));
            if (d <= plateau) {
                w[y][x] = static_cast<int>(full);
            } else {
                double g = std::exp(-(d - plateau) * (d - plateau) / (2.0 * variance));
                if (g > 1.0)
                    g = 1.0;
                w[y][x] = static_cast<int>(256.0 * g * static_cast<double>(opacity));
            }
        }
    }
    return w;
}

} // namespace

OuterGlowFilterFactory::OuterGlowFilterFactory() : FSpread(0.0f), FOpacity(1.0f), FCache(nullptr) {}

OuterGlowFilterFactory::~OuterGlowFilterFactory()
{
    DiscardCache();
}

Filter* OuterGlowFilterFactory::GetFilter(int radius, int /*radius2*/)
{
    if (radius < 0)
        radius = 0;
    // A filter of another radius would draw the glow cut off or too thin
    // around text laid out for this one.
    if (FCache && FCache->RadiusY() != radius)
        DiscardCache();
    if (!FCache)
        FCache = new NeighborWeightedFilter(BuildGlowKernel(radius, FSpread, FOpacity), radius, radius, 256);
    return FCache;
}

void OuterGlowFilterFactory::ReleaseFilter(Filter* filter)
{
    if (filter != FCache)
        delete filter;
}

void OuterGlowFilterFactory::SetSpread(float spread)
{
    if (spread != FSpread) {
        FSpread = spread;
        DiscardCache();
    }
}

void OuterGlowFilterFactory::SetOpacity(float opacity)
{
    if (opacity != FOpacity) {
        FOpacity = opacity;
        DiscardCache();
    }
}

void OuterGlowFilterFactory::DiscardCache()
{
    delete FCache;
    FCache = nullptr;
}

} // namespace gs
