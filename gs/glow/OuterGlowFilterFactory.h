#pragma once
// Builds the glow filter from a radius, a spread and an opacity, and keeps the
// last one it built until one of them changes.

#include "FilterFactory.h"

namespace gs {

class NeighborWeightedFilter;

class OuterGlowFilterFactory : public FilterFactory {
public:
    OuterGlowFilterFactory();
    ~OuterGlowFilterFactory() override;

    OuterGlowFilterFactory(const OuterGlowFilterFactory&) = delete;
    OuterGlowFilterFactory& operator=(const OuterGlowFilterFactory&) = delete;

    // The cached filter when it was built for this radius; otherwise builds
    // and caches a new one (a negative radius counts as 0). radius2 is ignored.
    Filter* GetFilter(int radius, int radius2) override;
    // Deletes the filter unless it is the cached one.
    void ReleaseFilter(Filter* filter) override;

    // The share of the radius that glows at full strength, 0.0 to 1.0.
    void SetSpread(float spread);
    // The strength of the glow, 0.0 to 1.0.
    void SetOpacity(float opacity);
    float Spread() const { return FSpread; }
    float Opacity() const { return FOpacity; }

private:
    void DiscardCache();

    float FSpread;
    float FOpacity;
    NeighborWeightedFilter* FCache;
};

} // namespace gs
